// The backend's inner workings that the picture alone would hide: state diffing, the static
// geometry cache and its content check, the flip of the two colour targets, texture updates.
#include <gtest/gtest.h>

#include <vector>

#include "gl_test_support.h"

namespace brontal::gltest {
namespace {

#define REQUIRE_SCENE(s) \
    if (!(s).Ready()) FAIL() << "no headless OpenGL: " << (s).Error()

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// A frame that changes blend, cull, fill, lighting, texture and transform between draws.
Frame BusyFrame(GlScene& s, Texture* a, Texture* b) {
    Device& d = s.Dev();
    const Matrix4x4 projection = PerspectiveFovLH(0.7853982f, 1.0f, 1.0f, 100.0f);
    d.SetTransform(D3DTS_PROJECTION, &projection);
    d.SetRenderState(D3DRS_AMBIENT, 0xFF808080);
    D3DMATERIAL8 material{};
    material.Diffuse = material.Ambient = {1, 1, 1, 1};
    d.SetMaterial(&material);
    const WorldVertex quad[4] = {{-1, 1, 5, 0, 0}, {1, 1, 5, 1, 0}, {-1, -1, 5, 0, 1}, {1, -1, 5, 1, 1}};
    s.Begin(0xFF102030);
    d.SetVertexShader(RoomVertexFormat);
    for (int i = 0; i < 12; ++i) {
        const Matrix4x4 world = Translation(-1.5f + 0.3f * static_cast<float>(i % 4), -1.0f + 0.6f * static_cast<float>(i / 4), 0);
        d.SetTransform(D3DTS_WORLD, &world);
        d.SetTexture(0, i % 3 == 0 ? a : b);
        d.SetRenderState(D3DRS_ALPHABLENDENABLE, i % 2);
        d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        d.SetRenderState(D3DRS_LIGHTING, i % 4 < 2);
        d.SetRenderState(D3DRS_FILLMODE, i == 7 ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
        d.SetRenderState(D3DRS_CULLMODE, i == 5 ? D3DCULL_CW : D3DCULL_CCW);
        d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(WorldVertex));
    }
    s.PixelQuad(2, 2, 10, 10);  // pre-transformed, as the text, last
    return s.End();
}

TEST(GlStateDiff, AppliesOnlyWhatChangedAndDrawsTheSameAsAFullApply) {
    GlScene s(64, 64);
    REQUIRE_SCENE(s);
    Texture* a = s.Solid(0xC0FF8000);
    const std::uint32_t checker[4] = {kRed, kGreen, kBlue, kWhite};
    Texture* b = s.MakeTexture(2, 2, D3DFMT_A8R8G8B8, checker);

    s.Gl().SetForceFullApply(true);
    BusyFrame(s, a, b);  // warm the geometry cache so both measured frames draw alike
    const GlBackendStats before = s.Gl().Stats();
    const Frame full = BusyFrame(s, a, b);
    const GlBackendStats afterFull = s.Gl().Stats();
    s.Gl().SetForceFullApply(false);
    const Frame diffed = BusyFrame(s, a, b);
    const GlBackendStats afterDiff = s.Gl().Stats();

    ASSERT_EQ(full.rgba.size(), diffed.rgba.size());
    EXPECT_TRUE(full.rgba == diffed.rgba) << "diffing must not change a pixel";
    const auto fullRaster = afterFull.rasterApplies - before.rasterApplies;
    const auto diffRaster = afterDiff.rasterApplies - afterFull.rasterApplies;
    EXPECT_EQ(fullRaster, 13u) << "a full apply sets the raster state for every draw";
    EXPECT_LT(diffRaster, fullRaster);
    EXPECT_GT(diffRaster, 0u);
    const auto fullTransforms = afterFull.transformApplies - before.transformApplies;
    const auto diffTransforms = afterDiff.transformApplies - afterFull.transformApplies;
    EXPECT_EQ(fullTransforms, 12u);
    EXPECT_EQ(diffTransforms, 12u) << "every draw moved the world";
    EXPECT_LT(afterDiff.textureBinds - afterFull.textureBinds, afterFull.textureBinds - before.textureBinds);
    EXPECT_EQ(s.Gl().TakeGlError(), 0u);
}

// The geometry-cache tests draw one textured quad over the left half of the viewport, indexed
// as a room surface is.
constexpr WorldVertex kLeftHalf[4] = {{-1, 1, 0.5f, 0, 0}, {0, 1, 0.5f, 0, 0}, {-1, -1, 0.5f, 0, 0}, {0, -1, 0.5f, 0, 0}};
constexpr std::uint16_t kQuadIndices[6] = {0, 1, 2, 2, 1, 3};

Device& PlainTextured(GlScene& s, std::uint32_t argb) {
    s.Plain();
    Device& d = s.Dev();
    d.SetTexture(0, s.Solid(argb));
    d.SetVertexShader(RoomVertexFormat);
    return d;
}

HRESULT DrawIndexedQuad(Device& d, const WorldVertex* quad) {
    return d.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, kQuadIndices, D3DFMT_INDEX16, quad,
                                    sizeof(WorldVertex));
}

TEST(GlGeometryCache, WorldArraysAreUploadedOnceAndThenDrawnFromStaticBuffers) {
    GlScene s(32, 32);
    REQUIRE_SCENE(s);
    Device& d = PlainTextured(s, kRed);
    auto frame = [&] {
        s.Begin();
        DrawIndexedQuad(d, kLeftHalf);
        return s.End();
    };
    const Frame first = frame();
    const GlGeometryStats placed = s.Gl().GeometryStats();
    EXPECT_EQ(placed.staticUploads, 1u) << "an indexed draw is placed in the static buffers when first seen";
    EXPECT_EQ(placed.streamedDraws, 0u);
    EXPECT_EQ(placed.staticBytes, sizeof kLeftHalf + sizeof kQuadIndices);
    EXPECT_EQ(first.At(8, 16), kRed);
    const Frame second = frame();
    const GlGeometryStats after = s.Gl().GeometryStats();
    EXPECT_EQ(after.staticUploads, 1u) << "and not uploaded again";
    EXPECT_EQ(after.staticHits, 1u);
    EXPECT_EQ(after.streamedDraws, 0u);
    EXPECT_EQ(second.At(8, 16), kRed) << "drawn from the static buffers";
    EXPECT_EQ(second.At(24, 16), 0xFF000000u);
}

TEST(GlGeometryCache, GeometryDrawnBeforeTheFirstSceneIsStaticFromTheFirstFrame) {
    GlScene s(32, 32);
    REQUIRE_SCENE(s);
    Device& d = PlainTextured(s, kRed);
    auto draw = [&] { return DrawIndexedQuad(d, kLeftHalf); };
    // As the start-up pass over every room: nothing drawn outside a scene, but the backend gets
    // it ready.
    d.BeginWarmUp();
    EXPECT_EQ(draw(), D3D_OK);
    d.EndWarmUp();
    const std::uint64_t placed = s.Gl().GeometryStats().staticUploads;
    EXPECT_EQ(placed, 1u);
    EXPECT_EQ(s.Gl().Stats().draws, 0u) << "nothing is drawn outside a scene";
    s.Begin();
    draw();
    const Frame first = s.End();
    EXPECT_EQ(s.Gl().GeometryStats().staticUploads, placed) << "no upload in the frames that follow";
    EXPECT_EQ(s.Gl().GeometryStats().staticHits, 1u);
    EXPECT_EQ(first.At(8, 16), kRed) << "the vertex array is bound again after priming";
    EXPECT_EQ(s.Gl().TakeGlError(), 0u);
}

TEST(GlGeometryCache, MemoryReusedForOtherGeometryIsNeverDrawnStale) {
    GlScene s(32, 32);
    REQUIRE_SCENE(s);
    Device& d = PlainTextured(s, kGreen);
    WorldVertex quad[4] = {kLeftHalf[0], kLeftHalf[1], kLeftHalf[2], kLeftHalf[3]};
    auto left = [&] {
        quad[0].x = quad[2].x = -1;
        quad[1].x = quad[3].x = 0;
    };
    auto right = [&] {
        quad[0].x = quad[2].x = 0;
        quad[1].x = quad[3].x = 1;
    };
    auto indexed = [&] {
        DrawIndexedQuad(d, quad);
    };
    auto strip = [&] { d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(WorldVertex)); };

    // One array rewritten within every frame, as the sky's faces are: left, then right.
    for (int i = 0; i < 4; ++i) {
        s.Begin();
        left();
        indexed();
        right();
        indexed();
        const Frame f = s.End();
        EXPECT_EQ(f.At(8, 16), kGreen) << "frame " << i;
        EXPECT_EQ(f.At(24, 16), kGreen) << "frame " << i << ": the rewritten array shows its new quad";
    }
    EXPECT_LE(s.Gl().GeometryStats().staticUploads, 2u)
        << "data that keeps changing is streamed, not placed again and again";
    // Changed in place after it had been placed: the new bytes are what is drawn.
    s.Begin();
    right();
    indexed();
    const Frame moved = s.End();
    EXPECT_EQ(moved.At(8, 16), 0xFF000000u);
    EXPECT_EQ(moved.At(24, 16), kGreen);

    // Non-indexed lists (the sky, the text) are streamed, whatever they hold.
    const GlGeometryStats before = s.Gl().GeometryStats();
    for (int i = 0; i < 3; ++i) {
        s.Begin();
        left();
        strip();
        const Frame f = s.End();
        EXPECT_EQ(f.At(8, 16), kGreen);
        EXPECT_EQ(f.At(24, 16), 0xFF000000u);
    }
    EXPECT_EQ(s.Gl().GeometryStats().staticUploads, before.staticUploads);
    EXPECT_EQ(s.Gl().GeometryStats().streamedDraws, before.streamedDraws + 3);
}

// Square quads at depth z (half-width h, centred at x) in the order given; the glass one is
// half transparent and blended, so the draws before it must reach the frame before it does.
struct Layer {
    float x, z, half;
    Texture* texture;
};

Frame LayeredFrame(GlScene& s, const std::vector<Layer>& layers) {
    Device& d = s.Dev();
    d.SetRenderState(D3DRS_LIGHTING, 0);
    d.SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
    d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);  // left on, as the game leaves it after the sky
    d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    const Matrix4x4 projection = PerspectiveFovLH(0.7853982f, 1.0f, 1.0f, 100.0f);
    d.SetTransform(D3DTS_PROJECTION, &projection);
    d.SetVertexShader(RoomVertexFormat);
    s.Begin();
    for (const Layer& l : layers) {
        const WorldVertex q[4] = {{l.x - l.half, l.half, l.z, 0, 0}, {l.x + l.half, l.half, l.z, 1, 0},
                                  {l.x - l.half, -l.half, l.z, 0, 1}, {l.x + l.half, -l.half, l.z, 1, 1}};
        d.SetTexture(0, l.texture);
        DrawIndexedQuad(d, q);
    }
    return s.End();
}

TEST(GlDrawOrder, NearestFirstKeepsEveryPixelAndLetsFewerFragmentsThrough) {
    GlScene s(32, 32);
    REQUIRE_SCENE(s);
    Texture* green = s.Solid(kGreen);
    Texture* red = s.Solid(kRed);
    Texture* glass = s.Solid(0x800000FF);
    // Far first, as the game draws its sky; a near quad; glass between them over the left;
    // then one hidden behind the far quad and a nearer one again.
    const std::vector<Layer> layers = {{0, 50, 40, green}, {0, 10, 3, red}, {-4, 20, 4, glass},
                                       {3, 60, 40, red},   {1, 5, 0.5f, green}};
    GLuint query = 0;
    glGenQueries(1, &query);
    auto drawn = [&](bool ordering, GLuint& passed) {
        s.Gl().SetDrawOrdering(ordering);
        LayeredFrame(s, layers);  // places the geometry, so both measured frames draw alike
        glBeginQuery(GL_SAMPLES_PASSED, query);
        const Frame f = LayeredFrame(s, layers);
        glEndQuery(GL_SAMPLES_PASSED);
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &passed);
        return f;
    };
    GLuint inOrder = 0, nearestFirst = 0;
    const Frame a = drawn(false, inOrder);
    const Frame b = drawn(true, nearestFirst);
    glDeleteQueries(1, &query);
    EXPECT_TRUE(a.rgba == b.rgba) << "the order must not change a pixel";
    EXPECT_NE(a.At(4, 16), b.At(16, 2)) << "the glass blends over what is behind it";
    EXPECT_LT(nearestFirst, inOrder) << "what the near quads hide fails the depth test";
    EXPECT_EQ(s.Gl().TakeGlError(), 0u);
}

TEST(GlPresent, ReadPixelsReturnsTheLastPresentedFrame) {
    GlScene s(8, 8);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    d.SetTexture(0, s.Solid(kRed));
    s.Begin();
    s.PixelQuad(0, 0, 8, 8);
    const Frame red = s.End();
    EXPECT_EQ(red.At(4, 4), kRed);
    d.SetTexture(0, s.Solid(kBlue));
    d.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    d.BeginScene();
    s.PixelQuad(0, 0, 4, 8);
    Frame during;
    d.GetBackend().ReadPixels(during.width, during.height, during.rgba);
    EXPECT_EQ(during.At(4, 4), kRed) << "until Present the presented frame is the red one";
    const Frame next = s.End();
    EXPECT_EQ(next.At(1, 4), kBlue);
    EXPECT_EQ(next.At(6, 4), kGreen);
}

TEST(GlTextures, LockedTexelsReachTheGpuOnUnlock) {
    GlScene s(8, 8);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    Texture* t = s.Solid(kRed);
    d.SetTexture(0, t);
    s.Begin();
    s.PixelQuad(0, 0, 8, 8);
    EXPECT_EQ(s.End().At(3, 3), kRed);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(t->LockRect(0, &locked, nullptr, 0), D3D_OK);
    *static_cast<std::uint32_t*>(locked.pBits) = kBlue;
    t->UnlockRect(0);
    s.Begin();
    s.PixelQuad(0, 0, 8, 8);
    EXPECT_EQ(s.End().At(3, 3), kBlue);
}

TEST(GlTextures, MipFilterNoneSamplesTheTopLevelUntilLinearIsAsked) {
    GlScene s(8, 8);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    Texture* t = nullptr;
    ASSERT_EQ(d.CreateTexture(64, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    for (std::uint32_t level = 0; level < t->LevelCount(); ++level) {
        D3DLOCKED_RECT locked{};
        t->LockRect(level, &locked, nullptr, 0);
        const std::uint32_t colour = level == 0 ? kRed : kBlue;  // the smaller levels are blue
        for (std::uint32_t y = 0; y < t->Height(level); ++y)
            for (std::uint32_t x = 0; x < t->Width(level); ++x)
                reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.pBits) +
                                                 std::size_t{y} * static_cast<std::uint32_t>(locked.Pitch))[x] = colour;
        t->UnlockRect(level);
    }
    d.SetTexture(0, t);
    d.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    d.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    s.Begin();
    s.PixelQuad(0, 0, 8, 8);  // 64 texels onto 8 pixels: minified eight times
    EXPECT_EQ(s.End().At(4, 4), kRed) << "mip filter none: the top level only";
    d.SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
    s.Begin();
    s.PixelQuad(0, 0, 8, 8);
    EXPECT_EQ(s.End().At(4, 4), kBlue) << "linear mip filter: a smaller level";
}

// An alpha test that no texel can fail is left out of the program (so the depth test can run
// before shading), and source-alpha blending of opaque texels is a plain write; a texel that can
// fail the test or that is not opaque, also one written later, brings them back.
TEST(GlTextures, AlphaTestAndBlendingAreLeftOutOnlyWhereNoTexelNeedsThem) {
    GlScene s(8, 8);
    REQUIRE_SCENE(s);
    s.Plain();
    Device& d = s.Dev();
    d.SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    d.SetRenderState(D3DRS_ALPHAREF, 0x90);
    d.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    const std::uint32_t texels[2] = {0x90FF0000, 0xFF00FF00};  // alpha exactly the reference, and opaque
    Texture* t = s.MakeTexture(2, 1, D3DFMT_A8R8G8B8, texels);
    d.SetTexture(0, t);
    s.Begin(kBlue);
    s.PixelQuad(0, 0, 8, 8);
    Frame f = s.End();
    EXPECT_EQ(f.At(1, 4) & 0xFFFFFF, kRed & 0xFFFFFF) << "alpha 0x90 passes greater-or-equal 0x90";
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(t->LockRect(0, &locked, nullptr, 0), D3D_OK);
    static_cast<std::uint32_t*>(locked.pBits)[0] = 0x8FFF0000;  // one below the reference
    t->UnlockRect(0);
    s.Begin(kBlue);
    s.PixelQuad(0, 0, 8, 8);
    f = s.End();
    EXPECT_EQ(f.At(1, 4), kBlue) << "the texel written later fails the test again";
    EXPECT_EQ(f.At(6, 4) & 0xFFFFFF, kGreen & 0xFFFFFF);

    const auto key = [&](std::uint32_t func, std::uint8_t minAlpha) {
        d.SetRenderState(D3DRS_ALPHAFUNC, func);
        return DeriveProgramKey(d.State(), RoomVertexFormat, true, LowestFragmentAlpha(d.State(), true, minAlpha))
            .alphaFunc;
    };
    EXPECT_EQ(key(D3DCMP_GREATEREQUAL, 0x90), D3DCMP_ALWAYS);
    EXPECT_EQ(key(D3DCMP_GREATER, 0x90), D3DCMP_GREATER) << "0x90 is not greater than 0x90";
    EXPECT_EQ(key(D3DCMP_GREATER, 0x91), D3DCMP_ALWAYS);
    EXPECT_EQ(key(D3DCMP_LESS, 0xFF), D3DCMP_LESS) << "only the greater tests are known to pass";
    d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    EXPECT_EQ(key(D3DCMP_GREATEREQUAL, 0xFF), D3DCMP_GREATEREQUAL) << "alpha that is not the texture's alone";
    d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);

    // Blended over blue: the opaque texel covers it, the half-transparent one lets it through.
    d.SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    const std::uint32_t opaque = 0xFFFF0000, half = 0x80FF0000;
    Texture* solid = s.MakeTexture(1, 1, D3DFMT_A8R8G8B8, &opaque);
    Texture* glass = s.MakeTexture(1, 1, D3DFMT_A8R8G8B8, &half);
    for (Texture* texture : {solid, glass}) {
        d.SetTexture(0, texture);
        s.Begin(kBlue);
        s.PixelQuad(0, 0, 8, 8);
        f = s.End();
        if (texture == solid) EXPECT_EQ(f.At(4, 4) & 0xFFFFFF, 0xFF0000u);
        else EXPECT_TRUE(Near(f.At(4, 4) & 0xFFFFFF, 0x80007F)) << Hex(f.At(4, 4));
    }
    EXPECT_FALSE(DeriveRasterState(d.State(), true, GlDepthMapping::kStandard, 255).blend);
    EXPECT_TRUE(DeriveRasterState(d.State(), true, GlDepthMapping::kStandard, 254).blend);
}

TEST(GlBackendInfo, DescribesTheContext) {
    GlScene s(8, 8);
    REQUIRE_SCENE(s);
    const std::string text = s.Gl().Description();
    EXPECT_EQ(text.rfind("OpenGL ", 0), 0u) << text;
    EXPECT_NE(text.find("Core Profile"), std::string::npos) << text;
}

}  // namespace
}  // namespace brontal::gltest
