#pragma once
// Matrix operations on row-vector matrices (translation in row 3). Output first; the output may
// be the same object as any input, and the result is then what separate storage would give.
#include "math/types.h"

namespace brontal {

Matrix4x4* MatrixIdentity(Matrix4x4* out);
Matrix4x4* MatrixMultiply(Matrix4x4* out, const Matrix4x4* a, const Matrix4x4* b);
// General 4x4 inverse by cofactors. Stores the determinant when asked (even on failure);
// returns nullptr and leaves out untouched when 1/det is not finite.
Matrix4x4* MatrixInverse(Matrix4x4* out, float* determinant, const Matrix4x4* m);
Matrix4x4* MatrixTranslation(Matrix4x4* out, float x, float y, float z);
Matrix4x4* MatrixScaling(Matrix4x4* out, float sx, float sy, float sz);
Matrix4x4* MatrixRotationX(Matrix4x4* out, float angle);
Matrix4x4* MatrixRotationY(Matrix4x4* out, float angle);
Matrix4x4* MatrixRotationZ(Matrix4x4* out, float angle);
Matrix4x4* MatrixRotationAxis(Matrix4x4* out, const Vector3* axis, float angle);
Matrix4x4* MatrixRotationQuaternion(Matrix4x4* out, const Quaternion* q);
Matrix4x4* MatrixPerspectiveFovLH(Matrix4x4* out, float fovY, float aspect, float zNear, float zFar);
// Every pointer but out may be null.
Matrix4x4* MatrixTransformation(Matrix4x4* out, const Vector3* scalingCentre,
                                const Quaternion* scalingRotation, const Vector3* scaling,
                                const Vector3* rotationCentre, const Quaternion* rotation,
                                const Vector3* translation);

}  // namespace brontal
