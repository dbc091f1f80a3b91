// The game per frame on the sample level, null backend and OpenGL backend in one run:
//   Update/<backend>   UpdateFrame along the tour of every room (tests/e2e/scripts/grand_tour.keys)
//   Render/<backend>   RenderFrame of the tour's busiest view (most triangles drawn), held still
//   Frame/<backend>    UpdateFrame + RenderFrame along the tour: the headless frame rate
//   Tour/gl_small      the whole tour twice at 256 x 192 on OpenGL: uploads and allocations after
//                      the first frame of the first pass (rooms first seen late in the tour
//                      included: the driver's first use of a state or texture allocates), and in
//                      the second pass ("Again", where everything has been seen once)
// OpenGL frames are waited for (glFinish), so their time is what llvmpipe takes to draw them.
// Counters: allocs = heap allocations per frame (the aim is none), triangles = triangles drawn,
// uploads = static geometry placed in the backend's buffers during the timed frames (the aim is
// none after the first frame).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/key_script.h"
#include "device/backend.h"
#include "device/gl/gl_backend.h"
#include "e2e/e2e_paths.h"
#include "e2e/game_session.h"
#include "e2e/wander_script.h"
#include "platform/egl_headless.h"
#include "player/frame_update.h"
#include "render/frame_render.h"
#include "shell/keys.h"
#include "shell/settings.h"
#include "support/heap_allocations.h"

namespace brontal::bench {
namespace {

using e2e::SequentialKeys;
using test::HeapAllocations;

constexpr double kTourDt = 0.034;

enum class Kind { kNull, kGl, kGlSmall };

std::unique_ptr<Backend> NullFactory(void*, const D3DPRESENT_PARAMETERS&) { return std::make_unique<NullBackend>(); }

Kind g_running = Kind::kNull;
bool g_any = false;

bool Use(Kind kind, benchmark::State& state) {
    std::string error;
    if (!g_any || g_running != kind) {
        e2e::StopSampleGame();
        g_running = kind;
        g_any = true;
        // The benchmarks' own screen sizes: the game's default, or a small one where only what is
        // uploaded and allocated counts.
        screenWidth = kind == Kind::kGlSmall ? 256 : 1024;
        screenHeight = kind == Kind::kGlSmall ? 192 : 768;
    }
    if (!e2e::StartSampleGame(kind == Kind::kNull ? NullFactory : CreateHeadlessBackend, error)) {
        state.SkipWithError(error.c_str());
        return false;
    }
    return true;
}

GlBackend* Gl() { return dynamic_cast<GlBackend*>(&g_device->GetBackend()); }
std::uint64_t StaticUploads() { return Gl() ? Gl()->GeometryStats().staticUploads : 0; }
void Finish() {
    if (GlBackend* gl = Gl()) gl->Finish();
}

KeyScript TourScript() {
    std::string text, error;
    e2e::ReadText(e2e::SourceDir() + "/tests/e2e/scripts/grand_tour.keys", text);
    auto script = ParseKeyScript(text, "grand_tour.keys", error);
    if (!script) std::fprintf(stderr, "bench_game: %s\n", error.c_str());
    return script ? *script : KeyScript{};
}

std::int64_t TourLength(const KeyScript& tour) {
    std::int64_t last = 0;
    for (const KeyScriptLine& line : tour.lines) last = std::max(last, line.last);
    return last + 1;
}

// Plays the tour with update and render up to (not including) frame `stop`.
void PlayTo(SequentialKeys& keys, std::int64_t stop) {
    e2e::RestartRun(kTourDt);
    for (std::int64_t f = 0; f < stop; ++f) {
        keys.SetFrame(f);
        UpdateFrame();
        RenderFrame();
    }
}

// The tour frame with the most triangles drawn, found once on the running backend.
std::int64_t BusiestFrame(std::int32_t& triangles) {
    static std::int64_t busiest = -1;
    static std::int32_t most = 0;
    if (busiest < 0) {
        const KeyScript tour = TourScript();
        SequentialKeys keys(tour);
        g_keyStateSource = &keys;
        e2e::RestartRun(kTourDt);
        for (std::int64_t f = 0; f < TourLength(tour); ++f) {
            keys.SetFrame(f);
            UpdateFrame();
            RenderFrame();
            if (trianglesDrawn > most) {
                most = trianglesDrawn;
                busiest = f;
            }
        }
        g_keyStateSource = nullptr;
    }
    triangles = most;
    return busiest;
}

void Report(benchmark::State& state, std::uint64_t allocations, std::uint64_t uploads, double frames) {
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocations) / std::max(frames, 1.0));
    state.counters["uploads"] = benchmark::Counter(static_cast<double>(uploads));
}

// Frames along the tour, over and over: UpdateFrame alone, or UpdateFrame and RenderFrame.
void AlongTheTour(benchmark::State& state, Kind kind, bool render) {
    if (!Use(kind, state)) return;
    const KeyScript tour = TourScript();
    const std::int64_t length = TourLength(tour);
    SequentialKeys keys(tour);
    g_keyStateSource = &keys;
    PlayTo(keys, 1);
    Finish();
    const std::uint64_t uploadsBefore = StaticUploads();
    std::int64_t frame = 1;
    std::uint64_t allocations = 0;
    double frames = 0;
    for (auto _ : state) {
        if (frame == length) {
            state.PauseTiming();
            keys = SequentialKeys(tour);
            PlayTo(keys, 1);
            frame = 1;
            state.ResumeTiming();
        }
        keys.SetFrame(frame++);
        const std::uint64_t before = HeapAllocations();
        UpdateFrame();
        if (render) RenderFrame();
        allocations += HeapAllocations() - before;
        if (render) Finish();
        ++frames;
    }
    g_keyStateSource = nullptr;
    Report(state, allocations, StaticUploads() - uploadsBefore, frames);
    if (render) state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
}

void Update(benchmark::State& state, Kind kind) { AlongTheTour(state, kind, false); }
void Frame(benchmark::State& state, Kind kind) { AlongTheTour(state, kind, true); }

void Render(benchmark::State& state, Kind kind) {
    if (!Use(kind, state)) return;
    std::int32_t triangles = 0;
    const std::int64_t busiest = BusiestFrame(triangles);
    const KeyScript tour = TourScript();
    SequentialKeys keys(tour);
    g_keyStateSource = &keys;
    PlayTo(keys, busiest + 1);
    g_keyStateSource = nullptr;
    Finish();
    const std::uint64_t uploadsBefore = StaticUploads();
    std::uint64_t allocations = 0;
    double frames = 0;
    for (auto _ : state) {
        const std::uint64_t before = HeapAllocations();
        RenderFrame();
        allocations += HeapAllocations() - before;
        Finish();
        ++frames;
    }
    Report(state, allocations, StaticUploads() - uploadsBefore, frames);
    state.counters["triangles"] = benchmark::Counter(trianglesDrawn);
    state.counters["tourFrame"] = benchmark::Counter(static_cast<double>(busiest));
}

void Tour(benchmark::State& state, Kind kind) {
    if (!Use(kind, state)) return;
    const KeyScript tour = TourScript();
    const std::int64_t length = TourLength(tour);
    // Per pass: static uploads and heap allocations after the pass's first frame.
    std::vector<std::uint64_t> uploads, allocations;
    for (auto _ : state) {
        SequentialKeys keys(tour);
        g_keyStateSource = &keys;
        PlayTo(keys, 1);
        Finish();
        const std::uint64_t uploadsBefore = StaticUploads();
        const std::uint64_t allocationsBefore = HeapAllocations();
        for (std::int64_t f = 1; f < length; ++f) {
            keys.SetFrame(f);
            UpdateFrame();
            RenderFrame();
        }
        Finish();
        const std::uint64_t allocated = HeapAllocations() - allocationsBefore;  // before the push_backs
        uploads.push_back(StaticUploads() - uploadsBefore);
        allocations.push_back(allocated);
        g_keyStateSource = nullptr;
    }
    state.counters["frames"] = benchmark::Counter(static_cast<double>(length));
    if (uploads.size() < 2) return;
    state.counters["uploadsAfterFirst"] = benchmark::Counter(static_cast<double>(uploads[0]));
    state.counters["allocsAfterFirst"] = benchmark::Counter(static_cast<double>(allocations[0]));
    state.counters["uploadsAgain"] = benchmark::Counter(static_cast<double>(uploads[1]));
    state.counters["allocsAgain"] = benchmark::Counter(static_cast<double>(allocations[1]));
}

BENCHMARK_CAPTURE(Update, null, Kind::kNull)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(Render, null, Kind::kNull)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(Frame, null, Kind::kNull)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(Update, gl, Kind::kGl)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(Render, gl, Kind::kGl)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK_CAPTURE(Frame, gl, Kind::kGl)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK_CAPTURE(Tour, gl_small, Kind::kGlSmall)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
}  // namespace brontal::bench

BENCHMARK_MAIN();
