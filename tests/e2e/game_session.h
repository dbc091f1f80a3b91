#pragma once
// The game inside the test process: started once on the sample level with a chosen backend, then
// put back at its start for each run. A run is a key script played through the game's own frame
// loop and run hooks, so the state log it returns is the one the game would write.
#include <optional>
#include <string>
#include <vector>

#include "device/device.h"
#include "e2e/state_line.h"

namespace brontal::e2e {

// Starts the game in the data directory (the process's working directory changes there).
// A second call does nothing and returns the first result, until StopSampleGame.
bool StartSampleGame(Direct3D8::BackendFactory backendFactory, std::string& error);
void StopSampleGame();  // releases the device; the game can then start again on another backend

// Player, camera, animation, rooms, sky angle and fill mode as right after start-up, and a fresh
// frame timer on a simulated counter stepping fixedDt seconds per frame.
void RestartRun(double fixedDt);

struct ScriptRun {
    std::vector<StateLine> log;
    std::vector<float> skyAngle;  // g_skyAngle after each frame's render
};

// Restarts, then plays the script (the game's key-script text) for at most `frames` frames, fewer
// when the script presses ESCAPE. nullopt with error when the script or the log is malformed.
std::optional<ScriptRun> RunScript(const std::string& script, double fixedDt, long long frames, std::string& error);

}  // namespace brontal::e2e
