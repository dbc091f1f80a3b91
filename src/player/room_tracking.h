#pragma once
// Room tracking and collision, one pass over the level's rooms in index order. A room contains
// the player when every coordinate lies strictly between the room's box minimum and maximum
// (a player exactly on a face is outside). Every containing room is processed: it becomes the
// current room, hands over its visible-room list when that list is not empty, and pushes the
// player out of its surfaces (except those named "!...") and then its solid objects. Rooms may
// overlap; the last containing room decides, and each room's containment test sees the position
// as the rooms before it left it. Outside every room nothing changes and nothing holds the
// player up. The pass collides through the collision cache (collision_cache.h), which it gathers
// on first use; after that a frame allocates nothing once the visible-room list has reached its
// capacity.
#include <cstddef>

#include "level/world.h"
#include "math/types.h"

namespace brontal {

bool RoomContains(const Room& room, const Vector3& position);

// Room index (below the level's room count) becomes the current room and hands over its
// visible-room list when that is not empty: what the pass does for each containing room.
void EnterRoom(const Level& level, std::size_t index);

// Surfaces in order, then solid objects in order, read straight from the level's arrays: the
// same positions the room pass's cached path gives.
void CollideWithRoom(const Room& room, Vector3& position);

void TrackRoomsAndCollide(const Level& level, Vector3& position);

// The same pass for a point nothing holds (the flying camera of preview runs): current room and
// visible-room list as above, no collision.
void TrackRooms(const Level& level, const Vector3& position);

}  // namespace brontal
