// Level::load: the file from disk, then the reader. A refused file leaves the level empty.
#include <algorithm>
#include <cstdio>

#include "files/file_io.h"
#include "files/mapped_file.h"
#include "level/reader.h"

namespace brontal {

std::string LevelPathForOpening(const std::string& path) {
    std::string opened = path;
    std::replace(opened.begin(), opened.end(), '\\', '/');
    return opened;
}

bool ReadLevelFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    return ReadRegularFile(path, kMaxLevelFileSize, bytes, error);
}

std::string NothingToDrawWarning(const std::string& name, const Level& level, bool hasHeader) {
    if (level.roomCount != 0 || level.animatedModelCount != 0) return {};
    return "warning: " + name + ": the level holds nothing to draw (" +
           (hasHeader ? "no rooms and no animated model" : "no level header chunk") + ")";
}

bool Level::load(const std::string& path, Device* targetDevice) {
    const std::string opened = LevelPathForOpening(path);
    MappedFile file;
    std::string error;
    LevelReadDetails details;
    if (!file.Open(opened, kMaxLevelFileSize, error) ||
        !ReadLevel(file.data(), file.size(), opened, targetDevice, *this, error, &details)) {
        *this = Level{};
        lastError_ = error;
        return false;
    }
    lastError_.clear();
    // An empty level is what the file says, so it is run; but a level that draws nothing is
    // almost always the wrong file.
    if (const std::string warning = NothingToDrawWarning(opened, *this, details.hasHeader); !warning.empty())
        std::fprintf(stderr, "%s\n", warning.c_str());
    return true;
}

}  // namespace brontal
