#pragma once
// The collision geometry of the level's rooms, gathered once. For each room: its surfaces in
// order (except those whose name begins with '!'), then its solid objects' boxes in order, all in
// one prepared triangle list (geometry/collision_triangles.h). Pushing the player out of that
// list gives bit for bit what the room's CollideSphere calls on the level's arrays give, since
// CollideSphere keeps nothing from one call to the next.
//
// A level does not change once loaded. The start-up sequence builds the cache right after the
// load; the room pass builds it on first use when that has not happened, and again when the
// level's room, surface or object arrays are no longer the ones it was built from (a level
// replaced or reloaded). Editing a loaded level's vertices or corners in place is not noticed:
// call BuildCollisionCache after doing that.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/collision_triangles.h"
#include "level/world.h"

namespace brontal {

// Where one surface's collision geometry was read from.
struct SurfaceSource {
    const Vertex* vertices = nullptr;
    const std::uint16_t* indices = nullptr;
    std::size_t vertexCount = 0;
    std::size_t indexCount = 0;
};

struct RoomCollision {
    const Surface* surfaces = nullptr;  // the room's arrays when the room was gathered
    const RoomObject* objects = nullptr;
    std::size_t objectCount = 0;
    std::vector<SurfaceSource> surfaceSources;  // one per surface in use
    CollisionTriangles triangles;
};

struct CollisionCache {
    const Level* level = nullptr;
    const Room* rooms = nullptr;
    std::vector<RoomCollision> roomCollisions;  // one per room in use
};

extern CollisionCache g_collisionCache;

// Gathers the collision geometry of every room of level. Allocates; call after loading.
void BuildCollisionCache(const Level& level);

// Forgets the cache; the next room pass gathers it again.
void ClearCollisionCache();

// The prepared triangles of room roomIndex (below the level's room count), gathering the cache
// first when it is not level's. No allocation when it is.
const CollisionTriangles& CachedRoomTriangles(const Level& level, std::size_t roomIndex);

}  // namespace brontal
