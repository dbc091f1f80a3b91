#pragma once
// The order the backend hands draws to OpenGL. On a software rasteriser every fragment that is
// shaded and then hidden is paid for; the game draws the sky first and the rooms in their list
// order, so much of a frame is shaded twice. Draws whose fragments keep only the nearest one
// (depth tested and written, no blending, every colour written, filled triangles) give the same
// pixels in any order, but for fragments at exactly equal depth; the backend holds a run of
// such draws and sends it nearest first, so the depth test rejects hidden fragments before they
// are shaded. Any other draw, and anything else that touches the frame, sends the run first.
#include <cstdint>

#include "device/backend.h"
#include "device/vertex_format.h"

namespace brontal {

struct GlRasterState;

// True when the draw's fragments keep only the nearest, so that it may change places with
// others like it.
bool KeepsNearestOnly(const GlRasterState& raster, const VertexLayout& layout, D3DPRIMITIVETYPE type);

// The squared distance from the eye to the draw's box (in its own space) under `world` then
// `view`; 0 when the eye is inside it or the transform cannot be undone.
float EyeDistanceSquared(const Matrix4x4& world, const Matrix4x4& view, const Vector3& boxMin, const Vector3& boxMax);

}  // namespace brontal
