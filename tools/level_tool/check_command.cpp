// check and chunks: the reader's verdict, and the chunks as they lie in the file.
#include <cstdio>

#include "level/chunk_ids.h"
#include "level_commands.h"

namespace brontal {

bool ReadLevelForTool(const std::string& path, std::vector<std::uint8_t>& bytes, Level& level,
                      LevelReadDetails& details) {
    std::string error;
    if (!ReadLevelFile(path, bytes, error) ||
        !ReadLevel(bytes.data(), bytes.size(), path, nullptr, level, error, &details)) {
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

int CheckCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brontal-level check FILE\n");
        return 2;
    }
    std::vector<std::uint8_t> bytes;
    Level level;
    LevelReadDetails details;
    if (!ReadLevelForTool(argv[1], bytes, level, details)) return 1;
    std::printf("%s: good: %u rooms, %u models, %u animated models, %u textures\n", argv[1],
                unsigned{level.roomCount}, unsigned{level.modelCount}, unsigned{level.animatedModelCount},
                unsigned{level.textureCount});
    return 0;
}

int ChunksCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brontal-level chunks FILE\n");
        return 2;
    }
    std::vector<std::uint8_t> bytes;
    Level level;
    LevelReadDetails details;
    const bool good = ReadLevelForTool(argv[1], bytes, level, details);
    // The chunks the walk got through, also when it stopped at a refusal.
    std::printf("%10s  %6s  %-15s %10s\n", "offset", "id", "kind", "length");
    for (const ChunkRecord& chunk : details.chunks) {
        std::printf("%10u  0x%04X  %-15s %10u\n", chunk.offset, unsigned{chunk.id}, ChunkName(chunk.id),
                    chunk.length);
    }
    return good ? 0 : 1;
}

}  // namespace brontal
