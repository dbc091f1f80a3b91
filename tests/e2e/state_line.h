#pragma once
// Reading back the state log: one JSON object per line, as the game writes it. Only the shape the
// game writes is understood (flat keys, numbers, null, one string, arrays of numbers).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "math/types.h"

namespace brontal::e2e {

struct StateLine {
    std::int64_t frame = -1;
    float dt = 0;
    Vector3 position{};
    float heading = 0, lean = 0, animFrame = 0;
    int currentRoom = -1;
    std::optional<std::string> currentRoomName;  // null before the player is first found in a room
    std::vector<int> visibleRooms;
    std::int64_t trianglesDrawn = 0;
    float framesPerSecond = 0;
    Vector3 camera{};
};

// A value written as null reads as NaN. Returns nullopt with error naming the key on a line that
// does not have the game's shape.
std::optional<StateLine> ParseStateLine(const std::string& line, std::string& error);
// Every line of a log; stops at the first bad line (error names its number).
std::optional<std::vector<StateLine>> ParseStateLog(const std::string& text, std::string& error);

// The room names in the order the log shows them, each run of equal names once.
std::vector<std::string> RoomSequence(const std::vector<StateLine>& log);

}  // namespace brontal::e2e
