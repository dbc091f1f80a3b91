#pragma once
// The level as the visibility rays see it: every triangle the room draw can submit, in world
// space, with the room that draws it and whether it hides what lies behind it; the room boxes
// room tracking tests; and the places a player can stand in each room.
//
// A triangle hides what is behind it unless its surface's name begins with '!', its texture has
// texels the alpha test discards (any texel, so filtering and mip levels cannot open a gap the
// computation did not expect), or it belongs to an object whose model is not solid.
#include <cstdint>
#include <vector>

#include "level/world.h"
#include "visibility/room_sight.h"
#include "visibility/triangle_bvh.h"

namespace brontal {

// The player's position is the centre of the collision sphere, this far above the floor it rests on.
inline constexpr float kStandingHeight = 25.0f;

struct SightScene {
    explicit SightScene(const Level& level, const std::vector<bool>& cutOutTextures);

    // The room that room tracking makes current at p: the last room whose box holds p strictly;
    // -1 when none does.
    int CurrentRoomAt(const Vector3& p) const;

    // Player positions in the room: on every floor (a face turned upwards) under a grid of
    // columns no farther apart than spacing (at most 256 along a side), where room tracking makes
    // this room current.
    std::vector<Vector3> StandingPoints(std::uint16_t room, float spacing) const;

    // Follows one ray: every room whose face it meets, up to and with the first face that hides
    // what lies behind it, gets the distance of that meeting in nearest (where it is nearer than
    // what nearest holds). Returns that last face's room, or -1 when the ray leaves the level;
    // leftThroughSky then tells whether it left through the box of a room that shows the sky.
    int FollowRay(const Vector3& origin, const Vector3& direction, std::vector<float>& nearest,
                  bool& leftThroughSky) const;

    // The room whose box a ray that left the level leaves last: the room it went out to the open
    // sky through (-1 when it crosses no box).
    int LastRoomOnRay(const Vector3& origin, const Vector3& direction) const;

    std::vector<Vector3> boxMin, boxMax;  // per room, of its surfaces' vertices
    std::vector<bool> showsSky;           // per room
    TriangleBvh bvh;

private:
    bool PassesSkyRoom(const Vector3& origin, const Vector3& direction) const;
    // Whether the ray crosses the room's box; `leaves` is where along it the ray leaves the box.
    bool RayCrossesBox(const Vector3& origin, const Vector3& direction, std::size_t room,
                       float* leaves = nullptr) const;
};

}  // namespace brontal
