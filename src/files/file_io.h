#pragma once
// Every file the game and the tools read or write goes through here, so that nothing blocks,
// nothing grows without bound and nothing is lost:
// - A read opens without waiting (a FIFO with no writer does not hold the program), refuses
//   anything but a regular file (FIFO, device, directory, socket) and refuses a file larger than
//   the caller's bound before a byte is allocated for it; the read never takes more than the bound.
// - An output is written to a temporary file beside it and renamed into place only once every
//   byte has been written and flushed, so a failed or interrupted run leaves the old file as it
//   was. An existing output that is not a regular file (/dev/null, a terminal, a FIFO) is written
//   directly: there is no file to lose.
// Every message starts with the path it is about: "PATH: cannot open: No such file or directory".
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace brontal {

// What a read does with a file longer than its bound.
enum class LongerFile {
    Refuse,      // the file is refused before it is read
    ReadPrefix,  // only the first maxSize bytes are read (a settings file read by its first bytes)
};

// Opens a regular file for reading without blocking and sets size to what is to be read of it
// (at most maxSize); the descriptor, or -1 with the reason in error.
int OpenRegularFile(const std::string& path, std::uint64_t maxSize, std::uint64_t& size, std::string& error,
                    LongerFile longer = LongerFile::Refuse);
// Adds a file read whole to FilesReadSoFar.
void NoteFileRead(const std::string& path);

// Reads a whole regular file of at most maxSize bytes.
bool ReadRegularFile(const std::string& path, std::uint64_t maxSize, std::vector<std::uint8_t>& bytes,
                     std::string& error, LongerFile longer = LongerFile::Refuse);

// An output written to a temporary file beside its path until Commit renames it into place.
// Destroying an output that was not committed removes the temporary file and leaves the path as it was.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { Discard(); }

    bool Open(const std::string& path, std::string& error);
    std::FILE* Stream() const { return stream_; }
    const std::string& Path() const { return path_; }
    // Flushes and closes the stream and renames the file into place; false (with the path and the
    // reason) when any write failed on the way, and then the old file stays.
    bool Commit(std::string& error);
    void Discard();

private:
    // The stream writes through these, so that the first failed write's reason is kept.
    static ssize_t WriteToFile(void* self, const char* bytes, std::size_t size);
    static int CloseFile(void* self);
    bool Attach(int fd, std::string& error);

    std::FILE* stream_ = nullptr;
    int fd_ = -1;
    int writeErrno_ = 0;    // the first failed write's errno
    std::string path_;       // as given, for messages
    std::string target_;     // the file renamed over (a link's target)
    std::string temporary_;  // empty when written directly
};

// Writes bytes through an OutputFile.
bool WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

// Empty when path can be written: its directory exists and may be written, and it is not itself
// a directory. Otherwise the reason, starting with the path.
std::string CheckOutputPath(const std::string& path);

// Whether two paths name one file: the same device and inode when both exist, otherwise the same
// absolute path once "." and ".." are resolved.
bool SameFile(const std::string& a, const std::string& b);

// The first of inputs that output names (SameFile), if any.
std::optional<std::string> InputNamedBy(const std::string& output, const std::vector<std::string>& inputs);

// Every regular file ReadRegularFile has read in this process, in order (the tools refuse an
// output that would overwrite one of them).
const std::vector<std::string>& FilesReadSoFar();

}  // namespace brontal
