#pragma once
// The level manifest: a small JSON file that says what a level is made of. The geometry file
// holds the shapes; the manifest names which of its groups are rooms and which are models, and
// adds what geometry files cannot say: room names, sky flags and visible lists, placements,
// lights, the start position and the figure. docs/level-manifest.md describes every key.
//
// Positions, axes and angles in the manifest are given in the geometry file's own space (as the
// modelling tool shows them); the builder carries them into the game's space with the geometry.
// Paths are relative to the manifest's directory.
#include <string>
#include <vector>

#include "math/types.h"

namespace brontal {

// A group as the manifest names it: "NAME" (an OBJ group or object, a glTF node's name),
// "#N" (glTF node N), either after "FILE:" to say which geometry file holds it.
struct GroupReference {
    std::string name;   // as written
    std::string where;  // "rooms[2].group" or "rooms[2].group[1]", for messages
};

struct ManifestRoom {
    std::string group;                 // the first group as written: how the manifest names the room
    std::vector<GroupReference> groups;  // every group whose faces make the room (at least one)
    std::string name;                  // shown in the HUD; the first group's name when not given
    bool sky = false;
    std::vector<std::string> visible;  // groups of the rooms drawn from here, as written
    bool visibleGiven = false;         // without a list the builder computes one from the geometry
    std::string where;                 // "rooms[2]", for messages
};

struct ManifestModel {
    std::string name;                    // how objects name the model: "name", or the first group, or the file's stem
    std::vector<GroupReference> groups;  // the groups whose faces make the model; empty for a whole file
    std::string file;                    // a whole geometry file, resolved against the manifest's directory
    std::string fileAsWritten;           // for messages and "FILE:" qualifiers
    float scale = 1.0f;                  // on top of the level's scale
    bool solid = false;
    std::string where;
};

struct ManifestObject {
    std::string model;  // a model's name
    std::string room;   // a room's group (any of its groups)
    Vector3 position{};
    Vector3 axis{0, 1, 0};
    float angle = 0.0f;  // radians, counter-clockwise looking down the axis (right-handed)
    std::string where;
};

struct ManifestLight {
    std::string room;
    Vector3 position{};
    Vector3 colour{};  // red, green, blue, each 0 to 1
    float range = 0.0f;
    std::string where;
};

enum class FigureChoice { Sample, None };

struct Manifest {
    std::string path;          // the manifest file as given, for messages
    std::string levelName;     // the manifest file's stem when not given
    std::vector<std::string> geometryFiles;  // as written, for messages and "FILE:" qualifiers
    std::vector<std::string> geometryPaths;  // the same resolved against the manifest's directory
    float scale = 1.0f;        // geometry and manifest positions are multiplied by it
    std::vector<ManifestRoom> rooms;
    std::vector<ManifestModel> models;
    std::vector<ManifestObject> objects;
    std::vector<ManifestLight> lights;
    Vector3 start{};
    FigureChoice figure = FigureChoice::Sample;
    std::string skyFolder;  // the folder of the six sky images, resolved; empty when not given
};

// Parses manifest text; path names the file in messages and anchors relative paths. Checks the
// shape of every value (types, ranges, unknown keys, groups and model names used twice); names
// are resolved later against the geometry. On failure returns false and says why in error: "PATH: WHERE: problem".
bool ParseManifest(const std::string& text, const std::string& path, Manifest& out, std::string& error);

// Reads and parses the manifest file.
bool LoadManifest(const std::string& path, Manifest& out, std::string& error);

// The directory part of a path ("" for a bare file name) and a path joined to it; an absolute
// second path stays as it is.
std::string DirectoryOf(const std::string& path);
std::string JoinPath(const std::string& directory, const std::string& path);
// The file name without its directory ("props/crate.obj" gives "crate.obj"), and without its
// last extension too ("crate").
std::string FileName(const std::string& path);
std::string FileStem(const std::string& path);

// For messages: text in double quotes, and an array element ("rooms" and 2 give "rooms[2]").
std::string Quoted(const std::string& text);
std::string Element(const std::string& where, std::size_t index);

// The JSON library's message without its own tag ("[json.exception.out_of_range.406] ").
std::string LibraryMessage(const std::string& what);

}  // namespace brontal
