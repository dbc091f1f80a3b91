// Rotation quaternions.
#include "math/quaternion.h"

#include <cmath>

#include "math/vector3.h"

namespace brontal {

Quaternion* QuaternionIdentity(Quaternion* out) {
    *out = Quaternion{0.0f, 0.0f, 0.0f, 1.0f};
    return out;
}

Quaternion* QuaternionRotationAxis(Quaternion* out, const Vector3* axis, float angle) {
    Vector3 n;
    Vec3Normalize(&n, axis);
    const float halfAngle = angle / 2.0f;
    const float s = std::sin(halfAngle);
    *out = Quaternion{n.x * s, n.y * s, n.z * s, std::cos(halfAngle)};
    return out;
}

Quaternion* QuaternionRotationYawPitchRoll(Quaternion* out, float yaw, float pitch, float roll) {
    const float cy = std::cos(yaw / 2.0f), sy = std::sin(yaw / 2.0f);
    const float cp = std::cos(pitch / 2.0f), sp = std::sin(pitch / 2.0f);
    const float cr = std::cos(roll / 2.0f), sr = std::sin(roll / 2.0f);
    *out = Quaternion{cy * sp * cr + sy * cp * sr,
                      sy * cp * cr - cy * sp * sr,
                      cy * cp * sr - sy * sp * cr,
                      cy * cp * cr + sy * sp * sr};
    return out;
}

Quaternion* QuaternionSlerp(Quaternion* out, const Quaternion* q1, const Quaternion* q2, float t) {
    const Quaternion a = *q1;
    const Quaternion b = *q2;
    const float d = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    // Going to -q2 when the inputs are more than a half turn apart takes the shorter arc.
    const float sign = d < 0.0f ? -1.0f : 1.0f;
    const float cosAngle = d * sign;
    float k1;
    float k2;
    if (1.0f - cosAngle > kSlerpLinearThreshold) {
        const float sinAngle = std::sqrt(1.0f - cosAngle * cosAngle);
        const float angle = std::atan2(sinAngle, cosAngle);
        k1 = std::sin((1.0f - t) * angle) / sinAngle;
        k2 = std::sin(t * angle) / sinAngle;
    } else {
        // Nearly equal rotations: sinAngle would be too small to divide by.
        k1 = 1.0f - t;
        k2 = t;
    }
    const float k2Signed = sign * k2;
    *out = Quaternion{k1 * a.x + k2Signed * b.x,
                      k1 * a.y + k2Signed * b.y,
                      k1 * a.z + k2Signed * b.z,
                      k1 * a.w + k2Signed * b.w};
    return out;
}

}  // namespace brontal
