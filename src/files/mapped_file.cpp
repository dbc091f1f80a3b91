#include "files/mapped_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/file_io.h"

namespace brontal {

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
    if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
}

bool MappedFile::Open(const std::string& path, std::uint64_t maxSize, std::string& error) {
    Close();
    std::uint64_t size = 0;
    const int fd = OpenRegularFile(path, maxSize, size, error);
    if (fd < 0) return false;
    if (size > 0) {
        // Populated at once: the reader walks every byte, and one call beats a fault a page.
        void* at = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (at == MAP_FAILED) {
            error = path + ": cannot read: " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        data_ = static_cast<const std::uint8_t*>(at);
        size_ = static_cast<std::size_t>(size);
    }
    ::close(fd);
    NoteFileRead(path);
    return true;
}

}  // namespace brontal
