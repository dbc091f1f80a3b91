// The "build" subcommand: arguments, the conversion, the written file.
#include "convert/build_command.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "convert/figure.h"
#include "convert/level_builder.h"
#include "convert/manifest.h"
#include "convert/scene_set.h"
#include "files/file_io.h"
#include "level/reader.h"
#include "level/writer.h"
#include "platform/image.h"

namespace brontal {
namespace {

constexpr int kExitWritten = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

struct BuildArguments {
    std::string manifest;
    std::string output;
    bool help = false;
};

bool ParseArguments(int argc, char** argv, BuildArguments& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            out.help = true;
        } else if (argument == "-o" || argument == "--output") {
            if (i + 1 >= argc) {
                error = argument + " needs a file name";
                return false;
            }
            out.output = argv[++i];
        } else if (!argument.empty() && argument[0] == '-') {
            error = "unknown option " + argument;
            return false;
        } else if (out.manifest.empty()) {
            out.manifest = argument;
        } else {
            error = "more than one manifest given (" + out.manifest + ", " + argument + ")";
            return false;
        }
    }
    if (out.help) return true;
    if (out.manifest.empty()) error = "no manifest given";
    else if (out.output.empty()) error = "no output file given (-o FILE)";
    return error.empty();
}

bool WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code made;
    if (!parent.empty()) std::filesystem::create_directories(parent, made);
    if (made) {
        error = parent.string() + ": cannot create the directory: " + made.message();
        return false;
    }
    std::string writeError;
    if (!WriteWholeFile(path, bytes, writeError)) {
        error = path + ": " + writeError;
        return false;
    }
    return true;
}

}  // namespace

std::string BuildCommandHelp() {
    std::string text = R"(usage: brontal-level build MANIFEST.json -o FILE

Builds a level file from Wavefront OBJ (.obj with its .mtl files) and glTF 2.0 (.gltf, .glb)
scene files and a JSON manifest that says which groups are rooms and which are models. Writes FILE
(directories are made as needed). Exit status: 0 written, 1 input refused, 2 usage error.

The manifest (paths relative to it; // and /* */ comments allowed; unknown keys refused):
  {
    "name": "My Level",                 level name (default: the manifest's file name)
    "geometry": "scene.obj",            .obj, .gltf or .glb; or a list ["a.glb", "props.obj"]
    "scale": 1.0,                       multiplies geometry, positions and ranges (default 1)
    "rooms": [                          at least one; room 0 is where the level begins
      {"group": "hall",                 OBJ group or object ("g"/"o"), glTF node name or "#N"
                                        (node N), or a list of groups; "FILE:GROUP" picks the file
       "name": "Entrance Hall",         shown in the HUD (default: the first group)
       "sky": false,                    draw the sky box while the player is here (default false)
       "visible": ["hall", "corridor"]} rooms drawn from here, by group (default: computed)
    ],
    "models": [{"group": "crate", "solid": true},       solid: objects collide (default false)
               {"file": "lamp.glb", "name": "lamp",     a whole file; objects name models by
                "scale": 0.5}],                         "name" (default: first group, file stem);
                                                        scale: on top of the level's (default 1)
    "objects": [{"model": "crate", "room": "hall",
                 "position": [x, y, z],                 where the model's origin goes
                 "axis": [0, 1, 0], "angle": 0.5}],     rotation in radians (default none)
    "lights": [{"room": "hall", "position": [x, y, z],
                "colour": [r, g, b], "range": 600}],    colour components 0 to 1
    "start": [x, y, z],                 the player's start point
    "figure": "sample"                  "sample" (default) or "none"
  }

Space: positions, axes and angles are given as the modelling tool shows them (OBJ and glTF are
right-handed, y up). The converter negates z and reverses every triangle's corners, so the game
(left-handed, y up, clockwise faces visible) sees the same scene the same way round: make room
faces look into the room and model faces look outwards. A rotation turns counter-clockwise
looking down its axis. OBJ texture v is turned round (the game's v grows downward); glTF's is not.
Rooms use glTF nodes' world transforms. Models keep their nodes' rotations and scales (parents'
included) but not the first group's place: its node's origin is the model's origin, where
objects put it (a whole-file model's origin is the file's). OBJ models are as written.

Surfaces: one per material and room, cut at 255 triangles; a surface takes its material's name,
so a material named "!..." keeps its faces out of collision. Textures: the material's map_Kd
(OBJ) or base-colour texture (glTF), embedded as the complete BMP, PNG or JPEG file; untextured
materials get a small image of their diffuse colour. A room or model holds at most 65535
vertices. See docs/level-manifest.md.
)";
    if (!SampleFigureAvailable()) {
        text += "\nThis build has no sample figure: manifests must say \"figure\": \"none\".\n";
    }
    return text;
}

bool ConvertLevel(const std::string& manifestPath, std::vector<std::uint8_t>& file, std::vector<std::string>& warnings,
                  std::string& error) {
    Manifest manifest;
    SceneSet scenes;
    BuiltLevel built;
    if (!LoadManifest(manifestPath, manifest, error) || !LoadScenes(manifest, scenes, error) ||
        !BuildLevel(manifest, scenes, built, error)) {
        return false;
    }
    warnings = built.warnings;
    file = WriteLevel(built.level, built.textureImages);

    // The game's own reader must take the file as it is; anything it refuses is the converter's fault.
    Level check;
    std::string refusal;
    if (!ReadLevel(file.data(), file.size(), "the converted level", nullptr, check, refusal)) {
        error = manifestPath + ": the converted level does not pass the level reader: " + refusal;
        return false;
    }
    return true;
}

int BuildCommand(int argc, char** argv) {
    BuildArguments arguments;
    std::string error;
    if (!ParseArguments(argc, argv, arguments, error)) {
        std::cerr << "brontal-level build: " << error << "\n(brontal-level build --help shows the usage)\n";
        return kExitUsage;
    }
    if (arguments.help) {
        std::cout << BuildCommandHelp();
        return kExitWritten;
    }
    if (SameFile(arguments.output, arguments.manifest)) {
        std::cerr << "brontal-level build: " << arguments.output << ": the output would overwrite the manifest\n";
        return kExitUsage;
    }
    std::vector<std::uint8_t> file;
    std::vector<std::string> warnings;
    bool converted = false;
    try {
        converted = ConvertLevel(arguments.manifest, file, warnings, error);
    } catch (const std::exception& e) {
        // Whatever a library throws is a refusal like any other, never an abort.
        error = arguments.manifest + ": cannot be converted: " + e.what();
    }
    for (const std::string& warning : warnings) std::cerr << "warning: " << warning << "\n";
    // The scene, its material libraries, buffers and textures are known once they have been read.
    if (const std::optional<std::string> input = InputNamedBy(arguments.output, FilesReadSoFar())) {
        std::cerr << "brontal-level build: " << arguments.output << ": the output would overwrite " << *input
                  << ", which this build reads\n";
        return kExitUsage;
    }
    if (!converted || !WriteOutput(arguments.output, file, error)) {
        std::cerr << "brontal-level build: " << error << "\n";
        return kExitRefused;
    }
    std::cout << "wrote " << arguments.output << " (" << file.size() << " bytes)\n";
    return kExitWritten;
}

}  // namespace brontal
