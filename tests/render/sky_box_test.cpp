#include "render/sky_box.h"

#include <gtest/gtest.h>

#include "level/world.h"
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

TEST_F(SkyBoxDraw, FacesStandUprightWithTheInsetCoordinates) {
    sky.SetSize(50000.0f);
    sky.Draw();
    ASSERT_EQ(device.draws.size(), 5u);
    const float h = 25000.0f;
    const float expected[5][4][3] = {
        {{-h, h, h}, {-h, -h, h}, {-h, h, -h}, {-h, -h, -h}},  // front, x = -h
        {{h, h, -h}, {h, -h, -h}, {h, h, h}, {h, -h, h}},      // back, x = +h
        {{-h, h, h}, {-h, h, -h}, {h, h, h}, {h, h, -h}},      // top, y = +h
        {{-h, h, -h}, {-h, -h, -h}, {h, h, -h}, {h, -h, -h}},  // right, z = -h
        {{h, h, h}, {h, -h, h}, {-h, h, h}, {-h, -h, h}},      // left, z = +h
    };
    const float low = 0.0009765625f, high = 0.9990234375f;
    const float uv[4][2] = {{low, low}, {low, high}, {high, low}, {high, high}};
    for (int f = 0; f < 5; ++f) {
        EXPECT_EQ(device.draws[f].call.primitiveType, D3DPT_TRIANGLESTRIP);
        EXPECT_EQ(device.draws[f].call.fvf, RoomVertexFormat);
        for (int i = 0; i < 4; ++i) {
            const Vertex v = device.draws[f].VertexAt<Vertex>(i);
            EXPECT_EQ(v.x, expected[f][i][0]) << "face " << f << " vertex " << i;
            EXPECT_EQ(v.y, expected[f][i][1]) << "face " << f << " vertex " << i;
            EXPECT_EQ(v.z, expected[f][i][2]) << "face " << f << " vertex " << i;
            EXPECT_EQ(v.u, uv[i][0]) << "face " << f << " vertex " << i;
            EXPECT_EQ(v.v, uv[i][1]) << "face " << f << " vertex " << i;
        }
    }
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
