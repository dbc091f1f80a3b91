// The game's own frame, held at one view of the sample level, for the comparison with a peer
// engine (bench/peer/irrlicht_view.cpp, scripts/peer-compare.sh).
//
//   brontal-view --view start|busiest [--headless] [--frames N] [--warmup N] [--pose FILE]
//                [--screenshot FILE.png] [--in-order]
//
// It starts the game as the game does (window or headless EGL context, the sample level), plays
// the walk of tests/e2e/scripts/grand_tour.keys at 0.034 s a frame up to the view's frame (0 for
// the start view, 85 for the busiest view of the walk: the Long Corridor, most rooms drawn), then
// renders that same frame again and again: RenderFrame, which ends with the device's Present
// (the copy to the window and the swap, or a flush when headless), then a wait for the
// rasteriser to finish. It prints the median milliseconds per frame on stdout. With --pose it
// writes what a peer needs to draw the same scene: the view and projection matrices, the rooms
// drawn, the sky, and the figure's place and key. --in-order has the backend send every draw as
// it comes instead of nearest first, to measure what that order saves.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/init_game.h"
#include "app/key_script.h"
#include "device/gl/gl_backend.h"
#include "e2e/e2e_paths.h"
#include "e2e/wander_script.h"
#include "geometry/camera.h"
#include "platform/egl_headless.h"
#include "platform/image.h"
#include "platform/window.h"
#include "player/frame_update.h"
#include "level/world.h"
#include "player/player.h"
#include "render/frame_render.h"
#include "render/sky_box.h"
#include "shell/counter.h"
#include "shell/keys.h"
#include "shell/settings.h"

#include <unistd.h>

namespace brontal {
namespace {

constexpr double kTourDt = 0.034;
constexpr long kBusiestTourFrame = 85;

struct ViewOptions {
    long frame = 0;
    bool headless = false;
    bool inOrder = false;  // the backend sends every draw as it comes (what the order saves)
    int frames = 200;
    int warmup = 30;
    std::string pose;
    std::string screenshot;
};

bool ParseArguments(int argc, char** argv, ViewOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--in-order") {
            options.inOrder = true;
        } else if (arg == "--view" && hasValue) {
            const std::string view = argv[++i];
            if (view != "start" && view != "busiest") return false;
            options.frame = view == "start" ? 0 : kBusiestTourFrame;
        } else if (arg == "--frames" && hasValue) {
            options.frames = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--warmup" && hasValue) {
            options.warmup = std::max(0, std::atoi(argv[++i]));
        } else if (arg == "--pose" && hasValue) {
            options.pose = argv[++i];
        } else if (arg == "--screenshot" && hasValue) {
            options.screenshot = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

void PrintMatrix(std::FILE* out, const char* name, const Matrix4x4& m) {
    std::fprintf(out, "%s", name);
    for (const auto& row : m.m)
        for (float value : row) std::fprintf(out, " %.9g", value);
    std::fprintf(out, "\n");
}

// One line a fact, a name then numbers: what the peer reads.
bool WritePose(const std::string& path) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out) return false;
    std::fprintf(out, "size %u %u\n", unsigned{screenWidth}, unsigned{screenHeight});
    PrintMatrix(out, "view", g_chaseCamera.viewMatrix);
    PrintMatrix(out, "projection", g_mainProjection);
    PrintMatrix(out, "skyProjection", g_skyProjection);
    PrintMatrix(out, "skyWorld", g_skyWorld);
    std::fprintf(out, "rooms");
    for (std::uint16_t room : g_visibleRoomList) std::fprintf(out, " %u", unsigned{room});
    std::fprintf(out, "\n");
    const bool sky = g_currentRoom < g_level.rooms.size() && g_level.rooms[g_currentRoom].showsSky;
    std::fprintf(out, "sky %d %.9g\n", sky ? 1 : 0, g_skyBox.size);
    std::fprintf(out, "figure %.9g %.9g %.9g %.9g %d\n", g_player.position.x, g_player.position.y - kFigureDrop,
                 g_player.position.z, g_player.heading, static_cast<int>(g_player.animFrame));
    return std::fclose(out) == 0;
}

int Run(const ViewOptions& options) {
    const std::string dataDir = e2e::DataDir();
    if (::chdir(dataDir.c_str()) != 0) {
        std::fprintf(stderr, "brontal-view: %s: cannot enter the data directory\n", dataDir.c_str());
        return 1;
    }
    screenWidth = 1024;
    screenHeight = 768;
    windowed = 1;
    std::string error;
    std::unique_ptr<Window> window;
    if (!options.headless) {
        WindowDescription description;
        window = Window::Create(description, error);
        if (!window) {
            std::fprintf(stderr, "brontal-view: no window: %s\n", error.c_str());
            return 1;
        }
    }
    SimulatedCounter counter(kTourDt);
    StartupConfig config;
    config.backendFactory = window ? CreateWindowBackend : CreateHeadlessBackend;
    config.counter = &counter;
    if (!InitGame(window.get(), config, error)) {
        std::fprintf(stderr, "brontal-view: %s\n", error.c_str());
        ShutdownGame();
        return 1;
    }
    if (window) window->Show();

    std::string text;
    e2e::ReadText(e2e::SourceDir() + "/tests/e2e/scripts/grand_tour.keys", text);
    auto script = ParseKeyScript(text, "grand_tour.keys", error);
    if (!script) {
        std::fprintf(stderr, "brontal-view: %s\n", error.c_str());
        ShutdownGame();
        return 1;
    }
    e2e::SequentialKeys keys(std::move(*script));
    g_keyStateSource = &keys;
    WindowMessage message;
    for (long f = 0; f <= options.frame; ++f) {
        keys.SetFrame(f);
        UpdateFrame();
        RenderFrame();
        while (window && window->PeekOneMessage(message)) {
        }
    }
    if (!options.pose.empty() && !WritePose(options.pose)) {
        std::fprintf(stderr, "brontal-view: %s: cannot write the pose\n", options.pose.c_str());
        ShutdownGame();
        return 1;
    }

    auto& gl = dynamic_cast<GlBackend&>(g_device->GetBackend());
    gl.SetDrawOrdering(!options.inOrder);
    std::vector<double> ms;
    for (int i = 0; i < options.warmup + options.frames; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        RenderFrame();
        gl.Finish();
        const auto end = std::chrono::steady_clock::now();
        if (i >= options.warmup) ms.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
        while (window && window->PeekOneMessage(message)) {
        }
    }
    if (!options.screenshot.empty()) {
        gl.KeepNextFrameReadable();
        RenderFrame();
        Image image;
        gl.ReadPixels(image.width, image.height, image.rgba);
        if (!WriteWholeFile(options.screenshot, EncodePng(image), error))
            std::fprintf(stderr, "brontal-view: %s\n", error.c_str());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%.3f\n", ms[ms.size() / 2]);
    g_keyStateSource = nullptr;
    ShutdownGame();
    return 0;
}

}  // namespace
}  // namespace brontal

int main(int argc, char** argv) {
    brontal::ViewOptions options;
    if (!brontal::ParseArguments(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: brontal-view --view start|busiest [--headless] [--frames N] [--warmup N] [--pose FILE]\n"
                     "                    [--screenshot FILE.png] [--in-order]\n");
        return 2;
    }
    return brontal::Run(options);
}
