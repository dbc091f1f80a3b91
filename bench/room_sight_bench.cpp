// The visible-room lists of a whole level: the sample level (to stay under 2 s) and a level of
// 100 box rooms of 75 surfaces each, joined by doors on a 10 x 10 grid (to stay under 60 s).
#include <benchmark/benchmark.h>

#include <utility>

#include "sample/sample_level.h"
#include "support/facing_quad.h"
#include "sample/textures.h"
#include "visibility/room_sight.h"

namespace {

using namespace brontal;

constexpr float kRoomSize = 600.0f, kHeight = 250.0f, kDoorTop = 180.0f;
constexpr int kGrid = 10;
constexpr int kFloorTiles = 7, kCeilingTiles = 5;  // 49 + 25 surfaces, and one of walls: 75

Surface& Quad(Surface& s, Vector3 a, Vector3 b, Vector3 c, Vector3 d, const Vector3& facing) {
    return test::FacingQuad(s, a, b, c, d, facing);
}

// Tiles of a horizontal plane at height y, facing up or down.
void Tiles(Room& room, float x0, float z0, int count, float y, float facingY) {
    const float step = kRoomSize / float(count);
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < count; ++k) {
            const float x = x0 + step * float(i), z = z0 + step * float(k);
            Surface s;
            room.surfaces.push_back(
                Quad(s, {x, y, z}, {x + step, y, z}, {x + step, y, z + step}, {x, y, z + step}, {0, facingY, 0}));
        }
    }
}

// Room (i, j) opens east and north to its neighbours, the door's place varying from room to
// room, and on a few walls not at all.
Level GridOfRooms() {
    Level level;
    const auto doorAt = [](int i, int j, int side) { return 60.0f + float((i * 7 + j * 13 + side * 5) % 9) * 50.0f; };
    const auto hasDoor = [](int i, int j, int side) { return (i * 3 + j * 5 + side) % 7 != 0; };
    for (int j = 0; j < kGrid; ++j) {
        for (int i = 0; i < kGrid; ++i) {
            Room room;
            room.name = "room " + std::to_string(j * kGrid + i);
            const float x0 = kRoomSize * float(i), z0 = kRoomSize * float(j);
            Tiles(room, x0, z0, kFloorTiles, 0.0f, 1.0f);
            Tiles(room, x0, z0, kCeilingTiles, kHeight, -1.0f);
            Surface walls;
            // Each wall in pieces round its door; both faces, so the camera outside sees walls.
            for (int side = 0; side < 4; ++side) {
                const bool alongX = side < 2;  // 0 south, 1 north, 2 west, 3 east
                const float fixed = alongX ? z0 + (side == 1 ? kRoomSize : 0.0f) : x0 + (side == 3 ? kRoomSize : 0.0f);
                const float start = alongX ? x0 : z0;
                const Vector3 inwards = alongX ? Vector3{0, 0, side == 1 ? -1.0f : 1.0f}
                                               : Vector3{side == 3 ? -1.0f : 1.0f, 0, 0};
                // A door is shared by the wall on both sides: the south and west ones are the
                // neighbour's north and east doors.
                const int di = side == 2 ? i - 1 : i, dj = side == 0 ? j - 1 : j, dside = side < 2 ? 1 : 3;
                const bool door = (side == 1 && j + 1 < kGrid) || (side == 3 && i + 1 < kGrid) ||
                                  (side == 0 && j > 0) || (side == 2 && i > 0);
                const bool open = door && hasDoor(di, dj, dside);
                const float from = start + doorAt(di, dj, dside), to = from + 80.0f;
                const auto at = [&](float along, float y) {
                    return alongX ? Vector3{along, y, fixed} : Vector3{fixed, y, along};
                };
                const auto piece = [&](float a, float b, float y0, float y1) {
                    Quad(walls, at(a, y0), at(b, y0), at(b, y1), at(a, y1), inwards);
                    Quad(walls, at(a, y0), at(b, y0), at(b, y1), at(a, y1), {-inwards.x, -inwards.y, -inwards.z});
                };
                if (open) {
                    piece(start, from, 0, kHeight);
                    piece(from, to, kDoorTop, kHeight);
                    piece(to, start + kRoomSize, 0, kHeight);
                } else {
                    piece(start, start + kRoomSize, 0, kHeight);
                }
            }
            room.surfaces.push_back(walls);
            room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
            level.rooms.push_back(std::move(room));
        }
    }
    level.roomCount = static_cast<std::uint16_t>(level.rooms.size());
    return level;
}

void BM_SampleLevelLists(benchmark::State& state) {
    Level level;
    sample::BuildSampleLevel(level);
    std::vector<bool> cutOut;
    for (std::uint16_t slot = 0; slot < sample::kTextureCount; ++slot) {
        cutOut.push_back(HasCutOutTexels(sample::MakeTexture(static_cast<sample::TextureSlot>(slot)).rgba));
    }
    for (auto _ : state) benchmark::DoNotOptimize(ComputeRoomSight(level, cutOut));
}
BENCHMARK(BM_SampleLevelLists)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HundredRoomLists(benchmark::State& state) {
    const Level level = GridOfRooms();
    std::size_t listed = 0;
    for (auto _ : state) {
        const std::vector<RoomSight> sights = ComputeRoomSight(level, {});
        listed = 0;
        for (const RoomSight& sight : sights) listed += sight.visible.size();
    }
    state.counters["rooms"] = static_cast<double>(level.roomCount);
    state.counters["listed_per_room"] = static_cast<double>(listed) / static_cast<double>(level.roomCount);
}
BENCHMARK(BM_HundredRoomLists)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
