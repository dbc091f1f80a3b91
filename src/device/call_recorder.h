#pragma once
// The call recorder: with one attached, the device logs every call with its arguments, in
// order. One line per call: the operation's name as the device spells it, then its arguments
// separated by spaces: integers in decimal, floats with %.9g, matrices as sixteen floats row by
// row, and data passed by pointer as its element count.
#include <cstdint>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "math/types.h"

namespace brontal {

using CallArgument = std::variant<std::int64_t, double, Matrix4x4>;

struct RecordedCall {
    std::string name;
    std::vector<CallArgument> arguments;

    std::string ToLine() const;  // the trace line, without a newline
};

class CallRecorder {
public:
    virtual ~CallRecorder() = default;
    virtual void Record(RecordedCall call) = 0;
};

// Keeps every call in memory (tests).
class MemoryRecorder final : public CallRecorder {
public:
    void Record(RecordedCall call) override { calls.push_back(std::move(call)); }
    std::vector<std::string> Lines() const;
    void Clear() { calls.clear(); }
    std::vector<RecordedCall> calls;
};

// Writes every call as a line to a file (the device trace of deterministic runs).
class FileRecorder final : public CallRecorder {
public:
    explicit FileRecorder(std::FILE* file) : file_(file) {}
    void Record(RecordedCall call) override;
    void Marker(const std::string& line);  // e.g. "Frame 3"
private:
    std::FILE* file_;
};

}  // namespace brontal
