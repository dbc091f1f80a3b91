#pragma once
// The player's own settings: $XDG_CONFIG_HOME/brontal/settings.ini ($HOME/.config when the
// variable is unset, empty or relative). Read at start by windowed runs; the game never writes
// it unless asked (--write-settings writes the defaults, with comments, where no file is).
// config.dat keeps every setting it has; this file holds only what config.dat does not.
//
//   [keys]      game-key = Key Name, Other Key      (SDL key names)
//   [gamepad]   game-key = button, axis-            (SDL controller names), dead-zone = 0.25
//   [display]   vsync = on|off, max-fps = 0 (no cap) .. 1000
//
// '#' or ';' starts a comment line. A line that cannot be read is named as FILE:LINE with the
// problem, and whatever it tried to set keeps its default; the rest of the file still counts.
#include <optional>
#include <string>
#include <vector>

#include "platform/input_bindings.h"

namespace brontal {

inline constexpr int kMaximumFramesPerSecondCap = 1000;

struct UserSettings {
    InputBindings bindings = DefaultInputBindings();
    bool vsync = false;  // off: the frame loop has no cap unless max-fps sets one
    int maxFps = 0;      // 0: no cap
};

// Reads the text of a settings file; fileName only names it in the warnings ("FILE:LINE: ...").
UserSettings ParseUserSettings(const std::string& text, const std::string& fileName,
                               std::vector<std::string>& warnings);

// A settings file that sets every default, with comments on what each line does.
std::string DefaultUserSettingsText();

// The config home from the two variables' values (null when unset); nullopt when neither gives
// an absolute directory.
std::optional<std::string> XdgConfigHome(const char* xdgConfigHome, const char* home);
// This process's settings file: the environment, then the password database for the home.
std::optional<std::string> UserSettingsPath();

// The settings in path; a missing file gives the defaults without a warning.
UserSettings LoadUserSettings(const std::string& path, std::vector<std::string>& warnings);

}  // namespace brontal
