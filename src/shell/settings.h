#pragma once
// The start-up settings and the seven-byte config.dat that sets them.
//   byte 0: screen-size index (signed): 0 640x480, 1 800x600, 2 1024x768, 3 1152x864,
//           4 1280x768, 5 1280x1024; anything else keeps 1024x768
//   bytes 1-4: ignored
//   byte 5: HUD text on when non-zero
//   byte 6: windowed when non-zero, full screen when zero
// A missing file keeps every default. A file shorter than seven bytes is read as far as it
// goes: the bytes it has count, the missing ones leave their settings at the defaults.
#include <cstdint>
#include <string>

namespace brontal {

extern std::uint16_t screenWidth;       // 1024
extern std::uint16_t screenHeight;      // 768
extern std::int8_t depthBits;           // 16
extern std::uint8_t readSettingsAtStart;  // 1
extern std::uint8_t showOverlay;        // 1
extern std::uint8_t windowed;           // 0

inline constexpr const char* kConfigPath = "config.dat";

void ReadConfig();
void ReadConfig(const std::string& path);
// Back to the built-in defaults (tests, and before a second read).
void ResetSettings();

}  // namespace brontal
