#include "player/collision_cache.h"

#include "player/room_geometry.h"

namespace brontal {

CollisionCache g_collisionCache;

namespace {

SurfaceSource SourceOf(const Surface& surface) {
    return {surface.vertices.data(), surface.indices.data(), VerticesInUse(surface), IndicesInUse(surface)};
}

bool SameSource(const SurfaceSource& a, const SurfaceSource& b) {
    return a.vertices == b.vertices && a.indices == b.indices && a.vertexCount == b.vertexCount &&
           a.indexCount == b.indexCount;
}

void GatherRoom(RoomCollision& gathered, const Room& room) {
    gathered.surfaces = room.surfaces.data();
    gathered.objects = room.objects.data();
    gathered.objectCount = ObjectsInUse(room);
    gathered.surfaceSources.clear();
    for (std::size_t s = 0; s < SurfacesInUse(room); ++s) gathered.surfaceSources.push_back(SourceOf(room.surfaces[s]));
    gathered.triangles = CollisionTriangles{};
    ForEachCollisionPart(room, [&](const PositionView& positions, const std::uint16_t* indices, std::size_t count) {
        AppendCollisionTriangles(gathered.triangles, positions, indices, count);
    });
}

// Whether the room's arrays are still the ones it was gathered from. A few comparisons per
// surface: cheap enough for every frame.
bool GatheredFrom(const RoomCollision& gathered, const Room& room) {
    if (gathered.surfaces != room.surfaces.data() || gathered.objects != room.objects.data() ||
        gathered.objectCount != ObjectsInUse(room) || gathered.surfaceSources.size() != SurfacesInUse(room))
        return false;
    for (std::size_t s = 0; s < gathered.surfaceSources.size(); ++s)
        if (!SameSource(gathered.surfaceSources[s], SourceOf(room.surfaces[s]))) return false;
    return true;
}

bool CacheIsFor(const Level& level) {
    return g_collisionCache.level == &level && g_collisionCache.rooms == level.rooms.data() &&
           g_collisionCache.roomCollisions.size() == RoomsInUse(level);
}

}  // namespace

void BuildCollisionCache(const Level& level) {
    g_collisionCache.level = &level;
    g_collisionCache.rooms = level.rooms.data();
    g_collisionCache.roomCollisions.resize(RoomsInUse(level));
    for (std::size_t i = 0; i < g_collisionCache.roomCollisions.size(); ++i)
        GatherRoom(g_collisionCache.roomCollisions[i], level.rooms[i]);
}

void ClearCollisionCache() { g_collisionCache = CollisionCache{}; }

const CollisionTriangles& CachedRoomTriangles(const Level& level, std::size_t roomIndex) {
    if (!CacheIsFor(level) || !GatheredFrom(g_collisionCache.roomCollisions[roomIndex], level.rooms[roomIndex]))
        BuildCollisionCache(level);
    return g_collisionCache.roomCollisions[roomIndex].triangles;
}

}  // namespace brontal
