#include "app/state_log.h"

#include <cmath>

namespace brontal {

namespace {

void AppendFloat(float value, std::string& out) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    out.append(buffer, static_cast<std::size_t>(n));
}

void AppendInteger(long long value, std::string& out) {
    char buffer[24];
    const int n = std::snprintf(buffer, sizeof buffer, "%lld", value);
    out.append(buffer, static_cast<std::size_t>(n));
}

void AppendVector(const Vector3& v, std::string& out) {
    out += '[';
    AppendFloat(v.x, out);
    out += ',';
    AppendFloat(v.y, out);
    out += ',';
    AppendFloat(v.z, out);
    out += ']';
}

}  // namespace

void AppendJsonString(const char* text, std::string& out) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const unsigned char c = *p;
        switch (c) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            case '\b': out += "\\b"; continue;
            case '\f': out += "\\f"; continue;
            default: break;
        }
        if (c < 0x20 || c >= 0x7F) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

void FormatStateLine(const FrameStateRecord& r, std::string& out) {
    out += "{\"frame\":";
    AppendInteger(r.frame, out);
    out += ",\"dt\":";
    AppendFloat(r.dt, out);
    out += ",\"position\":";
    AppendVector(r.position, out);
    out += ",\"heading\":";
    AppendFloat(r.heading, out);
    out += ",\"lean\":";
    AppendFloat(r.lean, out);
    out += ",\"animFrame\":";
    AppendFloat(r.animFrame, out);
    out += ",\"currentRoom\":";
    AppendInteger(r.currentRoom, out);
    out += ",\"currentRoomName\":";
    if (r.currentRoomName)
        AppendJsonString(r.currentRoomName, out);
    else
        out += "null";
    out += ",\"visibleRooms\":[";
    for (std::size_t i = 0; i < r.visibleRoomCount; ++i) {
        if (i) out += ',';
        AppendInteger(r.visibleRooms[i], out);
    }
    out += "],\"trianglesDrawn\":";
    AppendInteger(r.trianglesDrawn, out);
    out += ",\"framesPerSecond\":";
    AppendFloat(r.framesPerSecond, out);
    out += ",\"camera\":";
    AppendVector(r.camera, out);
    out += "}\n";
}

}  // namespace brontal
