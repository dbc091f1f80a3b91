#include "app/key_script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

#include "files/file_io.h"

namespace brontal {

namespace {

struct KeyName {
    const char* name;
    int virtualKey;
};
constexpr KeyName kKeyNames[] = {
    {"UP", VK_UP}, {"DOWN", VK_DOWN}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT}, {"NUMPAD0", VK_NUMPAD0},
    {"M", VK_M},   {"P", VK_P},       {"W", VK_W},       {"X", VK_X},         {"1", VK_1},
    {"ESCAPE", VK_ESCAPE}, {"PAGEUP", VK_PRIOR}, {"PAGEDOWN", VK_NEXT}, {"F5", VK_F5},
};

std::optional<int> KeyFromName(std::string word) {
    std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::toupper(c); });
    for (const KeyName& k : kKeyNames)
        if (word == k.name) return k.virtualKey;
    return std::nullopt;
}

bool ParseFrame(const std::string& word, std::int64_t& out) {
    auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
    return ec == std::errc() && ptr == word.data() + word.size() && out >= 0;
}

}  // namespace

bool KeyScript::Held(std::int64_t frame, int virtualKey) const {
    for (const KeyScriptLine& line : lines) {
        if (frame < line.first || frame > line.last) continue;
        if (std::find(line.virtualKeys.begin(), line.virtualKeys.end(), virtualKey) != line.virtualKeys.end())
            return true;
    }
    return false;
}

std::optional<KeyScript> ParseKeyScript(const std::string& text, const std::string& sourceName, std::string& error) {
    KeyScript script;
    std::istringstream in(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(in, raw)) {
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const auto start = raw.find_first_not_of(" \t");
        if (start == std::string::npos || raw[start] == '#') continue;

        auto fail = [&](const std::string& why) {
            error = sourceName + ": line " + std::to_string(lineNumber) + ": " + why;
            return std::nullopt;
        };
        std::istringstream words(raw);
        std::string firstWord, lastWord, keyWord;
        KeyScriptLine line;
        if (!(words >> firstWord >> lastWord)) return fail("expected 'FIRST LAST KEY [KEY ...]'");
        if (!ParseFrame(firstWord, line.first)) return fail("bad first frame '" + firstWord + "'");
        if (!ParseFrame(lastWord, line.last)) return fail("bad last frame '" + lastWord + "'");
        if (line.last < line.first) return fail("last frame " + lastWord + " is before first frame " + firstWord);
        while (words >> keyWord) {
            auto key = KeyFromName(keyWord);
            if (!key) return fail("unknown key '" + keyWord + "'");
            line.virtualKeys.push_back(*key);
        }
        if (line.virtualKeys.empty()) return fail("no key named");
        script.lines.push_back(std::move(line));
    }
    return script;
}

std::optional<KeyScript> LoadKeyScript(const std::string& path, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadRegularFile(path, kMaxKeyScriptSize, bytes, error)) {
        error += " (the key script)";
        return std::nullopt;
    }
    return ParseKeyScript(std::string(bytes.begin(), bytes.end()), path, error);
}

}  // namespace brontal
