#pragma once
// The room draw (Level::DrawRoom and Level::DrawModel, declared with the world model) and the
// frame's triangle count.
//
// A room is dropped whole when its box lies behind the frustum's right-hand plane; otherwise
// each surface is tested against all six planes, and each room object by its world-space
// corners. Every surface is one indexed triangle list drawn straight from the world model's
// arrays with its own texture; room surfaces draw their 8-bit triangle count, model surfaces
// indexCount / 3 in 16 bits. Each drawn surface adds indexCount / 3 to trianglesDrawn. After a
// room object the world transform is put back and no texture is left bound on stage 0.
#include <cstdint>

namespace brontal {

inline constexpr std::uint32_t kWorldVertexStride = 20;

// Triangles submitted in the current frame: reset by the frame render before the rooms.
extern std::int32_t trianglesDrawn;

}  // namespace brontal
