#pragma once
// A device on the headless OpenGL backend, small drawing helpers, and the golden-image check.
//
// Golden images live in tests/device/gl/golden/<name>.png. To regenerate them after a
// deliberate change in what the backend draws, run
//     BRONTAL_REGENERATE_GOLDEN=1 ctest --test-dir <build> -R test_device_gl
// and look at every changed PNG before committing it. A failing comparison writes what was
// drawn to <build>/golden_actual/<name>.png.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/device.h"
#include "device/gl/gl_backend.h"

namespace brontal::gltest {

struct Frame {
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // top row first
    std::uint32_t At(std::uint32_t x, std::uint32_t y) const;  // 0xAARRGGBB
};

// Channels of two ARGB colours differ by at most `tolerance`.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 2);
std::string Hex(std::uint32_t argb);

struct PreVertex {  // XYZRHW | TEX1 (0x104)
    float x, y, z, rhw, u, v;
};
struct TextVertex {  // XYZRHW | DIFFUSE | TEX1 (0x144), the text overlay's layout
    float x, y, z, rhw;
    std::uint32_t colour;
    float u, v;
};
struct WorldVertex {  // XYZ | TEX1 (0x102), the world's layout
    float x, y, z, u, v;
};
inline constexpr std::uint32_t kPreVertexFormat = D3DFVF_XYZRHW | D3DFVF_TEX1;
static_assert(sizeof(PreVertex) == 24 && sizeof(TextVertex) == 28 && sizeof(WorldVertex) == 20);

class GlScene {
public:
    // `allowReversedDepth` false keeps the backend on the standard depth mapping.
    explicit GlScene(std::uint32_t width = 64, std::uint32_t height = 64, bool depth = true,
                     bool allowReversedDepth = true);
    bool Ready() const { return device_ != nullptr; }
    const std::string& Error() const { return error_; }
    Device& Dev() { return *device_; }
    GlBackend& Gl() { return *gl_; }

    // A one-level texture of the given format with texels as the device stores them.
    Texture* MakeTexture(std::uint32_t width, std::uint32_t height, D3DFORMAT format, const void* texels);
    // A one-texel opaque texture.
    Texture* Solid(std::uint32_t argb);
    // Lighting off, culling off, depth off: what the pixel tests start from.
    void Plain();
    // A pre-transformed quad over pixels [x0, x1) x [y0, y1) with texture coordinates u0..u1,
    // v0..v1 (the text's -0.5 shift applied).
    void PixelQuad(float x0, float y0, float x1, float y1, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1);
    void Begin(std::uint32_t clearArgb = 0xFF000000);
    Frame End();  // ends the scene, presents, reads back

private:
    std::unique_ptr<Device> device_;
    GlBackend* gl_ = nullptr;
    std::string error_;
};

// Compares with golden/<name>.png: at most 0.2 % of the pixels may differ by more than 24 in a
// channel, and the mean difference must stay under 1.5. Returns "" on success, else why not.
std::string CompareWithGolden(const std::string& name, const Frame& frame);

Matrix4x4 IdentityMatrix();
Matrix4x4 Translation(float x, float y, float z);
Matrix4x4 PerspectiveFovLH(float fovY, float aspect, float nearZ, float farZ);

}  // namespace brontal::gltest
