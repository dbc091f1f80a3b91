#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "device_fixture.h"

namespace brontal {
namespace {

using test::DeviceOnRememberingBackend;
using Lines = std::vector<std::string>;

class Recording : public ::testing::Test {
protected:
    void SetUp() override { dev.SetRecorder(&recorder); }
    DeviceOnRememberingBackend d;
    Device& dev = *d.device;
    MemoryRecorder recorder;
};

TEST_F(Recording, LogsStatesWithTheirNumbers) {
    dev.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    dev.SetRenderState(D3DRS_AMBIENT, 0xFF141414);
    dev.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_ANISOTROPIC);
    std::uint32_t value = 0;
    dev.GetRenderState(D3DRS_AMBIENT, &value);
    dev.SetVertexShader(RoomVertexFormat);
    EXPECT_EQ(recorder.Lines(), (Lines{"SetRenderState 22 3", "SetRenderState 139 4279505940",
                                       "SetTextureStageState 0 17 3", "GetRenderState 139 4279505940",
                                       "SetVertexShader 258"}));
}

TEST_F(Recording, LogsMatricesRowByRowAndFloatsWithNineDigits) {
    Matrix4x4 m{};
    for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = static_cast<float>(i);
    m.m[3][2] = 0.1f;
    dev.SetTransform(D3DTS_WORLD, &m);
    EXPECT_EQ(recorder.Lines(), (Lines{"SetTransform 256 0 1 2 3 4 5 6 7 8 9 10 11 12 13 0.100000001 15"}));
}

TEST_F(Recording, LogsDrawDataAsElementCounts) {
    static const float vertices[4 * 5] = {};
    static const std::uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    dev.SetVertexShader(RoomVertexFormat);
    dev.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    dev.BeginScene();
    dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16, vertices, 20);
    dev.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, 20);
    dev.SetTexture(0, nullptr);
    dev.EndScene();
    dev.Present(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(recorder.Lines(), (Lines{"SetVertexShader 258", "Clear 0 0 3 0 1 0", "BeginScene",
                                       "DrawIndexedPrimitiveUP 4 0 4 2 6 101 4 20", "DrawPrimitiveUP 5 2 4 20",
                                       "SetTexture 0 0", "EndScene", "Present 0 0 0 0"}));
}

TEST_F(Recording, LogsRefusedCallsToo) {
    static const float vertices[3 * 5] = {};
    static const std::uint16_t indices[3] = {0, 1, 2};
    dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 3, 1, indices, D3DFMT_INDEX16, vertices, 20);
    EXPECT_EQ(recorder.Lines(), (Lines{"DrawIndexedPrimitiveUP 4 0 3 1 3 101 3 20"}));
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawOutsideScene));
}

TEST_F(Recording, LogsLightAndMaterialFieldsAsFloats) {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = {1, 0.5f, 0.25f, 1};
    light.Position = {10, -20, 30};
    light.Range = 500;
    light.Attenuation0 = 1;
    dev.SetLight(2, &light);
    dev.LightEnable(2, true);
    D3DMATERIAL8 material{};
    material.Diffuse = {1, 1, 1, 1};
    material.Ambient = {1, 1, 1, 1};
    material.Specular = {1, 1, 1, 0};
    dev.SetMaterial(&material);
    EXPECT_EQ(recorder.Lines(),
              (Lines{"SetLight 2 1 1 0.5 0.25 1 0 0 0 0 0 0 0 0 10 -20 30 0 0 0 500 0 1 0 0 0 0", "LightEnable 2 1",
                     "SetMaterial 1 1 1 1 1 1 1 1 1 1 1 0 0 0 0 0 0"}));
}

TEST_F(Recording, LogsResourceCallsWithTheirIds) {
    Texture* texture = nullptr;
    VertexBuffer* buffer = nullptr;
    dev.CreateTexture(256, 256, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture);
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    texture->UnlockRect(0);
    dev.CreateVertexBuffer(8400, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT, &buffer);
    std::uint8_t* data = nullptr;
    buffer->Lock(0, 0, &data, D3DLOCK_DISCARD);
    buffer->Unlock();
    dev.SetStreamSource(0, buffer, 28);
    dev.SetTexture(0, texture);
    D3DCAPS8 caps{};
    dev.GetDeviceCaps(&caps);
    D3DVIEWPORT8 viewport{};
    dev.GetViewport(&viewport);
    EXPECT_EQ(recorder.Lines(),
              (Lines{"CreateTexture 256 256 1 0 26 1 1", "LockRect 1 0 512 0 0", "UnlockRect 1 0",
                     "CreateVertexBuffer 8400 520 0 0 2", "Lock 2 0 0 8400 8192", "Unlock 2",
                     "SetStreamSource 0 2 28", "SetTexture 0 1", "GetDeviceCaps 4096 4096 32 16",
                     "GetViewport 0 0 800 600 0 1"}));
}

TEST_F(Recording, LogsStateBlockCalls) {
    std::uint32_t token = 0;
    dev.BeginStateBlock();
    dev.SetRenderState(D3DRS_ALPHAREF, 8);
    dev.EndStateBlock(&token);
    dev.CaptureStateBlock(token);
    dev.ApplyStateBlock(token);
    EXPECT_EQ(recorder.Lines(), (Lines{"BeginStateBlock", "SetRenderState 24 8", "EndStateBlock 1",
                                       "CaptureStateBlock 1", "ApplyStateBlock 1"}));
}

TEST(RecordedCallLine, FormatsEachKindOfArgument) {
    Matrix4x4 identity{};
    for (int i = 0; i < 4; ++i) identity.m[i][i] = 1;
    const RecordedCall call{"Op", {std::int64_t{-3}, 0.5, double{1.0f / 3.0f}, identity}};
    EXPECT_EQ(call.ToLine(), "Op -3 0.5 0.333333343 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1");
    EXPECT_EQ((RecordedCall{"BeginScene", {}}).ToLine(), "BeginScene");
}

TEST(FileRecorderOutput, WritesOneLinePerCallAndMarkers) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        FileRecorder recorder(file);
        DeviceOnRememberingBackend d;
        d.device->SetRecorder(&recorder);
        recorder.Marker("Frame 1");
        d.device->BeginScene();
        d.device->EndScene();
    }
    std::rewind(file);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, file)) text += buffer;
    std::fclose(file);
    EXPECT_EQ(text, "Frame 1\nBeginScene\nEndScene\n");
}

}  // namespace
}  // namespace brontal
