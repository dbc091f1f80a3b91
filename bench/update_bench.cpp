// UpdateFrame per frame in a level room of 1,500 triangles (six surfaces of 250), standing and
// running in a circle, with the heap allocations made per frame counted through a replaced
// operator new (the aim is none). The first warm-up frame gathers the collision cache, as the
// first frame of the game does when start-up has not.
#include <benchmark/benchmark.h>

#include <memory>

#include "device/device.h"
#include "geometry/camera.h"
#include "level/world.h"
#include "player/frame_update.h"
#include "player/player.h"
#include "shell/counter.h"
#include "shell/frame_timer.h"
#include "shell/keys.h"
#include "support/heap_allocations.h"

namespace brontal {
namespace {

// A grid of 25 x 5 quads from origin along u and v: 250 triangles.
Surface Grid(const char* name, Vector3 origin, Vector3 u, Vector3 v) {
    constexpr int kAlongU = 25;
    constexpr int kAlongV = 5;
    Surface s;
    s.name = name;
    for (int j = 0; j <= kAlongV; ++j) {
        for (int i = 0; i <= kAlongU; ++i) {
            const float a = static_cast<float>(i) / kAlongU;
            const float b = static_cast<float>(j) / kAlongV;
            s.vertices.push_back({origin.x + a * u.x + b * v.x, origin.y + a * u.y + b * v.y,
                                  origin.z + a * u.z + b * v.z, a, b});
        }
    }
    for (int j = 0; j < kAlongV; ++j) {
        for (int i = 0; i < kAlongU; ++i) {
            const auto corner = static_cast<std::uint16_t>(j * (kAlongU + 1) + i);
            const auto above = static_cast<std::uint16_t>(corner + kAlongU + 1);
            s.indices.insert(s.indices.end(), {corner, above, static_cast<std::uint16_t>(above + 1), corner,
                                               static_cast<std::uint16_t>(above + 1),
                                               static_cast<std::uint16_t>(corner + 1)});
        }
    }
    s.vertexCount = static_cast<std::uint16_t>(s.vertices.size());
    s.indexCount = static_cast<std::uint16_t>(s.indices.size());
    s.triangleCount = static_cast<std::uint8_t>(s.indexCount / 3);
    return s;
}

Level HallOf1500Triangles() {
    Level level;
    Room hall;
    hall.name = "hall";
    const float w = 1000.0f;
    const float h = 300.0f;
    hall.surfaces.push_back(Grid("floor", {-500, 0, -500}, {w, 0, 0}, {0, 0, w}));
    hall.surfaces.push_back(Grid("ceiling", {-500, h, -500}, {0, 0, w}, {w, 0, 0}));
    hall.surfaces.push_back(Grid("wall -x", {-500, 0, -500}, {0, 0, w}, {0, h, 0}));
    hall.surfaces.push_back(Grid("wall +x", {500, 0, -500}, {0, h, 0}, {0, 0, w}));
    hall.surfaces.push_back(Grid("wall -z", {-500, 0, -500}, {0, h, 0}, {w, 0, 0}));
    hall.surfaces.push_back(Grid("wall +z", {-500, 0, 500}, {w, 0, 0}, {0, h, 0}));
    hall.surfaceCount = 6;
    hall.visibleRooms = {0};
    hall.visibleRoomCount = 1;
    level.rooms.push_back(hall);
    level.roomCount = 1;
    return level;
}

D3DPRESENT_PARAMETERS Parameters() {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = 640;
    p.BackBufferHeight = 480;
    p.Windowed = 1;
    return p;
}

void RunFrames(benchmark::State& state, bool running) {
    g_level = HallOf1500Triangles();
    deriveAfterLoad(g_level);
    g_level.startPosition = {0, 25, -250};
    ResetSimulation();
    InitPlayer(g_level.startPosition, 0.0f);
    g_chaseCamera.followPoint = g_level.startPosition;
    g_visibleRoomList = {0, 1};
    g_visibleRoomCount = 2;

    SimulatedCounter counter(0.01);
    FrameTimer timer(counter);
    timer.Start(100.0f);
    g_frameTimer = &timer;
    ManualKeys keys;
    keys.Set(VK_UP, running);
    keys.Set(VK_LEFT, running);  // a circle of radius about 78
    g_keyStateSource = &keys;
    Device device(std::make_unique<NullBackend>(), Parameters(), kDefaultCaps);
    g_device = &device;

    for (int i = 0; i < 100; ++i) UpdateFrame();
    const std::uint64_t before = test::HeapAllocations();
    long frames = 0;
    for (auto _ : state) {
        UpdateFrame();
        ++frames;
    }
    const std::uint64_t allocations = test::HeapAllocations() - before;
    state.counters["allocs_per_frame"] = static_cast<double>(allocations) / static_cast<double>(frames);
    if (g_currentRoomName == nullptr) state.SkipWithError("the player left the hall");

    g_device = nullptr;
    g_keyStateSource = nullptr;
    g_frameTimer = nullptr;
}

void BM_UpdateFrameStanding(benchmark::State& state) { RunFrames(state, false); }
BENCHMARK(BM_UpdateFrameStanding)->Unit(benchmark::kMicrosecond);

void BM_UpdateFrameRunningInACircle(benchmark::State& state) { RunFrames(state, true); }
BENCHMARK(BM_UpdateFrameRunningInACircle)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brontal

BENCHMARK_MAIN();
