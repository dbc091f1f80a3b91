// The game's entry: settings, window, start-up, frame loop, shutdown.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/frame_loop.h"
#include "app/init_game.h"
#include "app/key_script.h"
#include "app/run_hooks.h"
#include "app/window_queue.h"
#include "device/call_recorder.h"
#include "platform/egl_headless.h"
#include "platform/image.h"
#include "platform/sdl_keyboard.h"
#include "platform/window.h"
#include "player/frame_update.h"
#include "render/frame_render.h"
#include "shell/counter.h"
#include "shell/keys.h"
#include "shell/settings.h"

namespace brontal {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void RenderStep() { RenderFrame(); }

// A file the run writes, opened before anything runs so a bad path stops the run at once.
struct OutputFile {
    std::FILE* file = nullptr;
    ~OutputFile() {
        if (file) std::fclose(file);
    }
};

bool OpenOutput(const std::optional<std::string>& path, OutputFile& out, std::string& error) {
    if (!path) return true;
    out.file = std::fopen(path->c_str(), "wb");
    if (!out.file) error = *path + ": cannot open for writing";
    return out.file != nullptr;
}

bool WriteScreenshot(const std::string& path, std::string& error) {
    Image image;
    if (!g_device->GetBackend().ReadPixels(image.width, image.height, image.rgba)) {
        error = path + ": this backend has no pixels to write";
        return false;
    }
    return WriteWholeFile(path, EncodePng(image), error);
}

int Run(const Options& options) {
    std::string error;
    std::optional<ScriptedKeys> scriptedKeys;
    if (options.keyScript) {
        auto script = LoadKeyScript(*options.keyScript, error);
        if (!script) {
            std::fprintf(stderr, "brontal: %s\n", error.c_str());
            return kExitUsage;
        }
        scriptedKeys.emplace(std::move(*script));
    }
    OutputFile stateLog, trace;
    if (!OpenOutput(options.stateLog, stateLog, error) || !OpenOutput(options.deviceTrace, trace, error)) {
        std::fprintf(stderr, "brontal: %s\n", error.c_str());
        return kExitFailure;
    }

    if (readSettingsAtStart) ReadConfig(options.configPath);

    std::unique_ptr<Window> window;
    if (!options.headless) {
        WindowDescription description;
        description.width = screenWidth;
        description.height = screenHeight;
        window = Window::Create(description, error);
        if (!window) {
            std::fprintf(stderr, "brontal: cannot open the game window: %s\n", error.c_str());
            return kExitFailure;
        }
    }

    SdlKeyboard keyboard;
    ManualKeys noKeys;
    if (scriptedKeys)
        g_keyStateSource = &*scriptedKeys;
    else if (window)
        g_keyStateSource = &keyboard;
    else
        g_keyStateSource = &noKeys;

    std::optional<SimulatedCounter> simulatedCounter;
    if (options.fixedDt) simulatedCounter.emplace(*options.fixedDt);
    std::optional<FileRecorder> recorder;
    if (trace.file) recorder.emplace(trace.file);

    StartupConfig config;
    config.backendFactory = window ? CreateWindowBackend : CreateHeadlessBackend;
    config.levelPath = options.levelPath;
    config.counter = simulatedCounter ? &*simulatedCounter : nullptr;
    config.recorder = recorder ? &*recorder : nullptr;

    if (!InitGame(window.get(), config, error)) {
        std::fprintf(stderr, "brontal: %s\n", error.c_str());
        ShutdownGame();
        return kExitFailure;
    }
    if (window) window->Show();

    LocalMessageQueue headlessQueue;
    std::optional<WindowMessageQueue> windowQueue;
    if (window) windowQueue.emplace(*window);
    MessageQueue& queue = windowQueue ? static_cast<MessageQueue&>(*windowQueue) : headlessQueue;

    RunHooks hooks(queue, scriptedKeys ? &*scriptedKeys : nullptr, recorder ? &*recorder : nullptr, stateLog.file,
                   options.frames);
    if (options.frames && *options.frames == 0) queue.PostQuitMessage(0);
    RunFrameLoop(queue, {UpdateFrame, RenderStep}, &hooks);

    int status = 0;
    if (options.screenshot && !WriteScreenshot(*options.screenshot, error)) {
        std::fprintf(stderr, "brontal: %s\n", error.c_str());
        status = kExitFailure;
    }
    g_keyStateSource = nullptr;
    ShutdownGame();
    return status;
}

}  // namespace
}  // namespace brontal

int main(int argc, char** argv) {
    using namespace brontal;
    std::string error;
    auto options = ParseCommandLine(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "brontal: %s\nTry 'brontal --help'.\n", error.c_str());
        return kExitUsage;
    }
    if (options->help) {
        std::fputs(UsageText(argv[0]).c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("Brontal %s\n", kGameVersion);
        return 0;
    }
    return Run(*options);
}
