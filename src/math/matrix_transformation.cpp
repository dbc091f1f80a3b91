// The composite scaling / rotation / translation matrix.
#include "math/matrix.h"

namespace brontal {

namespace {

// out * T(v) for an affine out: the translation adds to row 3.
void AddToTranslationRow(Matrix4x4* out, float x, float y, float z) {
    out->m[3][0] += x;
    out->m[3][1] += y;
    out->m[3][2] += z;
}

Matrix4x4 Transposed(const Matrix4x4& m) {
    Matrix4x4 t;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            t.m[i][j] = m.m[j][i];
        }
    }
    return t;
}

// Scaling along the axes of the frame sr, about the point sc:
// T(-sc) * Rs' * S * Rs * T(sc), or just S when there is no scaling frame.
void BuildScalingPart(Matrix4x4* out, const Vector3* sc, const Quaternion* sr, const Vector3* s) {
    if (s == nullptr) {
        MatrixIdentity(out);
        return;
    }
    Matrix4x4 scaling;
    MatrixScaling(&scaling, s->x, s->y, s->z);
    if (sr == nullptr) {
        *out = scaling;
        return;
    }
    Matrix4x4 frame;
    MatrixRotationQuaternion(&frame, sr);
    const Matrix4x4 frameTransposed = Transposed(frame);
    if (sc != nullptr) {
        MatrixTranslation(out, -sc->x, -sc->y, -sc->z);
        MatrixMultiply(out, out, &frameTransposed);
    } else {
        *out = frameTransposed;
    }
    MatrixMultiply(out, out, &scaling);
    MatrixMultiply(out, out, &frame);
    if (sc != nullptr) {
        AddToTranslationRow(out, sc->x, sc->y, sc->z);
    }
}

}  // namespace

Matrix4x4* MatrixTransformation(Matrix4x4* out, const Vector3* scalingCentre,
                                const Quaternion* scalingRotation, const Vector3* scaling,
                                const Vector3* rotationCentre, const Quaternion* rotation,
                                const Vector3* translation) {
    // Built in a local and stored once at the end, so out's previous contents are never read.
    Matrix4x4 result;
    BuildScalingPart(&result, scalingCentre, scalingRotation, scaling);

    if (rotation != nullptr) {
        Matrix4x4 spin;
        MatrixRotationQuaternion(&spin, rotation);
        if (rotationCentre != nullptr) {
            AddToTranslationRow(&result, -rotationCentre->x, -rotationCentre->y,
                                -rotationCentre->z);
            MatrixMultiply(&result, &result, &spin);
            AddToTranslationRow(&result, rotationCentre->x, rotationCentre->y,
                                rotationCentre->z);
        } else {
            MatrixMultiply(&result, &result, &spin);
        }
    }

    if (translation != nullptr) {
        AddToTranslationRow(&result, translation->x, translation->y, translation->z);
    }
    *out = result;
    return out;
}

}  // namespace brontal
