#pragma once
// Where the end-to-end runs find the build: the tree the tests were built in (or the one named by
// BRONTAL_BINARY_DIR), the game in it, the sample level's data directory, and a scratch folder.
#include <string>

namespace brontal::e2e {

std::string BinaryDir();
std::string SourceDir();
std::string GameBinary();  // <build>/src/app/brontal
std::string DataDir();     // <build>/data, the game's working directory
// <build>/e2e_runs/<name>, created on first use; files there are kept for a look after a failure.
std::string ScratchPath(const std::string& name);

bool ReadText(const std::string& path, std::string& out);
bool WriteText(const std::string& path, const std::string& text);

}  // namespace brontal::e2e
