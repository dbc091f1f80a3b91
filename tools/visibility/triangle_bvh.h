#pragma once
// A bounding-volume hierarchy over a level's triangles, for the rays of the visibility
// computation. Only a face turned towards the ray counts: the game culls triangles whose corners
// run counter-clockwise on screen, so a wall seen from its back is not drawn and does not hide
// what lies behind it.
#include <cstdint>
#include <vector>

#include "math/types.h"

namespace brontal {

struct SightTriangle {
    Vector3 corner0{};
    Vector3 edge1{}, edge2{};  // corner1 - corner0, corner2 - corner0
    std::uint16_t room = 0;    // the room whose draw submits it
    bool seeThrough = false;   // a '!' surface, a non-solid object or a texture with cut-out texels
};

inline constexpr std::uint32_t kNoTriangle = 0xFFFFFFFFu;

struct RayHit {
    float distance = 0.0f;  // along a unit direction
    std::uint32_t triangle = 0;
    // A second face met at the same distance (within rounding): coplanar faces of two rooms
    // fight for the same pixels in the depth test, so either may show.
    std::uint32_t tie = kNoTriangle;
};

class TriangleBvh {
public:
    explicit TriangleBvh(std::vector<SightTriangle> triangles);

    // The nearest front face along origin + t * direction with t > minDistance; false when the
    // ray meets none. With passed, see-through faces and faces nearer than nearPlane do not
    // stop the ray: they are added to passed instead (those farther than the face that stops
    // it among them; the caller drops them).
    bool Nearest(const Vector3& origin, const Vector3& direction, float minDistance, RayHit& hit,
                 std::vector<RayHit>* passed = nullptr, float nearPlane = 0.0f) const;

    const std::vector<SightTriangle>& Triangles() const { return triangles_; }

private:
    struct Node {
        Vector3 boxMin, boxMax;
        std::uint32_t first, count;  // a leaf's triangles; count 0 for an inner node
        std::uint32_t left, right;   // an inner node's children
    };
    std::uint32_t Build(std::uint32_t first, std::uint32_t count);

    std::vector<SightTriangle> triangles_;
    std::vector<Node> nodes_;
};

}  // namespace brontal
