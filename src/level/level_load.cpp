// Level::load: the file from disk, then the reader. A refused file leaves the level empty.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "level/mapped_file.h"
#include "level/reader.h"

namespace brontal {

std::string LevelPathForOpening(const std::string& path) {
    std::string opened = path;
    std::replace(opened.begin(), opened.end(), '\\', '/');
    return opened;
}

bool ReadLevelFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = path + ": cannot read: not a regular file";
        ::close(fd);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            error = path + ": cannot read: " + (got < 0 ? std::strerror(errno) : "the file shrank while being read");
            ::close(fd);
            bytes.clear();
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return true;
}

bool Level::load(const std::string& path, Device* targetDevice) {
    const std::string opened = LevelPathForOpening(path);
    MappedFile file;
    std::string error;
    if (!file.Open(opened, error) || !ReadLevel(file.data(), file.size(), opened, targetDevice, *this, error)) {
        *this = Level{};
        lastError_ = error;
        return false;
    }
    lastError_.clear();
    return true;
}

}  // namespace brontal
