#include <gtest/gtest.h>

#include <cstring>

#include "device_fixture.h"

namespace brontal {
namespace {

using test::DeviceOnRememberingBackend;
using test::NumberedMatrix;

// The text overlay's block: its texture, render states and stage states, in its order.
void RecordTextStates(Device& dev, Texture* atlas) {
    dev.SetTexture(0, atlas);
    dev.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    dev.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    dev.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    dev.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    dev.SetRenderState(D3DRS_ALPHAREF, 8);
    dev.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    dev.SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    dev.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    dev.SetRenderState(D3DRS_ZENABLE, 0);
    dev.SetRenderState(D3DRS_STENCILENABLE, 0);
    dev.SetRenderState(D3DRS_CLIPPING, 1);
    dev.SetRenderState(D3DRS_EDGEANTIALIAS, 0);
    dev.SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    dev.SetRenderState(D3DRS_VERTEXBLEND, 0);
    dev.SetRenderState(D3DRS_INDEXEDVERTEXBLENDENABLE, 0);
    dev.SetRenderState(D3DRS_FOGENABLE, 0);
    dev.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    dev.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    dev.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    dev.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    dev.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    dev.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    dev.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    dev.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    dev.SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    dev.SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    dev.SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, 0);
    dev.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    dev.SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

std::uint32_t RecordBlock(Device& dev, Texture* atlas) {
    std::uint32_t token = 0;
    EXPECT_EQ(dev.BeginStateBlock(), D3D_OK);
    RecordTextStates(dev, atlas);
    EXPECT_EQ(dev.EndStateBlock(&token), D3D_OK);
    return token;
}

// The frame's states as the game leaves them before the HUD: w-buffer, alpha test at 144,
// blending after a sky frame, anisotropic filters, mirror addressing, wireframe.
void SetGameStates(Device& dev, Texture* roomTexture) {
    dev.SetTexture(0, roomTexture);
    dev.SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
    dev.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    dev.SetRenderState(D3DRS_ALPHAREF, 0x90);
    dev.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    dev.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    dev.SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    dev.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    dev.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_ANISOTROPIC);
    dev.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_ANISOTROPIC);
    dev.SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
    dev.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
}

class TextOverlayBlocks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(dev.CreateTexture(256, 256, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &atlas), D3D_OK);
        ASSERT_EQ(dev.CreateTexture(64, 64, 0, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &roomTexture), D3D_OK);
        ASSERT_EQ(dev.CreateVertexBuffer(8400, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT, &buffer),
                  D3D_OK);
        savedStates = RecordBlock(dev, atlas);
        textStates = RecordBlock(dev, atlas);
    }

    // What DrawString does around its draws, with a flag-4 call's linear filters.
    void DrawStringLike() {
        ASSERT_EQ(dev.CaptureStateBlock(savedStates), D3D_OK);
        ASSERT_EQ(dev.ApplyStateBlock(textStates), D3D_OK);
        dev.SetVertexShader(TextVertexFormat);
        dev.SetStreamSource(0, buffer, 28);
        dev.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
        dev.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
        std::uint8_t* data = nullptr;
        ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
        ASSERT_EQ(buffer->Unlock(), D3D_OK);
        ASSERT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
        ASSERT_EQ(dev.ApplyStateBlock(savedStates), D3D_OK);
    }

    DeviceOnRememberingBackend d;
    Device& dev = *d.device;
    Texture* atlas = nullptr;
    Texture* roomTexture = nullptr;
    VertexBuffer* buffer = nullptr;
    std::uint32_t savedStates = 0, textStates = 0;
};

TEST_F(TextOverlayBlocks, RecordingLeavesTheDeviceAsItWas) {
    EXPECT_NE(savedStates, 0u);
    EXPECT_NE(textStates, 0u);
    EXPECT_NE(savedStates, textStates);
    EXPECT_TRUE(dev.State() == DefaultDeviceState(true));
    EXPECT_TRUE(dev.Errors().empty());
}

TEST_F(TextOverlayBlocks, ApplyingTheSavedBlockPutsBackEveryNamedState) {
    SetGameStates(dev, roomTexture);
    const DeviceState before = dev.State();
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    DrawStringLike();
    ASSERT_EQ(dev.EndScene(), D3D_OK);

    // The text was drawn under the text states.
    ASSERT_EQ(d.backend->draws.size(), 1u);
    EXPECT_EQ(d.backend->draws[0].texture0, atlas);
    EXPECT_EQ(d.backend->draws[0].cullMode, D3DCULL_CCW);

    // Everything the blocks name is the caller's again, the stage-0 filters included; the vertex
    // format and stream source are not named, so they stay as the text set them.
    DeviceState expected = before;
    expected.vertexShader = TextVertexFormat;
    const DeviceState& after = dev.State();
    EXPECT_EQ(after.texture[0], roomTexture);
    EXPECT_EQ(after.renderState[D3DRS_ZENABLE], D3DZB_USEW);
    EXPECT_EQ(after.renderState[D3DRS_ALPHAREF], 0x90u);
    EXPECT_EQ(after.renderState[D3DRS_FILLMODE], D3DFILL_WIREFRAME);
    EXPECT_EQ(after.renderState[D3DRS_CULLMODE], D3DCULL_NONE);
    EXPECT_EQ(after.stageState[0][D3DTSS_MINFILTER], D3DTEXF_ANISOTROPIC);
    EXPECT_EQ(after.stageState[0][D3DTSS_MAGFILTER], D3DTEXF_ANISOTROPIC);
    EXPECT_EQ(after.stageState[0][D3DTSS_MIPFILTER], D3DTEXF_LINEAR);
    EXPECT_EQ(after.stageState[1][D3DTSS_COLOROP], D3DTOP_DISABLE);
    EXPECT_TRUE(after == expected);
    EXPECT_TRUE(dev.Errors().empty());
}

TEST_F(TextOverlayBlocks, EachDrawCapturesTheCallersStatesAfresh) {
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    SetGameStates(dev, roomTexture);
    DrawStringLike();
    // The caller changes its states between two frames' HUD draws.
    dev.SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    dev.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    dev.SetTexture(0, nullptr);
    const DeviceState before = dev.State();
    DrawStringLike();
    ASSERT_EQ(dev.EndScene(), D3D_OK);
    EXPECT_TRUE(dev.State() == before);
}

TEST_F(TextOverlayBlocks, CaptureReadsOnlyTheNamedStates) {
    // Ambient and stage 0 addressing are not in the block: applying it must not touch them even
    // though they changed after the capture.
    dev.SetRenderState(D3DRS_AMBIENT, 0x11111111);
    ASSERT_EQ(dev.CaptureStateBlock(savedStates), D3D_OK);
    dev.SetRenderState(D3DRS_AMBIENT, 0x22222222);
    dev.SetRenderState(D3DRS_ALPHAREF, 99);
    ASSERT_EQ(dev.ApplyStateBlock(savedStates), D3D_OK);
    std::uint32_t value = 0;
    dev.GetRenderState(D3DRS_AMBIENT, &value);
    EXPECT_EQ(value, 0x22222222u);
    dev.GetRenderState(D3DRS_ALPHAREF, &value);
    EXPECT_EQ(value, 0u);  // the captured default
}

TEST(StateBlocks, CoverTransformsMaterialLightsFormatAndStream) {
    DeviceOnRememberingBackend d;
    Device& dev = *d.device;
    VertexBuffer* buffer = nullptr;
    ASSERT_EQ(dev.CreateVertexBuffer(280, 0, 0, D3DPOOL_DEFAULT, &buffer), D3D_OK);
    const Matrix4x4 world = NumberedMatrix(5);
    D3DMATERIAL8 material{};
    material.Power = 7;
    D3DLIGHT8 light{};
    light.Range = 12;

    std::uint32_t token = 0;
    ASSERT_EQ(dev.BeginStateBlock(), D3D_OK);
    dev.SetTransform(D3DTS_WORLD, &world);
    dev.SetMaterial(&material);
    dev.SetLight(2, &light);
    dev.LightEnable(2, true);
    dev.SetVertexShader(RoomVertexFormat);
    dev.SetStreamSource(0, buffer, 28);
    ASSERT_EQ(dev.EndStateBlock(&token), D3D_OK);
    EXPECT_TRUE(dev.State() == DefaultDeviceState(true));

    ASSERT_EQ(dev.ApplyStateBlock(token), D3D_OK);
    Matrix4x4 got{};
    dev.GetTransform(D3DTS_WORLD, &got);
    EXPECT_EQ(std::memcmp(&got, &world, sizeof got), 0);
    EXPECT_EQ(dev.State().material.Power, 7.0f);
    ASSERT_EQ(dev.State().lights.size(), 3u);
    EXPECT_TRUE(dev.State().lights[2].enabled);
    EXPECT_EQ(dev.State().lights[2].light.Range, 12.0f);
    EXPECT_EQ(dev.State().vertexShader, RoomVertexFormat);
    // The stream source came back with the block: a draw from it is accepted.
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    EXPECT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 3), D3D_OK);
    ASSERT_EQ(dev.EndScene(), D3D_OK);
}

TEST(StateBlocks, MisuseIsRefusedByName) {
    DeviceOnRememberingBackend d;
    Device& dev = *d.device;
    std::uint32_t token = 0;
    EXPECT_EQ(dev.EndStateBlock(&token), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::StateBlockNotRecording));
    EXPECT_EQ(dev.ApplyStateBlock(0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownStateBlock));
    EXPECT_EQ(dev.CaptureStateBlock(9), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownStateBlock));

    ASSERT_EQ(dev.BeginStateBlock(), D3D_OK);
    EXPECT_EQ(dev.BeginStateBlock(), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::StateBlockAlreadyRecording));
    ASSERT_EQ(dev.EndStateBlock(&token), D3D_OK);
    EXPECT_EQ(token, 1u);

    ASSERT_EQ(dev.DeleteStateBlock(token), D3D_OK);
    EXPECT_EQ(dev.ApplyStateBlock(token), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownStateBlock));
    EXPECT_EQ(dev.DeleteStateBlock(token), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownStateBlock));
}

}  // namespace
}  // namespace brontal
