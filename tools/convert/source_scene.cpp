// What both loaders share: choosing one, finding groups, carrying triangles through transforms.
#include "convert/source_scene.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "math/vector3.h"

namespace brontal {
namespace {

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

float Determinant3x3(const Matrix4x4& m) {
    const float(&a)[4][4] = m.m;
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
           a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

bool LoadSourceScene(const std::string& path, SourceScene& scene, std::string& error) {
    const std::string extension = LowerExtension(path);
    if (extension == ".obj") return LoadObjScene(path, scene, error);
    if (extension == ".gltf" || extension == ".glb") return LoadGltfScene(path, scene, error);
    error = path + ": unknown geometry format: the converter reads Wavefront OBJ (.obj) and glTF 2.0 (.gltf, .glb)";
    return false;
}

std::string GroupLabel(const SourceGroup& group) {
    if (group.name.empty() && group.node >= 0) return "#" + std::to_string(group.node);
    return "\"" + group.name + "\"";
}

void TransformTriangles(std::vector<SourceTriangle>& triangles, const Matrix4x4& transform) {
    const bool mirrors = Determinant3x3(transform) < 0.0f;
    for (SourceTriangle& triangle : triangles) {
        for (SourceVertex& corner : triangle.corners) {
            const Vector3 p = corner.position;
            Vec3TransformCoord(&corner.position, &p, &transform);
        }
        if (mirrors) std::swap(triangle.corners[1], triangle.corners[2]);
    }
}

}  // namespace brontal
