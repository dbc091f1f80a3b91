#include "render/frustum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/render_fixture.h"
#include "text/recording_device.h"

namespace brontal {
namespace {

using namespace brontal::testing;

void ExpectPlane(const Plane& p, float a, float b, float c, float d, const char* what) {
    EXPECT_NEAR(p.a, a, 1e-6f) << what;
    EXPECT_NEAR(p.b, b, 1e-6f) << what;
    EXPECT_NEAR(p.c, c, 1e-6f) << what;
    // The far plane's d comes from 1 - far / (far - near), a cancellation in 32-bit floats.
    EXPECT_NEAR(p.d, d, 1e-5f * std::max(1.0f, std::fabs(d))) << what;
}

TEST(BuildFrustum, TakesTheSixPlanesFromViewTimesProjection) {
    RecordingDevice device;
    const Matrix4x4 identity = Identity(), projection = SquareProjection();
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    ViewFrustum frustum;
    frustum.SetDevice(device.get());
    frustum.BuildFrustum();
    const float r = 1.0f / std::sqrt(2.0f);
    ExpectPlane(frustum.planes[kPlaneRight], -r, 0, r, 0, "right");
    ExpectPlane(frustum.planes[kPlaneLeft], r, 0, r, 0, "left");
    ExpectPlane(frustum.planes[kPlaneBottom], 0, r, r, 0, "bottom");
    ExpectPlane(frustum.planes[kPlaneTop], 0, -r, r, 0, "top");
    ExpectPlane(frustum.planes[kPlaneFar], 0, 0, -1, 100, "far");
    ExpectPlane(frustum.planes[kPlaneNear], 0, 0, 1, -100.0f / 199.0f, "near");
}

TEST(BuildFrustum, TheViewComesFirst) {
    // The camera 10 units back along z: the right-hand plane becomes x <= z + 10.
    RecordingDevice device;
    const Matrix4x4 view = Translation(0, 0, 10), projection = SquareProjection();
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    ViewFrustum frustum;
    frustum.SetDevice(device.get());
    frustum.BuildFrustum();
    const float r = 1.0f / std::sqrt(2.0f);
    ExpectPlane(frustum.planes[kPlaneRight], -r, 0, r, 10 * r, "right");
    ExpectPlane(frustum.planes[kPlaneFar], 0, 0, -1, 90, "far");
}

TEST(BuildFrustum, WithoutADeviceThePlanesStayZero) {
    ViewFrustum frustum;
    frustum.BuildFrustum();
    for (const Plane& p : frustum.planes) {
        EXPECT_EQ(p.a, 0.0f);
        EXPECT_EQ(p.d, 0.0f);
    }
}

class FrustumTests : public ::testing::Test {
protected:
    void SetUp() override {
        // |x| <= z, |y| <= z, 1 <= z <= 100, written exactly.
        frustum.planes[kPlaneRight] = {-1, 0, 1, 0};
        frustum.planes[kPlaneLeft] = {1, 0, 1, 0};
        frustum.planes[kPlaneBottom] = {0, 1, 1, 0};
        frustum.planes[kPlaneTop] = {0, -1, 1, 0};
        frustum.planes[kPlaneFar] = {0, 0, -1, 100};
        frustum.planes[kPlaneNear] = {0, 0, 1, -1};
    }
    ViewFrustum frustum;
};

TEST_F(FrustumTests, OnlyTheRightHandPlaneDropsABox) {
    EXPECT_TRUE(frustum.IsBoxOutside(50, -1, 1, 60, 1, 10));     // right of x = z
    EXPECT_FALSE(frustum.IsBoxOutside(-5, -5, 200, 5, 5, 300));  // beyond the far plane
    EXPECT_FALSE(frustum.IsBoxOutside(-60, -1, 1, -50, 1, 10));  // left of the view
    EXPECT_FALSE(frustum.IsBoxOutside(-5, 50, 1, 5, 60, 10));    // above it
    EXPECT_FALSE(frustum.IsBoxOutside(5, -1, 1, 60, 1, 10));     // one corner reaches in
}

TEST_F(FrustumTests, APointOnAPlaneCountsAsInFront) {
    EXPECT_FALSE(frustum.IsBoxOutside(10, 0, 10, 10, 0, 10));  // x = z exactly
    EXPECT_TRUE(frustum.IsBoxOutside(10.001f, 0, 10, 10.001f, 0, 10));
    Surface onLeftPlane = MakeSurface({{-10, 0, 10}}, {}, 0);
    EXPECT_TRUE(frustum.IsSurfaceVisible(onLeftPlane));
}

TEST_F(FrustumTests, ASurfaceIsDroppedOnlyWhenOnePlaneHasAllItsVertices) {
    EXPECT_TRUE(frustum.IsSurfaceVisible(TriangleAt(0, 0, 10, 0)));
    EXPECT_FALSE(frustum.IsSurfaceVisible(TriangleAt(0, 0, 150, 0)));   // far
    EXPECT_FALSE(frustum.IsSurfaceVisible(TriangleAt(-30, 0, 10, 0)));  // left
    EXPECT_FALSE(frustum.IsSurfaceVisible(TriangleAt(0, 0, 0.5f, 0)));  // near
    // A large floor with no vertex inside the view, but every plane has one in front of it.
    EXPECT_TRUE(frustum.IsSurfaceVisible(MakeSurface({{-500, -5, 2}, {500, -5, 2}, {0, -5, 99}}, {0, 1, 2}, 0)));
    EXPECT_FALSE(frustum.IsSurfaceVisible(MakeSurface({}, {}, 0)));
}

TEST_F(FrustumTests, ASurfaceIsTestedOverItsOwnVertexCount) {
    Surface s = TriangleAt(0, 0, 10, 0);
    s.vertices.push_back(Vertex{0, 0, 1000, 0, 0});  // beyond the far plane
    s.vertexCount = 1;
    s.vertices[0] = Vertex{0, 0, 500, 0, 0};
    EXPECT_FALSE(frustum.IsSurfaceVisible(s));
    s.vertexCount = 60000;  // more than the array holds: only the vertices it has are read
    EXPECT_TRUE(frustum.IsSurfaceVisible(s));
}

TEST_F(FrustumTests, CornersFollowTheSameRule) {
    EXPECT_TRUE(frustum.AreCornersVisible(CornersOf({-1, -1, 5}, {1, 1, 6})));
    EXPECT_TRUE(frustum.AreCornersVisible(CornersOf({-100, -100, 50}, {100, 100, 200})));
    EXPECT_FALSE(frustum.AreCornersVisible(CornersOf({-60, -1, 5}, {-50, 1, 6})));
    EXPECT_FALSE(frustum.AreCornersVisible(CornersOf({-1, -1, 101}, {1, 1, 200})));
}

}  // namespace
}  // namespace brontal
