// Level load speed in MB/s beside reading the same file as dd does, and beside reading it into
// memory and copying it once: the ratio of the load to the plain read is the figure (the aim is
// at most 4), how much the chunk walk, the checks, the lists and the derivations cost over I/O.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "files/mapped_file.h"
#include "level/reader.h"
#include "level/writer.h"

namespace {

using namespace brontal;

// 100 rooms of 75 surfaces of 255 triangles (about 50 MB), models and a figure: the size of
// level the whole-process comparison uses (scripts/load-compare.sh writes it with --write FILE).
std::vector<std::uint8_t> LargeLevel() {
    constexpr int kRooms = 100, kSurfaces = 75, kTriangles = 255;
    // A zigzag strip: 257 vertices, 255 triangles, every vertex used.
    Surface strip;
    for (int i = 0; i < kTriangles + 2; ++i) {
        const float x = float(i / 2), y = float(i % 2);
        strip.vertices.push_back({x, y, float(i % 7), x / 128.0f, y});
    }
    for (int t = 0; t < kTriangles; ++t) {
        const auto at = [](int i) { return static_cast<std::uint16_t>(i); };
        if (t % 2 == 0) strip.indices.insert(strip.indices.end(), {at(t), at(t + 1), at(t + 2)});
        else strip.indices.insert(strip.indices.end(), {at(t + 1), at(t), at(t + 2)});
    }
    strip.vertexCount = static_cast<std::uint16_t>(strip.vertices.size());
    strip.indexCount = static_cast<std::uint16_t>(strip.indices.size());
    strip.triangleCount = static_cast<std::uint8_t>(strip.indexCount / 3);
    const Surface& grid = strip;

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

// What `brontal-level check` reads: the file mapped, every byte checked, the surfaces' lists
// left in the file.
void BM_CheckLevel(benchmark::State& state) {
    const LevelFile& file = File();
    for (auto _ : state) {
        MappedFile bytes;
        Level level;
        std::string error;
        if (!bytes.Open(file.path, kMaxLevelFileSize, error) ||
            !ReadLevel(bytes.data(), bytes.size(), file.path, nullptr, level, error, nullptr, SurfaceLists::kLeftInFile))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(level.rooms.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}
BENCHMARK(BM_CheckLevel)->Unit(benchmark::kMillisecond);

// What dd does: the file read through one reused 1 MB buffer.
void BM_ReadFile(benchmark::State& state) {
    const LevelFile& file = File();
    std::vector<std::uint8_t> buffer(1 << 20);
    for (auto _ : state) {
        std::FILE* in = std::fopen(file.path.c_str(), "rb");
        if (in == nullptr) state.SkipWithError("cannot open the level");
        while (in != nullptr && std::fread(buffer.data(), 1, buffer.size(), in) == buffer.size()) {
        }
        if (in != nullptr) std::fclose(in);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size));
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);

// Read the same file into memory and copy its bytes once, as the reader's lists are copied.
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

// --write FILE writes the level and exits; anything else goes to the benchmark library.
int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        const std::vector<std::uint8_t> bytes = LargeLevel();
        std::FILE* file = std::fopen(argv[2], "wb");
        const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (!file || std::fclose(file) != 0 || !written) {
            std::fprintf(stderr, "level_load_bench: %s: cannot write\n", argv[2]);
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
