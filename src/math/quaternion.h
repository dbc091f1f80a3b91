#pragma once
// Rotation quaternions (x, y, z, w). Output first; the output may be an input.
#include "math/types.h"

namespace brontal {

Quaternion* QuaternionIdentity(Quaternion* out);
Quaternion* QuaternionRotationAxis(Quaternion* out, const Vector3* axis, float angle);
Quaternion* QuaternionRotationYawPitchRoll(Quaternion* out, float yaw, float pitch, float roll);
// Takes the shorter arc; not renormalised.
Quaternion* QuaternionSlerp(Quaternion* out, const Quaternion* q1, const Quaternion* q2, float t);

}  // namespace brontal
