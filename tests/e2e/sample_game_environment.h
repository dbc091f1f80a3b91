#pragma once
// The game started once per test program on the sample level with the null backend, and the
// key scripts stored beside the tests.
#include <string>

namespace brontal::e2e {

// Starts the game (once); fails the calling test when it cannot start.
bool SampleGameReady(std::string& error);
// tests/e2e/scripts/<name> of the source tree.
std::string StoredScript(const std::string& name);

// The tour of every room is played at this step: a quarter turn is then 20 frames exactly.
inline constexpr double kTourDt = 0.034;

}  // namespace brontal::e2e
