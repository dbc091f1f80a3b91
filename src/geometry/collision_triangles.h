#pragma once
// Triangles prepared once for the sphere push-out. Room surfaces and the corners of solid
// objects never move after loading, so each triangle's normal (TriangleNormal of its three
// corners) and plane constant (PlaneConstant of that normal and corner0) are worked out here,
// once, and the per-frame plane test is a dot product and a compare.
//
// CollideSphere on a prepared list gives bit for bit the position that CollideSphere on the same
// positions and indices gives: the same triangles in the same order, the same normals, the
// signed distance summed in the order ClassifySphere sums it, the same touch and push steps.
// Two things make it faster, and neither can change a result:
// - the plane test runs on kPlaneBlockWidth triangles side by side, with the same float
//   operations in every lane;
// - a triangle whose plane the sphere straddles, but which lies well to the side of the centre,
//   skips the touch test, because that test cannot succeed there (PreparedTriangle says why).
//   The plane test itself is never skipped.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/collision.h"
#include "math/types.h"

namespace brontal {

inline constexpr std::size_t kPlaneBlockWidth = 4;

// Coordinates beyond this (of the centre or of a corner) leave every straddled triangle to the
// full touch test: up to here the rounding of the foot of the perpendicular stays below a tenth of
// a unit, well inside the slack of the side test.
inline constexpr float kSideTestCoordinateLimit = 1.0e5f;

// The planes of kPlaneBlockWidth consecutive triangles, one field per lane. Lanes past the last
// triangle have a zero normal and an infinite constant, so no centre straddles them.
struct PlaneBlock {
    float normalX[kPlaneBlockWidth];
    float normalY[kPlaneBlockWidth];
    float normalZ[kPlaneBlockWidth];
    float planeConstant[kPlaneBlockWidth];
};

// What a straddled triangle's touch test needs, and the side test that spares it.
//
// The side test: sideNormal[i] is a unit vector in the triangle's plane, square to edge i (corner
// i to corner i + 1) and pointing away from the triangle, so every corner has
// sideNormal[i] . corner <= sideConstant[i]. When sideNormal[i] . centre - sideConstant[i] >
// sideMargin for some edge, the foot of the perpendicular lies more than sideMargin outside the
// triangle, in its plane. sideMargin is max(0.1 * longest edge, kEdgeTouchRadius) + 1. Then:
// - the foot sees the triangle's edges under angles summing to at most 2 pi - 4 atan(0.2), about
//   2 pi - 0.79 (outside a triangle the sum is twice the largest angle, and an edge of length L
//   is seen under more than pi - 2 atan(2h / L) only from within h of it); the corners' distance
//   from the plane (at most kFlatTolerance), the foot's own rounding and the angles' rounding
//   add less than 0.2, so the sum stays below 0.99 of a full turn: PointInPolygon is false;
// - every edge is more than kEdgeTouchRadius + 0.9 from the centre: SphereTouchesEdges is false.
// A triangle that is not flat within kFlatTolerance of its computed plane (a sliver whose normal
// is mostly rounding), that has no normal, or that has a corner beyond kSideTestCoordinateLimit
// has an infinite sideMargin, so its touch test always runs.
struct PreparedTriangle {
    Vector3 corners[3];
    Vector3 sideNormal[3];
    float sideConstant[3];
    float sideMargin;
};

inline constexpr double kFlatTolerance = 0.125;

struct CollisionTriangles {
    std::vector<PlaneBlock> blocks;           // triangle k is lane k % width of block k / width
    std::vector<PreparedTriangle> triangles;  // in collision order
};

// Appends triangleCount triangles given as index triples into positions after those already in
// the list. A triangle naming a position beyond the view is left out, as CollideSphere skips it.
void AppendCollisionTriangles(CollisionTriangles& list, const PositionView& positions, const std::uint16_t* indices,
                              std::size_t triangleCount);

// Pushes position out of the list's triangles in order, as CollideSphere does. No allocation.
void CollideSphere(Vector3& position, const CollisionTriangles& list);

}  // namespace brontal
