// Surfaces of a bounded triangle count, with corners shared within each surface.
#include "convert/surface_split.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace brontal {
namespace {

// The exact bits of a vertex, so that only identical corners merge (never -0 with +0 by value,
// never two nearly equal positions).
using VertexKey = std::array<std::uint32_t, 5>;

VertexKey KeyOf(const Vertex& v) {
    VertexKey key;
    static_assert(sizeof key == sizeof v);
    std::memcpy(key.data(), &v, sizeof v);
    return key;
}

}  // namespace

void SplitIntoSurfaces(const std::vector<GameTriangle>& triangles, std::uint16_t textureIndex,
                       const std::string& name, std::size_t maxTriangles, std::vector<Surface>& out) {
    for (std::size_t first = 0; first < triangles.size(); first += maxTriangles) {
        const std::size_t last = std::min(triangles.size(), first + maxTriangles);
        Surface surface;
        surface.name = name;
        surface.textureIndex = textureIndex;
        std::map<VertexKey, std::uint16_t> shared;
        for (std::size_t t = first; t < last; ++t) {
            for (const Vertex& corner : triangles[t]) {
                // At most 3 * 21,845 corners per surface, so a position always fits 16 bits.
                const auto [where, added] =
                    shared.emplace(KeyOf(corner), static_cast<std::uint16_t>(surface.vertices.size()));
                if (added) surface.vertices.push_back(corner);
                surface.indices.push_back(where->second);
            }
        }
        surface.vertexCount = static_cast<std::uint16_t>(surface.vertices.size());
        surface.indexCount = static_cast<std::uint16_t>(surface.indices.size());
        surface.triangleCount = static_cast<std::uint8_t>(surface.indexCount / 3);  // 8 bits, as the reader keeps it
        out.push_back(std::move(surface));
    }
}

}  // namespace brontal
