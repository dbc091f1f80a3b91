#pragma once
// What a room collides with, in the order it collides: its surfaces in use, except those whose
// name begins with '!', read in place (x, y, z of each vertex; whole triangles only), then the
// eight world-space corners of each solid object in use with the fixed box triangles. The
// straightforward room pass and the collision cache both walk the room through this, so they
// cannot disagree about which triangles count.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "geometry/collision.h"
#include "level/world.h"

namespace brontal {

inline std::size_t RoomsInUse(const Level& level) { return std::min<std::size_t>(level.roomCount, level.rooms.size()); }
inline std::size_t SurfacesInUse(const Room& room) {
    return std::min<std::size_t>(room.surfaceCount, room.surfaces.size());
}
inline std::size_t ObjectsInUse(const Room& room) { return std::min<std::size_t>(room.objectCount, room.objects.size()); }
inline std::size_t VerticesInUse(const Surface& surface) {
    return std::min<std::size_t>(surface.vertexCount, surface.vertices.size());
}
inline std::size_t IndicesInUse(const Surface& surface) {
    return std::min<std::size_t>(surface.indexCount, surface.indices.size());
}

inline bool SurfaceCollides(const Surface& surface) { return surface.name.empty() || surface.name[0] != '!'; }

// Collision reads a vertex's x, y, z in place as three consecutive floats.
static_assert(offsetof(Vertex, x) == 0 && offsetof(Vertex, y) == 4 && offsetof(Vertex, z) == 8);

// Calls part(positions, indices, triangleCount) for each piece, in collision order.
template <typename Part>
void ForEachCollisionPart(const Room& room, Part&& part) {
    for (std::size_t s = 0; s < SurfacesInUse(room); ++s) {
        const Surface& surface = room.surfaces[s];
        if (!SurfaceCollides(surface)) continue;
        part(ViewOfPositions(surface.vertices.data(), sizeof(Vertex), VerticesInUse(surface)), surface.indices.data(),
             IndicesInUse(surface) / 3);
    }
    for (std::size_t o = 0; o < ObjectsInUse(room); ++o) {
        const RoomObject& object = room.objects[o];
        if (!object.solid) continue;
        part(ViewOfPositions(object.corners.data(), object.corners.size()), BoxTriangleIndices.data(),
             BoxTriangleIndices.size() / 3);
    }
}

}  // namespace brontal
