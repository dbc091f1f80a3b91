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

bool ReadRegularFile(const std::string& path, std::uint64_t maxSize, std::vector<std::uint8_t>& bytes,
                     std::string& error, LongerFile longer) {
    bytes.clear();
    if (path.empty()) {
        error = "(empty file name): cannot open: no file named";
        return false;
    }
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for ever.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0) {
        error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        error = path + ": cannot read: " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + ": cannot read: " + KindOf(info.st_mode) + ", not a regular file";
        return false;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > maxSize && longer == LongerFile::Refuse) {
        error = path + ": cannot read: the file is " + std::to_string(size) + " bytes; at most " +
                std::to_string(maxSize) + " are read";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size < maxSize ? size : maxSize));
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
    ReadLog().push_back(path);
    return true;
}

const std::vector<std::string>& FilesReadSoFar() { return ReadLog(); }

}  // namespace brontal
