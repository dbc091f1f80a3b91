#pragma once
// What a backend sees of the device: a snapshot of the state a draw needs, and the draw itself.
// A backend draws, clears, presents and reads back; all device semantics live in Device.
#include <array>
#include <cstdint>
#include <vector>

#include "device/d3d8_types.h"

namespace brontal {

class Texture;

struct LightSlot {
    D3DLIGHT8 light{};
    bool enabled = false;
};

// Everything the device keeps that a draw depends on. Comparable, so a backend can apply only
// what changed since its last draw.
struct DeviceState {
    std::array<std::uint32_t, kRenderStateSlots> renderState{};
    std::array<std::array<std::uint32_t, kStageStateSlots>, kTextureStages> stageState{};
    std::array<Texture*, kTextureStages> texture{};
    Matrix4x4 world{};
    Matrix4x4 view{};
    Matrix4x4 projection{};
    D3DMATERIAL8 material{};
    std::vector<LightSlot> lights;  // indexed by light number
    std::uint32_t vertexShader = 0;  // FVF code of the next draws

    bool operator==(const DeviceState&) const;
};

// One draw, with its data still in the caller's memory (or in the device's vertex buffer). The
// device has checked it against that data before a backend sees it: vertices [minVertexIndex,
// vertexCount) are readable, every index lies among them, and the stride covers the format.
struct DrawCall {
    D3DPRIMITIVETYPE primitiveType = D3DPT_TRIANGLELIST;
    std::uint32_t primitiveCount = 0;
    std::uint32_t fvf = 0;
    const void* vertices = nullptr;  // first vertex
    std::uint32_t vertexCount = 0;   // vertices readable from `vertices`
    std::uint32_t stride = 0;        // bytes per vertex
    const std::uint16_t* indices = nullptr;  // null for non-indexed draws
    std::uint32_t indexCount = 0;            // primitive's index count (indexed draws)
    std::uint32_t minVertexIndex = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    // A texture was created, or texels of one of its levels were written (after UnlockRect).
    virtual void TextureCreated(Texture& texture) = 0;
    virtual void TextureUpdated(Texture& texture, std::uint32_t level) = 0;
    virtual void TextureDestroyed(Texture& texture) = 0;
    virtual void Clear(std::uint32_t flags, D3DCOLOR colour, float z, std::uint32_t stencil) = 0;
    virtual void Draw(const DeviceState& state, const DrawCall& call) = 0;
    // A valid draw made outside any scene: nothing is drawn, but the geometry will come again
    // unchanged (the start-up pass over every room), so a backend may get it ready now.
    virtual void Prepare(const DrawCall& call) { (void)call; }
    // The geometry drawn so far will not come again (the level was replaced): what the backend
    // keeps of it may go.
    virtual void ForgetStaticGeometry() {}
    virtual void Present() = 0;
    // The last presented frame (or the current back buffer when nothing was presented) as rows of
    // RGBA bytes, top row first. Returns false when the backend has no pixels (the null backend,
    // or a frame shown straight in a window without being kept).
    virtual bool ReadPixels(std::uint32_t& width, std::uint32_t& height, std::vector<std::uint8_t>& rgba) = 0;
    // Asked between frames: the next frame stays readable by ReadPixels once presented. A backend
    // that may draw a frame straight into its window, where nothing can be read back after the
    // swap, draws that frame into its own back buffer instead.
    virtual void KeepNextFrameReadable() {}
    // "OpenGL 3.3 (Core Profile) Mesa ..., llvmpipe" or "null".
    virtual const char* Description() const = 0;
};

// A backend that draws nothing.
class NullBackend final : public Backend {
public:
    void TextureCreated(Texture&) override {}
    void TextureUpdated(Texture&, std::uint32_t) override {}
    void TextureDestroyed(Texture&) override {}
    void Clear(std::uint32_t, D3DCOLOR, float, std::uint32_t) override {}
    void Draw(const DeviceState&, const DrawCall&) override {}
    void Present() override {}
    bool ReadPixels(std::uint32_t&, std::uint32_t&, std::vector<std::uint8_t>&) override { return false; }
    const char* Description() const override { return "null"; }
};

}  // namespace brontal
