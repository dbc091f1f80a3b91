// The game's entry: the data directory, settings, window, start-up, frame loop, shutdown.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/data_directory.h"
#include "app/frame_loop.h"
#include "app/frame_pacer.h"
#include "app/init_game.h"
#include "app/key_script.h"
#include "app/preview_run.h"
#include "app/quit_signals.h"
#include "app/run_hooks.h"
#include "app/screenshot_files.h"
#include "app/window_queue.h"
#include "device/call_recorder.h"
#include "files/file_io.h"
#include "level/reader.h"
#include "platform/egl_headless.h"
#include "platform/image.h"
#include "platform/sdl_gamepad.h"
#include "platform/sdl_keyboard.h"
#include "platform/user_settings.h"
#include "platform/window.h"
#include "player/fly_camera.h"
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

// A file the run writes, opened before anything runs so a bad path stops the run at once. It
// replaces an old file only when the run ends well.
bool OpenOutput(const std::optional<std::string>& path, OutputFile& out, std::string& error) {
    return !path || out.Open(*path, error);
}

// The files the run reads, as they are opened from the data directory.
std::vector<std::string> RunInputs(const Options& options) {
    std::vector<std::string> inputs = {LevelPathForOpening(options.levelPath), options.configPath};
    if (options.keyScript) inputs.push_back(*options.keyScript);
    for (const char* sky : kSkyFiles) inputs.push_back(LevelPathForOpening(sky));
    return inputs;
}

// Before anything is read or written: every output's directory can be written, and no output
// names a file the run reads or another output. Returns the exit status, 0 when all is well.
int CheckOutputs(const Options& options, std::string& error) {
    const std::vector<std::string> inputs = RunInputs(options);
    std::vector<std::string> written;
    const std::pair<const char*, const std::optional<std::string>*> outputs[] = {
        {"--screenshot", &options.screenshot}, {"--state-log", &options.stateLog},
        {"--device-trace", &options.deviceTrace}};
    for (const auto& [option, path] : outputs) {
        if (!*path) continue;
        if (const std::optional<std::string> input = InputNamedBy(**path, inputs)) {
            error = **path + ": " + option + " would overwrite " + *input + ", which this run reads";
            return kExitUsage;
        }
        if (const std::optional<std::string> other = InputNamedBy(**path, written)) {
            error = **path + ": " + option + " names a file another option of this run writes";
            return kExitUsage;
        }
        if (error = CheckOutputPath(**path); !error.empty()) return kExitFailure;
        written.push_back(**path);
    }
    if (options.screenshotEvery) {
        // Made now, so that a directory that cannot be is named before anything runs.
        const std::string& dir = options.screenshotEvery->directory;
        if (!MakeDirectories(dir, error)) return kExitFailure;
        if (error = CheckOutputPath(SeriesShotPath(dir, 0)); !error.empty()) return kExitFailure;
    }
    return 0;
}

// F12: the last presented frame into the user's screenshot directory, under a new name.
void SaveScreenshotToDataHome() {
    std::string error;
    const std::optional<std::string> home = UserDataHome();
    if (!home) {
        std::fprintf(stderr, "brontal: screenshot not saved: no home directory (set HOME or XDG_DATA_HOME)\n");
        return;
    }
    const std::string dir = *home + "/brontal/screenshots";
    Image image;
    if (!g_device->GetBackend().ReadPixels(image.width, image.height, image.rgba)) {
        std::fprintf(stderr, "brontal: screenshot not saved: this renderer has no pixels to read\n");
        return;
    }
    const std::time_t now = std::time(nullptr);
    std::tm localTime{};
    localtime_r(&now, &localTime);
    std::optional<std::string> path;
    if (MakeDirectories(dir, error)) path = WriteNewScreenshot(dir, localTime, EncodePng(image), error);
    if (path)
        std::fprintf(stderr, "brontal: screenshot saved to %s\n", path->c_str());
    else
        std::fprintf(stderr, "brontal: screenshot not saved: %s\n", error.c_str());
}

// The deterministic-run hooks, the preview's reload and numbered shots, and after each render
// the screenshot F12 asked for and the player's frame-rate cap. A frame that is to be read back
// is asked for before it is drawn (a backend may otherwise show it straight in the window, where
// nothing can be read after the swap): the one after an F12 press, each one the preview's
// series keeps, or every frame when the run ends with a screenshot.
class DesktopHooks final : public FrameHooks {
public:
    DesktopHooks(RunHooks& run, PreviewRun& preview, WindowMessageQueue* windowQueue, bool keepEveryFrame, int maxFps)
        : run_(run), preview_(preview), windowQueue_(windowQueue), keepEveryFrame_(keepEveryFrame), pacer_(maxFps) {}
    void BeforeUpdate(std::int64_t frame) override {
        run_.BeforeUpdate(frame);
        preview_.BeforeUpdate();
        if (keepEveryFrame_ || preview_.KeepsFrame(frame) || (windowQueue_ && windowQueue_->ScreenshotRequested()))
            g_device->GetBackend().KeepNextFrameReadable();
    }
    void AfterRender(std::int64_t frame) override {
        run_.AfterRender(frame);
        preview_.AfterRender(frame);
        if (windowQueue_ && windowQueue_->TakeScreenshotRequest()) SaveScreenshotToDataHome();
        pacer_.Wait();
    }

private:
    RunHooks& run_;
    PreviewRun& preview_;
    WindowMessageQueue* windowQueue_;
    bool keepEveryFrame_;
    FramePacer pacer_;
};

// The player's settings.ini; each line it could not read is named on stderr.
UserSettings ReadUserSettings() {
    const std::optional<std::string> path = UserSettingsPath();
    if (!path) return {};
    std::vector<std::string> warnings;
    UserSettings settings = LoadUserSettings(*path, warnings);
    for (const std::string& w : warnings) std::fprintf(stderr, "brontal: %s\n", w.c_str());
    return settings;
}

// --write-settings: the defaults, with comments, where no settings file is yet.
int WriteDefaultSettings() {
    const std::optional<std::string> path = UserSettingsPath();
    std::string error;
    if (!path) {
        std::fprintf(stderr, "brontal: settings not written: no home directory (set HOME or XDG_CONFIG_HOME)\n");
        return kExitFailure;
    }
    if (!MakeDirectories(path->substr(0, path->rfind('/')), error)) {
        std::fprintf(stderr, "brontal: settings not written: %s\n", error.c_str());
        return kExitFailure;
    }
    std::FILE* file = std::fopen(path->c_str(), "wx");  // never over the player's own file
    if (!file) {
        std::fprintf(stderr, "brontal: %s: %s; not written\n", path->c_str(),
                     errno == EEXIST ? "already exists (move it away to get the defaults)" : std::strerror(errno));
        return kExitFailure;
    }
    const std::string text = DefaultUserSettingsText();
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "brontal: %s: cannot write the settings\n", path->c_str());
        return kExitFailure;
    }
    std::fprintf(stderr, "brontal: default settings written to %s\n", path->c_str());
    return 0;
}

// Errors that stop the game: on stderr, and in a message box when there is a display to show
// one on (a game started from a desktop launcher has no terminal).
class ErrorReport {
public:
    explicit ErrorReport(bool boxWanted) : boxWanted_(boxWanted) {}
    void operator()(const std::string& text) const {
        std::fprintf(stderr, "brontal: %s\n", text.c_str());
        if (!boxWanted_) return;
        RestoreDefaultQuitSignals();  // the box blocks: a signal must still end the game
        ShowErrorBox("Brontal", text);
    }

private:
    bool boxWanted_;
};

bool DisplayExists() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

// Finds the data directory and makes it the working directory, after turning every path given
// on the command line into one that still means the directory the game was started in.
bool EnterDataDirectory(Options& options, std::string& dataDir, std::string& error) {
    const std::string startDir = WorkingDirectory();
    DataSearch search;
    search.explicitDir = options.dataDir;
    search.workingDir = startDir;
    search.executableDir = ExecutableDirectory();
    search.installedFromExecutable = BRONTAL_INSTALLED_DATA_FROM_BIN;
    search.buildDataDir = BRONTAL_BUILD_DATA_DIR;
    const std::vector<std::string> candidates = startDir.empty() && !options.dataDir
                                                    ? std::vector<std::string>{}
                                                    : DataDirectoryCandidates(search);
    const bool levelOnly = options.levelGiven && options.dataDir;  // the level is named: DIR has the rest
    const std::optional<std::string> found = FindDataDirectory(candidates, levelOnly ? IsDirectory : HoldsGameData);
    if (!found) {
        // A level named on the command line needs no LEVELS/: the run stays where it started.
        if (options.levelGiven && !options.dataDir && !startDir.empty()) {
            dataDir = startDir;
            return true;
        }
        error = DataNotFoundMessage(candidates);
        return false;
    }
    auto anchor = [&](std::string& path) { path = AbsolutePathFrom(startDir, path); };
    auto anchorOptional = [&](std::optional<std::string>& path) {
        if (path) anchor(*path);
    };
    if (options.levelGiven) anchor(options.levelPath);
    if (options.configGiven) anchor(options.configPath);
    anchorOptional(options.screenshot);
    anchorOptional(options.keyScript);
    anchorOptional(options.stateLog);
    anchorOptional(options.deviceTrace);
    if (options.screenshotEvery) anchor(options.screenshotEvery->directory);
    if (::chdir(found->c_str()) != 0) {
        error = *found + ": cannot enter the data directory";
        return false;
    }
    dataDir = *found;
    return true;
}

void ApplySettingOverrides(const Options& options) {
    if (options.windowed) windowed = *options.windowed ? 1 : 0;
    if (options.size) {
        screenWidth = options.size->width;
        screenHeight = options.size->height;
    }
}

void PrintStartLine(const std::string& dataDir) {
    const char* renderer = g_device ? g_device->GetBackend().Description() : "none";
    std::fprintf(stderr, "Brontal %s; renderer: %s; data: %s\n", kGameVersion, renderer, dataDir.c_str());
}

int Run(Options options) {
    InstallQuitSignalHandlers();
    const ErrorReport fail(!options.headless && DisplayExists());
    std::string error;
    std::string dataDir;
    if (!EnterDataDirectory(options, dataDir, error)) {
        fail(error);
        return kExitFailure;
    }
    if (const int status = CheckOutputs(options, error); status != 0) {
        std::fprintf(stderr, "brontal: %s\n", error.c_str());
        return status;
    }

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
    ApplySettingOverrides(options);
    // The player's own settings are about playing in a window; headless runs never read them.
    const UserSettings userSettings = options.headless ? UserSettings{} : ReadUserSettings();

    std::unique_ptr<Window> window;
    if (!options.headless) {
        WindowDescription description;
        description.width = screenWidth;
        description.height = screenHeight;
        description.vsync = options.vsync.value_or(userSettings.vsync);
        window = Window::Create(description, error);
        if (!window) {
            if (!DisplayExists()) error += " (no display: DISPLAY and WAYLAND_DISPLAY are unset; --headless runs without one)";
            fail("cannot open the game window: " + error);
            return kExitFailure;
        }
    }

    // A key script plays the game's own keys: no bindings, no gamepad.
    Gamepads gamepads(userSettings.bindings);
    bool gamepadsStarted = false;
    if (window && !scriptedKeys) {
        gamepadsStarted = gamepads.Start(error);
        if (!gamepadsStarted) std::fprintf(stderr, "brontal: %s\n", error.c_str());
        window->SetInput(&userSettings.bindings, gamepadsStarted ? &gamepads : nullptr);
    }
    SdlKeyboard keyboard(&userSettings.bindings, gamepadsStarted ? &gamepads : nullptr);
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
    if (trace.Stream()) recorder.emplace(trace.Stream());

    StartupConfig config;
    config.backendFactory = window ? CreateWindowBackend : CreateHeadlessBackend;
    config.levelPath = options.levelPath;
    config.counter = simulatedCounter ? &*simulatedCounter : nullptr;
    config.recorder = recorder ? &*recorder : nullptr;
    config.start = options.start;

    const bool started = InitGame(window.get(), config, error);
    PrintStartLine(dataDir);
    if (!started) {
        fail(error);
        ShutdownGame();
        return kExitFailure;
    }
    if (window) window->Show();

    LocalMessageQueue headlessQueue;
    std::optional<WindowMessageQueue> windowQueue;
    if (window) windowQueue.emplace(*window);
    MessageQueue& queue = windowQueue ? static_cast<MessageQueue&>(*windowQueue) : headlessQueue;

    RunHooks runHooks(queue, scriptedKeys ? &*scriptedKeys : nullptr, recorder ? &*recorder : nullptr,
                      stateLog.Stream(), options.frames);
    PreviewRun preview(options.preview, options.levelPath, options.start, options.screenshotEvery);
    DesktopHooks hooks(runHooks, preview, windowQueue ? &*windowQueue : nullptr, options.screenshot.has_value(),
                       window ? userSettings.maxFps : 0);
    g_hudShowsPosition = options.preview;
    if (options.fly) StartFlyCamera(g_level.startPosition, 0.0f);
    if (options.frames && *options.frames == 0) queue.PostQuitMessage(0);
    RunFrameLoop(queue, {options.fly ? UpdateFlyFrame : UpdateFrame, RenderStep}, &hooks);

    int status = preview.ShotFailed() ? kExitFailure : 0;
    if (options.screenshot && !WriteLastFrame(*options.screenshot, error)) {
        std::fprintf(stderr, "brontal: %s\n", error.c_str());
        status = kExitFailure;
    }
    g_keyStateSource = nullptr;
    ShutdownGame();
    for (OutputFile* output : {&stateLog, &trace}) {
        if (output->Stream() && !output->Commit(error)) {
            std::fprintf(stderr, "brontal: %s\n", error.c_str());
            status = kExitFailure;
        }
    }
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
    if (options->writeSettings) return WriteDefaultSettings();
    return Run(*options);
}
