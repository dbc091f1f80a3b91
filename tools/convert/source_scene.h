#pragma once
// A geometry file as the converter sees it, before anything is carried into the game's space:
// named groups of triangles with materials. Both loaders (Wavefront OBJ and glTF 2.0) fill it
// in their file's own convention, right-handed with y up and front faces wound
// counter-clockwise, with one exception: texture v already grows downward the image, as in the
// game (the OBJ loader turns its v round; glTF's v grows downward already).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "math/types.h"

namespace brontal {

// The largest manifest, geometry, material library or glTF buffer read (a level holds far less).
inline constexpr std::uint64_t kMaxSourceFileSize = std::uint64_t{1} << 30;

struct SourceVertex {
    Vector3 position{};
    float u = 0.0f;
    float v = 0.0f;  // grows downward the image
};

struct SourceTriangle {
    std::array<SourceVertex, 3> corners{};  // counter-clockwise as seen from the front
    std::int32_t material = -1;             // position in SourceScene::materials, -1 for none
};

// A group of faces: an OBJ group or object, or a glTF node's own mesh. Triangles are in the
// group's own space; toWorld carries them into the scene (the identity for OBJ; a glTF node's
// world transform, its parents' included).
struct SourceGroup {
    std::string name;  // empty for a glTF node without a name
    int node = -1;     // the glTF node's index; -1 for an OBJ group
    std::vector<SourceTriangle> triangles;
    Matrix4x4 toWorld{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};  // row vectors, p' = p * M
    // Why the group's faces cannot be read (a glTF mesh the converter refuses), as a whole
    // message; empty when they can. Only a group the level uses is refused for it.
    std::string refusal;
};

// Where a material's texture image comes from. The builder reads files itself, so that an image
// that is never used cannot stop a level.
struct SourceMaterial {
    std::string name;
    std::string definedIn;              // the file that defines it, for messages
    bool textured = false;
    std::string imagePath;              // an image file on disk (empty when embedded)
    std::vector<std::uint8_t> imageData;  // an image embedded in the geometry file
    std::string imageName;              // how messages name the image
    std::array<float, 3> colour{1.0f, 1.0f, 1.0f};  // the diffuse colour, 0 to 1, for untextured faces
};

struct SourceScene {
    std::string path;
    std::vector<SourceGroup> groups;
    std::vector<SourceMaterial> materials;
    std::vector<std::string> warnings;  // shown, but do not stop the build
};

// The loaders. On failure they return false with a message naming the file and the problem.
bool LoadObjScene(const std::string& path, SourceScene& scene, std::string& error);
bool LoadGltfScene(const std::string& path, SourceScene& scene, std::string& error);
// The same from the file's contents (path names it in messages and anchors the files it names;
// a .glb path means the binary container).
bool ParseObjScene(const std::string& path, const std::string& text, SourceScene& scene, std::string& error);
bool ParseGltfScene(const std::string& path, const std::vector<std::uint8_t>& bytes, SourceScene& scene,
                    std::string& error);

// Picks the loader by extension: .obj, .gltf or .glb (in any letter case).
bool LoadSourceScene(const std::string& path, SourceScene& scene, std::string& error);

// How messages and group lists show a group: its name, or "#N" for a glTF node without one.
std::string GroupLabel(const SourceGroup& group);

// The determinant of the upper 3x3 of m: negative for a mirror, 0 for a transform that flattens.
float Determinant3x3(const Matrix4x4& m);

// Carries triangles through a transform; one that mirrors (negative determinant) would turn every
// front face to the back, so such a transform also reverses the corners' order.
void TransformTriangles(std::vector<SourceTriangle>& triangles, const Matrix4x4& transform);

}  // namespace brontal
