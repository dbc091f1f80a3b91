#pragma once
// Which rooms can be seen while a room is the current one: from every place the player can stand
// in it and from every place the chase camera can be then, through any chain of openings, past
// the faces that hide what lies behind them (see visibility/sight_scene.h).
//
// The computation samples. Viewpoints are the player's eye at standing places over the room's
// floors (any height from a little above the floor to the camera's height, looking every way),
// and the chase camera around standing places on a coarser grid, at evenly spread headings:
// settled 100 to 160 behind the player and 40 to 60 above, idling 100 behind and 40 above, or
// 150 in front, looking through a cone wider than the frustum. (Free look is left out: it can
// dip the camera under the floor, from where every room shows through the backs of the floors.)
// From each viewpoint rays leave on a grid of directions, randomly turned; wherever neighbouring
// rays end in different rooms the grid is refined, so that a sliver of a room seen past a door
// post is found. A ray passes through see-through faces (their room is seen too) and ends at
// the first face that hides what is behind it; a face of another room in the same plane counts
// as seen too (the two fight in the depth test). Every room listed was met by a ray: the lists
// are never fuller than what can be seen. Viewpoints and grid turns come from a generator seeded
// by the room's index, so the result does not depend on how many threads share the rooms.
#include <cstdint>
#include <string>
#include <vector>

#include "level/world.h"

namespace brontal {

struct RoomSight {
    // The room itself first, then the others nearest first: nearest to the player's eye, then
    // those only the camera sees, nearest to it.
    std::vector<std::uint16_t> visible;
    bool seesSky = false;  // a ray leaves the level through the box of a room that shows the sky
    // The rooms through whose boxes those rays went out last, in index order: where the open sky
    // is seen (a sky room's, or a room's own open top when it does not show the sky).
    std::vector<std::uint16_t> skyRooms;
};

struct SightSettings {
    unsigned threads = 2;
    unsigned eyeViewpoints = 64;      // per room
    unsigned cameraHeadings = 12;     // around each standing place on the camera's grid
    unsigned eyeGrid = 8;             // cells across each of the six faces of the direction cube
    unsigned cameraGrid = 6;          // cells across the camera's cone
    unsigned refineLevels = 2;        // each level halves a cell whose corner rays disagree
    float standingSpacing = 24.0f;    // between columns where standing places are sought
    float cameraSpacing = 64.0f;      // the same for the places the camera is put around
};

// The game discards texels whose alpha is below this.
inline constexpr std::uint8_t kAlphaReference = 144;

// True when any texel of an RGBA image (4 bytes a texel) fails the alpha test.
bool HasCutOutTexels(const std::vector<std::uint8_t>& rgba);

// cutOutTextures[slot]: the slot's texture has texels the alpha test discards.
std::vector<RoomSight> ComputeRoomSight(const Level& level, const std::vector<bool>& cutOutTextures,
                                        const SightSettings& settings = {});

// What a written list lacks and holds beyond what can be seen.
struct ListFindings {
    std::vector<std::uint16_t> missing;  // seen but not listed
    std::vector<std::uint16_t> unseen;   // listed but never seen
    bool missesItself = false;
};
ListFindings CompareVisibleList(std::uint16_t room, const std::vector<std::uint16_t>& written, const RoomSight& sight);

}  // namespace brontal
