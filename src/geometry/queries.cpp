#include "geometry/queries.h"

#include <cmath>

#include "math/vector3.h"

namespace brontal {

Vector3 TriangleNormal(const Vector3& corner0, const Vector3& corner1, const Vector3& corner2) {
    Vector3 toSecond;
    Vector3 toThird;
    Vec3Subtract(&toSecond, &corner1, &corner0);
    Vec3Subtract(&toThird, &corner2, &corner0);
    Vector3 normal;
    Vec3Cross(&normal, &toThird, &toSecond);
    Vec3Normalize(&normal, &normal);
    return normal;
}

float PlaneConstant(const Vector3& normal, const Vector3& point) {
    return -(normal.x * point.x + normal.y * point.y + normal.z * point.z);
}

SphereSide ClassifySphere(const Vector3& centre, const Vector3& normal, const Vector3& pointOnPlane, float radius,
                          float* signedDistance) {
    const float d = PlaneConstant(normal, pointOnPlane);
    const float s = Vec3Dot(&normal, &centre) + d;
    *signedDistance = s;
    if (std::fabs(s) < radius) return SphereSide::Straddling;
    if (s >= radius) return SphereSide::InFront;
    return SphereSide::Behind;
}

double AngleBetween(const Vector3& a, const Vector3& b) {
    const float dot = Vec3Dot(&a, &b);
    const float lengthA = Vec3Length(a.x, a.y, a.z);
    const float lengthB = Vec3Length(b.x, b.y, b.z);
    const float lengths = lengthA * lengthB;
    const double angle = std::acos(static_cast<double>(dot) / static_cast<double>(lengths));
    return std::isnan(angle) ? 0.0 : angle;
}

bool PointInPolygon(const Vector3& point, const Vector3* corners, int cornerCount) {
    double sum = 0.0;
    for (int i = 0; i < cornerCount; ++i) {
        Vector3 toThis;
        Vector3 toNext;
        Vec3Subtract(&toThis, &corners[i], &point);
        Vec3Subtract(&toNext, &corners[(i + 1) % cornerCount], &point);
        sum += AngleBetween(toThis, toNext);
    }
    return kInsideAngleSum <= sum;
}

Vector3 ClosestPointOnSegment(const Vector3& a, const Vector3& b, const Vector3& point) {
    Vector3 fromStart;
    Vec3Subtract(&fromStart, &point, &a);
    Vector3 direction;
    Vec3Subtract(&direction, &b, &a);
    Vec3Normalize(&direction, &direction);
    const float length = Vec3Distance(a.x, a.y, a.z, b.x, b.y, b.z);
    const float t = Vec3Dot(&direction, &fromStart);
    if (!(t > 0.0f)) return a;  // also when t is not a number
    if (t >= length) return b;
    Vector3 along;
    Vec3Scale(&along, &direction, t);
    Vector3 closest;
    Vec3Add(&closest, &a, &along);
    return closest;
}

bool SphereTouchesEdges(const Vector3& centre, const Vector3* corners, int cornerCount, float radius) {
    for (int i = 0; i < cornerCount; ++i) {
        const Vector3 nearest = ClosestPointOnSegment(corners[i], corners[(i + 1) % cornerCount], centre);
        if (Vec3Distance(nearest.x, nearest.y, nearest.z, centre.x, centre.y, centre.z) < radius) return true;
    }
    return false;
}

Vector3 PushOutVector(const Vector3& normal, float radius, float signedDistance) {
    const float length = signedDistance > 0.0f ? radius - signedDistance : -(radius + signedDistance);
    Vector3 offset;
    Vec3Scale(&offset, &normal, length);
    return offset;
}

}  // namespace brontal
