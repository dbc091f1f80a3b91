#pragma once
// Sphere-against-triangle queries for the push-out collision. Free functions on values, no
// state, no allocation. All arithmetic is 32-bit float except where noted: the angle of
// AngleBetween and the angle sum of PointInPolygon are double, which is what lets a point on
// an edge of a triangle count as inside.
//
// Edge behaviour they guarantee:
// - a degenerate triangle (collinear corners) has the normal (0, 0, 0), so every sphere
//   straddles its plane (signed distance 0) and its push-out is (0, 0, 0);
// - an undefined angle (a zero-length vector, or a cosine just outside [-1, 1] by rounding)
//   counts as 0, so a corner of a polygon is not inside it;
// - a zero-length segment has its start as its closest point.
#include "math/types.h"

namespace brontal {

// Which side of a plane a sphere is on (the numbers are compared by callers).
enum class SphereSide : int { Behind = 0, Straddling = 1, InFront = 2 };

// The angle sum a point inside a polygon reaches: 0.99 of a full turn, so points on an edge and
// a little outside it count as inside.
inline constexpr double kFullTurn = 6.283185307179586;
inline constexpr double kInsideAngleSum = 0.99 * kFullTurn;

// Unit normal of (corner2 - corner0) x (corner1 - corner0), in that order.
Vector3 TriangleNormal(const Vector3& corner0, const Vector3& corner1, const Vector3& corner2);

// d of the plane through point with this normal: -(n . p).
float PlaneConstant(const Vector3& normal, const Vector3& point);

// Writes the signed distance of centre from the plane through pointOnPlane before deciding:
// Straddling when |distance| < radius, InFront when distance >= radius, Behind otherwise.
SphereSide ClassifySphere(const Vector3& centre, const Vector3& normal, const Vector3& pointOnPlane, float radius,
                          float* signedDistance);

// Angle between a and b in radians, 0 to pi; 0 when undefined.
double AngleBetween(const Vector3& a, const Vector3& b);

// Angle-sum test for a point in the polygon's plane.
bool PointInPolygon(const Vector3& point, const Vector3* corners, int cornerCount);

// The point of segment a-b nearest to point.
Vector3 ClosestPointOnSegment(const Vector3& a, const Vector3& b, const Vector3& point);

// True as soon as one edge, in corner order, is strictly nearer to centre than radius.
bool SphereTouchesEdges(const Vector3& centre, const Vector3* corners, int cornerCount, float radius);

// The offset that leaves the centre exactly radius from the plane on the side it is on; a
// centre in the plane (distance 0) goes to the back side.
Vector3 PushOutVector(const Vector3& normal, float radius, float signedDistance);

}  // namespace brontal
