#include <gtest/gtest.h>

#include <cstring>

#include "device_fixture.h"

namespace brontal {
namespace {

using test::DeviceOnRememberingBackend;
using test::SeenDraw;

struct RoomVertex {
    float x, y, z, u, v;
};
static_assert(sizeof(RoomVertex) == 20);

constexpr RoomVertex kQuad[4] = {{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 1, 0, 0, 1}, {1, 1, 0, 1, 1}};
constexpr std::uint16_t kQuadIndices[6] = {0, 1, 2, 2, 1, 3};

HRESULT DrawQuad(Device& dev, std::uint32_t vertexCount = 4, std::uint32_t primitives = 2) {
    return dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, vertexCount, primitives, kQuadIndices, D3DFMT_INDEX16,
                                      kQuad, sizeof(RoomVertex));
}

class Draws : public ::testing::Test {
protected:
    void SetUp() override { dev.SetVertexShader(RoomVertexFormat); }
    DeviceOnRememberingBackend d;
    Device& dev = *d.device;
};

TEST_F(Draws, RepeatedMisuseKeepsABoundedErrorList) {
    for (std::size_t i = 0; i < kMaxKeptDeviceErrors + 100; ++i) EXPECT_EQ(DrawQuad(dev), D3DERR_INVALIDCALL);
    EXPECT_EQ(dev.Errors().size(), kMaxKeptDeviceErrors);
    EXPECT_EQ(dev.Errors().back(), DeviceError::DrawOutsideScene);
}

TEST_F(Draws, OutsideASceneAreRefusedHarmlessly) {
    // The start-up pass draws every room before the first BeginScene.
    EXPECT_EQ(DrawQuad(dev), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawOutsideScene));
    EXPECT_EQ(dev.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kQuad, 20), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawOutsideScene));
    EXPECT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawOutsideScene));
    EXPECT_TRUE(d.backend->draws.empty());

    // After the scene has ended, too.
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    ASSERT_EQ(dev.EndScene(), D3D_OK);
    EXPECT_EQ(DrawQuad(dev), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.backend->draws.empty());
}

TEST_F(Draws, AWarmUpPassPreparesGeometryWithoutErrorsOrDrawing) {
    dev.BeginWarmUp();
    EXPECT_EQ(DrawQuad(dev), D3D_OK);
    EXPECT_EQ(DrawQuad(dev, 2), D3DERR_INVALIDCALL) << "an index past the vertices is still refused";
    EXPECT_TRUE(d.LastErrorIs(DeviceError::IndexPastVertexData));
    dev.EndWarmUp();
    EXPECT_EQ(dev.Errors().size(), 1u);
    EXPECT_EQ(d.backend->prepared, 1u);
    EXPECT_TRUE(d.backend->draws.empty());
    EXPECT_EQ(DrawQuad(dev), D3DERR_INVALIDCALL) << "after the pass, outside a scene is an error again";
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawOutsideScene));
}

TEST_F(Draws, ScenesPairUp) {
    EXPECT_EQ(dev.EndScene(), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::SceneNotBegun));
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    EXPECT_TRUE(dev.InScene());
    EXPECT_EQ(dev.BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::SceneAlreadyBegun));
    EXPECT_TRUE(dev.InScene());
    ASSERT_EQ(dev.EndScene(), D3D_OK);
    EXPECT_FALSE(dev.InScene());
}

TEST_F(Draws, IndexedDrawReachesTheBackendWithTheStateOfTheMoment) {
    Texture* t = nullptr;
    ASSERT_EQ(dev.CreateTexture(4, 4, 0, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &t), D3D_OK);
    ASSERT_EQ(dev.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    dev.SetTexture(0, t);
    dev.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    ASSERT_EQ(DrawQuad(dev), D3D_OK);
    dev.SetTexture(0, nullptr);
    ASSERT_EQ(DrawQuad(dev, 3, 1), D3D_OK);
    ASSERT_EQ(dev.EndScene(), D3D_OK);
    ASSERT_EQ(dev.Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    EXPECT_EQ(d.backend->clears, (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(d.backend->presents, 1);
    ASSERT_EQ(d.backend->draws.size(), 2u);
    const DrawCall& first = d.backend->draws[0].call;
    EXPECT_EQ(first.primitiveType, D3DPT_TRIANGLELIST);
    EXPECT_EQ(first.primitiveCount, 2u);
    EXPECT_EQ(first.fvf, RoomVertexFormat);
    EXPECT_EQ(first.vertices, kQuad);
    EXPECT_EQ(first.vertexCount, 4u);
    EXPECT_EQ(first.stride, 20u);
    EXPECT_EQ(first.indices, kQuadIndices);
    EXPECT_EQ(first.indexCount, 6u);
    EXPECT_EQ(first.minVertexIndex, 0u);
    EXPECT_EQ(d.backend->draws[0].texture0, t);
    EXPECT_EQ(d.backend->draws[0].cullMode, D3DCULL_NONE);
    EXPECT_EQ(d.backend->draws[1].texture0, nullptr);
    EXPECT_EQ(d.backend->draws[1].call.indexCount, 3u);
}

TEST_F(Draws, IndicesOutsideTheCallersVerticesAreRefused) {
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    // Index 3 is the fourth vertex: with a vertex count of 3 it lies past the caller's array.
    EXPECT_EQ(DrawQuad(dev, 3, 2), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::IndexPastVertexData));
    // Below the minimum vertex index, too.
    const std::uint16_t indices[3] = {1, 2, 3};
    EXPECT_EQ(dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 1, 3, 1, indices, D3DFMT_INDEX16, kQuad, 20), D3D_OK);
    EXPECT_EQ(dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 2, 2, 1, indices, D3DFMT_INDEX16, kQuad, 20),
              D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::IndexPastVertexData));
    ASSERT_EQ(d.backend->draws.size(), 1u);
    // The backend may read vertices [minVertexIndex, vertexCount).
    EXPECT_EQ(d.backend->draws[0].call.minVertexIndex, 1u);
    EXPECT_EQ(d.backend->draws[0].call.vertexCount, 4u);
}

TEST_F(Draws, BadArgumentsAreRefusedByName) {
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    EXPECT_EQ(dev.DrawIndexedPrimitiveUP(static_cast<D3DPRIMITIVETYPE>(9), 0, 4, 2, kQuadIndices, D3DFMT_INDEX16,
                                         kQuad, 20),
              D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnknownPrimitiveType));
    EXPECT_EQ(dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, kQuadIndices, D3DFMT_A8R8G8B8, kQuad, 20),
              D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnsupportedIndexFormat));
    EXPECT_EQ(dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, nullptr, D3DFMT_INDEX16, kQuad, 20),
              D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::NullArgument));
    EXPECT_EQ(dev.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, kQuadIndices, D3DFMT_INDEX16, kQuad, 16),
              D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::StrideTooSmall));  // 0x102 vertices are 20 bytes
    EXPECT_EQ(DrawQuad(dev, 4, 0x100000), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::TooManyPrimitives));
    dev.SetVertexShader(0);
    EXPECT_EQ(DrawQuad(dev), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::UnsupportedVertexFormat));
    dev.SetVertexShader(TextVertexFormat);
    EXPECT_EQ(dev.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kQuad, 20), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::StrideTooSmall));  // 0x144 vertices are 28 bytes
    EXPECT_TRUE(d.backend->draws.empty());

    // No primitives: accepted, nothing drawn.
    dev.SetVertexShader(RoomVertexFormat);
    dev.ClearErrors();
    EXPECT_EQ(DrawQuad(dev, 4, 0), D3D_OK);
    EXPECT_TRUE(dev.Errors().empty());
    EXPECT_TRUE(d.backend->draws.empty());

    const D3DRECT rect{0, 0, 4, 4};
    EXPECT_EQ(dev.Clear(1, &rect, D3DCLEAR_TARGET, 0, 1, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::ClearRectsUnsupported));
    EXPECT_EQ(dev.Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1, 0), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::NullArgument));
    EXPECT_TRUE(d.backend->clears.empty());
}

TEST_F(Draws, StripReadsPrimitivesPlusTwoVertices) {
    ASSERT_EQ(dev.BeginScene(), D3D_OK);
    ASSERT_EQ(dev.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kQuad, 20), D3D_OK);
    ASSERT_EQ(d.backend->draws.size(), 1u);
    EXPECT_EQ(d.backend->draws[0].call.vertexCount, 4u);
    EXPECT_EQ(d.backend->draws[0].call.indices, nullptr);
    EXPECT_EQ(std::memcmp(d.backend->draws[0].vertexBytes.data(), kQuad, sizeof kQuad), 0);
}

class BufferDraws : public Draws {
protected:
    void SetUp() override {
        dev.SetVertexShader(TextVertexFormat);
        ASSERT_EQ(dev.CreateVertexBuffer(8400, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT, &vb), D3D_OK);
        ASSERT_EQ(dev.BeginScene(), D3D_OK);
    }
    void Fill(std::uint8_t byte) {
        std::uint8_t* data = nullptr;
        ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
        std::memset(data, byte, vb->Length());
        ASSERT_EQ(vb->Unlock(), D3D_OK);
    }
    VertexBuffer* vb = nullptr;
};

TEST_F(BufferDraws, DrawPrimitiveReadsTheStreamSource) {
    EXPECT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::NoStreamSource));
    ASSERT_EQ(dev.SetStreamSource(0, vb, 28), D3D_OK);

    Fill(0x11);
    ASSERT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 100), D3D_OK);  // all 300 vertices
    Fill(0x22);
    ASSERT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 6, 2), D3D_OK);
    ASSERT_EQ(d.backend->draws.size(), 2u);
    const SeenDraw& full = d.backend->draws[0];
    EXPECT_EQ(full.call.vertices, vb->Data());
    EXPECT_EQ(full.call.vertexCount, 300u);
    EXPECT_EQ(full.call.stride, 28u);
    EXPECT_EQ(full.call.fvf, TextVertexFormat);
    EXPECT_EQ(full.vertexBytes.front(), 0x11);
    const SeenDraw& part = d.backend->draws[1];
    EXPECT_EQ(part.call.vertices, vb->Data() + 6 * 28);
    EXPECT_EQ(part.call.vertexCount, 6u);
    EXPECT_EQ(part.vertexBytes.front(), 0x22);  // each batch sees what was written for it
}

TEST_F(BufferDraws, DrawPrimitiveNeverReadsPastTheBuffer) {
    ASSERT_EQ(dev.SetStreamSource(0, vb, 28), D3D_OK);
    EXPECT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 101), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawPastBuffer));
    EXPECT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 1, 100), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawPastBuffer));
    EXPECT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0xFFFFFFFFu, 1), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawPastBuffer));
    ASSERT_EQ(dev.SetStreamSource(0, vb, 20), D3D_OK);
    EXPECT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::StrideTooSmall));
    ASSERT_EQ(dev.SetStreamSource(0, vb, 28), D3D_OK);

    std::uint8_t* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(dev.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_TRUE(d.LastErrorIs(DeviceError::DrawWhileLocked));
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_TRUE(d.backend->draws.empty());
}

}  // namespace
}  // namespace brontal
