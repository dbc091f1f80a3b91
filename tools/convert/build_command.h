#pragma once
// `brontal-level build MANIFEST.json -o FILE`: builds a level file from a Wavefront OBJ or glTF 2.0
// scene and a JSON manifest (docs/level-manifest.md; `build --help` prints the summary). With
// `-o DIR/` (a path ending in '/' or an existing directory) or `--data DIR` it writes a data
// directory the game runs with `brontal --data DIR`: LEVELS/LEVEL_001.VRM and the sky images the
// manifest names as SKY/*.bmp.
// Exit status: 0 written, 1 the input was refused (one message on stderr naming the file and the
// problem), 2 a usage error.
#include <cstdint>
#include <string>
#include <vector>

#include "convert/sky_images.h"

namespace brontal {

// What a build makes, short of writing it.
struct ConvertedFiles {
    std::vector<std::uint8_t> level;  // the level file
    std::vector<SkyImage> sky;        // empty when the manifest names no sky folder
    bool showsSky = false;            // a room shows the sky
    std::vector<std::string> warnings;
};

// The whole conversion short of writing: manifest, geometry, level, the level file's bytes, a
// check that the game's reader accepts them, the warnings about mistakes the game would accept
// without a word, and the sky images. Warnings do not stop it.
bool ConvertManifest(const std::string& manifestPath, ConvertedFiles& out, std::string& error);

// argv[0] is "build"; the rest are the command's own arguments.
int BuildCommand(int argc, char** argv);

// The text --help prints.
std::string BuildCommandHelp();

}  // namespace brontal
