#include "geometry/collision.h"

#include <cmath>

#include "geometry/queries.h"
#include "math/vector3.h"

namespace brontal {

namespace {

// The plane test of every triangle, written out so that it inlines: the same operations in the
// same order as TriangleNormal and ClassifySphere (edge to the third corner crossed with the edge
// to the second, normalised by 1/sqrt of the squared length unless that is within the unit
// tolerance of 1 or at most the zero threshold; signed distance n.c - n.p). Most triangles of a
// room end here, so this is where the frame's time goes; a test holds it to the queries.
inline bool StraddlesPlane(const Vector3& centre, const Vector3& c0, const Vector3& c1, const Vector3& c2) {
    const float e1x = c1.x - c0.x, e1y = c1.y - c0.y, e1z = c1.z - c0.z;
    const float e2x = c2.x - c0.x, e2y = c2.y - c0.y, e2z = c2.z - c0.z;
    float nx = e2y * e1z - e2z * e1y;
    float ny = e2z * e1x - e2x * e1z;
    float nz = e2x * e1y - e2y * e1x;
    const float lengthSquared = nx * nx + ny * ny + nz * nz;
    const float offUnit = lengthSquared - 1.0f;
    if (!(offUnit >= -kUnitLengthTolerance && offUnit <= kUnitLengthTolerance)) {
        if (lengthSquared > kZeroLengthThreshold) {
            const float inverseLength = 1.0f / std::sqrt(lengthSquared);
            nx = nx * inverseLength;
            ny = ny * inverseLength;
            nz = nz * inverseLength;
        } else {
            return true;  // zero normal: distance 0 straddles any positive radius
        }
    }
    const float d = -(nx * c0.x + ny * c0.y + nz * c0.z);
    const float s = nx * centre.x + ny * centre.y + nz * centre.z + d;
    return std::fabs(s) < collisionRadius;
}

}  // namespace

bool PlaneTestStraddles(const Vector3& centre, const Vector3& c0, const Vector3& c1, const Vector3& c2) {
    return StraddlesPlane(centre, c0, c1, c2);
}

bool PushOutOfTriangle(Vector3& position, const Vector3& normal, float distance, const Vector3 corners[3]) {
    Vector3 towardPlane;
    Vec3Scale(&towardPlane, &normal, distance);
    Vector3 foot;
    Vec3Subtract(&foot, &position, &towardPlane);
    const bool touches = PointInPolygon(foot, corners, 3) || SphereTouchesEdges(position, corners, 3, kEdgeTouchRadius);
    if (!touches) return false;

    const Vector3 push = PushOutVector(normal, collisionRadius, distance);
    Vec3Add(&position, &position, &push);
    return true;
}

void CollideSphere(Vector3& position, const PositionView& positions, const std::uint16_t* indices,
                   std::size_t triangleCount) {
    for (std::size_t k = 0; k < triangleCount; ++k) {
        const std::uint16_t* triple = indices + 3 * k;
        if (triple[0] >= positions.count || triple[1] >= positions.count || triple[2] >= positions.count) continue;
        const Vector3 corners[3] = {positions[triple[0]], positions[triple[1]], positions[triple[2]]};

        // The cheap plane test first: most triangles of a room are farther than the radius.
        if (!StraddlesPlane(position, corners[0], corners[1], corners[2])) continue;
        const Vector3 normal = TriangleNormal(corners[0], corners[1], corners[2]);
        float distance = 0.0f;
        if (ClassifySphere(position, normal, corners[0], collisionRadius, &distance) != SphereSide::Straddling) continue;
        PushOutOfTriangle(position, normal, distance, corners);
    }
}

}  // namespace brontal
