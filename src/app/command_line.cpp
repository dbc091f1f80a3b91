#include "app/command_line.h"

#include <charconv>
#include <cmath>
#include <cstring>

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

}  // namespace

std::optional<Options> ParseCommandLine(int argc, const char* const* argv, std::string& error) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) -> bool {
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--headless") {
            options.headless = true;
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
        } else if (arg == "--config") {
            if (!value(options.configPath)) return std::nullopt;
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
        "Reads config.dat, LEVELS/LEVEL_001.VRM and SKY/*.bmp from the working directory.\n"
        "\n"
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
        "  --help                show this text\n"
        "  --version             show the version\n";
    return text;
}

}  // namespace brontal
