// Matrix construction and product. Row-vector convention: p' = p * M, translation in row 3.
#include "math/matrix.h"

#include <cmath>

#include "math/vector3.h"

namespace brontal {

namespace {

Matrix4x4 ZeroMatrix() {
    return Matrix4x4{};
}

}  // namespace

Matrix4x4* MatrixIdentity(Matrix4x4* out) {
    Matrix4x4 r = ZeroMatrix();
    r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

Matrix4x4* MatrixMultiply(Matrix4x4* out, const Matrix4x4* a, const Matrix4x4* b) {
    // Built in a local so that out may be a, b or both: the product is always that of the
    // inputs as they were before the call.
    Matrix4x4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a->m[i][0] * b->m[0][j] + a->m[i][1] * b->m[1][j] +
                        a->m[i][2] * b->m[2][j] + a->m[i][3] * b->m[3][j];
        }
    }
    *out = r;
    return out;
}

Matrix4x4* MatrixTranslation(Matrix4x4* out, float x, float y, float z) {
    MatrixIdentity(out);
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
    return out;
}

Matrix4x4* MatrixScaling(Matrix4x4* out, float sx, float sy, float sz) {
    Matrix4x4 r = ZeroMatrix();
    r.m[0][0] = sx;
    r.m[1][1] = sy;
    r.m[2][2] = sz;
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

// A positive angle turns y towards z.
Matrix4x4* MatrixRotationX(Matrix4x4* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4x4 r = ZeroMatrix();
    r.m[0][0] = 1.0f;
    r.m[1][1] = c;
    r.m[1][2] = s;
    r.m[2][1] = -s;
    r.m[2][2] = c;
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

// A positive angle turns z towards x.
Matrix4x4* MatrixRotationY(Matrix4x4* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4x4 r = ZeroMatrix();
    r.m[0][0] = c;
    r.m[0][2] = -s;
    r.m[1][1] = 1.0f;
    r.m[2][0] = s;
    r.m[2][2] = c;
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

// A positive angle turns x towards y.
Matrix4x4* MatrixRotationZ(Matrix4x4* out, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4x4 r = ZeroMatrix();
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    r.m[2][2] = 1.0f;
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

Matrix4x4* MatrixRotationAxis(Matrix4x4* out, const Vector3* axis, float angle) {
    Vector3 n;
    Vec3Normalize(&n, axis);
    const float x = n.x, y = n.y, z = n.z;
    const float c = std::cos(angle), s = std::sin(angle);
    const float k = 1.0f - c;
    Matrix4x4 r = ZeroMatrix();
    r.m[0][0] = k * x * x + c;
    r.m[0][1] = k * x * y + s * z;
    r.m[0][2] = k * x * z - s * y;
    r.m[1][0] = k * x * y - s * z;
    r.m[1][1] = k * y * y + c;
    r.m[1][2] = k * y * z + s * x;
    r.m[2][0] = k * x * z + s * y;
    r.m[2][1] = k * y * z - s * x;
    r.m[2][2] = k * z * z + c;
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

// q is taken as unit length; it is not normalised here.
Matrix4x4* MatrixRotationQuaternion(Matrix4x4* out, const Quaternion* q) {
    const float x = q->x, y = q->y, z = q->z, w = q->w;
    Matrix4x4 r = ZeroMatrix();
    r.m[0][0] = 1.0f - 2.0f * y * y - 2.0f * z * z;
    r.m[0][1] = 2.0f * x * y + 2.0f * z * w;
    r.m[0][2] = 2.0f * x * z - 2.0f * y * w;
    r.m[1][0] = 2.0f * x * y - 2.0f * z * w;
    r.m[1][1] = 1.0f - 2.0f * x * x - 2.0f * z * z;
    r.m[1][2] = 2.0f * y * z + 2.0f * x * w;
    r.m[2][0] = 2.0f * x * z + 2.0f * y * w;
    r.m[2][1] = 2.0f * y * z - 2.0f * x * w;
    r.m[2][2] = 1.0f - 2.0f * x * x - 2.0f * y * y;
    r.m[3][3] = 1.0f;
    *out = r;
    return out;
}

// Left-handed: view-space depth zNear maps to 0 and zFar to 1 after the divide by w = z.
Matrix4x4* MatrixPerspectiveFovLH(Matrix4x4* out, float fovY, float aspect, float zNear,
                                  float zFar) {
    const float yScale = std::cos(fovY / 2.0f) / std::sin(fovY / 2.0f);
    Matrix4x4 r = ZeroMatrix();
    r.m[0][0] = yScale / aspect;
    r.m[1][1] = yScale;
    r.m[2][2] = zFar / (zFar - zNear);
    r.m[2][3] = 1.0f;
    r.m[3][2] = -zNear * zFar / (zFar - zNear);
    *out = r;
    return out;
}

}  // namespace brontal
