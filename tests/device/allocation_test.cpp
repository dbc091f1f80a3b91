// The game counts heap allocations per frame: a frame's device calls must make none when no
// recorder is attached.
#include <gtest/gtest.h>


#include "device_fixture.h"
#include "support/heap_allocations.h"

namespace brontal {
namespace {

TEST(FrameAllocations, NoneWithoutARecorder) {
    Device dev(std::make_unique<NullBackend>(), test::TestParameters(), kDefaultCaps);
    Texture* atlas = nullptr;
    VertexBuffer* vb = nullptr;
    ASSERT_EQ(dev.CreateTexture(256, 256, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &atlas), D3D_OK);
    ASSERT_EQ(dev.CreateVertexBuffer(8400, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT, &vb), D3D_OK);
    D3DLIGHT8 light{};
    dev.SetLight(0, &light);
    dev.LightEnable(0, true);
    std::uint32_t saved = 0, text = 0;
    for (std::uint32_t* token : {&saved, &text}) {
        dev.BeginStateBlock();
        dev.SetTexture(0, atlas);
        dev.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        dev.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
        dev.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        dev.EndStateBlock(token);
    }
    static const float vertices[4 * 5] = {};
    static const std::uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    Matrix4x4 world{}, got{};

    const std::uint64_t before = test::HeapAllocations();
    for (int frame = 0; frame < 3; ++frame) {
        dev.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        dev.BeginScene();
        dev.SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
        dev.SetRenderState(D3DRS_ALPHAREF, 0x90);
        dev.GetTransform(D3DTS_WORLD, &got);
        dev.SetTransform(D3DTS_WORLD, &world);
        dev.SetTexture(0, atlas);
        dev.SetVertexShader(RoomVertexFormat);
        dev.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, 20);
        dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16, vertices, 20);
        dev.CaptureStateBlock(saved);
        dev.ApplyStateBlock(text);
        dev.SetVertexShader(TextVertexFormat);
        dev.SetStreamSource(0, vb, 28);
        std::uint8_t* data = nullptr;
        vb->Lock(0, 0, &data, D3DLOCK_DISCARD);
        vb->Unlock();
        dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 100);
        dev.ApplyStateBlock(saved);
        dev.EndScene();
        dev.Present(nullptr, nullptr, nullptr, nullptr);
    }
    EXPECT_EQ(test::HeapAllocations() - before, 0u);
    EXPECT_TRUE(dev.Errors().empty());
}

}  // namespace
}  // namespace brontal
