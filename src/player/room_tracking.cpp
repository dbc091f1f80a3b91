#include "player/room_tracking.h"

#include <algorithm>
#include <cstddef>

#include "geometry/collision.h"
#include "geometry/collision_triangles.h"
#include "player/collision_cache.h"
#include "player/player.h"
#include "player/room_geometry.h"

namespace brontal {

namespace {

bool StrictlyBetween(float low, float value, float high) { return low < value && value < high; }

void TakeOverVisibleRooms(const Room& room) {
    if (room.visibleRoomCount == 0) return;
    const std::size_t count = std::min<std::size_t>(room.visibleRoomCount, room.visibleRooms.size());
    g_visibleRoomList.assign(room.visibleRooms.begin(), room.visibleRooms.begin() + static_cast<std::ptrdiff_t>(count));
    g_visibleRoomCount = static_cast<std::uint16_t>(count);
}

}  // namespace

void EnterRoom(const Level& level, std::size_t index) {
    const Room& room = level.rooms[index];
    g_currentRoomName = room.name.c_str();
    g_currentRoom = static_cast<std::uint16_t>(index);
    TakeOverVisibleRooms(room);
}

bool RoomContains(const Room& room, const Vector3& position) {
    return StrictlyBetween(room.boxMin.x, position.x, room.boxMax.x) &&
           StrictlyBetween(room.boxMin.y, position.y, room.boxMax.y) &&
           StrictlyBetween(room.boxMin.z, position.z, room.boxMax.z);
}

void CollideWithRoom(const Room& room, Vector3& position) {
    ForEachCollisionPart(room, [&](const PositionView& positions, const std::uint16_t* indices, std::size_t count) {
        CollideSphere(position, positions, indices, count);
    });
}

void TrackRoomsAndCollide(const Level& level, Vector3& position) {
    for (std::size_t i = 0; i < RoomsInUse(level); ++i) {
        const Room& room = level.rooms[i];
        if (!RoomContains(room, position)) continue;
        EnterRoom(level, i);
        CollideSphere(position, CachedRoomTriangles(level, i));
    }
}

void TrackRooms(const Level& level, const Vector3& position) {
    for (std::size_t i = 0; i < RoomsInUse(level); ++i)
        if (RoomContains(level.rooms[i], position)) EnterRoom(level, i);
}

}  // namespace brontal
