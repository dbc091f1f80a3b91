#include <gtest/gtest.h>

#include <cstring>

#include "device_fixture.h"

namespace brontal {
namespace {

using test::DeviceOnRememberingBackend;
using test::NumberedMatrix;

// Direct3D 8's documented defaults, written as the platform's own numbers (state slot and value)
// rather than through this project's named constants, so a wrong constant cannot pass with them.
TEST(DeviceDefaults, AreDirect3DEightsOwn) {
    const DeviceState s = DefaultDeviceState(true);
    struct Expected {
        const char* state;
        std::uint32_t slot, value;
    };
    const Expected renderStates[] = {
        {"ZENABLE", 7, 1},           {"FILLMODE (solid)", 8, 3},    {"ZWRITEENABLE", 14, 1},
        {"ALPHATESTENABLE", 15, 0},  {"SRCBLEND (one)", 19, 2},     {"DESTBLEND (zero)", 20, 1},
        {"CULLMODE (ccw)", 22, 3},   {"ZFUNC (lessequal)", 23, 4},  {"ALPHAFUNC (always)", 25, 8},
        {"ALPHABLENDENABLE", 27, 0}, {"FOGEND (1.0f)", 37, 0x3F800000u}, {"CLIPPING", 136, 1},
        {"LIGHTING", 137, 1},        {"AMBIENT", 139, 0},           {"COLORVERTEX", 141, 1},
        {"COLORWRITEENABLE", 168, 0xF},
    };
    for (const Expected& e : renderStates) {
        SCOPED_TRACE(e.state);
        EXPECT_EQ(s.renderState[e.slot], e.value);
    }
    EXPECT_EQ(DefaultDeviceState(false).renderState[7], 0u);  // no depth buffer: ZENABLE false

    for (std::uint32_t stage = 0; stage < kTextureStages; ++stage) {
        SCOPED_TRACE(stage);
        const std::uint32_t colourOp = stage == 0 ? 4 : 1;  // modulate on stage 0, disable after it
        const std::uint32_t alphaOp = stage == 0 ? 2 : 1;   // select arg 1 on stage 0, disable after it
        const Expected stageStates[] = {
            {"COLOROP", 1, colourOp},          {"COLORARG1 (texture)", 2, 2}, {"COLORARG2 (current)", 3, 1},
            {"ALPHAOP", 4, alphaOp},           {"TEXCOORDINDEX", 11, stage},  {"ADDRESSU (wrap)", 13, 1},
            {"ADDRESSV (wrap)", 14, 1},        {"MAGFILTER (point)", 16, 1},  {"MINFILTER (point)", 17, 1},
            {"MIPFILTER (none)", 18, 0},       {"MAXANISOTROPY", 21, 1},
        };
        for (const Expected& e : stageStates) {
            SCOPED_TRACE(e.state);
            EXPECT_EQ(s.stageState[stage][e.slot], e.value);
        }
        EXPECT_EQ(s.texture[stage], nullptr);
    }
    for (const Matrix4x4* m : {&s.world, &s.view, &s.projection})
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) EXPECT_EQ(m->m[r][c], r == c ? 1.0f : 0.0f);
    EXPECT_TRUE(s.lights.empty());
    EXPECT_EQ(s.vertexShader, 0u);
}

TEST(DeviceDefaults, ANewDeviceStartsFromThem) {
    DeviceOnRememberingBackend d;
    EXPECT_TRUE(d.device->State() == DefaultDeviceState(true));
    EXPECT_FALSE(d.device->InScene());
}

TEST(DeviceStateCompare, SeesEveryKindOfChange) {
    const DeviceState base = DefaultDeviceState(true);
    DeviceState s = base;
    EXPECT_TRUE(s == base);
    s.renderState[D3DRS_AMBIENT] = 1;
    EXPECT_FALSE(s == base);
    s = base;
    s.stageState[7][D3DTSS_MIPFILTER] = D3DTEXF_LINEAR;
    EXPECT_FALSE(s == base);
    s = base;
    s.view.m[3][2] = -0.0f;  // a changed sign bit is a change to apply
    EXPECT_FALSE(s == base);
    s = base;
    s.material.Power = 2;
    EXPECT_FALSE(s == base);
    s = base;
    s.lights.resize(1);
    EXPECT_FALSE(s == base);
    DeviceState t = s;
    t.lights[0].enabled = true;
    EXPECT_FALSE(t == s);
    t = s;
    t.lights[0].light.Range = 5;
    EXPECT_FALSE(t == s);
    s = base;
    s.vertexShader = RoomVertexFormat;
    EXPECT_FALSE(s == base);
}

TEST(DeviceGetAfterSet, RenderAndStageStates) {
    DeviceOnRememberingBackend d;
    Device& dev = *d.device;
    std::uint32_t value = 0;
    EXPECT_EQ(dev.SetRenderState(D3DRS_AMBIENT, 0xFF141414), D3D_OK);
    EXPECT_EQ(dev.GetRenderState(D3DRS_AMBIENT, &value), D3D_OK);
    EXPECT_EQ(value, 0xFF141414u);
    EXPECT_EQ(dev.SetRenderState(D3DRS_ZENABLE, D3DZB_USEW), D3D_OK);
    EXPECT_EQ(dev.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE), D3D_OK);  // the last set wins
    EXPECT_EQ(dev.GetRenderState(D3DRS_ZENABLE, &value), D3D_OK);
    EXPECT_EQ(value, 0u);

    EXPECT_EQ(dev.SetTextureStageState(3, D3DTSS_ADDRESSV, D3DTADDRESS_MIRROR), D3D_OK);
    EXPECT_EQ(dev.GetTextureStageState(3, D3DTSS_ADDRESSV, &value), D3D_OK);
    EXPECT_EQ(value, D3DTADDRESS_MIRROR);
    // Stages are separate.
    EXPECT_EQ(dev.GetTextureStageState(2, D3DTSS_ADDRESSV, &value), D3D_OK);
    EXPECT_EQ(value, D3DTADDRESS_WRAP);
    EXPECT_TRUE(dev.Errors().empty());
}

TEST(DeviceGetAfterSet, TransformsMaterialLightsTexturesAndFormat) {
    DeviceOnRememberingBackend d;
    Device& dev = *d.device;
    const Matrix4x4 world = NumberedMatrix(1), view = NumberedMatrix(20), projection = NumberedMatrix(40);
    ASSERT_EQ(dev.SetTransform(D3DTS_WORLD, &world), D3D_OK);
    ASSERT_EQ(dev.SetTransform(D3DTS_VIEW, &view), D3D_OK);
    ASSERT_EQ(dev.SetTransform(D3DTS_PROJECTION, &projection), D3D_OK);
    Matrix4x4 got{};
    ASSERT_EQ(dev.GetTransform(D3DTS_WORLD, &got), D3D_OK);
    EXPECT_EQ(std::memcmp(&got, &world, sizeof got), 0);
    ASSERT_EQ(dev.GetTransform(D3DTS_VIEW, &got), D3D_OK);
    EXPECT_EQ(std::memcmp(&got, &view, sizeof got), 0);
    ASSERT_EQ(dev.GetTransform(D3DTS_PROJECTION, &got), D3D_OK);
    EXPECT_EQ(std::memcmp(&got, &projection, sizeof got), 0);

    D3DMATERIAL8 material{};
    material.Diffuse = {1, 1, 1, 1};
    material.Specular = {1, 1, 1, 0};
    material.Power = 3;
    ASSERT_EQ(dev.SetMaterial(&material), D3D_OK);
    D3DMATERIAL8 gotMaterial{};
    ASSERT_EQ(dev.GetMaterial(&gotMaterial), D3D_OK);
    EXPECT_EQ(std::memcmp(&gotMaterial, &material, sizeof material), 0);

    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Ambient = {0.5f, 0.25f, 0.125f, 1};
    light.Position = {10, 20, 30};
    light.Range = 400;
    light.Attenuation1 = 0.01f;
    ASSERT_EQ(dev.SetLight(4, &light), D3D_OK);
    ASSERT_EQ(dev.LightEnable(4, true), D3D_OK);
    D3DLIGHT8 gotLight{};
    bool enabled = false;
    ASSERT_EQ(dev.GetLight(4, &gotLight), D3D_OK);
    EXPECT_EQ(std::memcmp(&gotLight, &light, sizeof light), 0);
    ASSERT_EQ(dev.GetLightEnable(4, &enabled), D3D_OK);
    EXPECT_TRUE(enabled);
    // Lights below the highest one set exist, off, as defaults.
    ASSERT_EQ(dev.GetLightEnable(3, &enabled), D3D_OK);
    EXPECT_FALSE(enabled);
    ASSERT_EQ(dev.State().lights.size(), 5u);

    Texture* texture = nullptr;
    ASSERT_EQ(dev.CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    ASSERT_EQ(dev.SetTexture(0, texture), D3D_OK);
    Texture* gotTexture = nullptr;
    ASSERT_EQ(dev.GetTexture(0, &gotTexture), D3D_OK);
    EXPECT_EQ(gotTexture, texture);
    ASSERT_EQ(dev.SetTexture(0, nullptr), D3D_OK);
    ASSERT_EQ(dev.GetTexture(0, &gotTexture), D3D_OK);
    EXPECT_EQ(gotTexture, nullptr);

    ASSERT_EQ(dev.SetVertexShader(TextVertexFormat), D3D_OK);
    std::uint32_t fvf = 0;
    ASSERT_EQ(dev.GetVertexShader(&fvf), D3D_OK);
    EXPECT_EQ(fvf, 0x144u);
    EXPECT_TRUE(dev.Errors().empty());
}

TEST(DeviceGetAfterSet, ViewportIsTheBackBufferAndCapsAreTheGivenOnes) {
    DeviceOnRememberingBackend d(D3DCAPS8{256, 512, 8, 4});
    D3DVIEWPORT8 viewport{};
    ASSERT_EQ(d.device->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.X, 0u);
    EXPECT_EQ(viewport.Y, 0u);
    EXPECT_EQ(viewport.Width, 800u);
    EXPECT_EQ(viewport.Height, 600u);
    EXPECT_EQ(viewport.MinZ, 0.0f);
    EXPECT_EQ(viewport.MaxZ, 1.0f);
    D3DCAPS8 caps{};
    ASSERT_EQ(d.device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.MaxTextureWidth, 256u);
    EXPECT_EQ(caps.MaxTextureHeight, 512u);
}

TEST(DeviceStateErrors, AreRefusedByNameAndChangeNothing) {
    DeviceOnRememberingBackend d;
    Device& dev = *d.device;
    const DeviceState before = dev.State();
    std::uint32_t value = 0;

    EXPECT_EQ(dev.SetRenderState(static_cast<D3DRENDERSTATETYPE>(1), 5), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownRenderState));
    EXPECT_EQ(dev.SetRenderState(static_cast<D3DRENDERSTATETYPE>(300), 5), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownRenderState));
    EXPECT_EQ(dev.GetRenderState(static_cast<D3DRENDERSTATETYPE>(4000), &value), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownRenderState));
    EXPECT_EQ(dev.GetRenderState(D3DRS_ZENABLE, nullptr), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::NullArgument));

    EXPECT_EQ(dev.SetTextureStageState(kTextureStages, D3DTSS_COLOROP, 1), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::StageOutOfRange));
    EXPECT_EQ(dev.SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(7), 1), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownStageState));
    EXPECT_EQ(dev.SetTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(kStageStateSlots), 1),
              D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownStageState));
    EXPECT_EQ(dev.SetTexture(kTextureStages, nullptr), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::StageOutOfRange));

    const Matrix4x4 m = NumberedMatrix(0);
    EXPECT_EQ(dev.SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(1), &m), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownTransform));
    EXPECT_EQ(dev.SetTransform(D3DTS_WORLD, nullptr), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::NullArgument));

    D3DLIGHT8 light{};
    EXPECT_EQ(dev.GetLight(0, &light), D3DERR_INVALIDCALL);  // never set
    EXPECT_TRUE(d.LastErrorIs(DeviceError::LightIndexOutOfRange));
    EXPECT_EQ(dev.SetLight(1u << 20, &light), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::LightIndexOutOfRange));
    EXPECT_EQ(dev.SetStreamSource(1, nullptr, 28), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::StreamOutOfRange));

    EXPECT_TRUE(dev.State() == before);
    EXPECT_EQ(dev.Errors().size(), 13u);
    dev.ClearErrors();
    EXPECT_TRUE(dev.Errors().empty());
}

TEST(DeviceVocabulary, NamesFormatsAndErrors) {
    EXPECT_STREQ(RenderStateName(22), "D3DRS_CULLMODE");
    EXPECT_STREQ(RenderStateName(139), "D3DRS_AMBIENT");
    EXPECT_STREQ(RenderStateName(171), "D3DRS_BLENDOP");
    EXPECT_EQ(RenderStateName(0), nullptr);
    EXPECT_STREQ(StageStateName(13), "D3DTSS_ADDRESSU");
    EXPECT_STREQ(StageStateName(28), "D3DTSS_RESULTARG");
    EXPECT_EQ(StageStateName(12), nullptr);
    EXPECT_EQ(BytesPerTexel(D3DFMT_A4R4G4B4), 2u);
    EXPECT_EQ(BytesPerTexel(D3DFMT_R8G8B8), 3u);
    EXPECT_EQ(BytesPerTexel(D3DFMT_D16), 0u);  // not a texture format
    EXPECT_STREQ(DeviceErrorName(DeviceError::DrawOutsideScene), "DrawOutsideScene");
    EXPECT_STREQ(DeviceErrorMessage(DeviceError::DrawOutsideScene), "draw outside BeginScene/EndScene");
    EXPECT_STREQ(DeviceErrorName(DeviceError::ClearRectsUnsupported), "ClearRectsUnsupported");
}

}  // namespace
}  // namespace brontal
