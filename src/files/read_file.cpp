// Reading a whole regular file without blocking and within a bound.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/file_io.h"

namespace brontal {
namespace {

std::vector<std::string>& ReadLog() {
    static std::vector<std::string> files;
    return files;
}

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

int OpenRegularFile(const std::string& path, std::uint64_t maxSize, std::uint64_t& size, std::string& error,
                    LongerFile longer) {
    if (path.empty()) {
        error = "(empty file name): cannot open: no file named";
        return -1;
    }
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for ever.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0) {
        error = path + ": cannot open: " + std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        error = path + ": cannot read: " + std::strerror(errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + ": cannot read: " + KindOf(info.st_mode) + ", not a regular file";
        return -1;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    if (size > maxSize && longer == LongerFile::Refuse) {
        error = path + ": cannot read: the file is " + std::to_string(size) + " bytes; at most " +
                std::to_string(maxSize) + " are read";
        return -1;
    }
    if (size > maxSize) size = maxSize;
    const int fd = file.fd;
    file.fd = -1;
    return fd;
}

void NoteFileRead(const std::string& path) { ReadLog().push_back(path); }

bool ReadRegularFile(const std::string& path, std::uint64_t maxSize, std::vector<std::uint8_t>& bytes,
                     std::string& error, LongerFile longer) {
    bytes.clear();
    std::uint64_t size = 0;
    Descriptor file{OpenRegularFile(path, maxSize, size, error, longer)};
    if (file.fd < 0) return false;
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            error = path + ": cannot read: " + (got < 0 ? std::strerror(errno) : "the file shrank while being read");
            bytes.clear();
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    NoteFileRead(path);
    return true;
}

const std::vector<std::string>& FilesReadSoFar() { return ReadLog(); }

}  // namespace brontal
