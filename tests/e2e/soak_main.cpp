// The soak run: many frames of the sample level on the null backend with a wandering key script.
// It fails (exit 1) on a position that is not a number, on the player staying outside every
// room for more than a few frames in a row (falling through the world), or on resident memory
// growing after the first thousand frames. It prints what it measured.
//
//   brontal-e2e-soak [--frames N] [--seed S] [--script FILE]
// --script writes the wandering script, so that a failing run can be replayed in the game with
// --keys FILE --fixed-dt 0.0333333 --headless.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "device/backend.h"
#include "e2e/e2e_paths.h"
#include "e2e/game_session.h"
#include "e2e/wander_script.h"
#include "level/world.h"
#include "player/frame_update.h"
#include "player/player.h"
#include "render/frame_render.h"

namespace brontal::e2e {
namespace {

constexpr long long kSettleFrames = 1000;       // memory is compared with its size after these
constexpr int kMaxFramesOutside = 5;            // a few frames between two boxes are allowed
constexpr long kMaxResidentGrowthKiB = 512;

std::unique_ptr<Backend> NullBackendFactory(void*, const D3DPRESENT_PARAMETERS&) {
    return std::make_unique<NullBackend>();
}

long ResidentKiB() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file) return -1;
    long size = 0, resident = 0;
    const int read = std::fscanf(file, "%ld %ld", &size, &resident);
    std::fclose(file);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

bool InsideSomeRoom(const Vector3& p) {
    for (std::uint16_t i = 0; i < g_level.roomCount; ++i) {
        const Room& room = g_level.rooms[i];
        if (room.boxMin.x < p.x && p.x < room.boxMax.x && room.boxMin.y < p.y && p.y < room.boxMax.y &&
            room.boxMin.z < p.z && p.z < room.boxMax.z)
            return true;
    }
    return false;
}

// The last frames before a failure, printed with it.
struct TrailFrame {
    long long frame = -1;
    Vector3 position{};
    float animFrame = 0;
    const char* room = nullptr;
};
constexpr std::size_t kTrailLength = 12;

bool Finite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

int Soak(long long frames, std::uint32_t seed, const char* scriptPath) {
    // Written before the game starts (and changes into its data directory), so that a relative
    // path means the directory the soak was started in.
    const std::string scriptText = WanderScript(seed, frames);
    if (scriptPath && !WriteText(scriptPath, scriptText)) std::fprintf(stderr, "soak: cannot write %s\n", scriptPath);
    std::string error;
    if (!StartSampleGame(NullBackendFactory, error)) {
        std::fprintf(stderr, "soak: %s\n", error.c_str());
        return 1;
    }
    auto script = ParseKeyScript(scriptText, "wandering script", error);
    if (!script) {
        std::fprintf(stderr, "soak: %s\n", error.c_str());
        return 1;
    }
    RestartRun(1.0 / 30.0);
    SequentialKeys keys(std::move(*script));
    g_keyStateSource = &keys;

    long settledKiB = -1, largestKiB = -1;
    int outsideRun = 0, longestOutside = 0;
    long long outsideFrames = 0;
    std::set<std::string> roomsSeen;
    const char* lastName = nullptr;
    Vector3 low{1e30f, 1e30f, 1e30f}, high{-1e30f, -1e30f, -1e30f};
    std::string failure;
    TrailFrame trail[kTrailLength];

    const auto start = std::chrono::steady_clock::now();
    long long frame = 0;
    for (; frame < frames; ++frame) {
        keys.SetFrame(frame);
        UpdateFrame();
        RenderFrame();

        const Vector3& p = g_player.position;
        trail[frame % kTrailLength] = {frame, p, g_player.animFrame, g_currentRoomName};
        if (!Finite(p) || !std::isfinite(g_player.heading) || !std::isfinite(g_player.animFrame)) {
            failure = "frame " + std::to_string(frame) + ": the player's position, heading or frame is not a number";
            break;
        }
        low = {std::fmin(low.x, p.x), std::fmin(low.y, p.y), std::fmin(low.z, p.z)};
        high = {std::fmax(high.x, p.x), std::fmax(high.y, p.y), std::fmax(high.z, p.z)};
        if (InsideSomeRoom(p)) {
            outsideRun = 0;
        } else {
            ++outsideFrames;
            if (++outsideRun > longestOutside) longestOutside = outsideRun;
            if (outsideRun > kMaxFramesOutside) {
                char where[96];
                std::snprintf(where, sizeof where, " at (%.1f, %.1f, %.1f)", p.x, p.y, p.z);
                failure = "frame " + std::to_string(frame) + ": outside every room for " +
                          std::to_string(outsideRun) + " frames" + where;
                break;
            }
        }
        if (g_currentRoomName != lastName && g_currentRoomName) roomsSeen.insert(lastName = g_currentRoomName);
        if (frame + 1 == kSettleFrames) settledKiB = largestKiB = ResidentKiB();
        if (frame + 1 > kSettleFrames && (frame + 1) % 1000 == 0) {
            const long now = ResidentKiB();
            if (now > largestKiB) largestKiB = now;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    g_keyStateSource = nullptr;
    const long finalKiB = ResidentKiB();

    std::printf("soak: %lld frames, seed %u, %.2f s (%.1f us per frame, update and render, null backend)\n", frame,
                seed, seconds, frame ? seconds * 1e6 / static_cast<double>(frame) : 0.0);
    std::printf("soak: rooms entered %zu:", roomsSeen.size());
    for (const std::string& name : roomsSeen) std::printf(" [%s]", name.c_str());
    std::printf("\nsoak: positions x %.1f..%.1f, y %.1f..%.1f, z %.1f..%.1f\n", low.x, high.x, low.y, high.y, low.z,
                high.z);
    std::printf("soak: frames outside every room %lld, longest run %d (allowed %d)\n", outsideFrames, longestOutside,
                kMaxFramesOutside);
    if (settledKiB >= 0) {
        std::printf("soak: resident memory after %lld frames %ld KiB, largest later %ld KiB, at the end %ld KiB\n",
                    kSettleFrames, settledKiB, largestKiB, finalKiB);
        if (failure.empty() && largestKiB - settledKiB > kMaxResidentGrowthKiB)
            failure = "resident memory grew by " + std::to_string(largestKiB - settledKiB) + " KiB after frame " +
                      std::to_string(kSettleFrames);
    }
    StopSampleGame();
    if (!failure.empty()) {
        std::printf("soak: the last frames (position, animation frame, current room):\n");
        for (std::size_t i = 1; i <= kTrailLength; ++i) {
            const TrailFrame& t = trail[(frame + i) % kTrailLength];
            if (t.frame >= 0)
                std::printf("  %lld (%.2f, %.2f, %.2f) %.1f %s\n", t.frame, t.position.x, t.position.y, t.position.z,
                            t.animFrame, t.room ? t.room : "-");
        }
        std::printf("soak: FAILED: %s\n", failure.c_str());
        return 1;
    }
    std::printf("soak: passed\n");
    return 0;
}

}  // namespace
}  // namespace brontal::e2e

int main(int argc, char** argv) {
    long long frames = 100000;
    unsigned long seed = 20261208;
    const char* scriptPath = nullptr;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--frames") && hasValue) {
            frames = std::atoll(argv[++i]);
        } else if (!std::strcmp(argv[i], "--seed") && hasValue) {
            seed = std::strtoul(argv[++i], nullptr, 10);
        } else if (!std::strcmp(argv[i], "--script") && hasValue) {
            scriptPath = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--frames N] [--seed S] [--script FILE]\n", argv[0]);
            return 2;
        }
    }
    if (frames <= 0) {
        std::fprintf(stderr, "soak: --frames needs a positive count\n");
        return 2;
    }
    return brontal::e2e::Soak(frames, static_cast<std::uint32_t>(seed), scriptPath);
}
