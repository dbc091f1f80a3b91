#pragma once
// Where F12 screenshots go: $XDG_DATA_HOME/brontal/screenshots/, one PNG per press, named by the
// local time it was taken, never written over an existing file.
//
// The data home follows the XDG base-directory rules: $XDG_DATA_HOME when it is set to an
// absolute path; otherwise (unset, empty or relative) $HOME/.local/share.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace brontal {

// The data home from the two variables' values (null when unset); nullopt when neither gives an
// absolute directory.
std::optional<std::string> XdgDataHome(const char* xdgDataHome, const char* home);

// The data home of this process: the environment, then the password database for the home.
std::optional<std::string> UserDataHome();

// "brontal-YYYY-MM-DD_HH-MM-SS.png" for the first attempt, "...-N.png" for attempt N >= 2.
std::string ScreenshotFileName(const std::tm& localTime, int attempt);

// Creates dir and its missing parents (new ones private to the user, 0700).
bool MakeDirectories(const std::string& dir, std::string& error);

// Writes bytes to a new file in dir named for localTime; when the name is taken, the next
// attempt's name. Returns the path written, or nullopt with error.
std::optional<std::string> WriteNewScreenshot(const std::string& dir, const std::tm& localTime,
                                              const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace brontal
