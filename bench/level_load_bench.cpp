// Level load speed in MB/s beside a plain read and copy of the same file: the ratio of the two
// is the figure (how much the chunk walk, the checks and the derivations cost over the I/O).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "level/reader.h"
#include "level/writer.h"

namespace {

using namespace brontal;

// 120 rooms of 60 surfaces of 250 triangles (about 36 MB of geometry), models and a figure.
std::vector<std::uint8_t> LargeLevel() {
    constexpr int kRooms = 120, kSurfaces = 60, kGrid = 12;  // 12 x 12 vertices, 242 triangles
    Surface grid;
    for (int y = 0; y < kGrid; ++y) {
        for (int x = 0; x < kGrid; ++x) {
            grid.vertices.push_back({float(x), float(y), float(x * y % 7), x / 11.0f, y / 11.0f});
        }
    }
    for (int y = 0; y + 1 < kGrid; ++y) {
        for (int x = 0; x + 1 < kGrid; ++x) {
            const auto at = [](int cx, int cy) { return static_cast<std::uint16_t>(cy * kGrid + cx); };
            grid.indices.insert(grid.indices.end(),
                                {at(x, y), at(x + 1, y), at(x, y + 1), at(x, y + 1), at(x + 1, y), at(x + 1, y + 1)});
        }
    }
    grid.vertexCount = static_cast<std::uint16_t>(grid.vertices.size());
    grid.indexCount = static_cast<std::uint16_t>(grid.indices.size());
    grid.triangleCount = static_cast<std::uint8_t>(grid.indexCount / 3);

    Level level;
    level.levelName = "large";
    level.textureCount = 1;
    level.roomCount = kRooms;
    level.rooms.resize(kRooms);
    for (int r = 0; r < kRooms; ++r) {
        Room& room = level.rooms[r];
        room.name = "room " + std::to_string(r);
        room.visibleRooms = {static_cast<std::uint16_t>(r)};
        room.visibleRoomCount = 1;
        room.surfaces.assign(kSurfaces, grid);
        room.surfaceCount = kSurfaces;
        RoomObject object;
        object.rotationAxis = {0, 1, 0};
        object.rotationAngle = float(r);
        room.objects.assign(8, object);
        room.objectCount = 8;
    }
    level.modelCount = 4;
    level.models.resize(4);
    for (Model& model : level.models) {
        model.surfaces.assign(4, grid);
        model.surfaceCount = 4;
    }
    return WriteLevel(level, {std::vector<std::uint8_t>(4096, 7)});
}

struct LevelFile {
    LevelFile() {
        path = (std::filesystem::temp_directory_path() / ("brontal_level_bench_" + std::to_string(::getpid()) + ".vrm"))
                   .string();
        const std::vector<std::uint8_t> bytes = LargeLevel();
        size = bytes.size();
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
        std::fclose(file);
    }
    ~LevelFile() { std::filesystem::remove(path); }
    std::string path;
    std::size_t size = 0;
};

const LevelFile& File() {
    static const LevelFile file;
    return file;
}

void BM_LoadLevel(benchmark::State& state) {
    const LevelFile& file = File();
    for (auto _ : state) {
        Level level;
        if (!level.load(file.path, nullptr)) state.SkipWithError(level.LastError().c_str());
        benchmark::DoNotOptimize(level.rooms.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}
BENCHMARK(BM_LoadLevel)->Unit(benchmark::kMillisecond);

// The floor: read the same file and copy its bytes once, as the reader's lists are copied.
void BM_ReadAndCopyFile(benchmark::State& state) {
    const LevelFile& file = File();
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        if (!ReadLevelFile(file.path, bytes, error)) state.SkipWithError(error.c_str());
        std::vector<std::uint8_t> copy(bytes.size());
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}
BENCHMARK(BM_ReadAndCopyFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
