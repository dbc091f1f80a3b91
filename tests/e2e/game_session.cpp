#include "e2e/game_session.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "app/frame_loop.h"
#include "app/init_game.h"
#include "app/key_script.h"
#include "app/message_queue.h"
#include "app/run_hooks.h"
#include "e2e/e2e_paths.h"
#include "geometry/camera.h"
#include "level/world.h"
#include "math/quaternion.h"
#include "player/frame_update.h"
#include "player/player.h"
#include "render/frame_render.h"
#include "render/frustum.h"
#include "shell/counter.h"
#include "shell/frame_timer.h"
#include "shell/keys.h"

namespace brontal::e2e {

namespace {

bool g_started = false;
bool g_startedOk = false;
std::string g_startError;
std::unique_ptr<SimulatedCounter> g_counter;

void RenderStep() { RenderFrame(); }

// The game's run hooks, and the sky angle after each render.
class RecordingHooks final : public FrameHooks {
public:
    RecordingHooks(RunHooks& game, std::vector<float>& skyAngle) : game_(game), skyAngle_(skyAngle) {}
    void BeforeUpdate(std::int64_t frame) override { game_.BeforeUpdate(frame); }
    void AfterRender(std::int64_t frame) override {
        skyAngle_.push_back(g_skyAngle);
        game_.AfterRender(frame);
    }

private:
    RunHooks& game_;
    std::vector<float>& skyAngle_;
};

}  // namespace

bool StartSampleGame(Direct3D8::BackendFactory backendFactory, std::string& error) {
    if (!g_started) {
        g_started = true;
        if (chdir(DataDir().c_str()) != 0) {
            g_startError = DataDir() + ": cannot change into the data directory";
        } else {
            g_counter = std::make_unique<SimulatedCounter>(1.0 / 30.0);
            StartupConfig config;
            config.backendFactory = backendFactory;
            config.counter = g_counter.get();
            g_startedOk = InitGame(nullptr, config, g_startError);
        }
    }
    error = g_startError;
    return g_startedOk;
}

void StopSampleGame() {
    if (g_startedOk) ShutdownGame();
    g_started = g_startedOk = false;
    g_startError.clear();
}

void RestartRun(double fixedDt) {
    g_counter = std::make_unique<SimulatedCounter>(fixedDt);
    brontal::RestartRun(g_counter.get());
}

std::optional<ScriptRun> RunScript(const std::string& script, double fixedDt, long long frames, std::string& error) {
    auto parsed = ParseKeyScript(script, "script", error);
    if (!parsed) return std::nullopt;
    RestartRun(fixedDt);

    std::FILE* log = std::tmpfile();
    if (!log) {
        error = "no temporary file for the state log";
        return std::nullopt;
    }
    ScriptedKeys keys(std::move(*parsed));
    KeyStateSource* previousKeys = g_keyStateSource;
    g_keyStateSource = &keys;
    ScriptRun run;
    LocalMessageQueue queue;
    RunHooks game(queue, &keys, nullptr, log, frames);
    RecordingHooks hooks(game, run.skyAngle);
    if (frames <= 0) queue.PostQuitMessage(0);
    RunFrameLoop(queue, {UpdateFrame, RenderStep}, &hooks);
    g_keyStateSource = previousKeys;

    std::string text;
    std::rewind(log);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, log)) > 0;) text.append(buffer, n);
    std::fclose(log);
    auto lines = ParseStateLog(text, error);
    if (!lines) return std::nullopt;
    run.log = std::move(*lines);
    return run;
}

}  // namespace brontal::e2e
