#pragma once
// The state log of deterministic runs: one JSON object per frame, one line each, written after
// the frame's render. Floats are printed with %.9g (a value that is not finite as null).
#include <cstdint>
#include <cstdio>
#include <string>

#include "math/types.h"

namespace brontal {

struct FrameStateRecord {
    std::int64_t frame = 0;
    float dt = 0;                 // seconds per frame read at the start of the frame's update
    Vector3 position{};
    float heading = 0, lean = 0, animFrame = 0;
    std::uint16_t currentRoom = 0;
    const char* currentRoomName = nullptr;  // null until the player is first found in a room
    const std::uint16_t* visibleRooms = nullptr;
    std::size_t visibleRoomCount = 0;
    std::int32_t trianglesDrawn = 0;
    float framesPerSecond = 0;    // the timer's rate after the frame's tick
    Vector3 camera{};             // the camera's world position
};

// Appends the JSON line (with its newline) to out; out is reused so steady frames do not allocate.
void FormatStateLine(const FrameStateRecord& record, std::string& out);
// A JSON string literal of bytes: the quote, the backslash and bytes below 0x20 escaped, bytes of
// 0x7F and above as \u00XX (each byte as its Latin-1 character).
void AppendJsonString(const char* text, std::string& out);

}  // namespace brontal
