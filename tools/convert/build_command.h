#pragma once
// `brontal-level build MANIFEST.json -o FILE`: builds a level file from a Wavefront OBJ or glTF 2.0
// scene and a JSON manifest (docs/level-manifest.md; `build --help` prints the summary).
// Exit status: 0 written, 1 the input was refused (one message on stderr naming the file and the
// problem), 2 a usage error.
#include <cstdint>
#include <string>
#include <vector>

namespace brontal {

// The whole conversion short of writing: manifest, geometry, level, the level file's bytes, and
// a check that the game's reader accepts them. Warnings do not stop it.
bool ConvertLevel(const std::string& manifestPath, std::vector<std::uint8_t>& file, std::vector<std::string>& warnings,
                  std::string& error);

// argv[0] is "build"; the rest are the command's own arguments.
int BuildCommand(int argc, char** argv);

// The text --help prints.
std::string BuildCommandHelp();

}  // namespace brontal
