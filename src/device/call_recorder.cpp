#include "device/call_recorder.h"

#include <cinttypes>

namespace brontal {

namespace {

void AppendFloat(std::string& line, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    line += text;
}

void AppendArgument(std::string& line, const CallArgument& argument) {
    if (const auto* integer = std::get_if<std::int64_t>(&argument)) {
        char text[24];
        std::snprintf(text, sizeof text, "%" PRId64, *integer);
        line += text;
    } else if (const auto* real = std::get_if<double>(&argument)) {
        AppendFloat(line, *real);
    } else {
        const Matrix4x4& matrix = std::get<Matrix4x4>(argument);
        for (int i = 0; i < 16; ++i) {
            if (i > 0) line += ' ';
            AppendFloat(line, matrix.m[i / 4][i % 4]);
        }
    }
}

}  // namespace

std::string RecordedCall::ToLine() const {
    std::string line = name;
    for (const CallArgument& argument : arguments) {
        line += ' ';
        AppendArgument(line, argument);
    }
    return line;
}

std::vector<std::string> MemoryRecorder::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(calls.size());
    for (const RecordedCall& call : calls) lines.push_back(call.ToLine());
    return lines;
}

void FileRecorder::Record(RecordedCall call) {
    if (!file_) return;
    const std::string line = call.ToLine();
    std::fprintf(file_, "%s\n", line.c_str());
}

void FileRecorder::Marker(const std::string& line) {
    if (!file_) return;
    std::fprintf(file_, "%s\n", line.c_str());
}

}  // namespace brontal
