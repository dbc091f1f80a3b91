#pragma once
// The game's command line. Without options the game runs exactly as it always has: settings from
// config.dat, the level from LEVELS/LEVEL_001.VRM, a window, no files written.
//
// Long options that take a value accept it as the next argument or after '=' (--size=800x600).
// --windowed, --fullscreen and --size change the settings of one run only: config.dat is never
// written.
//
// The preview options are for level makers and change nothing unless given: --start puts the
// player (or the flying camera) at another point, --fly flies a free camera instead of walking
// the figure, --preview lets F5 reload the level and the sky and shows the position on the HUD
// (--start and --fly imply it), --screenshot-every writes a numbered screenshot every N frames.
#include <cstdint>
#include <optional>
#include <string>

#include "math/types.h"

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

// --screenshot-every N DIR: frames 0, N, 2N... as DIR/shot_<frame, six digits>.png.
struct ScreenshotSeries {
    long long every = 1;  // 1 or more
    std::string directory;
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
    bool preview = false;                   // F5 reloads, the HUD shows the position; --start, --fly imply it
    bool fly = false;                       // a free camera instead of the figure
    std::optional<Vector3> start;           // --start X,Y,Z: the start point for this run
    std::optional<ScreenshotSeries> screenshotEvery;
};

// Parses argv. On an unknown option or a bad value returns nullopt and sets error to a message
// naming it (the caller exits with status 2).
std::optional<Options> ParseCommandLine(int argc, const char* const* argv, std::string& error);

// "WxH" with both sides whole numbers in kMinimumWindowSide..kMaximumWindowSide.
std::optional<WindowSize> ParseWindowSize(const std::string& text);

// "X,Y,Z": three finite numbers separated by commas, no spaces.
std::optional<Vector3> ParsePoint(const std::string& text);

std::string UsageText(const char* program);

}  // namespace brontal
