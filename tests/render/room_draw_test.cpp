#include <gtest/gtest.h>

#include "device/device.h"
#include "level/world.h"
#include "render/frustum.h"
#include "render/render_fixture.h"
#include "render/room_draw.h"
#include "text/recording_device.h"

namespace brontal {
namespace {

using namespace brontal::testing;

// Rooms under a view from the origin along +z with a 90-degree frustum, far plane 100.
class RoomDraw : public ::testing::Test {
protected:
    void SetUp() override {
        const Matrix4x4 identity = Identity(), projection = SquareProjection();
        device->SetTransform(D3DTS_VIEW, &identity);
        device->SetTransform(D3DTS_PROJECTION, &projection);
        device->SetTransform(D3DTS_WORLD, &objectWorldBefore);
        for (Texture*& texture : textures)
            ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
        level.device = device.get();
        level.TextureTable = {textures[0], textures[1]};
        g_viewFrustum = ViewFrustum{};
        g_viewFrustum.SetDevice(device.get());
        g_viewFrustum.BuildFrustum();
        device->BeginScene();
        trianglesDrawn = 0;
    }
    void TearDown() override { g_viewFrustum = ViewFrustum{}; }

    std::int64_t Id(int i) const { return textures[i]->Id(); }
    void Forget() { device.Forget(); }

    // A model of one surface with 300 triangles.
    void AddBigModel() {
        Model model;
        model.surfaces.push_back(TriangleAt(0, 0, 0, 1, 300));
        model.surfaceCount = 1;
        level.models.push_back(std::move(model));
        level.modelCount = static_cast<std::uint16_t>(level.models.size());
    }

    RecordingDevice device;
    Texture* textures[2] = {};
    Level level;
    const Matrix4x4 objectWorldBefore = Translation(7, 8, 9);
};

TEST_F(RoomDraw, AVisibleRoomDrawsEachVisibleSurfaceAndObject) {
    Room room = MakeRoom({-10, -10, 10}, {10, 10, 20});
    AddSurface(room, TriangleAt(0, 0, 15, 0));
    AddSurface(room, MakeSurface({}, {}, 1));  // no vertices: never drawn, never counted
    AddSurface(room, MakeSurface({{-1, 0, 15}, {0, 1, 15}, {1, 0, 15}, {1, 1, 15}}, {0, 1, 2, 2, 1, 3, 0}, 1));
    AddSurface(room, TriangleAt(0, 0, 12, 0, 255));
    AddSurface(room, TriangleAt(-30, 0, 12, 0));  // left of the view
    room.surfaces.push_back(TriangleAt(0, 0, 15, 1));  // a spare place past surfaceCount
    AddBigModel();
    const Matrix4x4 objectWorld = Translation(1, 2, 14);
    AddObject(room, 0, objectWorld, CornersOf({0, 1, 13}, {2, 3, 15}));
    AddObject(room, 0, objectWorld, CornersOf({-60, 1, 13}, {-50, 3, 15}));  // left of the view
    level.rooms.push_back(std::move(room));
    Forget();

    level.DrawRoom(0);
    const std::vector<std::string> expected = {
        Line("SetTexture", {I(0), I(Id(0))}),
        Line("SetVertexShader", {I(0x102)}),
        Line("DrawIndexedPrimitiveUP", {I(4), I(0), I(3), I(1), I(3), I(101), I(3), I(20)}),
        Line("SetTexture", {I(0), I(Id(1))}),
        Line("SetVertexShader", {I(0x102)}),
        Line("DrawIndexedPrimitiveUP", {I(4), I(0), I(4), I(2), I(6), I(101), I(4), I(20)}),  // 7 indices
        Line("SetTexture", {I(0), I(Id(0))}),
        Line("SetVertexShader", {I(0x102)}),
        Line("DrawIndexedPrimitiveUP", {I(4), I(0), I(3), I(255), I(765), I(101), I(3), I(20)}),
        Line("GetTransform", {I(256), CallArgument(objectWorldBefore)}),
        Line("SetTransform", {I(256), CallArgument(objectWorld)}),
        Line("SetTexture", {I(0), I(Id(1))}),
        Line("SetVertexShader", {I(0x102)}),
        Line("DrawIndexedPrimitiveUP", {I(4), I(0), I(3), I(300), I(900), I(101), I(3), I(20)}),
        Line("SetTransform", {I(256), CallArgument(objectWorldBefore)}),
        Line("SetTexture", {I(0), I(0)}),
    };
    EXPECT_EQ(device.Lines(), expected);
    EXPECT_EQ(trianglesDrawn, 1 + 2 + 255 + 300);
    EXPECT_TRUE(device->Errors().empty());

    // What the device was handed is the world model's own arrays.
    ASSERT_EQ(device.draws.size(), 4u);
    EXPECT_EQ(device.draws[0].call.vertices, level.rooms[0].surfaces[0].vertices.data());
    EXPECT_EQ(device.draws[0].call.indices, level.rooms[0].surfaces[0].indices.data());
    EXPECT_EQ(device.draws[3].state.world.m[3][2], 14.0f);  // the object drew under its own world
    EXPECT_EQ(device->State().world.m[3][0], 7.0f);         // and the transform is back
    EXPECT_EQ(device->State().texture[0], nullptr);
}

TEST_F(RoomDraw, ARoomBehindTheRightHandPlaneDrawsNothingNotEvenItsObjects) {
    Room room = MakeRoom({50, -1, 1}, {60, 1, 10});
    AddSurface(room, TriangleAt(55, 0, 5, 0));
    AddBigModel();
    AddObject(room, 0, Identity(), CornersOf({-1, -1, 5}, {1, 1, 6}));  // its own box is in view
    level.rooms.push_back(std::move(room));
    Forget();
    level.DrawRoom(0);
    EXPECT_TRUE(device.Lines().empty());
    EXPECT_EQ(trianglesDrawn, 0);
}

TEST_F(RoomDraw, ARoomBeyondAnotherPlaneReachesTheDeviceWithNothing) {
    const struct {
        Vector3 min, max;
        const char* where;
    } rooms[] = {
        {{-5, -5, 200}, {5, 5, 300}, "far"},   {{-60, -1, 1}, {-50, 1, 10}, "left"},
        {{-1, 50, 1}, {1, 60, 10}, "above"}, {{-1, -60, 1}, {1, -50, 10}, "below"},
        {{-1, -1, -10}, {1, 1, 0.4f}, "near"},
    };
    AddBigModel();
    for (const auto& r : rooms) {
        Room room = MakeRoom(r.min, r.max);
        const Vector3 centre{(r.min.x + r.max.x) / 2, (r.min.y + r.max.y) / 2, r.max.z - 0.1f};
        AddSurface(room, MakeSurface({r.min, {r.max.x, r.min.y, r.max.z}, r.max}, {0, 1, 2}, 0));
        AddSurface(room, TriangleAt(centre.x, r.min.y + 0.5f * (r.max.y - r.min.y) - 0.5f, centre.z, 1));
        AddObject(room, 0, Identity(), CornersOf(r.min, r.max));
        level.rooms.push_back(std::move(room));
    }
    for (std::uint16_t i = 0; i < level.rooms.size(); ++i) {
        Forget();
        level.DrawRoom(i);
        EXPECT_TRUE(device.Lines().empty()) << rooms[i].where;
    }
    EXPECT_EQ(trianglesDrawn, 0);
}

TEST_F(RoomDraw, ARoomDrawnTwiceIsCountedTwice) {
    Room room = MakeRoom({-10, -10, 10}, {10, 10, 20});
    AddSurface(room, TriangleAt(0, 0, 15, 0, 4));
    level.rooms.push_back(std::move(room));
    Forget();
    level.DrawRoom(0);
    level.DrawRoom(0);
    EXPECT_EQ(device.draws.size(), 2u);
    EXPECT_EQ(trianglesDrawn, 8);
}

TEST_F(RoomDraw, BeforeTheFirstBuildEveryRoomIsSubmittedWhole) {
    // The start-up pass: zero planes keep everything with a vertex.
    g_viewFrustum = ViewFrustum{};
    Room room = MakeRoom({50, -1, 1}, {60, 1, 10});
    AddSurface(room, TriangleAt(55, 0, 5, 0));
    AddSurface(room, MakeSurface({}, {}, 0));
    AddBigModel();
    AddObject(room, 0, Identity(), CornersOf({500, 500, 500}, {501, 501, 501}));
    level.rooms.push_back(std::move(room));
    Forget();
    level.DrawRoom(0);
    EXPECT_EQ(device.draws.size(), 2u);
    EXPECT_EQ(trianglesDrawn, 301);
}

TEST_F(RoomDraw, IndicesOutsideTheWorldModelAreNotFollowed) {
    Room room = MakeRoom({-10, -10, 10}, {10, 10, 20});
    Surface surface = TriangleAt(0, 0, 15, 9);  // texture 9 of 2
    surface.triangleCount = 5;                  // more than its 3 indices hold
    AddSurface(room, surface);
    AddObject(room, 7, Identity(), CornersOf({-1, -1, 12}, {1, 1, 13}));  // model 7 of 0
    room.objectCount = 3;  // more than the one object it has
    room.surfaceCount = 4;
    level.rooms.push_back(std::move(room));
    Forget();
    level.DrawRoom(0);
    level.DrawRoom(5);  // no such room
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_EQ(device.draws[0].state.texture[0], nullptr);
    EXPECT_EQ(device.draws[0].call.primitiveCount, 1u);
    EXPECT_TRUE(device->Errors().empty());
}

}  // namespace
}  // namespace brontal
