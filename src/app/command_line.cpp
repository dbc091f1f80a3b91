#include "app/command_line.h"

#include <charconv>
#include <cfloat>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace brontal {

namespace {

bool ParseDouble(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(out);
}

bool ParseCount(const std::string& text, long long& out) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last && out >= 0;
}

bool ParseSide(const char* first, const char* last, std::uint16_t& out) {
    int value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || ptr != last) return false;
    if (value < kMinimumWindowSide || value > kMaximumWindowSide) return false;
    out = static_cast<std::uint16_t>(value);
    return true;
}

// The options that take a value.
bool TakesValue(const std::string& name) {
    for (const char* option : {"--screenshot", "--frames", "--level", "--config", "--fixed-dt", "--keys",
                               "--state-log", "--device-trace", "--size", "--data", "--start",
                               "--screenshot-every"})
        if (name == option) return true;
    return false;
}

}  // namespace

std::optional<WindowSize> ParseWindowSize(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    WindowSize size;
    const char* data = text.data();
    if (!ParseSide(data, data + x, size.width) || !ParseSide(data + x + 1, data + text.size(), size.height))
        return std::nullopt;
    return size;
}

std::optional<Vector3> ParsePoint(const std::string& text) {
    float coordinates[3] = {};
    std::size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        std::size_t end = text.find(',', from);
        if ((i < 2) != (end != std::string::npos)) return std::nullopt;  // exactly two commas
        if (end == std::string::npos) end = text.size();
        const std::string part = text.substr(from, end - from);
        double value = 0;
        // strtod would skip leading blanks; a point takes none.
        if (part.empty() || std::isspace(static_cast<unsigned char>(part.front())) || !ParseDouble(part, value) ||
            std::fabs(value) > FLT_MAX)
            return std::nullopt;
        coordinates[i] = static_cast<float>(value);
        from = end + 1;
    }
    return Vector3{coordinates[0], coordinates[1], coordinates[2]};
}

std::optional<Options> ParseCommandLine(int argc, const char* const* argv, std::string& error) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::optional<std::string> attached;  // the value after '=' of --name=value
        if (const std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            attached = arg.substr(eq + 1);
            arg.resize(eq);
            if (!TakesValue(arg)) {
                error = "option " + arg + " takes no value";
                return std::nullopt;
            }
        }
        std::string text;
        auto value = [&](std::string& out) -> bool {
            if (attached) {
                out = *attached;
                if (out.empty()) error = "option " + arg + " needs a value, not an empty one";
                return !out.empty();
            }
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = argv[++i];
            if (out.empty()) error = "option " + arg + " needs a value, not an empty one";
            return !out.empty();
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--windowed" || arg == "--fullscreen") {
            const bool windowed = arg == "--windowed";
            if (options.windowed && *options.windowed != windowed) {
                error = "options --windowed and --fullscreen exclude each other";
                return std::nullopt;
            }
            options.windowed = windowed;
        } else if (arg == "--vsync" || arg == "--no-vsync") {
            const bool vsync = arg == "--vsync";
            if (options.vsync && *options.vsync != vsync) {
                error = "options --vsync and --no-vsync exclude each other";
                return std::nullopt;
            }
            options.vsync = vsync;
        } else if (arg == "--write-settings") {
            options.writeSettings = true;
        } else if (arg == "--preview") {
            options.preview = true;
        } else if (arg == "--fly") {
            options.fly = options.preview = true;
        } else if (arg == "--start") {
            if (!value(text)) return std::nullopt;
            options.start = ParsePoint(text);
            if (!options.start) {
                error = "option --start: bad value '" + text + "' (X,Y,Z: three numbers separated by commas)";
                return std::nullopt;
            }
            options.preview = true;
        } else if (arg == "--screenshot-every") {
            ScreenshotSeries series;
            if (!value(text)) return std::nullopt;
            if (!ParseCount(text, series.every) || series.every < 1) {
                error = "option --screenshot-every: bad value '" + text + "' (a whole number of frames, 1 or more)";
                return std::nullopt;
            }
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = "option --screenshot-every needs a directory after the frame count";
                return std::nullopt;
            }
            series.directory = argv[++i];
            options.screenshotEvery = std::move(series);
        } else if (arg == "--size") {
            if (!value(text)) return std::nullopt;
            options.size = ParseWindowSize(text);
            if (!options.size) {
                error = "option --size: bad value '" + text + "' (WIDTHxHEIGHT, each " +
                        std::to_string(kMinimumWindowSide) + " to " + std::to_string(kMaximumWindowSide) + ")";
                return std::nullopt;
            }
        } else if (arg == "--data") {
            if (!value(text)) return std::nullopt;
            if (text.empty()) {
                error = "option --data: the directory name is empty";
                return std::nullopt;
            }
            options.dataDir = text;
        } else if (arg == "--screenshot") {
            if (!value(text)) return std::nullopt;
            options.screenshot = text;
        } else if (arg == "--frames") {
            long long n = 0;
            if (!value(text)) return std::nullopt;
            if (!ParseCount(text, n)) {
                error = "option --frames: bad value '" + text + "' (a whole number of frames)";
                return std::nullopt;
            }
            options.frames = n;
        } else if (arg == "--level") {
            if (!value(options.levelPath)) return std::nullopt;
            options.levelGiven = true;
        } else if (arg == "--config") {
            if (!value(options.configPath)) return std::nullopt;
            options.configGiven = true;
        } else if (arg == "--fixed-dt") {
            double s = 0;
            if (!value(text)) return std::nullopt;
            if (!ParseDouble(text, s) || s < 0 || s > 3600) {
                error = "option --fixed-dt: bad value '" + text + "' (seconds per frame, 0 or more)";
                return std::nullopt;
            }
            options.fixedDt = s;
        } else if (arg == "--keys") {
            if (!value(text)) return std::nullopt;
            options.keyScript = text;
        } else if (arg == "--state-log") {
            if (!value(text)) return std::nullopt;
            options.stateLog = text;
        } else if (arg == "--device-trace") {
            if (!value(text)) return std::nullopt;
            options.deviceTrace = text;
        } else {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
    }
    return options;
}

std::string UsageText(const char* program) {
    std::string text = "Usage: ";
    text += program;
    text +=
        " [OPTION]...\n"
        "Brontal: a third-person walk through a level of rooms.\n"
        "Reads config.dat, LEVELS/LEVEL_001.VRM and SKY/*.bmp from its data directory: the working\n"
        "directory when it holds LEVELS/, else the installed data, else the build tree's.\n"
        "\n"
        "  --data DIR            take the data from DIR only\n"
        "  --windowed            run in a window this time (config.dat is not changed)\n"
        "  --fullscreen          run full screen this time\n"
        "  --size WxH            window or back-buffer size for this run, e.g. 1280x720\n"
        "  --vsync, --no-vsync   wait (or not) for the screen's refresh this time\n"
        "  --headless            render offscreen through EGL, with no window\n"
        "  --frames N            quit after N frames\n"
        "  --screenshot FILE     write the last frame as a PNG\n"
        "  --level PATH          read another level file\n"
        "  --config PATH         read another settings file\n"
        "  --fixed-dt S          every frame after the first lasts S seconds (0: all keep 1/30 s)\n"
        "  --keys SCRIPT         take key presses from SCRIPT (lines 'FIRST LAST KEY...') instead of\n"
        "                        the keyboard\n"
        "  --state-log FILE      write one JSON line per frame with the player's state\n"
        "  --device-trace FILE   write every graphics device call, one per line\n"
        "  --write-settings      write the default settings file (see below) and quit\n"
        "  --help                show this text\n"
        "  --version             show the version\n"
        "\n"
        "Preview, for level makers:\n"
        "  --preview             F5 reloads the level and the sky in place; the HUD shows the\n"
        "                        position\n"
        "  --start X,Y,Z         start at this point instead of the level's start (implies --preview)\n"
        "  --fly                 a free camera that ignores walls and gravity: Up/Down move, Left/Right\n"
        "                        turn, Page Up/Page Down rise and sink (implies --preview)\n"
        "  --screenshot-every N DIR  write frames 0, N, 2N... as DIR/shot_FRAME.png (DIR is created)\n"
        "\n"
        "In the game: Alt+Enter switches full screen on and off, F12 saves a screenshot under\n"
        "$XDG_DATA_HOME/brontal/screenshots (~/.local/share/brontal/screenshots), Escape quits.\n"
        "Relative paths given to options mean the directory the game was started in.\n"
        "Key bindings, gamepad, vsync and a frame-rate cap: $XDG_CONFIG_HOME/brontal/settings.ini\n"
        "(~/.config/brontal/settings.ini).\n";
    return text;
}

}  // namespace brontal
