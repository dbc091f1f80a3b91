#pragma once
// The game's command line. Without options the game runs exactly as it always has: settings from
// config.dat, the level from LEVELS/LEVEL_001.VRM, a window, no files written.
#include <optional>
#include <string>

namespace brontal {

inline constexpr const char* kGameVersion = "0.1";
inline constexpr const char* kDefaultLevelPath = "LEVELS\\LEVEL_001.VRM";

struct Options {
    bool help = false;
    bool version = false;
    bool headless = false;                 // render through EGL into an offscreen framebuffer
    std::optional<std::string> screenshot;  // PNG of the last frame
    std::optional<long long> frames;        // quit after this many frames
    std::string levelPath = kDefaultLevelPath;
    std::string configPath = "config.dat";
    std::optional<double> fixedDt;          // seconds per frame from a simulated counter
    std::optional<std::string> keyScript;   // key presses by frame instead of the keyboard
    std::optional<std::string> stateLog;    // one JSON line per frame
    std::optional<std::string> deviceTrace; // every device call
};

// Parses argv. On an unknown option or a bad value returns nullopt and sets error to a message
// naming it (the caller exits with status 2).
std::optional<Options> ParseCommandLine(int argc, const char* const* argv, std::string& error);

std::string UsageText(const char* program);

}  // namespace brontal
