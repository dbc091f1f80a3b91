#include "level/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brontal {

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
    if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
}

bool MappedFile::Open(const std::string& path, std::string& error) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size > 0) {
        // Populated at once: the reader walks every byte, and one call beats a fault a page.
        void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (at == MAP_FAILED) {
            error = path + ": cannot read: " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        data_ = static_cast<const std::uint8_t*>(at);
        size_ = size;
    }
    ::close(fd);
    return true;
}

}  // namespace brontal
