// General 4x4 inverse by cofactors (no affine shortcut).
#include <cmath>

#include "math/matrix.h"

namespace brontal {

Matrix4x4* MatrixInverse(Matrix4x4* out, float* determinant, const Matrix4x4* m) {
    const float(*e)[4] = m->m;

    // 2x2 minors of rows 0-1 (s) and rows 2-3 (c), column pairs 01 02 03 12 13 23.
    const float s0 = e[0][0] * e[1][1] - e[1][0] * e[0][1];
    const float s1 = e[0][0] * e[1][2] - e[1][0] * e[0][2];
    const float s2 = e[0][0] * e[1][3] - e[1][0] * e[0][3];
    const float s3 = e[0][1] * e[1][2] - e[1][1] * e[0][2];
    const float s4 = e[0][1] * e[1][3] - e[1][1] * e[0][3];
    const float s5 = e[0][2] * e[1][3] - e[1][2] * e[0][3];

    const float c5 = e[2][2] * e[3][3] - e[3][2] * e[2][3];
    const float c4 = e[2][1] * e[3][3] - e[3][1] * e[2][3];
    const float c3 = e[2][1] * e[3][2] - e[3][1] * e[2][2];
    const float c2 = e[2][0] * e[3][3] - e[3][0] * e[2][3];
    const float c1 = e[2][0] * e[3][2] - e[3][0] * e[2][2];
    const float c0 = e[2][0] * e[3][1] - e[3][0] * e[2][1];

    // Laplace expansion along the first two rows.
    const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (determinant != nullptr) {
        *determinant = det;  // reported even when the inverse does not exist
    }
    const float r = 1.0f / det;
    if (!std::isfinite(r)) {
        return nullptr;  // singular (or 1/det overflows): out keeps its previous contents
    }

    // The adjugate (transposed cofactors), scaled by 1/det.
    Matrix4x4 inv;
    inv.m[0][0] = (e[1][1] * c5 - e[1][2] * c4 + e[1][3] * c3) * r;
    inv.m[0][1] = (-e[0][1] * c5 + e[0][2] * c4 - e[0][3] * c3) * r;
    inv.m[0][2] = (e[3][1] * s5 - e[3][2] * s4 + e[3][3] * s3) * r;
    inv.m[0][3] = (-e[2][1] * s5 + e[2][2] * s4 - e[2][3] * s3) * r;

    inv.m[1][0] = (-e[1][0] * c5 + e[1][2] * c2 - e[1][3] * c1) * r;
    inv.m[1][1] = (e[0][0] * c5 - e[0][2] * c2 + e[0][3] * c1) * r;
    inv.m[1][2] = (-e[3][0] * s5 + e[3][2] * s2 - e[3][3] * s1) * r;
    inv.m[1][3] = (e[2][0] * s5 - e[2][2] * s2 + e[2][3] * s1) * r;

    inv.m[2][0] = (e[1][0] * c4 - e[1][1] * c2 + e[1][3] * c0) * r;
    inv.m[2][1] = (-e[0][0] * c4 + e[0][1] * c2 - e[0][3] * c0) * r;
    inv.m[2][2] = (e[3][0] * s4 - e[3][1] * s2 + e[3][3] * s0) * r;
    inv.m[2][3] = (-e[2][0] * s4 + e[2][1] * s2 - e[2][3] * s0) * r;

    inv.m[3][0] = (-e[1][0] * c3 + e[1][1] * c1 - e[1][2] * c0) * r;
    inv.m[3][1] = (e[0][0] * c3 - e[0][1] * c1 + e[0][2] * c0) * r;
    inv.m[3][2] = (-e[3][0] * s3 + e[3][1] * s1 - e[3][2] * s0) * r;
    inv.m[3][3] = (e[2][0] * s3 - e[2][1] * s1 + e[2][2] * s0) * r;

    *out = inv;
    return out;
}

}  // namespace brontal
