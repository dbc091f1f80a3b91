#include "player/room_tracking.h"

#include <algorithm>
#include <cstddef>

#include "geometry/collision.h"
#include "player/player.h"

namespace brontal {

namespace {

constexpr char kNoCollisionMark = '!';

bool StrictlyBetween(float low, float value, float high) { return low < value && value < high; }

void TakeOverVisibleRooms(const Room& room) {
    if (room.visibleRoomCount == 0) return;
    const std::size_t count = std::min<std::size_t>(room.visibleRoomCount, room.visibleRooms.size());
    g_visibleRoomList.assign(room.visibleRooms.begin(), room.visibleRooms.begin() + static_cast<std::ptrdiff_t>(count));
    g_visibleRoomCount = static_cast<std::uint16_t>(count);
}

// Collision reads a vertex's x, y, z in place as three consecutive floats.
static_assert(offsetof(Vertex, x) == 0 && offsetof(Vertex, y) == 4 && offsetof(Vertex, z) == 8);

void CollideWithSurface(const Surface& surface, Vector3& position) {
    const std::size_t vertexCount = std::min<std::size_t>(surface.vertexCount, surface.vertices.size());
    const std::size_t indexCount = std::min<std::size_t>(surface.indexCount, surface.indices.size());
    const PositionView positions = ViewOfPositions(surface.vertices.data(), sizeof(Vertex), vertexCount);
    CollideSphere(position, positions, surface.indices.data(), indexCount / 3);  // whole triangles only
}

}  // namespace

bool RoomContains(const Room& room, const Vector3& position) {
    return StrictlyBetween(room.boxMin.x, position.x, room.boxMax.x) &&
           StrictlyBetween(room.boxMin.y, position.y, room.boxMax.y) &&
           StrictlyBetween(room.boxMin.z, position.z, room.boxMax.z);
}

void CollideWithRoom(const Room& room, Vector3& position) {
    const std::size_t surfaceCount = std::min<std::size_t>(room.surfaceCount, room.surfaces.size());
    for (std::size_t s = 0; s < surfaceCount; ++s) {
        const Surface& surface = room.surfaces[s];
        if (!surface.name.empty() && surface.name[0] == kNoCollisionMark) continue;
        CollideWithSurface(surface, position);
    }
    const std::size_t objectCount = std::min<std::size_t>(room.objectCount, room.objects.size());
    for (std::size_t o = 0; o < objectCount; ++o) {
        const RoomObject& object = room.objects[o];
        if (!object.solid) continue;
        CollideSphere(position, ViewOfPositions(object.corners.data(), object.corners.size()), BoxTriangleIndices.data(),
                      BoxTriangleIndices.size() / 3);
    }
}

void TrackRoomsAndCollide(const Level& level, Vector3& position) {
    const std::size_t roomCount = std::min<std::size_t>(level.roomCount, level.rooms.size());
    for (std::size_t i = 0; i < roomCount; ++i) {
        const Room& room = level.rooms[i];
        if (!RoomContains(room, position)) continue;
        g_currentRoomName = room.name.c_str();
        g_currentRoom = static_cast<std::uint16_t>(i);
        TakeOverVisibleRooms(room);
        CollideWithRoom(room, position);
    }
}

}  // namespace brontal
