#include "render/sky_box.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "level/world.h"
#include "math/vector_ops.h"
#include "text/recording_device.h"

namespace brontal {
namespace {

using namespace brontal::testing;

class SkyBoxDraw : public ::testing::Test {
protected:
    void SetUp() override {
        for (Texture*& texture : textures)
            ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
        sky.SetDevice(device.get());
        sky.SetTextures(textures[kFront], textures[kBack], textures[kBottom], textures[kTop], textures[kRight],
                        textures[kLeft]);
        device->BeginScene();
        device.Forget();
    }
    enum { kFront, kBack, kBottom, kTop, kRight, kLeft };
    std::int64_t Id(int face) const { return textures[face]->Id(); }

    RecordingDevice device;
    Texture* textures[6] = {};
    SkyBox sky;
};

TEST_F(SkyBoxDraw, DrawsFiveStripsInOrderAndNeverTheBottom) {
    sky.SetSize(50000.0f);
    sky.Draw();
    std::vector<std::string> expected = {Line("SetVertexShader", {I(0x102)})};
    for (int face : {kFront, kBack, kTop, kRight, kLeft}) {
        expected.push_back(Line("SetTexture", {I(0), I(Id(face))}));
        expected.push_back(Line("DrawPrimitiveUP", {I(5), I(2), I(4), I(20)}));
    }
    EXPECT_EQ(device.Lines(), expected);
    EXPECT_EQ(device->State().texture[0], textures[kLeft]);
    for (const CapturedDraw& draw : device.draws) EXPECT_NE(draw.state.texture[0], textures[kBottom]);
}

// The faces as a player sees them, checked by their properties rather than a copy of the table:
// corners on the box, each strip turned toward the centre (the game culls counter-clockwise), the
// side images upright and joined edge to edge all round, texture coordinates 1/1024 inside.
TEST_F(SkyBoxDraw, FacesLookInwardStandUprightAndJoinAllRound) {
    sky.SetSize(50000.0f);
    sky.Draw();
    ASSERT_EQ(device.draws.size(), 5u);
    const float h = 25000.0f;
    auto at = [&](int face, int i) { return device.draws[face].VertexAt<Vertex>(i); };
    auto corner = [&](int face, int i) {
        const Vertex v = at(face, i);
        return Vector3{v.x, v.y, v.z};
    };
    const float low = 0.0009765625f, high = 0.9990234375f;
    const float uv[4][2] = {{low, low}, {low, high}, {high, low}, {high, high}};
    for (int f = 0; f < 5; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(device.draws[f].call.primitiveType, D3DPT_TRIANGLESTRIP);
        EXPECT_EQ(device.draws[f].call.fvf, RoomVertexFormat);
        for (int i = 0; i < 4; ++i) {
            const Vertex v = at(f, i);
            for (float c : {v.x, v.y, v.z}) EXPECT_EQ(std::fabs(c), h);
            EXPECT_EQ(v.u, uv[i][0]);
            EXPECT_EQ(v.v, uv[i][1]);
        }
        // The strip's triangles (0, 1, 2) and (2, 1, 3) turn their fronts to the centre.
        for (const auto& t : {std::array{0, 1, 2}, std::array{2, 1, 3}}) {
            const Vector3 a = corner(f, t[0]);
            EXPECT_GT(-Dot(Cross(Sub(corner(f, t[1]), a), Sub(corner(f, t[2]), a)), a), 0.0f);
        }
    }
    // The sides in the order they stand round the box: each one's right edge (vertices 2, 3) is the
    // next one's left edge (vertices 0, 1), so the images make one unbroken panorama.
    const int sides[4] = {0, 3, 1, 4};  // front, right, back, left in drawing order
    for (int k = 0; k < 4; ++k) {
        const int f = sides[k], next = sides[(k + 1) % 4];
        SCOPED_TRACE(f);
        EXPECT_EQ(at(f, 0).y, h);  // upright: the image's top edge up
        EXPECT_EQ(at(f, 2).y, h);
        EXPECT_EQ(at(f, 1).y, -h);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(at(f, 2 + i).x, at(next, i).x);
            EXPECT_EQ(at(f, 2 + i).z, at(next, i).z);
        }
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(at(2, i).y, h);  // the top
}

TEST_F(SkyBoxDraw, TheDefaultBoxSpansHalfAUnitEachWay) {
    sky.Draw();
    ASSERT_EQ(device.draws.size(), 5u);
    const Vertex first = device.draws[0].VertexAt<Vertex>(0);
    EXPECT_EQ(first.x, -0.5f);
    EXPECT_EQ(first.y, 0.5f);
    EXPECT_EQ(first.z, 0.5f);
}

TEST_F(SkyBoxDraw, AFaceWithoutATextureDrawsUntextured) {
    sky.SetTextures(textures[kFront], nullptr, textures[kBottom], textures[kTop], textures[kRight], textures[kLeft]);
    sky.Draw();
    ASSERT_EQ(device.draws.size(), 5u);
    EXPECT_EQ(device.draws[1].state.texture[0], nullptr);
}

}  // namespace
}  // namespace brontal
