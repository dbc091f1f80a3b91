// The prepared triangles against the straightforward push-out, bit for bit: random soups of every
// shape (floors, walls, slivers, degenerate and near-unit triangles, huge coordinates), centres
// near their planes so that pushes chain, and the places where the side test decides.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "geometry/collision.h"
#include "geometry/collision_triangles.h"
#include "geometry/queries.h"
#include "math/vector3.h"

namespace brontal {
namespace {

// The push-out exactly as the game's rules state it, one query after the other.
void ReferenceCollide(Vector3& position, const std::vector<Vector3>& corners, const std::vector<std::uint16_t>& indices) {
    for (std::size_t k = 0; k + 2 < indices.size(); k += 3) {
        if (indices[k] >= corners.size() || indices[k + 1] >= corners.size() || indices[k + 2] >= corners.size()) continue;
        const Vector3 triangle[3] = {corners[indices[k]], corners[indices[k + 1]], corners[indices[k + 2]]};
        const Vector3 normal = TriangleNormal(triangle[0], triangle[1], triangle[2]);
        float s = 0.0f;
        if (ClassifySphere(position, normal, triangle[0], 25.0f, &s) != SphereSide::Straddling) continue;
        Vector3 towardPlane;
        Vector3 foot;
        Vec3Subtract(&foot, &position, Vec3Scale(&towardPlane, &normal, s));
        if (!PointInPolygon(foot, triangle, 3) && !SphereTouchesEdges(position, triangle, 3, 12.5f)) continue;
        const Vector3 push = PushOutVector(normal, 25.0f, s);
        Vec3Add(&position, &position, &push);
    }
}

bool SameBits(const Vector3& a, const Vector3& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Soup {
    std::vector<Vector3> corners;
    std::vector<std::uint16_t> indices;

    void Add(Vector3 a, Vector3 b, Vector3 c) {
        const auto first = static_cast<std::uint16_t>(corners.size());
        corners.insert(corners.end(), {a, b, c});
        indices.insert(indices.end(), {first, static_cast<std::uint16_t>(first + 1), static_cast<std::uint16_t>(first + 2)});
    }
    CollisionTriangles Prepared() const {
        CollisionTriangles list;
        AppendCollisionTriangles(list, ViewOfPositions(corners.data(), corners.size()), indices.data(), indices.size() / 3);
        return list;
    }
};

// Runs the three paths from centre and expects the same bits; returns whether it moved.
bool ExpectSamePositions(const Soup& soup, const CollisionTriangles& prepared, Vector3 centre, int trial) {
    Vector3 reference = centre;
    ReferenceCollide(reference, soup.corners, soup.indices);
    Vector3 onArrays = centre;
    CollideSphere(onArrays, ViewOfPositions(soup.corners.data(), soup.corners.size()), soup.indices.data(),
                  soup.indices.size() / 3);
    Vector3 fromPrepared = centre;
    CollideSphere(fromPrepared, prepared);
    EXPECT_TRUE(SameBits(reference, onArrays)) << "trial " << trial;
    EXPECT_TRUE(SameBits(reference, fromPrepared))
        << "trial " << trial << ": " << reference.x << " " << reference.y << " " << reference.z << " vs "
        << fromPrepared.x << " " << fromPrepared.y << " " << fromPrepared.z;
    return !SameBits(reference, centre);
}

// Triangles of one of several kinds round a point, and centres close to them.
class RandomSoups {
public:
    explicit RandomSoups(unsigned seed) : random_(seed) {}

    Soup MakeSoup(float scale) {
        Soup soup;
        const int count = std::uniform_int_distribution<int>(1, 40)(random_);
        for (int i = 0; i < count; ++i) {
            const Vector3 a = Point(scale);
            switch (std::uniform_int_distribution<int>(0, 5)(random_)) {
                case 0:  // a floor or ceiling tile
                    soup.Add(a, {a.x, a.y, a.z + Size(scale)}, {a.x + Size(scale), a.y, a.z});
                    break;
                case 1:  // a wall tile
                    soup.Add(a, {a.x, a.y + Size(scale), a.z}, {a.x, a.y, a.z + Size(scale)});
                    break;
                case 2: {  // a sliver: the third corner barely off the first edge
                    const Vector3 b{a.x + Size(scale), a.y + Size(scale), a.z + Size(scale)};
                    const float t = Unit();
                    const float off = Unit() * 1e-3f;
                    soup.Add(a, b, {a.x + t * (b.x - a.x) + off, a.y + t * (b.y - a.y), a.z + t * (b.z - a.z) - off});
                    break;
                }
                case 3: {  // degenerate: collinear or repeated corners
                    const Vector3 b{a.x + Size(scale), a.y, a.z + Size(scale)};
                    soup.Add(a, b, Unit() < 0.5f ? a : Vector3{2 * b.x - a.x, 2 * b.y - a.y, 2 * b.z - a.z});
                    break;
                }
                case 4:  // small, with a cross product near unit length
                    soup.Add(a, {a.x + 1.0f, a.y, a.z}, {a.x, a.y, a.z + 1.0f + Unit() * 1e-6f});
                    break;
                default:
                    soup.Add(a, Point(scale), Point(scale));
                    break;
            }
        }
        if (Unit() < 0.2f) soup.indices.push_back(static_cast<std::uint16_t>(soup.corners.size() + 3));  // a partial triple
        if (Unit() < 0.2f) soup.indices.insert(soup.indices.end(), {0, 1, static_cast<std::uint16_t>(soup.corners.size())});
        return soup;
    }

    // Near a corner, the middle of a triangle or its plane, or anywhere.
    Vector3 Centre(const Soup& soup, float scale) {
        const Vector3& a = soup.corners[std::uniform_int_distribution<std::size_t>(0, soup.corners.size() - 1)(random_)];
        const float reach = Unit() < 0.5f ? 30.0f : scale;
        return {a.x + Signed() * reach, a.y + Signed() * reach, a.z + Signed() * reach};
    }

    float Unit() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(random_); }
    float Signed() { return std::uniform_real_distribution<float>(-1.0f, 1.0f)(random_); }

private:
    Vector3 Point(float scale) { return {Signed() * scale, Signed() * scale, Signed() * scale}; }
    float Size(float scale) { return Signed() * scale * 0.5f; }
    std::mt19937 random_;
};

TEST(PreparedTriangles, SamePositionsAsTheStraightforwardPushOutOnRandomSoups) {
    RandomSoups soups(2024);
    int moved = 0;
    int trial = 0;
    for (const float scale : {40.0f, 300.0f, 3000.0f, 2.0e5f}) {
        for (int s = 0; s < 300; ++s) {
            const Soup soup = soups.MakeSoup(scale);
            const CollisionTriangles prepared = soup.Prepared();
            for (int c = 0; c < 60; ++c) moved += ExpectSamePositions(soup, prepared, soups.Centre(soup, scale), trial++);
        }
    }
    EXPECT_GT(moved, 2000);  // the pushes, and chains of them, are exercised, not only rejections
}

// Long triangles seen from just outside an edge, where the angle sum still counts the foot as
// inside (a few thousandths of the edge's length out), and centres round the side margin.
TEST(PreparedTriangles, SamePositionsRoundTheSideTestsMargin) {
    RandomSoups soups(77);
    int moved = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        const float length = 20.0f + soups.Unit() * 4000.0f;
        const float height = 1.0f + soups.Unit() * 2000.0f;
        Soup soup;
        // Edge 0 runs along x from the origin; the triangle lies towards +z.
        soup.Add({0, 0, 0}, {length, 0, 0}, {soups.Unit() * length, 0, height});
        const float margin = std::max(0.1f * std::max(length, height), 12.5f) + 1.0f;
        const float out = trial % 2 ? soups.Unit() * 0.01f * length : margin * (0.9f + 0.2f * soups.Unit());
        const Vector3 centre{soups.Unit() * length, soups.Signed() * 26.0f, -out};
        moved += ExpectSamePositions(soup, soup.Prepared(), centre, trial);
    }
    EXPECT_GT(moved, 5000);
}

TEST(PreparedTriangles, APushRetestsTheLaterTrianglesOfTheSameBlock) {
    // Lane 0 pushes the centre from x = 90 to 75 (wall in x = 100, normal -x); lane 1, a wall in
    // x = 52 facing +x, is 38 away before that push and 23 after it, so it pushes to x = 77.
    Soup soup;
    soup.Add({100, 0, -300}, {100, 400, -300}, {100, 0, 300});
    soup.Add({52, 0, -300}, {52, 0, 300}, {52, 400, -300});
    const Vector3 start{90, 100, 0};
    const CollisionTriangles prepared = soup.Prepared();
    ASSERT_TRUE(ExpectSamePositions(soup, prepared, start, 0));
    Vector3 centre = start;
    CollideSphere(centre, prepared);
    EXPECT_FLOAT_EQ(centre.x, 77.0f);
}

TEST(PreparedTriangles, BlocksFillInOrderAndSkipTrianglesBeyondTheView) {
    Soup soup;
    for (int i = 0; i < 9; ++i) {
        const float y = 30.0f * static_cast<float>(i);
        soup.Add({-100, y, -100}, {-100, y, 100}, {100, y, -100});
    }
    soup.indices.insert(soup.indices.end(), {0, 1, 99});
    const CollisionTriangles prepared = soup.Prepared();
    ASSERT_EQ(prepared.triangles.size(), 9u);
    ASSERT_EQ(prepared.blocks.size(), (9 + kPlaneBlockWidth - 1) / kPlaneBlockWidth);
    const std::size_t last = 8;
    // Wound so that the normal points down: d = -(-1 * 240).
    EXPECT_EQ(prepared.blocks[last / kPlaneBlockWidth].normalY[last % kPlaneBlockWidth], -1.0f);
    EXPECT_EQ(prepared.blocks[last / kPlaneBlockWidth].planeConstant[last % kPlaneBlockWidth], 240.0f);
    EXPECT_EQ(prepared.triangles[last].corners[0].y, 240.0f);
    for (float y = -40.0f; y < 280.0f; y += 3.7f) ExpectSamePositions(soup, prepared, {-50, y, -50}, static_cast<int>(y));
}

TEST(PreparedTriangles, CentresThatAreNotFiniteAreLeftAsTheyAre) {
    Soup soup;
    soup.Add({-100, 0, -100}, {-100, 0, 100}, {100, 0, -100});
    const CollisionTriangles prepared = soup.Prepared();
    const float inf = std::numeric_limits<float>::infinity();
    for (const Vector3 centre : {Vector3{inf, 10, 0}, Vector3{0, std::nanf(""), 0}, Vector3{-50, -inf, -50}})
        EXPECT_FALSE(ExpectSamePositions(soup, prepared, centre, 0));
    Vector3 zero{-0.0f, 10.0f, -0.0f};  // signed zeros keep their sign through a push
    ExpectSamePositions(soup, prepared, zero, 1);
}

}  // namespace
}  // namespace brontal
