#include "device/gl/gl_draw_order.h"

#include <algorithm>

#include "device/gl/gl_state.h"
#include "math/matrix.h"

namespace brontal {

bool KeepsNearestOnly(const GlRasterState& raster, const VertexLayout& layout, D3DPRIMITIVETYPE type) {
    const bool nearerWins = raster.depthFunc == GL_LESS || raster.depthFunc == GL_LEQUAL ||
                            raster.depthFunc == GL_GREATER || raster.depthFunc == GL_GEQUAL;
    const bool triangles =
        type == D3DPT_TRIANGLELIST || type == D3DPT_TRIANGLESTRIP || type == D3DPT_TRIANGLEFAN;
    return raster.depthTest && raster.depthWrite && nearerWins && !raster.blend && raster.colourMask == 0xF &&
           raster.polygonMode == GL_FILL && triangles && !layout.preTransformed;
}

float EyeDistanceSquared(const Matrix4x4& world, const Matrix4x4& view, const Vector3& boxMin, const Vector3& boxMax) {
    Matrix4x4 toView{}, toModel{};
    MatrixMultiply(&toView, &world, &view);
    if (!MatrixInverse(&toModel, nullptr, &toView)) return 0.0f;
    // The eye is the view's origin: in model space, the inverse's translation row. The box's
    // point nearest it there, taken back to view space, gives the distance.
    const float p[3] = {std::clamp(toModel.m[3][0], boxMin.x, boxMax.x), std::clamp(toModel.m[3][1], boxMin.y, boxMax.y),
                        std::clamp(toModel.m[3][2], boxMin.z, boxMax.z)};
    float d = 0.0f;
    for (int c = 0; c < 3; ++c) {
        const float q = p[0] * toView.m[0][c] + p[1] * toView.m[1][c] + p[2] * toView.m[2][c] + toView.m[3][c];
        d += q * q;
    }
    return d >= 0.0f ? d : 0.0f;  // not a number (from a box that is not) counts as near
}

}  // namespace brontal
