// check and chunks: the reader's verdict, and the chunks as they lie in the file.
#include <cstdio>

#include "level/chunk_ids.h"
#include "level_commands.h"

namespace brontal {

bool ReadLevelForTool(const std::string& path, MappedFile& bytes, Level& level, LevelReadDetails& details,
                      SurfaceLists lists) {
    std::string error;
    if (!bytes.Open(path, kMaxLevelFileSize, error) ||
        !ReadLevel(bytes.data(), bytes.size(), path, nullptr, level, error, &details, lists)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    // The game runs such a level, with this one warning; the tools say the same.
    if (const std::string warning = NothingToDrawWarning(path, level, details.hasHeader); !warning.empty())
        std::fprintf(stderr, "%s\n", warning.c_str());
    return true;
}

const char* ImageFormatName(const std::uint8_t* data, std::size_t size) {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return "BMP";
    if (size >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') return "PNG";
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return "JPEG";
    return "unknown";
}

// Up to how many room triangles check also finds what each room sees (the sample level has
// about 10,000; a level of 100 rooms of 75 full surfaces has 1.9 million).
constexpr std::size_t kCheckSightTriangleLimit = 200000;

int CheckCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brontal-level check FILE\n");
        return 2;
    }
    MappedFile bytes;
    Level level;
    LevelReadDetails details;
    // The verdict, the counts and the boxes need none of the surfaces' lists copied; finding what
    // each room sees does, so a level small enough for that is read again with them.
    if (!ReadLevelForTool(argv[1], bytes, level, details, SurfaceLists::kLeftInFile)) return 1;
    std::printf("%s: good: %u rooms, %u models, %u animated models, %u textures\n", argv[1],
                unsigned{level.roomCount}, unsigned{level.modelCount}, unsigned{level.animatedModelCount},
                unsigned{level.textureCount});
    // A list that leaves out a room the player can see leaves a hole; the game still reads it.
    // Finding what each room sees takes seconds for a large level: check leaves that to vis.
    std::size_t triangles = 0;
    for (const Room& room : level.rooms)
        for (const Surface& surface : room.surfaces) triangles += surface.indexCount / 3;
    if (triangles > kCheckSightTriangleLimit) {
        std::fprintf(stderr, "%s: visible lists not checked: %zu room triangles (brontal-level vis checks them)\n",
                     argv[1], triangles);
        return 0;
    }
    std::string error;
    if (!ReadLevel(bytes.data(), bytes.size(), argv[1], nullptr, level, error, &details)) {
        std::fprintf(stderr, "%s\n", error.c_str());  // the same bytes were accepted a moment ago
        return 1;
    }
    WarnMissingRooms(argv[1], level, LevelSight({bytes.data(), bytes.size()}, level, details));
    return 0;
}

int ChunksCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brontal-level chunks FILE\n");
        return 2;
    }
    MappedFile bytes;
    Level level;
    LevelReadDetails details;
    const bool good = ReadLevelForTool(argv[1], bytes, level, details, SurfaceLists::kLeftInFile);
    // The chunks the walk got through, also when it stopped at a refusal.
    std::printf("%10s  %6s  %-15s %10s\n", "offset", "id", "kind", "length");
    for (const ChunkRecord& chunk : details.chunks) {
        std::printf("%10u  0x%04X  %-15s %10u\n", chunk.offset, unsigned{chunk.id}, ChunkName(chunk.id),
                    chunk.length);
    }
    return good ? 0 : 1;
}

}  // namespace brontal
