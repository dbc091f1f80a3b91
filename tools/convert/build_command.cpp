// The "build" subcommand: arguments, the conversion, the written file.
#include "convert/build_command.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "convert/figure.h"
#include "convert/level_builder.h"
#include "convert/level_checks.h"
#include "convert/manifest.h"
#include "convert/scene_set.h"
#include "files/file_io.h"
#include "level/reader.h"
#include "level/writer.h"
#include "platform/image.h"
#include "sample/sky.h"

namespace brontal {
namespace {

constexpr int kExitWritten = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

// Where a data directory keeps the level: the game's default level path.
constexpr const char* kDataLevelPath = "LEVELS/LEVEL_001.VRM";

struct BuildArguments {
    std::string manifest;
    std::string output;   // -o
    std::string dataDir;  // --data, or -o naming a directory
    bool help = false;
};

bool OptionValue(int argc, char** argv, int& i, const std::string& argument, const char* what, std::string& out,
                 std::string& error) {
    if (i + 1 >= argc) {
        error = argument + " needs " + what;
        return false;
    }
    out = argv[++i];
    return true;
}

bool ParseArguments(int argc, char** argv, BuildArguments& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            out.help = true;
        } else if (argument == "-o" || argument == "--output") {
            if (!OptionValue(argc, argv, i, argument, "a file name", out.output, error)) return false;
        } else if (argument == "--data") {
            if (!OptionValue(argc, argv, i, argument, "a directory", out.dataDir, error)) return false;
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
    if (out.manifest.empty()) {
        error = "no manifest given";
    } else if (out.output.empty() && out.dataDir.empty()) {
        error = "no output file given (-o FILE, or -o DIR/ or --data DIR for a data directory)";
    } else if (!out.output.empty() && !out.dataDir.empty()) {
        error = "give -o or --data, not both";
    } else if (!out.output.empty()) {
        std::error_code ignored;
        if (out.output.back() == '/' || std::filesystem::is_directory(out.output, ignored)) {
            out.dataDir = out.output;
            out.output.clear();
        }
    }
    return error.empty();
}

// One file the build writes: its path and its bytes.
struct PlannedFile {
    std::string path;
    const std::vector<std::uint8_t>* bytes = nullptr;
};

std::string LevelOutputPath(const BuildArguments& arguments) {
    return arguments.dataDir.empty() ? arguments.output : JoinPath(arguments.dataDir, kDataLevelPath);
}

// The level first; a sky BMP already where the game reads it is left as it is.
std::vector<PlannedFile> PlanOutput(const BuildArguments& arguments, const ConvertedFiles& files) {
    std::vector<PlannedFile> planned = {{LevelOutputPath(arguments), &files.level}};
    if (arguments.dataDir.empty()) return planned;
    for (const SkyImage& image : files.sky) {
        const std::string path = JoinPath(arguments.dataDir, image.dataPath);
        if (!image.copied || !SameFile(path, image.source)) planned.push_back({path, &image.bmp});
    }
    return planned;
}

// Warnings that depend on the kind of output.
void WarnAboutOutput(const BuildArguments& arguments, const ConvertedFiles& files, std::vector<std::string>& warnings) {
    if (arguments.dataDir.empty()) {
        if (!files.sky.empty()) {
            warnings.push_back(arguments.manifest + ": sky: the sky images go only into a data directory (-o DIR/ or "
                                                    "--data DIR); " + arguments.output + " holds the level alone");
        }
        return;
    }
    if (!files.sky.empty() || !files.showsSky) return;
    for (const sample::SkyFace face : sample::kSkyFaces) {
        const std::string file = sample::SkyFaceFileName(face);
        std::error_code ignored;
        if (!std::filesystem::exists(JoinPath(arguments.dataDir, "SKY/" + file), ignored)) {
            warnings.push_back(arguments.manifest + ": rooms show the sky, but the manifest names no \"sky\" folder " +
                               "and " + JoinPath(arguments.dataDir, "SKY") + " lacks " + file +
                               ": the game draws the sky untextured");
            return;
        }
    }
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
       brontal-level build MANIFEST.json -o DIR/      (or --data DIR)

Builds a level file from Wavefront OBJ (.obj with its .mtl files) and glTF 2.0 (.gltf, .glb)
scene files and a JSON manifest that says which groups are rooms and which are models. Writes FILE
(directories are made as needed), or with -o DIR/ (a path ending in '/' or an existing
directory) or --data DIR a data directory to play with `brontal --data DIR`:
DIR/LEVELS/LEVEL_001.VRM and the manifest's sky as DIR/SKY/Left.bmp, Right, Top, Bottom, Front
and Back (PNG and JPEG converted to BMP). Mistakes the game would accept without a word (a start
in no room or over no floor, a scene at the wrong scale, lights and objects outside their room, a
sky seen from a room that does not show it) are warnings. Exit status: 0 written, 1 input
refused, 2 usage error.

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
    "figure": "sample",                 "sample" (default) or "none"
    "sky": "sky"                        folder of six images named left, right, front, back,
  }                                     top (or up), bottom (or down): .bmp, .png, .jpg, .jpeg

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
    return text;
}

bool ConvertManifest(const std::string& manifestPath, ConvertedFiles& out, std::string& error) {
    out = ConvertedFiles{};
    Manifest manifest;
    SceneSet scenes;
    BuiltLevel built;
    if (!LoadManifest(manifestPath, manifest, error) || !LoadScenes(manifest, scenes, error) ||
        !BuildLevel(manifest, scenes, built, error)) {
        return false;
    }
    out.warnings = built.warnings;
    out.level = WriteLevel(built.level, built.textureImages);

    // The game's own reader must take the file as it is; anything it refuses is the converter's fault.
    Level check;
    std::string refusal;
    if (!ReadLevel(out.level.data(), out.level.size(), "the converted level", nullptr, check, refusal)) {
        error = manifestPath + ": the converted level does not pass the level reader: " + refusal;
        return false;
    }
    // The checks look at the level as the game holds it once read: boxes and corners derived.
    WarnAboutSilentMistakes(manifest, check, built.sights, out.warnings);
    for (const Room& room : check.rooms) out.showsSky = out.showsSky || room.showsSky;
    return GatherSkyImages(manifest, out.sky, error);
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
    const std::string firstOutput = LevelOutputPath(arguments);
    if (SameFile(firstOutput, arguments.manifest)) {
        std::cerr << "brontal-level build: " << firstOutput << ": the output would overwrite the manifest\n";
        return kExitUsage;
    }
    ConvertedFiles files;
    bool converted = false;
    try {
        converted = ConvertManifest(arguments.manifest, files, error);
    } catch (const std::exception& e) {
        // Whatever a library throws is a refusal like any other, never an abort.
        error = arguments.manifest + ": cannot be converted: " + e.what();
    }
    if (converted) WarnAboutOutput(arguments, files, files.warnings);
    for (const std::string& warning : files.warnings) std::cerr << "warning: " << warning << "\n";
    // The scene, its material libraries, buffers, textures and sky images are known once they
    // have been read.
    const std::vector<PlannedFile> planned = PlanOutput(arguments, files);
    for (const PlannedFile& file : planned) {
        if (const std::optional<std::string> input = InputNamedBy(file.path, FilesReadSoFar())) {
            std::cerr << "brontal-level build: " << file.path << ": the output would overwrite " << *input
                      << ", which this build reads\n";
            return kExitUsage;
        }
    }
    if (!converted) {
        std::cerr << "brontal-level build: " << error << "\n";
        return kExitRefused;
    }
    for (const PlannedFile& file : planned) {
        if (!WriteOutput(file.path, *file.bytes, error)) {
            std::cerr << "brontal-level build: " << error << "\n";
            return kExitRefused;
        }
    }
    std::cout << "wrote " << planned.front().path << " (" << files.level.size() << " bytes)";
    if (!arguments.dataDir.empty()) {
        std::cout << (files.sky.empty() ? "" : " and " + std::to_string(files.sky.size()) + " sky images")
                  << "; play it with: brontal --data " << arguments.dataDir;
    }
    std::cout << "\n";
    return kExitWritten;
}

}  // namespace brontal
