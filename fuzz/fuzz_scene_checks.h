#pragma once
// What every loaded scene must hold, whichever loader made it.
#include <cmath>

#include "convert/source_scene.h"
#include "fuzz_require.h"

inline void CheckScene(const brontal::SourceScene& scene) {
    using namespace brontal;
    for (const SourceGroup& group : scene.groups) {
        // A mesh refused for its own faults names the file, and leaves the group without faces.
        Require(group.refusal.empty() || (NamesFile(group.refusal, scene.path) && group.triangles.empty()),
                "group refusal names the file");
        for (const auto& row : group.toWorld.m)
            for (float value : row) Require(std::isfinite(value), "finite group transform");
        for (const SourceTriangle& triangle : group.triangles) {
            Require(triangle.material >= -1 && triangle.material < static_cast<int>(scene.materials.size()),
                    "material inside the scene");
            for (const SourceVertex& corner : triangle.corners)
                Require(std::isfinite(corner.position.x) && std::isfinite(corner.position.y) &&
                            std::isfinite(corner.position.z) && std::isfinite(corner.u) && std::isfinite(corner.v),
                        "finite corners");
        }
    }
    for (const SourceMaterial& material : scene.materials)
        for (float c : material.colour) Require(c >= 0.0f && c <= 1.0f, "colour between 0 and 1");
}
