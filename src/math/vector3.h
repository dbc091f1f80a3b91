#pragma once
// Vector operations. Output first; the output may be the same object as any input.
#include "math/types.h"

namespace brontal {

Vector3* Vec3Add(Vector3* out, const Vector3* a, const Vector3* b);
Vector3* Vec3Subtract(Vector3* out, const Vector3* a, const Vector3* b);
Vector3* Vec3Scale(Vector3* out, const Vector3* v, float s);
float Vec3Dot(const Vector3* a, const Vector3* b);
Vector3* Vec3Cross(Vector3* out, const Vector3* a, const Vector3* b);
float Vec3Length(float x, float y, float z);
float Vec3Distance(float x1, float y1, float z1, float x2, float y2, float z2);
// Unchanged when the squared length is within kUnitLengthTolerance of 1; zero when it is at or
// below kZeroLengthThreshold; otherwise scaled by 1/sqrt(squared length).
Vector3* Vec3Normalize(Vector3* out, const Vector3* v);
Vector3* Vec3Lerp(Vector3* out, const Vector3* a, const Vector3* b, float s);
Vector2* Vec2Lerp(Vector2* out, const Vector2* a, const Vector2* b, float s);
// (x, y, z, 1) * M, divided by w unless w is within kUnitLengthTolerance of 1. w = 0 is not guarded.
Vector3* Vec3TransformCoord(Vector3* out, const Vector3* p, const Matrix4x4* m);

}  // namespace brontal
