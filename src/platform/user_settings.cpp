#include "platform/user_settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace brontal {

namespace {

constexpr std::size_t kMaximumFileSize = 1 << 20;  // far more than any settings file needs

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// "a, b , c" as its trimmed items; an empty item makes the whole list unreadable.
std::optional<std::vector<std::string>> SplitList(const std::string& value) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        std::string item = Trim(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (item.empty()) return std::nullopt;
        items.push_back(std::move(item));
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

std::optional<bool> ParseSwitch(const std::string& v) {
    for (const char* on : {"on", "true", "yes", "1"})
        if (v == on) return true;
    for (const char* off : {"off", "false", "no", "0"})
        if (v == off) return false;
    return std::nullopt;
}

template <typename T>
bool ParseNumber(const std::string& text, T& out) {
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, out);
    return !text.empty() && ec == std::errc() && ptr == last;
}

// "name = A, B, ...": the game key `name` bound to the listed inputs, each read by `read` (which
// gives nullopt for a name it does not know). An empty result is success, else the problem.
template <typename Input, typename Read>
std::string BindList(std::array<std::vector<Input>, kGameKeyCount>& table, const std::string& name,
                     const std::string& value, const char* inputs, const char* input, Read read) {
    const std::optional<int> slot = GameKeySlotByName(name);
    if (!slot) return "'" + name + "' is not one of the game's keys";
    const auto items = SplitList(value);
    if (!items) return "'" + name + "' needs one or more " + inputs + ", separated by commas";
    std::vector<Input> bound;
    for (const std::string& item : *items) {
        const std::optional<Input> found = read(item);
        if (!found) return "'" + item + "' is not " + input;
        bound.push_back(*found);
    }
    table[*slot] = std::move(bound);
    return {};
}

// One "name = value" line of a section; an empty result is success, else the problem.
std::string ApplyKeys(UserSettings& s, const std::string& name, const std::string& value) {
    return BindList(s.bindings.keys, name, value, "key names", "a key name", ScancodeForKeyName);
}

std::string ApplyGamepad(UserSettings& s, const std::string& name, const std::string& value) {
    if (name == "dead-zone") {
        float zone = 0;
        if (!ParseNumber(value, zone) || !(zone >= 0.0f && zone < 1.0f))
            return "dead-zone needs a number from 0 up to (not including) 1";
        s.bindings.deadZone = zone;
        return {};
    }
    return BindList(s.bindings.gamepad, name, value, "gamepad inputs", "a gamepad button or axis direction",
                    GamepadInputForName);
}

std::string ApplyDisplay(UserSettings& s, const std::string& name, const std::string& value) {
    if (name == "vsync") {
        const std::optional<bool> on = ParseSwitch(value);
        if (!on) return "vsync needs on or off";
        s.vsync = *on;
        return {};
    }
    if (name == "max-fps") {
        int fps = 0;
        if (!ParseNumber(value, fps) || fps < 0 || fps > kMaximumFramesPerSecondCap)
            return "max-fps needs a whole number from 0 (no cap) to " + std::to_string(kMaximumFramesPerSecondCap);
        s.maxFps = fps;
        return {};
    }
    return "'" + name + "' is not a display setting (vsync, max-fps)";
}

std::string JoinKeys(const std::vector<int>& keys) {
    std::string out;
    for (int k : keys) out += (out.empty() ? "" : ", ") + KeyNameOf(k);
    return out;
}

std::string JoinInputs(const std::vector<GamepadInput>& inputs) {
    std::string out;
    for (const GamepadInput& i : inputs) out += (out.empty() ? "" : ", ") + GamepadInputName(i);
    return out;
}

}  // namespace

UserSettings ParseUserSettings(const std::string& text, const std::string& fileName,
                               std::vector<std::string>& warnings) {
    UserSettings s;
    enum class Section { None, Keys, Gamepad, Display, Unknown } section = Section::None;
    std::size_t start = 0;
    for (int lineNumber = 1; start < text.size(); ++lineNumber) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        const std::string where = fileName + ":" + std::to_string(lineNumber) + ": ";
        if (line.front() == '[') {
            const std::string name = line.back() == ']' ? Trim(line.substr(1, line.size() - 2)) : std::string();
            section = name == "keys" ? Section::Keys : name == "gamepad" ? Section::Gamepad
                    : name == "display" ? Section::Display : Section::Unknown;
            if (section == Section::Unknown)
                warnings.push_back(where + "unknown section '" + line + "' (keys, gamepad, display); its lines are skipped");
            continue;
        }
        if (section == Section::Unknown) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            warnings.push_back(where + "not a 'name = value' line");
            continue;
        }
        const std::string name = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        std::string problem;
        switch (section) {
            case Section::Keys: problem = ApplyKeys(s, name, value); break;
            case Section::Gamepad: problem = ApplyGamepad(s, name, value); break;
            case Section::Display: problem = ApplyDisplay(s, name, value); break;
            default: problem = "'" + name + "' comes before any [section]"; break;
        }
        if (!problem.empty()) warnings.push_back(where + problem + "; the default stays");
    }
    return s;
}

std::string DefaultUserSettingsText() {
    const UserSettings d;
    std::string t =
        "# Brontal's own settings. config.dat still sets the screen size, the window and the HUD.\n"
        "# A line that cannot be read is named when the game starts and keeps its default.\n"
        "\n"
        "# Each game key = one or more keys, by SDL's key names, separated by commas\n"
        "# (for example: up = Up, W   or   free-look = Keypad 0, Left Shift).\n"
        "[keys]\n";
    for (int i = 0; i < kGameKeyCount; ++i) t += std::string(kGameKeys[i].name) + " = " + JoinKeys(d.bindings.keys[i]) + "\n";
    t +=
        "\n"
        "# Each game key = one or more gamepad inputs: the buttons a b x y back guide start\n"
        "# leftstick rightstick leftshoulder rightshoulder dpup dpdown dpleft dpright, a stick\n"
        "# direction (leftx- is the left stick pushed left, lefty- pushed up; rightx and righty\n"
        "# likewise) or a trigger (lefttrigger, righttrigger). Gamepads may come and go at any time.\n"
        "[gamepad]\n";
    for (int i = 0; i < kGameKeyCount; ++i)
        t += std::string(kGameKeys[i].name) + " = " + JoinInputs(d.bindings.gamepad[i]) + "\n";
    t += "# A stick or trigger counts as pushed beyond this part of its travel (0 to below 1).\n";
    char zone[32];
    std::snprintf(zone, sizeof zone, "%g", static_cast<double>(d.bindings.deadZone));
    t += std::string("dead-zone = ") + zone + "\n";
    t +=
        "\n"
        "[display]\n"
        "# on: wait for the screen's refresh before showing each frame (--vsync, --no-vsync).\n"
        "vsync = " + std::string(d.vsync ? "on" : "off") + "\n"
        "# The most frames drawn in a second; 0 draws as many as the machine can.\n"
        "max-fps = " + std::to_string(d.maxFps) + "\n";
    return t;
}

std::optional<std::string> XdgConfigHome(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && xdgConfigHome[0] == '/') return std::string(xdgConfigHome);
    if (home && home[0] == '/') {
        std::string dir = home;
        if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        return (dir == "/" ? std::string() : dir) + "/.config";
    }
    return std::nullopt;
}

std::optional<std::string> UserSettingsPath() {
    std::optional<std::string> dir = XdgConfigHome(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (!dir) {
        const passwd* entry = ::getpwuid(::getuid());
        dir = XdgConfigHome(nullptr, entry ? entry->pw_dir : nullptr);
    }
    if (!dir) return std::nullopt;
    return *dir + "/brontal/settings.ini";
}

UserSettings LoadUserSettings(const std::string& path, std::vector<std::string>& warnings) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno != ENOENT) warnings.push_back(path + ": cannot read: " + std::strerror(errno) + "; the defaults stay");
        return {};
    }
    std::string text;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() <= kMaximumFileSize) text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || text.size() > kMaximumFileSize) {
        warnings.push_back(path + (failed ? ": cannot read the file" : ": larger than 1 MiB, not a settings file") +
                           "; the defaults stay");
        return {};
    }
    return ParseUserSettings(text, path, warnings);
}

}  // namespace brontal
