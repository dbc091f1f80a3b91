#pragma once
// Cutting a triangle list of one texture into surfaces the level file can hold. A room surface
// is drawn with an 8-bit triangle count, so it holds at most 255 triangles; a model surface is
// drawn with its index count / 3 and holds at most 65,535 indices (21,845 triangles). Each
// surface gets its own vertex list: corners that agree in position and texture coordinates
// exactly share one vertex. Triangles keep their order, so neighbours in the source stay
// neighbours in a surface.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "level/chunk_ids.h"
#include "level/world.h"

namespace brontal {

inline constexpr std::size_t kMaxRoomSurfaceTriangleCount = kMaxRoomSurfaceTriangles;
inline constexpr std::size_t kMaxModelSurfaceTriangleCount = kMaxRecordCount / 3;

using GameTriangle = std::array<Vertex, 3>;  // already in the game's space and corner order

// Appends the surfaces to out; each has its counts filled in.
void SplitIntoSurfaces(const std::vector<GameTriangle>& triangles, std::uint16_t textureIndex,
                       const std::string& name, std::size_t maxTriangles, std::vector<Surface>& out);

}  // namespace brontal
