#include "device/gl/gl_draw_order.h"

#include <algorithm>
#include <cstring>

#include "device/gl/gl_state.h"
#include "math/matrix.h"

namespace brontal {

GlExtent MeasureExtent(const std::uint8_t* vertices, std::uint32_t count, std::uint32_t stride) {
    GlExtent e;
    for (std::uint32_t v = 0; v < count; ++v) {
        float p[3];
        std::memcpy(p, vertices + std::size_t{v} * stride, sizeof p);
        for (int i = 0; i < 3; ++i) {
            e.boxMin[i] = v == 0 ? p[i] : std::min(e.boxMin[i], p[i]);
            e.boxMax[i] = v == 0 ? p[i] : std::max(e.boxMax[i], p[i]);
        }
    }
    return e;
}

bool KeepsNearestOnly(const GlRasterState& raster, const VertexLayout& layout, D3DPRIMITIVETYPE type) {
    const bool nearerWins = raster.depthFunc == GL_LESS || raster.depthFunc == GL_LEQUAL ||
                            raster.depthFunc == GL_GREATER || raster.depthFunc == GL_GEQUAL;
    const bool triangles =
        type == D3DPT_TRIANGLELIST || type == D3DPT_TRIANGLESTRIP || type == D3DPT_TRIANGLEFAN;
    return raster.depthTest && raster.depthWrite && nearerWins && !raster.blend && raster.colourMask == 0xF &&
           raster.polygonMode == GL_FILL && triangles && !layout.preTransformed;
}

float EyeDistanceSquared(const Matrix4x4& world, const Matrix4x4& view, const GlExtent& extent) {
    Matrix4x4 toView{}, toModel{};
    MatrixMultiply(&toView, &world, &view);
    if (!MatrixInverse(&toModel, nullptr, &toView)) return 0.0f;
    // The eye is the view's origin: in model space, the inverse's translation row. The box's
    // point nearest it there, taken back to view space, gives the distance.
    float p[3];
    for (int i = 0; i < 3; ++i) p[i] = std::clamp(toModel.m[3][i], extent.boxMin[i], extent.boxMax[i]);
    float d = 0.0f;
    for (int c = 0; c < 3; ++c) {
        const float q = p[0] * toView.m[0][c] + p[1] * toView.m[1][c] + p[2] * toView.m[2][c] + toView.m[3][c];
        d += q * q;
    }
    return d >= 0.0f ? d : 0.0f;  // not a number (from a box that is not) counts as near
}

}  // namespace brontal
