#pragma once
// A file's bytes mapped read-only into memory instead of copied: a reader reads the page cache's
// own pages in place, so holding a 50 MB level costs no fresh memory, and only the lists the
// reader builds from it do. The file is opened as ReadRegularFile opens it (without blocking, a
// regular file only, within a bound) and counts among FilesReadSoFar.
//
// A mapping follows the file: a file that another program cuts short while it is being read
// would end the process. The level tools never do that: they write a new file and rename it
// into place, which leaves the mapped one whole.
#include <cstddef>
#include <cstdint>
#include <string>

namespace brontal {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the file (the path as given) of at most maxSize bytes. On failure says why in error:
    // "PATH: cannot open: ...".
    bool Open(const std::string& path, std::uint64_t maxSize, std::string& error);
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void Close();
    const std::uint8_t* data_ = nullptr;  // null for an empty file
    std::size_t size_ = 0;
};

}  // namespace brontal
