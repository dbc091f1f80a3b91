#pragma once
// Sphere push-out collision. The player's position is the centre of a sphere of radius
// collisionRadius; every triangle it overlaps pushes the centre straight out along the
// triangle's normal until it rests exactly collisionRadius from the plane, on the side it was
// on (the back side when it lay in the plane). Only the distance from the plane changes, so
// movement along a wall goes through and the player slides. No sweep, no second pass: each
// triangle is examined once, in order, from the position the earlier ones left.
//
// A triangle counts as touched when the foot of the perpendicular lies inside it (angle-sum
// test, which admits points on and just beyond an edge), or else when one of its edges is
// nearer than kEdgeTouchRadius (half the radius, not the radius).
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "math/types.h"

namespace brontal {

inline constexpr float collisionRadius = 25.0f;
inline constexpr float kEdgeTouchRadius = collisionRadius / 2.0f;

// Positions read in place: x, y, z as three consecutive floats at first + i * strideBytes. Reads
// a level's vertices (20 bytes apart) or a Vector3 array (12 apart) without copying them.
struct PositionView {
    const unsigned char* first = nullptr;
    std::size_t strideBytes = sizeof(Vector3);
    std::size_t count = 0;

    Vector3 operator[](std::size_t i) const {
        Vector3 p;
        std::memcpy(&p, first + i * strideBytes, sizeof p);
        return p;
    }
};

inline PositionView ViewOfPositions(const void* firstX, std::size_t strideBytes, std::size_t count) {
    return PositionView{static_cast<const unsigned char*>(firstX), strideBytes, count};
}

inline PositionView ViewOfPositions(const Vector3* points, std::size_t count) {
    return ViewOfPositions(points, sizeof(Vector3), count);
}

// The plane test alone, as CollideSphere runs it before anything else: true when the sphere of
// collisionRadius at centre straddles the triangle's plane (ClassifySphere would say Straddling).
bool PlaneTestStraddles(const Vector3& centre, const Vector3& corner0, const Vector3& corner1, const Vector3& corner2);

// Steps after the plane test, for a triangle whose plane the sphere straddles at signed distance
// distance (from ClassifySphere with this normal): when the sphere touches the triangle, moves
// position out to collisionRadius from the plane and returns true.
bool PushOutOfTriangle(Vector3& position, const Vector3& normal, float distance, const Vector3 corners[3]);

// Pushes position out of triangleCount triangles given as index triples into positions. A
// triangle naming a position beyond the view is skipped: a level the reader accepted has none.
void CollideSphere(Vector3& position, const PositionView& positions, const std::uint16_t* indices,
                   std::size_t triangleCount);

}  // namespace brontal
