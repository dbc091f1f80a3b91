// Vector operations. Each one reads all of its inputs before writing the output, so the output
// may be any of the inputs.
#include "math/vector3.h"

#include <cmath>

namespace brontal {

Vector3* Vec3Add(Vector3* out, const Vector3* a, const Vector3* b) {
    *out = Vector3{a->x + b->x, a->y + b->y, a->z + b->z};
    return out;
}

Vector3* Vec3Subtract(Vector3* out, const Vector3* a, const Vector3* b) {
    *out = Vector3{a->x - b->x, a->y - b->y, a->z - b->z};
    return out;
}

Vector3* Vec3Scale(Vector3* out, const Vector3* v, float s) {
    *out = Vector3{v->x * s, v->y * s, v->z * s};
    return out;
}

float Vec3Dot(const Vector3* a, const Vector3* b) {
    return a->x * b->x + a->y * b->y + a->z * b->z;
}

Vector3* Vec3Cross(Vector3* out, const Vector3* a, const Vector3* b) {
    *out = Vector3{a->y * b->z - a->z * b->y,
                   a->z * b->x - a->x * b->z,
                   a->x * b->y - a->y * b->x};
    return out;
}

float Vec3Length(float x, float y, float z) {
    return std::sqrt(x * x + y * y + z * z);
}

float Vec3Distance(float x1, float y1, float z1, float x2, float y2, float z2) {
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float dz = z2 - z1;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

Vector3* Vec3Normalize(Vector3* out, const Vector3* v) {
    const Vector3 in = *v;
    const float lengthSquared = in.x * in.x + in.y * in.y + in.z * in.z;
    const float offUnit = lengthSquared - 1.0f;
    if (offUnit >= -kUnitLengthTolerance && offUnit <= kUnitLengthTolerance) {
        *out = in;
    } else if (lengthSquared > kZeroLengthThreshold) {
        const float inverseLength = 1.0f / std::sqrt(lengthSquared);
        *out = Vector3{in.x * inverseLength, in.y * inverseLength, in.z * inverseLength};
    } else {
        *out = Vector3{0.0f, 0.0f, 0.0f};
    }
    return out;
}

Vector3* Vec3Lerp(Vector3* out, const Vector3* a, const Vector3* b, float s) {
    *out = Vector3{a->x + s * (b->x - a->x),
                   a->y + s * (b->y - a->y),
                   a->z + s * (b->z - a->z)};
    return out;
}

Vector2* Vec2Lerp(Vector2* out, const Vector2* a, const Vector2* b, float s) {
    *out = Vector2{a->x + s * (b->x - a->x), a->y + s * (b->y - a->y)};
    return out;
}

Vector3* Vec3TransformCoord(Vector3* out, const Vector3* p, const Matrix4x4* m) {
    const Vector3 in = *p;
    const float(*e)[4] = m->m;
    const float x = in.x * e[0][0] + in.y * e[1][0] + in.z * e[2][0] + e[3][0];
    const float y = in.x * e[0][1] + in.y * e[1][1] + in.z * e[2][1] + e[3][1];
    const float z = in.x * e[0][2] + in.y * e[1][2] + in.z * e[2][2] + e[3][2];
    const float w = in.x * e[0][3] + in.y * e[1][3] + in.z * e[2][3] + e[3][3];
    const float offUnit = w - 1.0f;
    if (offUnit >= -kUnitLengthTolerance && offUnit <= kUnitLengthTolerance) {
        *out = Vector3{x, y, z};
    } else {
        const float inverseW = 1.0f / w;  // w = 0 is the caller's affair: only affine matrices come here
        *out = Vector3{x * inverseW, y * inverseW, z * inverseW};
    }
    return out;
}

}  // namespace brontal
