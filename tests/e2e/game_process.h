#pragma once
// Runs the built game as its own process in the data directory, as a player would start it.
#include <string>
#include <vector>

namespace brontal::e2e {

struct ProcessResult {
    int exitCode = -1;    // -1 when it did not exit normally (a signal)
    std::string errors;   // what it wrote to stderr
};

ProcessResult RunGame(const std::vector<std::string>& arguments);

// The seven bytes of a settings file: screen-size index, HUD switch, windowed switch.
std::string SettingsBytes(int sizeIndex, bool hud, bool windowedMode);

}  // namespace brontal::e2e
