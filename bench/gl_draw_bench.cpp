// One frame of a 12,000-triangle scene in 50 surfaces at 1024 x 768, drawn through the device
// with the game's states (lighting from eight point lights, w-buffered depth, alpha test,
// mirror addressing, anisotropic filter, mip-mapped textures), up to a finished Present.
// Variants: geometry from the static buffers (the game's case), every draw streamed, and every
// state applied on every draw. Time is per frame; "tris/s" is the triangle rate.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/device.h"
#include "device/gl/gl_backend.h"
#include "math/matrix.h"
#include "platform/egl_headless.h"

namespace {

using namespace brontal;

struct Vertex {
    float x, y, z, u, v;
};

constexpr int kSurfaces = 50;
constexpr int kColumns = 12, kRows = 10;  // 240 triangles a surface, 12,000 in all

struct Scene {
    std::unique_ptr<Device> device;
    GlBackend* gl = nullptr;
    std::vector<std::vector<Vertex>> vertices;
    std::vector<std::vector<std::uint16_t>> indices;
    std::vector<Texture*> textures;
};

Texture* MakeTexture(Device& d, std::uint32_t seed) {
    Texture* t = nullptr;
    d.CreateTexture(64, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t);
    for (std::uint32_t level = 0; level < t->LevelCount(); ++level) {
        D3DLOCKED_RECT r{};
        t->LockRect(level, &r, nullptr, 0);
        for (std::uint32_t y = 0; y < t->Height(level); ++y)
            for (std::uint32_t x = 0; x < t->Width(level); ++x) {
                auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(r.pBits) + y * static_cast<std::uint32_t>(r.Pitch));
                const std::uint32_t alpha = ((x ^ y) & 8) ? 0xFF : 0x60;  // some texels fail the alpha test
                row[x] = alpha << 24 | ((x * 4 + seed * 40) & 0xFF) << 16 | ((y * 4) & 0xFF) << 8 | (seed * 90 & 0xFF);
            }
        t->UnlockRect(level);
    }
    return t;
}

Scene& TheScene() {
    static Scene s = [] {
        Scene scene;
        D3DPRESENT_PARAMETERS p{};
        p.BackBufferWidth = 1024;
        p.BackBufferHeight = 768;
        p.BackBufferFormat = D3DFMT_X8R8G8B8;
        p.SwapEffect = D3DSWAPEFFECT_FLIP;
        p.EnableAutoDepthStencil = 1;
        p.AutoDepthStencilFormat = D3DFMT_D16;
        std::string error;
        auto backend = CreateHeadlessGlBackend(p, error);
        if (!backend) {
            std::fprintf(stderr, "no headless OpenGL: %s\n", error.c_str());
            return scene;
        }
        scene.gl = backend.get();
        scene.device = std::make_unique<Device>(std::move(backend), p, kDefaultCaps);
        Device& d = *scene.device;
        d.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        d.SetRenderState(D3DRS_LIGHTING, 1);
        d.SetRenderState(D3DRS_AMBIENT, 0xFF141414);
        d.SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
        d.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
        d.SetRenderState(D3DRS_ALPHAREF, 144);
        d.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
        d.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_ANISOTROPIC);
        d.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_ANISOTROPIC);
        d.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
        d.SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_MIRROR);
        d.SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
        D3DMATERIAL8 material{};
        material.Diffuse = material.Ambient = {1, 1, 1, 1};
        d.SetMaterial(&material);
        for (std::uint32_t i = 0; i < 8; ++i) {
            D3DLIGHT8 light{};
            light.Type = D3DLIGHT_POINT;
            light.Ambient = {60.0f + 20.0f * static_cast<float>(i), 80, 100, 0};
            light.Position = {-600.0f + 170.0f * static_cast<float>(i), 0, 400};
            light.Range = 900;
            light.Attenuation0 = 150;
            light.Attenuation1 = 0.1f;
            d.SetLight(i, &light);
            d.LightEnable(i, true);
        }
        Matrix4x4 projection{};
        MatrixPerspectiveFovLH(&projection, 0.7853982f, 4.0f / 3.0f, 1.0f, 7500.0f);
        d.SetTransform(D3DTS_PROJECTION, &projection);
        for (std::uint32_t t = 0; t < 8; ++t) scene.textures.push_back(MakeTexture(d, t));
        // Panels of 76 x 76 units facing the camera, ten across and five down at about 400
        // units, overlapping: the screen is covered about twice over, as by a room's walls.
        for (int s = 0; s < kSurfaces; ++s) {
            const float cx = -258.0f + 44.0f * static_cast<float>(s % 10), z = 380.0f + 8.0f * static_cast<float>(s % 7);
            const float cy = -180.0f + 66.0f * static_cast<float>(s / 10);
            std::vector<Vertex> v;
            for (int y = 0; y <= kRows; ++y)
                for (int x = 0; x <= kColumns; ++x)
                    v.push_back({cx + 6.33f * static_cast<float>(x), cy + 7.6f * static_cast<float>(y), z,
                                 static_cast<float>(x) / 4.0f, 1.0f - static_cast<float>(y) / 4.0f});
            std::vector<std::uint16_t> i;
            for (int y = 0; y < kRows; ++y)
                for (int x = 0; x < kColumns; ++x) {
                    const auto at = [](int cx2, int cy2) { return static_cast<std::uint16_t>(cy2 * (kColumns + 1) + cx2); };
                    // Clockwise on screen: up-left, up-right, down-right, then down-left.
                    i.insert(i.end(), {at(x, y + 1), at(x + 1, y + 1), at(x + 1, y), at(x, y + 1), at(x + 1, y), at(x, y)});
                }
            scene.vertices.push_back(std::move(v));
            scene.indices.push_back(std::move(i));
        }
        return scene;
    }();
    return s;
}

void DrawFrame(Scene& s) {
    Device& d = *s.device;
    d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    d.BeginScene();
    d.SetVertexShader(RoomVertexFormat);
    for (int i = 0; i < kSurfaces; ++i) {
        d.SetTexture(0, s.textures[static_cast<std::size_t>(i) % s.textures.size()]);
        const auto& v = s.vertices[static_cast<std::size_t>(i)];
        const auto& idx = s.indices[static_cast<std::size_t>(i)];
        d.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, static_cast<std::uint32_t>(v.size()),
                                 static_cast<std::uint32_t>(idx.size() / 3), idx.data(), D3DFMT_INDEX16, v.data(),
                                 sizeof(Vertex));
    }
    d.EndScene();
    d.Present(nullptr, nullptr, nullptr, nullptr);
}

void RunFrames(benchmark::State& state, bool caching, bool fullApply) {
    Scene& s = TheScene();
    if (!s.device) {
        state.SkipWithError("no headless OpenGL");
        return;
    }
    s.gl->SetStaticCaching(caching);
    s.gl->SetForceFullApply(fullApply);
    for (int i = 0; i < 3; ++i) DrawFrame(s);  // the static buffers fill on the second frame
    s.gl->Finish();
    for (auto _ : state) {
        DrawFrame(s);
        s.gl->Finish();
    }
    state.counters["tris/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSurfaces * kColumns * kRows * 2,
                           benchmark::Counter::kIsRate);
    s.gl->SetStaticCaching(true);
    s.gl->SetForceFullApply(false);
}

// Fill rate: eight full-screen quads one behind another, textured and lit by the scene's eight
// lights, with the alpha test on (range(0) = 1, as the game draws everything) or off, drawn
// farthest first (range(1) = 0: every fragment passes the depth test and is shaded and written)
// or nearest first (1: all but the first quad's fragments fail it). "fragments/s" is the rate of
// fragments rasterised: what llvmpipe needs per pixel, whatever the scene. Filtering as the
// game starts: linear, mirrored, no mip levels.
void BM_Fill(benchmark::State& state) {
    Scene& s = TheScene();
    if (!s.device) {
        state.SkipWithError("no headless OpenGL");
        return;
    }
    constexpr int kLayers = 8;
    Device& d = *s.device;
    d.SetRenderState(D3DRS_ALPHATESTENABLE, static_cast<std::uint32_t>(state.range(0)));
    d.SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);  // the game's filtering
    std::vector<Vertex> quads;
    for (int layer = 0; layer < kLayers; ++layer) {
        // About 1000 away a quad 1400 units wide overfills the 4:3 view of 45 degrees.
        const float step = 10.0f * static_cast<float>(layer), h = 700.0f;
        const float z = state.range(1) ? 930.0f + step : 1000.0f - step;
        quads.insert(quads.end(), {{-h, h, z, 0, 0}, {h, h, z, 8, 0}, {-h, -h, z, 0, 8}, {h, -h, z, 8, 8}});
    }
    const std::uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
    auto frame = [&] {
        d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        d.BeginScene();
        d.SetVertexShader(RoomVertexFormat);
        for (int layer = 0; layer < kLayers; ++layer) {
            d.SetTexture(0, s.textures[static_cast<std::size_t>(layer) % s.textures.size()]);
            d.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16, &quads[std::size_t(layer) * 4],
                                     sizeof(Vertex));
        }
        d.EndScene();
        d.Present(nullptr, nullptr, nullptr, nullptr);
        s.gl->Finish();
    };
    frame();
    for (auto _ : state) frame();
    const double fragments = 1024.0 * 768.0 * kLayers;
    state.counters["fragments/s"] =
        benchmark::Counter(fragments * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    d.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    d.SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
}

void BM_FrameFromStaticBuffers(benchmark::State& state) { RunFrames(state, true, false); }
void BM_FrameStreamingEveryDraw(benchmark::State& state) { RunFrames(state, false, false); }
void BM_FrameFullStateApply(benchmark::State& state) { RunFrames(state, true, true); }

BENCHMARK(BM_FrameFromStaticBuffers)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameStreamingEveryDraw)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameFullStateApply)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Fill)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
