#pragma once
// The game's command line. Without options the game runs exactly as it always has: settings from
// config.dat, the level from LEVELS/LEVEL_001.VRM, a window, no files written.
//
// Long options that take a value accept it as the next argument or after '=' (--size=800x600).
// --windowed, --fullscreen and --size change the settings of one run only: config.dat is never
// written.
#include <cstdint>
#include <optional>
#include <string>

namespace brontal {

inline constexpr const char* kGameVersion = "0.1";
inline constexpr const char* kDefaultLevelPath = "LEVELS\\LEVEL_001.VRM";
inline constexpr const char* kDefaultConfigPath = "config.dat";

// The smallest and largest window side --size takes, in pixels.
inline constexpr int kMinimumWindowSide = 16;
inline constexpr int kMaximumWindowSide = 16384;

struct WindowSize {
    std::uint16_t width = 0, height = 0;
};

struct Options {
    bool help = false;
    bool version = false;
    bool headless = false;                 // render through EGL into an offscreen framebuffer
    std::optional<std::string> screenshot;  // PNG of the last frame
    std::optional<long long> frames;        // quit after this many frames
    std::string levelPath = kDefaultLevelPath;
    std::string configPath = kDefaultConfigPath;
    bool levelGiven = false;               // --level was on the command line
    bool configGiven = false;              // --config was on the command line
    std::optional<double> fixedDt;          // seconds per frame from a simulated counter
    std::optional<std::string> keyScript;   // key presses by frame instead of the keyboard
    std::optional<std::string> stateLog;    // one JSON line per frame
    std::optional<std::string> deviceTrace; // every device call
    std::optional<bool> windowed;           // --windowed (true) or --fullscreen (false)
    std::optional<WindowSize> size;         // --size WxH
    std::optional<std::string> dataDir;     // --data DIR: the one directory that holds the data
    std::optional<bool> vsync;              // --vsync (true) or --no-vsync (false), over settings.ini
    bool writeSettings = false;             // write the default settings.ini and quit
};

// Parses argv. On an unknown option or a bad value returns nullopt and sets error to a message
// naming it (the caller exits with status 2).
std::optional<Options> ParseCommandLine(int argc, const char* const* argv, std::string& error);

// "WxH" with both sides whole numbers in kMinimumWindowSide..kMaximumWindowSide.
std::optional<WindowSize> ParseWindowSize(const std::string& text);

std::string UsageText(const char* program);

}  // namespace brontal
