#include "geometry/collision_triangles.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "geometry/queries.h"

namespace brontal {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

// A block's lanes as one value: a GNU vector type, which GCC and clang turn into the machine's
// vector instructions (or into plain scalar code where it has none). Lane arithmetic is ordinary
// IEEE single precision, so each lane rounds exactly as the scalar expression would.
using Lanes = float __attribute__((vector_size(kPlaneBlockWidth * sizeof(float))));
using LaneFlags = std::int32_t __attribute__((vector_size(kPlaneBlockWidth * sizeof(float))));

Lanes Load(const float (&lanes)[kPlaneBlockWidth]) {
    Lanes v;
    std::memcpy(&v, lanes, sizeof v);
    return v;
}

// Which lanes of a block the sphere straddles: all bits set in lane j when |s| < collisionRadius
// for s = N . C + d summed as ClassifySphere sums it (x, y and z products left to right, then d).
// |s| < r is written -r < s < r: the same test, and false for a distance that is not a number.
LaneFlags Straddling(const PlaneBlock& block, const Vector3& centre) {
    const Lanes s = Load(block.normalX) * centre.x + Load(block.normalY) * centre.y + Load(block.normalZ) * centre.z +
                    Load(block.planeConstant);
    return (s < collisionRadius) & (s > -collisionRadius);
}

bool AnyLane(const LaneFlags& flags) {
    std::uint64_t words[sizeof flags / sizeof(std::uint64_t)];
    std::memcpy(words, &flags, sizeof words);
    std::uint64_t any = 0;
    for (const std::uint64_t word : words) any |= word;
    return any != 0;
}

unsigned LaneMask(const LaneFlags& flags) {
    unsigned mask = 0;
    for (std::size_t lane = 0; lane < kPlaneBlockWidth; ++lane)
        if (flags[lane] != 0) mask |= 1u << lane;
    return mask;
}

// The first block from first on that has a straddled lane (or last when none has), with the mask
// of its straddled lanes. Most blocks have none: this loop is where a frame's collision time goes.
std::size_t NextStraddledBlock(const PlaneBlock* blocks, std::size_t first, std::size_t last, const Vector3& centre,
                               unsigned& mask) {
    for (std::size_t b = first; b < last; ++b) {
        const LaneFlags flags = Straddling(blocks[b], centre);
        if (AnyLane(flags)) {
            mask = LaneMask(flags);
            return b;
        }
    }
    return last;
}

unsigned StraddleMask(const PlaneBlock& block, const Vector3& centre) {
    return LaneMask(Straddling(block, centre));
}

bool WithinSideTestLimit(const Vector3& p) {
    return std::fabs(p.x) <= kSideTestCoordinateLimit && std::fabs(p.y) <= kSideTestCoordinateLimit &&
           std::fabs(p.z) <= kSideTestCoordinateLimit;
}

// True when the centre lies so far to the side of the triangle that the touch test must fail.
bool LiesToTheSide(const Vector3& centre, const PreparedTriangle& triangle) {
    if (!WithinSideTestLimit(centre)) return false;
    for (int i = 0; i < 3; ++i) {
        const Vector3& m = triangle.sideNormal[i];
        if (m.x * centre.x + m.y * centre.y + m.z * centre.z - triangle.sideConstant[i] > triangle.sideMargin) return true;
    }
    return false;
}

// Steps 3 to 8 of the push-out for one straddled lane, with the normal computed at preparation.
bool CollideLane(Vector3& position, const PlaneBlock& block, unsigned lane, const PreparedTriangle& triangle) {
    if (LiesToTheSide(position, triangle)) return false;
    const Vector3 normal{block.normalX[lane], block.normalY[lane], block.normalZ[lane]};
    float distance = 0.0f;
    if (ClassifySphere(position, normal, triangle.corners[0], collisionRadius, &distance) != SphereSide::Straddling)
        return false;
    return PushOutOfTriangle(position, normal, distance, triangle.corners);
}

// Preparation works in double, where the products of floats are exact.
struct Vec3d {
    double x, y, z;
};

Vec3d ToDouble(const Vector3& v) { return {v.x, v.y, v.z}; }
Vec3d Minus(const Vec3d& a, const Vec3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Vec3d& a, const Vec3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3d Cross(const Vec3d& a, const Vec3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(const Vec3d& v) { return std::sqrt(Dot(v, v)); }

// The nearest float at or above value.
float RoundUp(double value) {
    const float f = static_cast<float>(value);
    return static_cast<double>(f) < value ? std::nextafter(f, kInfinity) : f;
}

// Fills the side test of a triangle with this normal and plane constant, or leaves it off
// (infinite margin) when the triangle does not meet its conditions.
void PrepareSideTest(PreparedTriangle& triangle, const Vector3& normal, float planeConstant) {
    triangle.sideMargin = kInfinity;
    for (int i = 0; i < 3; ++i) {
        triangle.sideNormal[i] = {0.0f, 0.0f, 0.0f};
        triangle.sideConstant[i] = 0.0f;
    }
    for (const Vector3& corner : triangle.corners)
        if (!WithinSideTestLimit(corner)) return;
    const Vec3d n = ToDouble(normal);
    const double normalLength = Length(n);
    if (!(normalLength > 0.5)) return;  // no normal: a degenerate triangle always gets the full test
    const Vec3d unit{n.x / normalLength, n.y / normalLength, n.z / normalLength};

    const Vec3d corners[3] = {ToDouble(triangle.corners[0]), ToDouble(triangle.corners[1]), ToDouble(triangle.corners[2])};
    double longestEdge = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double fromPlane = std::fabs(Dot(n, corners[i]) + planeConstant) / normalLength;
        if (!(fromPlane <= kFlatTolerance)) return;
        longestEdge = std::max(longestEdge, Length(Minus(corners[(i + 1) % 3], corners[i])));
    }

    Vector3 sideNormal[3];
    float sideConstant[3];
    for (int i = 0; i < 3; ++i) {
        const Vec3d& a = corners[i];
        const Vec3d& b = corners[(i + 1) % 3];
        const Vec3d& opposite = corners[(i + 2) % 3];
        Vec3d m = Cross(unit, Minus(b, a));
        const double length = Length(m);
        if (!(length > 0.0)) return;
        m = {m.x / length, m.y / length, m.z / length};
        if (Dot(m, Minus(opposite, a)) > 0.0) m = {-m.x, -m.y, -m.z};
        // The largest of the three corners' values, so that all of them lie on the inner side.
        const double constant = std::max({Dot(m, a), Dot(m, b), Dot(m, opposite)});
        sideNormal[i] = {static_cast<float>(m.x), static_cast<float>(m.y), static_cast<float>(m.z)};
        sideConstant[i] = RoundUp(constant);
    }
    for (int i = 0; i < 3; ++i) {
        triangle.sideNormal[i] = sideNormal[i];
        triangle.sideConstant[i] = sideConstant[i];
    }
    triangle.sideMargin = RoundUp(std::max(0.1 * longestEdge, static_cast<double>(kEdgeTouchRadius)) + 1.0);
}

PlaneBlock EmptyBlock() {
    PlaneBlock block;
    for (std::size_t lane = 0; lane < kPlaneBlockWidth; ++lane) {
        block.normalX[lane] = 0.0f;
        block.normalY[lane] = 0.0f;
        block.normalZ[lane] = 0.0f;
        block.planeConstant[lane] = kInfinity;  // 0 * c + infinity is never below the radius
    }
    return block;
}

void AddTriangle(CollisionTriangles& list, const Vector3 (&corners)[3]) {
    const Vector3 normal = TriangleNormal(corners[0], corners[1], corners[2]);
    const float planeConstant = PlaneConstant(normal, corners[0]);

    const std::size_t lane = list.triangles.size() % kPlaneBlockWidth;
    if (lane == 0) list.blocks.push_back(EmptyBlock());
    PlaneBlock& block = list.blocks.back();
    block.normalX[lane] = normal.x;
    block.normalY[lane] = normal.y;
    block.normalZ[lane] = normal.z;
    block.planeConstant[lane] = planeConstant;

    PreparedTriangle triangle;
    std::copy(std::begin(corners), std::end(corners), triangle.corners);
    PrepareSideTest(triangle, normal, planeConstant);
    list.triangles.push_back(triangle);
}

}  // namespace

void AppendCollisionTriangles(CollisionTriangles& list, const PositionView& positions, const std::uint16_t* indices,
                              std::size_t triangleCount) {
    for (std::size_t k = 0; k < triangleCount; ++k) {
        const std::uint16_t* triple = indices + 3 * k;
        if (triple[0] >= positions.count || triple[1] >= positions.count || triple[2] >= positions.count) continue;
        const Vector3 corners[3] = {positions[triple[0]], positions[triple[1]], positions[triple[2]]};
        AddTriangle(list, corners);
    }
}

void CollideSphere(Vector3& position, const CollisionTriangles& list) {
    const std::size_t blockCount = list.blocks.size();
    unsigned pending = 0;
    for (std::size_t b = 0; (b = NextStraddledBlock(list.blocks.data(), b, blockCount, position, pending)) < blockCount;
         ++b) {
        const PlaneBlock& block = list.blocks[b];
        while (pending != 0) {
            const auto lane = static_cast<unsigned>(std::countr_zero(pending));
            pending &= pending - 1;
            if (CollideLane(position, block, lane, list.triangles[b * kPlaneBlockWidth + lane])) {
                // The centre moved: the later lanes of this block are tested again from where it is now.
                pending = StraddleMask(block, position) & (~0u << (lane + 1));
            }
        }
    }
}

}  // namespace brontal
