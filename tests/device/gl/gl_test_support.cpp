#include "gl_test_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "math/matrix.h"
#include "platform/egl_headless.h"
#include "platform/image.h"
#include "support/golden_image.h"
#include "support/present_parameters.h"

// The leak check at exit is off for this program (AddressSanitizer and UBSan stay on): llvmpipe
// keeps pointers to its allocations in the memory of its JIT-compiled shaders, which the leak
// checker does not scan, so every OpenGL context seems to leak a few kilobytes from
// "<unknown module>". The hook is read by the sanitizer runtime only.
extern "C" int __lsan_is_turned_off() { return 1; }

namespace brontal::gltest {

std::uint32_t Frame::At(std::uint32_t x, std::uint32_t y) const {
    const std::uint8_t* p = rgba.data() + (std::size_t{y} * width + x) * 4;
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance) return false;
    }
    return true;
}

std::string Hex(std::uint32_t argb) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", argb);
    return text;
}

GlScene::GlScene(std::uint32_t width, std::uint32_t height, bool depth, bool allowReversedDepth) {
    D3DPRESENT_PARAMETERS p = test::TestParameters(width, height);
    p.EnableAutoDepthStencil = depth ? 1 : 0;
    auto backend = CreateHeadlessGlBackend(p, error_, allowReversedDepth);
    if (!backend) return;
    gl_ = backend.get();
    device_ = std::make_unique<Device>(std::move(backend), p, kDefaultCaps);
}

Texture* GlScene::MakeTexture(std::uint32_t width, std::uint32_t height, D3DFORMAT format, const void* texels) {
    Texture* t = nullptr;
    if (device_->CreateTexture(width, height, 1, 0, format, D3DPOOL_MANAGED, &t) != D3D_OK) return nullptr;
    D3DLOCKED_RECT locked{};
    t->LockRect(0, &locked, nullptr, 0);
    const std::uint32_t row = width * BytesPerTexel(format);
    for (std::uint32_t y = 0; y < height; ++y)
        std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + std::size_t{y} * static_cast<std::uint32_t>(locked.Pitch),
                    static_cast<const std::uint8_t*>(texels) + std::size_t{y} * row, row);
    t->UnlockRect(0);
    return t;
}

Texture* GlScene::Solid(std::uint32_t argb) { return MakeTexture(1, 1, D3DFMT_A8R8G8B8, &argb); }

void GlScene::Plain() {
    Device& d = *device_;
    d.SetRenderState(D3DRS_LIGHTING, 0);
    d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
}

void GlScene::PixelQuad(float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1) {
    const PreVertex quad[4] = {
        {x0 - 0.5f, y0 - 0.5f, 0.5f, 1.0f, u0, v0},
        {x1 - 0.5f, y0 - 0.5f, 0.5f, 1.0f, u1, v0},
        {x0 - 0.5f, y1 - 0.5f, 0.5f, 1.0f, u0, v1},
        {x1 - 0.5f, y1 - 0.5f, 0.5f, 1.0f, u1, v1},
    };
    device_->SetVertexShader(kPreVertexFormat);
    device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(PreVertex));
}

void GlScene::Begin(std::uint32_t clearArgb) {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearArgb, 1.0f, 0);
    device_->BeginScene();
}

Frame GlScene::End() {
    device_->EndScene();
    device_->Present(nullptr, nullptr, nullptr, nullptr);
    Frame f;
    device_->GetBackend().ReadPixels(f.width, f.height, f.rgba);
    return f;
}

namespace {

std::string EnvOr(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

Image ToImage(const Frame& f) {
    Image image;
    image.width = f.width;
    image.height = f.height;
    image.rgba = f.rgba;
    image.hasAlpha = false;
    return image;
}

}  // namespace

std::string CompareWithGolden(const std::string& name, const Frame& frame) {
    const std::string source = EnvOr("BRONTAL_SOURCE_DIR", BRONTAL_TEST_SOURCE_DIR);
    return test::CompareWithGoldenFile(source + "/tests/device/gl/golden/" + name + ".png", ToImage(frame),
                                       {1.0 / 500.0, 1.5}, EnvOr("BRONTAL_BINARY_DIR", ".") + "/golden_actual", name);
}

Matrix4x4 IdentityMatrix() {
    Matrix4x4 m{};
    MatrixIdentity(&m);
    return m;
}

Matrix4x4 Translation(float x, float y, float z) {
    Matrix4x4 m{};
    MatrixTranslation(&m, x, y, z);
    return m;
}

Matrix4x4 PerspectiveFovLH(float fovY, float aspect, float nearZ, float farZ) {
    Matrix4x4 m{};
    MatrixPerspectiveFovLH(&m, fovY, aspect, nearZ, farZ);
    return m;
}

}  // namespace brontal::gltest
