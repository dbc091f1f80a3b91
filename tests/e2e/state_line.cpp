#include "e2e/state_line.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace brontal::e2e {

namespace {

// A cursor over one line; every read checks the bounds and says what it expected.
class Reader {
public:
    Reader(const std::string& text, std::string& error) : text_(text), error_(error) {}

    bool Expect(const char* literal) {
        const std::string want(literal);
        if (text_.compare(at_, want.size(), want) != 0) return Fail("expected '" + want + "'");
        at_ += want.size();
        return true;
    }
    bool Key(const char* name) {
        const std::string want = std::string(first_ ? "{\"" : ",\"") + name + "\":";
        first_ = false;
        if (text_.compare(at_, want.size(), want) != 0) return Fail(std::string("expected the key \"") + name + "\"");
        at_ += want.size();
        return true;
    }
    bool Number(double& out) {
        if (text_.compare(at_, 4, "null") == 0) {
            at_ += 4;
            out = std::numeric_limits<double>::quiet_NaN();
            return true;
        }
        const char* start = text_.c_str() + at_;
        char* end = nullptr;
        out = std::strtod(start, &end);
        if (end == start) return Fail("expected a number");
        at_ += static_cast<std::size_t>(end - start);
        return true;
    }
    bool Float(float& out) {
        double value = 0;
        if (!Number(value)) return false;
        out = static_cast<float>(value);
        return true;
    }
    template <typename Int>
    bool Integer(Int& out) {
        double value = 0;
        if (!Number(value)) return false;
        if (!std::isfinite(value) || value != std::floor(value)) return Fail("expected an integer");
        out = static_cast<Int>(value);
        return true;
    }
    bool Vector(Vector3& out) {
        return Expect("[") && Float(out.x) && Expect(",") && Float(out.y) && Expect(",") && Float(out.z) && Expect("]");
    }
    bool Integers(std::vector<int>& out) {
        if (!Expect("[")) return false;
        if (Peek() == ']') return Expect("]");
        for (;;) {
            int value = 0;
            if (!Integer(value)) return false;
            out.push_back(value);
            if (Peek() == ']') return Expect("]");
            if (!Expect(",")) return false;
        }
    }
    bool String(std::optional<std::string>& out) {
        if (text_.compare(at_, 4, "null") == 0) {
            at_ += 4;
            out.reset();
            return true;
        }
        if (!Expect("\"")) return false;
        std::string value;
        while (at_ < text_.size() && text_[at_] != '"') {
            char c = text_[at_++];
            if (c == '\\') {
                if (at_ >= text_.size()) return Fail("escape at the end of the line");
                const char e = text_[at_++];
                if (e == 'u') {
                    if (at_ + 4 > text_.size()) return Fail("short \\u escape");
                    c = static_cast<char>(std::strtol(text_.substr(at_, 4).c_str(), nullptr, 16));
                    at_ += 4;
                } else {
                    c = e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                }
            }
            value += c;
        }
        out = value;
        return Expect("\"");
    }
    bool End() { return Expect("}") && (at_ == text_.size() || Fail("text after the object")); }
    bool Fail(const std::string& why) {
        error_ = "offset " + std::to_string(at_) + ": " + why;
        return false;
    }

private:
    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    const std::string& text_;
    std::string& error_;
    std::size_t at_ = 0;
    bool first_ = true;
};

}  // namespace

std::optional<StateLine> ParseStateLine(const std::string& line, std::string& error) {
    Reader in(line, error);
    StateLine s;
    const bool ok = in.Key("frame") && in.Integer(s.frame) && in.Key("dt") && in.Float(s.dt) &&
                    in.Key("position") && in.Vector(s.position) && in.Key("heading") && in.Float(s.heading) &&
                    in.Key("lean") && in.Float(s.lean) && in.Key("animFrame") && in.Float(s.animFrame) &&
                    in.Key("currentRoom") && in.Integer(s.currentRoom) && in.Key("currentRoomName") &&
                    in.String(s.currentRoomName) && in.Key("visibleRooms") && in.Integers(s.visibleRooms) &&
                    in.Key("trianglesDrawn") && in.Integer(s.trianglesDrawn) && in.Key("framesPerSecond") &&
                    in.Float(s.framesPerSecond) && in.Key("camera") && in.Vector(s.camera) && in.End();
    if (!ok) return std::nullopt;
    return s;
}

std::optional<std::vector<StateLine>> ParseStateLog(const std::string& text, std::string& error) {
    std::vector<StateLine> log;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        auto parsed = ParseStateLine(line, error);
        if (!parsed) {
            error = "state log line " + std::to_string(number) + ": " + error;
            return std::nullopt;
        }
        log.push_back(std::move(*parsed));
    }
    return log;
}

std::vector<std::string> RoomSequence(const std::vector<StateLine>& log) {
    std::vector<std::string> names;
    for (const StateLine& s : log) {
        if (!s.currentRoomName) continue;
        if (names.empty() || names.back() != *s.currentRoomName) names.push_back(*s.currentRoomName);
    }
    return names;
}

}  // namespace brontal::e2e
