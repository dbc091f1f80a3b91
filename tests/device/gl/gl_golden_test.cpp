// What the OpenGL backend draws, checked pixel by pixel where the device's rules fix the value
// and against golden images (with a tolerance) for the picture as a whole.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "gl_test_support.h"

namespace brontal::gltest {
namespace {

#define REQUIRE_SCENE(s) \
    if (!(s).Ready()) FAIL() << "no headless OpenGL: " << (s).Error()

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kBlack = 0xFF000000,
                        kWhite = 0xFFFFFFFF;

TEST(GlPixels, PreTransformedVerticesUseThePlatformsPixelCentres) {
    GlScene s(16, 16);
    REQUIRE_SCENE(s);
    s.Plain();
    s.Dev().SetTexture(0, s.Solid(kRed));
    s.Begin();
    s.PixelQuad(5, 7, 6, 8);  // pixel (5, 7) exactly, shifted by -0.5 as the text does
    const Frame f = s.End();
    int red = 0;
    for (std::uint32_t y = 0; y < 16; ++y)
        for (std::uint32_t x = 0; x < 16; ++x) red += f.At(x, y) == kRed;
    EXPECT_EQ(f.At(5, 7), kRed);
    EXPECT_EQ(red, 1) << "a one-pixel quad must cover one pixel";
    EXPECT_EQ(s.Gl().TakeGlError(), 0u);
}

TEST(GlPixels, TextureRowZeroIsTopAndFormatsKeepTheirChannels) {
    GlScene s(16, 16);
    REQUIRE_SCENE(s);
    s.Plain();
    // A8R8G8B8 is stored as bytes B, G, R, A: a little-endian 0xAARRGGBB word.
    const std::uint32_t argb[4] = {kRed, kGreen, kBlue, kWhite};
    s.Dev().SetTexture(0, s.MakeTexture(2, 2, D3DFMT_A8R8G8B8, argb));
    s.Begin();
    s.PixelQuad(0, 0, 8, 8);
    const std::uint16_t a4[2] = {0xF00F, 0x8F00};  // opaque blue; red with alpha 8 of 15
    s.Dev().SetTexture(0, s.MakeTexture(2, 1, D3DFMT_A4R4G4B4, a4));
    s.PixelQuad(8, 0, 16, 4);
    const std::uint16_t r5g6b5 = 0x07E0;  // green
    s.Dev().SetTexture(0, s.MakeTexture(1, 1, D3DFMT_R5G6B5, &r5g6b5));
    s.PixelQuad(8, 4, 16, 8);
    const Frame f = s.End();
    EXPECT_EQ(f.At(1, 1), kRed) << "row 0 of the image is drawn at v = 0, the top";
    EXPECT_EQ(f.At(6, 1), kGreen);
    EXPECT_EQ(f.At(1, 6), kBlue);
    EXPECT_EQ(f.At(6, 6), kWhite);
    EXPECT_EQ(f.At(9, 1), kBlue);
    EXPECT_EQ(f.At(14, 1), kRed);
    EXPECT_EQ(f.At(12, 6), kGreen);
}

TEST(GlPixels, AlphaTestKeepsTexelsAtOrAboveTheReference) {
    GlScene s(16, 16);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    d.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    d.SetRenderState(D3DRS_ALPHAREF, 144);
    d.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    const std::uint32_t texels[4] = {0x00FF0000, 0x8FFF0000, 0x90FF0000, 0xFFFF0000};  // alpha 0, 143, 144, 255
    d.SetTexture(0, s.MakeTexture(4, 1, D3DFMT_A8R8G8B8, texels));
    // Alpha 136 (8 of 15) against references 136 and 137: the 4-bit alpha expands exactly.
    const std::uint16_t a4 = 0x8F00;
    Texture* quarter = s.MakeTexture(1, 1, D3DFMT_A4R4G4B4, &a4);
    s.Begin(kGreen);
    s.PixelQuad(0, 0, 16, 4);
    d.SetTexture(0, quarter);
    d.SetRenderState(D3DRS_ALPHAREF, 136);
    s.PixelQuad(0, 8, 8, 12);
    d.SetRenderState(D3DRS_ALPHAREF, 137);
    s.PixelQuad(8, 8, 16, 12);
    const Frame f = s.End();
    EXPECT_EQ(f.At(1, 1), kGreen) << "alpha 0";
    EXPECT_EQ(f.At(5, 1), kGreen) << "alpha 143 is below 144";
    EXPECT_EQ(f.At(9, 1), kRed) << "alpha 144 passes";
    EXPECT_EQ(f.At(13, 1), kRed);
    EXPECT_EQ(f.At(2, 9), kRed) << "136 >= 136";
    EXPECT_EQ(f.At(10, 9), kGreen) << "136 < 137";
}

TEST(GlGolden, AlphaTestedCutout) {
    GlScene s(64, 64);
    REQUIRE_SCENE(s);
    s.Plain();
    s.Dev().SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    s.Dev().SetRenderState(D3DRS_ALPHAREF, 144);
    s.Dev().SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    s.Dev().SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    s.Dev().SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    std::uint32_t texels[16 * 16];
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const float r = std::hypot(static_cast<float>(x) - 7.5f, static_cast<float>(y) - 7.5f);
            const auto alpha = static_cast<std::uint32_t>(std::clamp(255.0f - (r - 4.0f) * 64.0f, 0.0f, 255.0f));
            texels[y * 16 + x] = (alpha << 24) | (static_cast<std::uint32_t>(x * 16) << 16) | 0x00A0 |
                                 (static_cast<std::uint32_t>(y * 16) << 8);
        }
    s.Dev().SetTexture(0, s.MakeTexture(16, 16, D3DFMT_A8R8G8B8, texels));
    s.Begin(0xFF204060);
    s.PixelQuad(0, 0, 64, 64);
    EXPECT_EQ(CompareWithGolden("alpha_cutout", s.End()), "");
}

TEST(GlPixels, SourceAlphaBlending) {
    GlScene s(16, 16);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    d.SetTexture(0, s.Solid(0x80FF0000));  // red at alpha 128
    s.Begin(kBlue);
    d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    s.PixelQuad(0, 0, 8, 16);
    d.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    s.PixelQuad(8, 0, 16, 16);
    const Frame f = s.End();
    EXPECT_TRUE(Near(f.At(3, 3), 0xFF80007F)) << Hex(f.At(3, 3)) << ": red * 128/255 + blue * 127/255";
    EXPECT_EQ(f.At(12, 3), kRed) << "blending off writes the source";
    EXPECT_EQ(CompareWithGolden("blending", f), "");
}

TEST(GlPixels, CullingFollowsTheScreenWinding) {
    GlScene s(32, 16);
    REQUIRE_SCENE(s);
    Device& d = s.Dev();
    s.Plain();
    d.SetTexture(0, s.Solid(kWhite));
    d.SetVertexShader(kPreVertexFormat);
    // On the y-down screen: top-left, top-right, bottom-left runs clockwise.
    const PreVertex clockwise[3] = {{0, 0, 0.5f, 1, 0, 0}, {15, 0, 0.5f, 1, 0, 0}, {0, 15, 0.5f, 1, 0, 0}};
    const PreVertex counter[3] = {{16, 0, 0.5f, 1, 0, 0}, {16, 15, 0.5f, 1, 0, 0}, {31, 0, 0.5f, 1, 0, 0}};
    auto frameWith = [&](std::uint32_t cull) {
        d.SetRenderState(D3DRS_CULLMODE, cull);
        s.Begin();
        d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, clockwise, sizeof(PreVertex));
        d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, counter, sizeof(PreVertex));
        return s.End();
    };
    const Frame ccw = frameWith(D3DCULL_CCW);
    EXPECT_EQ(ccw.At(3, 3), kWhite) << "clockwise survives D3DCULL_CCW";
    EXPECT_EQ(ccw.At(19, 3), kBlack) << "counter-clockwise is culled by D3DCULL_CCW";
    const Frame cw = frameWith(D3DCULL_CW);
    EXPECT_EQ(cw.At(3, 3), kBlack);
    EXPECT_EQ(cw.At(19, 3), kWhite);
    const Frame none = frameWith(D3DCULL_NONE);
    EXPECT_EQ(none.At(3, 3), kWhite);
    EXPECT_EQ(none.At(19, 3), kWhite);
}

// A unit box of six faces, each with its own colour. Faces run clockwise seen from outside (a
// model) or, reversed, clockwise seen from inside (a room).
struct Box {
    WorldVertex vertices[24];
    std::uint16_t indices[36];
};

Box MakeBox(bool room) {
    Box b{};
    struct Axis {
        float n[3], up[3];
    };
    const Axis faces[6] = {{{0, 0, -1}, {0, 1, 0}}, {{0, 0, 1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 1, 0}},
                           {{1, 0, 0}, {0, 1, 0}},  {{0, 1, 0}, {0, 0, 1}}, {{0, -1, 0}, {0, 0, 1}}};
    for (int f = 0; f < 6; ++f) {
        const float* n = faces[f].n;
        const float* u = faces[f].up;
        const float dir[3] = {-n[0], -n[1], -n[2]};  // the outside viewer looks along -n
        const float r[3] = {u[1] * dir[2] - u[2] * dir[1], u[2] * dir[0] - u[0] * dir[2], u[0] * dir[1] - u[1] * dir[0]};
        const float corner[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};  // TL, TR, BR, BL in (right, up)
        for (int c = 0; c < 4; ++c) {
            WorldVertex& v = b.vertices[f * 4 + c];
            v.x = n[0] + r[0] * corner[c][0] + u[0] * corner[c][1];
            v.y = n[1] + r[1] * corner[c][0] + u[1] * corner[c][1];
            v.z = n[2] + r[2] * corner[c][0] + u[2] * corner[c][1];
            v.u = 0.5f;
            v.v = 0.5f;
        }
        const std::uint16_t base = static_cast<std::uint16_t>(f * 4);
        const std::uint16_t outside[6] = {0, 1, 2, 0, 2, 3};  // clockwise seen from outside
        const std::uint16_t inside[6] = {0, 2, 1, 0, 3, 2};
        for (int i = 0; i < 6; ++i) b.indices[f * 6 + i] = static_cast<std::uint16_t>(base + (room ? inside : outside)[i]);
    }
    return b;
}

constexpr std::uint32_t kFaceColours[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};

Frame DrawBox(GlScene& s, const Box& box, float eyeZ, Texture* const* faceTextures) {
    Device& d = s.Dev();
    s.Plain();
    d.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    const Matrix4x4 view = Translation(0, 0, -eyeZ), projection = PerspectiveFovLH(2.0943951f, 1.0f, 0.1f, 100.0f);
    d.SetTransform(D3DTS_VIEW, &view);
    d.SetTransform(D3DTS_PROJECTION, &projection);
    d.SetVertexShader(RoomVertexFormat);
    s.Begin(kBlack);
    for (int f = 0; f < 6; ++f) {
        d.SetTexture(0, faceTextures[f]);
        d.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 24, 2, box.indices + f * 6, D3DFMT_INDEX16, box.vertices,
                                 sizeof(WorldVertex));
    }
    return s.End();
}

TEST(GlGolden, CullingOfABoxSeenFromInsideAndOutside) {
    GlScene s(48, 48);
    REQUIRE_SCENE(s);
    Texture* faces[6];
    for (int f = 0; f < 6; ++f) faces[f] = s.Solid(kFaceColours[f]);
    const Box model = MakeBox(false), room = MakeBox(true);
    // Depth is off: only culling decides what shows.
    const Frame modelOutside = DrawBox(s, model, -5.0f, faces);
    EXPECT_EQ(modelOutside.At(24, 24), kFaceColours[0]) << "from outside a model shows its near face";
    EXPECT_EQ(modelOutside.At(1, 1), kBlack);
    EXPECT_EQ(CompareWithGolden("box_model_outside", modelOutside), "");
    const Frame modelInside = DrawBox(s, model, 0.0f, faces);
    EXPECT_EQ(modelInside.At(24, 24), kBlack) << "from inside every face of a model is culled";
    EXPECT_EQ(modelInside.At(2, 24), kBlack);
    const Frame roomInside = DrawBox(s, room, 0.0f, faces);
    EXPECT_EQ(roomInside.At(24, 24), kFaceColours[1]) << "inside a room the wall ahead (+z) shows";
    EXPECT_EQ(roomInside.At(24, 1), kFaceColours[4]) << "the ceiling at the top";
    EXPECT_EQ(roomInside.At(1, 24), kFaceColours[2]) << "the -x wall on the left";
    EXPECT_EQ(CompareWithGolden("box_room_inside", roomInside), "");
    const Frame roomOutside = DrawBox(s, room, -5.0f, faces);
    EXPECT_EQ(roomOutside.At(24, 24), kFaceColours[1]) << "from outside a room its near wall is culled";
}

// Lit quads straight on the viewport (identity transforms: x, y are -1..1), no culling, no
// depth, a white material and texture and a global ambient of 20: a pixel shows the light.
Device& LitWhite(GlScene& s) {
    Device& d = s.Dev();
    d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d.SetRenderState(D3DRS_LIGHTING, 1);
    d.SetRenderState(D3DRS_AMBIENT, 0xFF141414);
    D3DMATERIAL8 material{};
    material.Diffuse = material.Ambient = {1, 1, 1, 1};
    d.SetMaterial(&material);
    d.SetTexture(0, s.Solid(kWhite));
    d.SetVertexShader(RoomVertexFormat);
    return d;
}

TEST(GlPixels, AmbientLightFallsOffWithDistanceAndStopsAtItsRange) {
    GlScene s(64, 16);
    REQUIRE_SCENE(s);
    Device& d = LitWhite(s);
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Ambient = {0.3f * 255.0f, 0.5f * 255.0f, 0.1f * 255.0f, 0};
    light.Range = 500.0f;
    light.Attenuation0 = 150.0f;
    light.Attenuation1 = 0.1f;
    d.LightEnable(0, true);
    // Each quad's light sits on the axis
    // through its centre, so its four corners are equally far and the quad is evenly lit.
    const float heights[4] = {0.0f, 100.0f, 1000.0f, 499.0f};
    s.Begin();
    for (int q = 0; q < 4; ++q) {
        const float cx = -0.75f + 0.5f * static_cast<float>(q), h = 0.1f;
        const WorldVertex quad[4] = {{cx - h, h, 0.5f, 0, 0}, {cx + h, h, 0.5f, 0, 0}, {cx - h, -h, 0.5f, 0, 0},
                                     {cx + h, -h, 0.5f, 0, 0}};
        light.Position = {cx, 0.0f, 0.5f - heights[q]};
        d.SetLight(0, &light);
        d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(WorldVertex));
    }
    const Frame f = s.End();
    auto expected = [&](int q) {
        const float dist = std::sqrt(heights[q] * heights[q] + 2 * 0.1f * 0.1f);
        const float attenuation = dist > light.Range ? 0.0f : 1.0f / (150.0f + 0.1f * dist);
        auto channel = [&](float lightAmbient, int shift) {
            const float value = std::min(1.0f, 20.0f / 255.0f + lightAmbient * attenuation);
            return static_cast<std::uint32_t>(std::lround(value * 255.0f)) << shift;
        };
        return 0xFF000000 | channel(light.Ambient.r, 16) | channel(light.Ambient.g, 8) | channel(light.Ambient.b, 0);
    };
    for (int q = 0; q < 4; ++q) {
        const std::uint32_t x = static_cast<std::uint32_t>(8 + 16 * q);
        EXPECT_TRUE(Near(f.At(x, 8), expected(q))) << "quad " << q << ": " << Hex(f.At(x, 8)) << " vs " << Hex(expected(q));
    }
    EXPECT_EQ(f.At(8 + 32, 8), 0xFF141414) << "1000 units away is past the range: the global ambient alone";
}

TEST(GlGolden, LightingFalloffFromOneLight) {
    GlScene s(64, 64);
    REQUIRE_SCENE(s);
    Device& d = s.Dev();
    d.SetRenderState(D3DRS_AMBIENT, 0xFF141414);
    d.SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
    D3DMATERIAL8 material{};
    material.Diffuse = material.Ambient = {1, 1, 1, 1};
    d.SetMaterial(&material);
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_POINT;
    light.Ambient = {90.0f, 70.0f, 40.0f, 0};
    light.Position = {0, 40, 300};
    light.Range = 220;
    light.Attenuation0 = 150.0f;
    light.Attenuation1 = 0.1f;
    d.SetLight(0, &light);
    d.LightEnable(0, true);
    d.SetTexture(0, s.Solid(kWhite));
    // A floor of 16 x 16 cells seen from above and behind, wound clockwise seen from above.
    constexpr int kCells = 16;
    std::vector<WorldVertex> vertices;
    std::vector<std::uint16_t> indices;
    for (int z = 0; z <= kCells; ++z)
        for (int x = 0; x <= kCells; ++x)
            vertices.push_back({-400.0f + 50.0f * static_cast<float>(x), 0.0f, 50.0f * static_cast<float>(z), 0, 0});
    for (int z = 0; z < kCells; ++z)
        for (int x = 0; x < kCells; ++x) {
            const auto i = static_cast<std::uint16_t>(z * (kCells + 1) + x);
            const auto up = static_cast<std::uint16_t>(i + kCells + 1);
            for (std::uint16_t k : {up, static_cast<std::uint16_t>(up + 1), static_cast<std::uint16_t>(i + 1), up,
                                    static_cast<std::uint16_t>(i + 1), i})
                indices.push_back(k);
        }
    Matrix4x4 view = IdentityMatrix();
    // Looking down 30 degrees from (0, 200, -150).
    const float c = std::cos(0.5235988f), sn = std::sin(0.5235988f);
    Matrix4x4 tilt = IdentityMatrix();
    tilt.m[1][1] = c;
    tilt.m[1][2] = -sn;
    tilt.m[2][1] = sn;
    tilt.m[2][2] = c;
    const Matrix4x4 move = Translation(0, -200, 150);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += move.m[i][k] * tilt.m[k][j];
            view.m[i][j] = sum;
        }
    const Matrix4x4 projection = PerspectiveFovLH(0.7853982f, 1.0f, 1.0f, 7500.0f);
    d.SetTransform(D3DTS_VIEW, &view);
    d.SetTransform(D3DTS_PROJECTION, &projection);
    d.SetVertexShader(RoomVertexFormat);
    s.Begin();
    d.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, static_cast<std::uint32_t>(vertices.size()),
                             static_cast<std::uint32_t>(indices.size() / 3), indices.data(), D3DFMT_INDEX16,
                             vertices.data(), sizeof(WorldVertex));
    const Frame f = s.End();
    EXPECT_NE(f.At(32, 40), kBlack) << "the floor is seen from above: it is wound the right way round";
    EXPECT_EQ(CompareWithGolden("lighting_falloff", f), "");
}

TEST(GlPixels, MirrorAddressingReflectsEveryOtherRepeat) {
    GlScene s(32, 8);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    const std::uint32_t texels[2] = {kRed, kBlue};
    d.SetTexture(0, s.MakeTexture(2, 1, D3DFMT_A8R8G8B8, texels));
    d.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
    d.SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_MIRROR);
    s.Begin();
    s.PixelQuad(0, 0, 32, 4, 0, 0, 4, 1);  // u from 0 to 4: eight texel widths
    d.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP);
    s.PixelQuad(0, 4, 32, 8, 0, 0, 4, 1);
    const Frame f = s.End();
    const std::uint32_t mirrored[8] = {kRed, kBlue, kBlue, kRed, kRed, kBlue, kBlue, kRed};
    const std::uint32_t wrapped[8] = {kRed, kBlue, kRed, kBlue, kRed, kBlue, kRed, kBlue};
    for (std::uint32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(f.At(i * 4 + 2, 1), mirrored[i]) << "mirror, texel span " << i;
        EXPECT_EQ(f.At(i * 4 + 2, 5), wrapped[i]) << "wrap, texel span " << i;
    }
}

TEST(GlGolden, MirrorAddressingWithLinearFilter) {
    GlScene s(64, 64);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    std::uint32_t texels[8 * 8];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            texels[y * 8 + x] = 0xFF000000 | static_cast<std::uint32_t>(x * 32) << 16 | static_cast<std::uint32_t>(y * 32) << 8 |
                                ((x + y) % 2 ? 0xC0u : 0x20u);
    d.SetTexture(0, s.MakeTexture(8, 8, D3DFMT_A8R8G8B8, texels));
    d.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
    d.SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_MIRROR);
    d.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_ANISOTROPIC);
    d.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_ANISOTROPIC);
    s.Begin();
    s.PixelQuad(0, 0, 64, 64, -1.0f, -1.0f, 2.0f, 2.0f);
    EXPECT_EQ(CompareWithGolden("mirror_addressing", s.End()), "");
}

TEST(GlGolden, WireframeDrawsTriangleEdgesOnly) {
    GlScene s(32, 32);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    d.SetTexture(0, s.Solid(kWhite));
    d.SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    d.SetVertexShader(RoomVertexFormat);
    const WorldVertex quad[4] = {{-0.75f, 0.75f, 0.5f, 0, 0}, {0.75f, 0.75f, 0.5f, 0, 0}, {-0.75f, -0.75f, 0.5f, 0, 0},
                                 {0.75f, -0.75f, 0.5f, 0, 0}};
    s.Begin();
    d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(WorldVertex));
    const Frame f = s.End();
    EXPECT_EQ(f.At(10, 16), kBlack) << "inside a triangle nothing is filled";
    int lit = 0;
    for (std::uint32_t y = 0; y < 32; ++y) lit += f.At(4, y) == kWhite || f.At(3, y) == kWhite;
    EXPECT_GE(lit, 20) << "the left edge is drawn";
    EXPECT_EQ(CompareWithGolden("wireframe", f), "");
}

TEST(GlGolden, TextWithTheOverlaysStates) {
    GlScene s(64, 32);
    REQUIRE_SCENE(s);
    Device& d = s.Dev();
    // A 16 x 16 "glyph" atlas as the overlay builds it: white texels with coverage alpha.
    std::uint16_t atlas[16 * 16];
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool stroke = x == 2 || x == 3 || y == 2 || y == 3 || x == y || x + y == 15;
            const int coverage = stroke ? 15 : (x + y) % 5 == 0 ? 6 : 0;
            atlas[y * 16 + x] = coverage ? static_cast<std::uint16_t>(coverage * 4096 + 0x0FFF) : 0;
        }
    d.SetTexture(0, s.MakeTexture(16, 16, D3DFMT_A4R4G4B4, atlas));
    d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    d.SetRenderState(D3DRS_ALPHAREF, 8);
    d.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    d.SetRenderState(D3DRS_ZENABLE, 0);
    d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d.SetVertexShader(TextVertexFormat);
    auto glyph = [&](float x, float y, std::uint32_t colour, TextVertex* out) {
        const float l = x - 0.5f, t = y - 0.5f, r = x + 16 - 0.5f, b = y + 16 - 0.5f;
        const TextVertex v[6] = {{l, b, 0.9f, 1, colour, 0, 1}, {l, t, 0.9f, 1, colour, 0, 0},
                                 {r, b, 0.9f, 1, colour, 1, 1}, {r, t, 0.9f, 1, colour, 1, 0},
                                 {r, b, 0.9f, 1, colour, 1, 1}, {l, t, 0.9f, 1, colour, 0, 0}};
        std::copy(v, v + 6, out);
    };
    TextVertex text[18];
    glyph(4, 8, 0xFFFFFF00, text);
    glyph(20, 8, 0xFFFFFFFF, text + 6);
    glyph(36, 8, 0x80FFFFFF, text + 12);
    s.Begin(0xFF303030);
    d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 6, text, sizeof(TextVertex));
    const Frame f = s.End();
    EXPECT_EQ(f.At(4 + 2, 8 + 8), 0xFFFFFF00) << "texel (2, 8) lands on pixel (6, 16): yellow stroke";
    EXPECT_EQ(f.At(4 + 8, 8 + 1), 0xFF303030) << "coverage 0 leaves the background";
    EXPECT_EQ(f.At(4 + 2, 8 - 1), 0xFF303030) << "the row above the glyph is untouched";
    // Coverage 6 is alpha 102: white * 102/255 + 0x30 * 153/255 = 131.
    EXPECT_TRUE(Near(f.At(20 + 5, 8 + 0), 0xFF838383)) << Hex(f.At(20 + 5, 8 + 0));
    EXPECT_EQ(CompareWithGolden("text", f), "");
}

// Quads drawn one after another at the given distances, nearest first, under the game's
// projection; the frame shows which one won each pixel.
Frame DepthOrderFrame(GlScene& s, std::uint32_t zMode, const std::vector<std::pair<float, float>>& distanceAndHalf) {
    Device& d = s.Dev();
    d.SetRenderState(D3DRS_LIGHTING, 0);
    d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d.SetRenderState(D3DRS_ZENABLE, zMode);
    const Matrix4x4 projection = PerspectiveFovLH(0.7853982f, 1.0f, 1.0f, 7500.0f);
    d.SetTransform(D3DTS_PROJECTION, &projection);
    d.SetVertexShader(RoomVertexFormat);
    Texture* red = s.Solid(kRed);
    Texture* green = s.Solid(kGreen);
    s.Begin();
    bool first = true;
    for (const auto& [z, half] : distanceAndHalf) {
        const WorldVertex q[4] = {{-half, half, z, 0, 0}, {half, half, z, 0, 0}, {-half, -half, z, 0, 0},
                                  {half, -half, z, 0, 0}};
        d.SetTexture(0, first ? red : green);
        d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, q, sizeof(WorldVertex));
        first = false;
    }
    return s.End();
}

TEST(GlPixels, DepthTestKeepsTheNearerSurfaceUnderEitherMapping) {
    for (bool reversed : {true, false}) {
        for (std::uint32_t mode : {std::uint32_t{D3DZB_USEW}, std::uint32_t{D3DZB_TRUE}}) {
            GlScene s(16, 16, true, reversed);
            REQUIRE_SCENE(s);
            if (!reversed) {
                EXPECT_EQ(s.Gl().DepthMapping(), GlDepthMapping::kStandard);
            }
            // Near red first, then a larger green one a unit behind it, then one far behind both.
            const Frame f = DepthOrderFrame(s, mode, {{1000.0f, 200.0f}, {1001.0f, 4000.0f}, {7000.0f, 3000.0f}});
            EXPECT_EQ(f.At(8, 8), kRed) << "reversed " << reversed << ", z mode " << mode;
            EXPECT_EQ(f.At(0, 0), kGreen) << "reversed " << reversed << ", z mode " << mode;
            EXPECT_EQ(s.Gl().TakeGlError(), 0u);
        }
    }
}

TEST(GlPixels, ReversedDepthSeparatesFarSurfacesAsAWBufferWould) {
    GlScene s(16, 16);
    REQUIRE_SCENE(s);
    if (s.Gl().DepthMapping() != GlDepthMapping::kReversed) GTEST_SKIP() << "no clip control here";
    // A 24-bit z-buffer steps by about 1.5 units at 5000 with the game's near plane of 1; a
    // w-buffer, and the reversed floating-point depth, by far less than a tenth of a unit.
    const Frame f = DepthOrderFrame(s, D3DZB_USEW, {{5000.0f, 1000.0f}, {5000.1f, 3000.0f}});
    EXPECT_EQ(f.At(8, 8), kRed) << "the surface a tenth of a unit nearer stays in front";
    EXPECT_EQ(f.At(0, 0), kGreen);
}

TEST(GlPixels, LightsOfEveryTypeAddTheirAmbientAndProgramsKeepUpWithChanges) {
    GlScene s(80, 16);
    REQUIRE_SCENE(s);
    Device& d = LitWhite(s);

    D3DLIGHT8 sun{};  // everywhere, at any distance
    sun.Type = D3DLIGHT_DIRECTIONAL;
    sun.Direction = {0, 0, 1};
    sun.Ambient = {0.2f, 0, 0, 0};
    D3DLIGHT8 lamp{};  // a point light 10 units off, unattenuated
    lamp.Type = D3DLIGHT_POINT;
    lamp.Ambient = {0, 0.4f, 0, 0};
    lamp.Range = 100.0f;
    lamp.Attenuation0 = 1.0f;
    D3DLIGHT8 spot = lamp;  // a spot 10 units off; the quad lies well inside its inner cone
    spot.Type = D3DLIGHT_SPOT;
    spot.Ambient = {0, 0, 0.3f, 0};
    spot.Theta = 0.5f;
    spot.Phi = 1.0f;
    spot.Falloff = 1.0f;

    auto quad = [&](int q, bool sunOn, bool lampOn, bool spotOn, float spotAim) {
        const float cx = -0.8f + 0.4f * static_cast<float>(q), h = 0.1f;
        lamp.Position = spot.Position = {cx, 0.0f, 0.5f - 10.0f};
        spot.Direction = {0, 0, spotAim};
        d.SetLight(0, &sun);
        d.SetLight(1, &lamp);
        d.SetLight(2, &spot);
        d.LightEnable(0, sunOn);
        d.LightEnable(1, lampOn);
        d.LightEnable(2, spotOn);
        const WorldVertex v[4] = {{cx - h, h, 0.5f, 0, 0}, {cx + h, h, 0.5f, 0, 0}, {cx - h, -h, 0.5f, 0, 0},
                                  {cx + h, -h, 0.5f, 0, 0}};
        d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(WorldVertex));
    };
    s.Begin();
    quad(0, true, false, false, 1);
    quad(1, true, true, false, 1);
    quad(2, true, true, true, 1);
    quad(3, false, false, true, -1);  // the spot turned away
    sun.Ambient = {0.4f, 0, 0, 0};
    quad(4, true, false, false, 1);  // the first quad's program again, with a brighter sun
    const Frame f = s.End();

    const std::uint32_t expected[5] = {0xFF471414, 0xFF477A14, 0xFF477A60, 0xFF141414, 0xFF7A1414};
    for (int q = 0; q < 5; ++q) {
        const std::uint32_t x = static_cast<std::uint32_t>(8 + 16 * q);
        EXPECT_TRUE(Near(f.At(x, 8), expected[q])) << "quad " << q << ": " << Hex(f.At(x, 8)) << " vs "
                                                   << Hex(expected[q]);
    }
    EXPECT_GE(s.Gl().ProgramsBuilt(), 4u) << "each set of light types has its own program";
    EXPECT_EQ(s.Gl().TakeGlError(), 0u);
}

}  // namespace
}  // namespace brontal::gltest
