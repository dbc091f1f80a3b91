// Planes and bounding boxes of point sets.
#include "math/plane.h"

#include <cmath>
#include <cstring>

namespace brontal {

float PlaneDotCoord(const Plane* p, const Vector3* v) {
    return p->a * v->x + p->b * v->y + p->c * v->z + p->d;
}

Plane* PlaneNormalize(Plane* out, const Plane* p) {
    const Plane in = *p;
    const float lengthSquared = in.a * in.a + in.b * in.b + in.c * in.c;
    const float offUnit = lengthSquared - 1.0f;
    if (offUnit >= -kUnitLengthTolerance && offUnit <= kUnitLengthTolerance) {
        *out = in;
    } else if (lengthSquared > kZeroLengthThreshold) {
        const float inverseLength = 1.0f / std::sqrt(lengthSquared);
        *out = Plane{in.a * inverseLength, in.b * inverseLength, in.c * inverseLength,
                     in.d * inverseLength};
    } else {
        *out = Plane{0.0f, 0.0f, 0.0f, 0.0f};
    }
    return out;
}

ResultCode ComputeBoundingBox(const Vector3* first, unsigned count, std::size_t strideBytes,
                              Vector3* minOut, Vector3* maxOut) {
    if (first == nullptr || minOut == nullptr || maxOut == nullptr) {
        return kResultInvalidCall;
    }
    if (count == 0) {
        *minOut = Vector3{0.0f, 0.0f, 0.0f};
        *maxOut = Vector3{0.0f, 0.0f, 0.0f};
        return kResultOk;
    }
    // The points may sit inside larger vertices (a 20-byte position + texture pair), so each one
    // is copied out of the byte stream rather than read through a Vector3 pointer.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(first);
    Vector3 low;
    std::memcpy(&low, bytes, sizeof low);
    Vector3 high = low;
    for (unsigned i = 1; i < count; ++i) {
        Vector3 point;
        std::memcpy(&point, bytes + static_cast<std::size_t>(i) * strideBytes, sizeof point);
        // Written without branches (the compiler's min and max instructions); the same result as
        // "lower, or else higher", since a point below the low end can never be above the high one.
        low.x = point.x < low.x ? point.x : low.x;
        high.x = point.x > high.x ? point.x : high.x;
        low.y = point.y < low.y ? point.y : low.y;
        high.y = point.y > high.y ? point.y : high.y;
        low.z = point.z < low.z ? point.z : low.z;
        high.z = point.z > high.z ? point.z : high.z;
    }
    *minOut = low;
    *maxOut = high;
    return kResultOk;
}

}  // namespace brontal
