#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "text/recording_device.h"
#include "text/text_overlay.h"

namespace brontal {
namespace {

using testing::CapturedDraw;
using testing::I;
using testing::Line;
using testing::RecordingDevice;

class TextOverlayDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(overlay.CreateGlyphAtlas(device.get()), D3D_OK);
        ASSERT_EQ(overlay.CreateDrawResources(), D3D_OK);
        device->BeginScene();
        device.Forget();
    }

    std::vector<std::uint32_t> DrawnTriangleCounts() const {
        std::vector<std::uint32_t> counts;
        for (const RecordedCall& call : device.recorder.calls)
            if (call.name == "DrawPrimitive")
                counts.push_back(static_cast<std::uint32_t>(std::get<std::int64_t>(call.arguments[2])));
        return counts;
    }

    // The vertices the device drew, in order.
    std::vector<TextVertex> DrawnVertices() const {
        std::vector<TextVertex> vertices;
        for (const CapturedDraw& draw : device.draws)
            for (std::size_t i = 0; i < draw.call.primitiveCount * 3u; ++i)
                vertices.push_back(draw.VertexAt<TextVertex>(i));
        return vertices;
    }

    float GlyphWidth(char c) const {
        const float* r = overlay.glyphRects[c - 32];
        return (r[2] - r[0]) * static_cast<float>(overlay.textureWidth);
    }
    float CellHeight(char c) const {
        const float* r = overlay.glyphRects[c - 32];
        return (r[3] - r[1]) * static_cast<float>(overlay.textureHeight);
    }

    RecordingDevice device;
    TextOverlay overlay{"Arial", 14, kFontFlagBold};
};

TEST(TextOverlayResources, RecordsTwoIdenticalBlocksOfTheTextStates) {
    RecordingDevice device;
    TextOverlay overlay("Arial", 14, kFontFlagBold);
    ASSERT_EQ(overlay.CreateGlyphAtlas(device.get()), D3D_OK);
    device.Forget();
    ASSERT_EQ(overlay.CreateDrawResources(), D3D_OK);
    EXPECT_NE(overlay.savedStates, 0u);
    EXPECT_NE(overlay.textStates, 0u);
    EXPECT_NE(overlay.savedStates, overlay.textStates);
    ASSERT_NE(overlay.vertexBuffer, nullptr);
    EXPECT_EQ(overlay.vertexBuffer->Length(), 8400u);

    const std::int64_t atlas = overlay.texture->Id();
    std::vector<std::string> block = {
        Line("BeginStateBlock"),
        Line("SetTexture", {I(0), I(atlas)}),
        Line("SetRenderState", {I(27), I(1)}),  Line("SetRenderState", {I(19), I(5)}),
        Line("SetRenderState", {I(20), I(6)}),  Line("SetRenderState", {I(15), I(1)}),
        Line("SetRenderState", {I(24), I(8)}),  Line("SetRenderState", {I(25), I(7)}),
        Line("SetRenderState", {I(8), I(3)}),   Line("SetRenderState", {I(22), I(3)}),
        Line("SetRenderState", {I(7), I(0)}),   Line("SetRenderState", {I(52), I(0)}),
        Line("SetRenderState", {I(136), I(1)}), Line("SetRenderState", {I(40), I(0)}),
        Line("SetRenderState", {I(152), I(0)}), Line("SetRenderState", {I(151), I(0)}),
        Line("SetRenderState", {I(167), I(0)}), Line("SetRenderState", {I(28), I(0)}),
        Line("SetTextureStageState", {I(0), I(1), I(4)}),  Line("SetTextureStageState", {I(0), I(2), I(2)}),
        Line("SetTextureStageState", {I(0), I(3), I(0)}),  Line("SetTextureStageState", {I(0), I(4), I(4)}),
        Line("SetTextureStageState", {I(0), I(5), I(2)}),  Line("SetTextureStageState", {I(0), I(6), I(0)}),
        Line("SetTextureStageState", {I(0), I(17), I(1)}), Line("SetTextureStageState", {I(0), I(16), I(1)}),
        Line("SetTextureStageState", {I(0), I(18), I(0)}), Line("SetTextureStageState", {I(0), I(11), I(0)}),
        Line("SetTextureStageState", {I(0), I(24), I(0)}), Line("SetTextureStageState", {I(1), I(1), I(1)}),
        Line("SetTextureStageState", {I(1), I(4), I(1)}),
    };
    std::vector<std::string> expected;
    expected.push_back(Line("CreateVertexBuffer", {I(8400), I(0x208), I(0), I(0), I(overlay.vertexBuffer->Id())}));
    for (std::uint32_t token : {overlay.savedStates, overlay.textStates}) {
        expected.insert(expected.end(), block.begin(), block.end());
        expected.push_back(Line("EndStateBlock", {I(token)}));
    }
    EXPECT_EQ(device.Lines(), expected);
}

TEST_F(TextOverlayDraw, FiftyOneCharactersFlushAtFiftyThenDrawTheRest) {
    const std::string text(51, 'x');
    ASSERT_EQ(overlay.DrawString(0, 0, 0xFFFFFFFF, text.c_str(), 0), D3D_OK);
    EXPECT_EQ(DrawnTriangleCounts(), (std::vector<std::uint32_t>{100, 2}));
}

TEST_F(TextOverlayDraw, ExactlyFiftyCharactersDrawOnceInsideTheLoop) {
    const std::string text(50, 'x');
    ASSERT_EQ(overlay.DrawString(0, 0, 0xFFFFFFFF, text.c_str(), 0), D3D_OK);
    const std::int64_t buffer = overlay.vertexBuffer->Id();
    const std::vector<std::string> expected = {
        Line("CaptureStateBlock", {I(overlay.savedStates)}),
        Line("ApplyStateBlock", {I(overlay.textStates)}),
        Line("SetVertexShader", {I(0x144)}),
        Line("SetStreamSource", {I(0), I(buffer), I(28)}),
        Line("Lock", {I(buffer), I(0), I(0), I(8400), I(0x2000)}),
        Line("Unlock", {I(buffer)}),
        Line("DrawPrimitive", {I(4), I(0), I(100)}),
        Line("Lock", {I(buffer), I(0), I(0), I(8400), I(0x2000)}),
        Line("Unlock", {I(buffer)}),
        Line("ApplyStateBlock", {I(overlay.savedStates)}),
    };
    EXPECT_EQ(device.Lines(), expected);
}

TEST_F(TextOverlayDraw, OneCharacterIsAQuadAtThePixelCentres) {
    ASSERT_EQ(overlay.DrawString(10.0f, 20.0f, 0x80FF0000, "A", 0), D3D_OK);
    const std::vector<TextVertex> v = DrawnVertices();
    ASSERT_EQ(v.size(), 6u);
    const float* r = overlay.glyphRects['A' - 32];
    const float w = GlyphWidth('A'), h = CellHeight('A');
    EXPECT_FLOAT_EQ(w, 14.0f);
    const float x0 = 9.5f, y0 = 19.5f, x1 = 10.0f + w - 0.5f, y1 = 20.0f + h - 0.5f;
    const float expected[6][4] = {{x0, y1, r[0], r[3]}, {x0, y0, r[0], r[1]}, {x1, y1, r[2], r[3]},
                                  {x1, y0, r[2], r[1]}, {x1, y1, r[2], r[3]}, {x0, y0, r[0], r[1]}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << i;
        EXPECT_EQ(v[i].u, expected[i][2]) << i;
        EXPECT_EQ(v[i].v, expected[i][3]) << i;
        EXPECT_EQ(v[i].z, 0.9f);
        EXPECT_EQ(v[i].rhw, 1.0f);
        EXPECT_EQ(v[i].colour, 0x80FF0000u);
    }
    EXPECT_EQ(device.draws[0].call.fvf, 0x144u);
    EXPECT_EQ(device.draws[0].call.stride, 28u);
}

TEST_F(TextOverlayDraw, NewlineReturnsToTheStartOneSpaceCellLower) {
    ASSERT_EQ(overlay.DrawString(4.0f, 30.0f, 0xFFFFFFFF, "AB\nC", 0), D3D_OK);
    const std::vector<TextVertex> v = DrawnVertices();
    ASSERT_EQ(v.size(), 18u);
    EXPECT_FLOAT_EQ(v[1].x, 3.5f);                       // A's top left
    EXPECT_FLOAT_EQ(v[7].x, 3.5f + GlyphWidth('A'));     // B follows A
    EXPECT_FLOAT_EQ(v[13].x, 3.5f);                      // C back at the start
    EXPECT_FLOAT_EQ(v[13].y, 29.5f + CellHeight(' '));  // one space cell lower
    EXPECT_FLOAT_EQ(v[7].y, 29.5f);
}

TEST_F(TextOverlayDraw, ControlCharactersAndHighBytesDrawNothingAndDoNotMove) {
    ASSERT_EQ(overlay.DrawString(0, 0, 0xFFFFFFFF, "AB", 0), D3D_OK);
    const std::vector<TextVertex> plain = DrawnVertices();
    for (const char* text : {"A\tB", "A\xC3\xA9" "B", "A\x7F" "B", "\x01\x80\xFF" "AB\x1B"}) {
        device.Forget();
        ASSERT_EQ(overlay.DrawString(0, 0, 0xFFFFFFFF, text, 0), D3D_OK);
        const std::vector<TextVertex> v = DrawnVertices();
        ASSERT_EQ(v.size(), plain.size()) << text;
        for (std::size_t i = 0; i < v.size(); ++i) {
            EXPECT_EQ(v[i].x, plain[i].x) << text << " vertex " << i;
            EXPECT_EQ(v[i].u, plain[i].u) << text << " vertex " << i;
        }
    }
}

TEST_F(TextOverlayDraw, RestoresTheCallersStatesAndDrawsWithItsOwn) {
    Texture* callerTexture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &callerTexture), D3D_OK);
    device->SetTexture(0, callerTexture);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
    device->SetRenderState(D3DRS_ALPHAREF, 144);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_ANISOTROPIC);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_ANISOTROPIC);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    const DeviceState before = device->State();

    ASSERT_EQ(overlay.DrawString(0, 0, 0xFFFFFFFF, "Hi", kDrawFiltered), D3D_OK);
    ASSERT_EQ(device.draws.size(), 1u);
    const DeviceState& during = device.draws[0].state;
    EXPECT_EQ(during.texture[0], overlay.texture);
    EXPECT_EQ(during.renderState[D3DRS_ZENABLE], 0u);
    EXPECT_EQ(during.renderState[D3DRS_ALPHABLENDENABLE], 1u);
    EXPECT_EQ(during.renderState[D3DRS_ALPHAREF], 8u);
    EXPECT_EQ(during.renderState[D3DRS_FILLMODE], static_cast<std::uint32_t>(D3DFILL_SOLID));
    EXPECT_EQ(during.stageState[0][D3DTSS_MINFILTER], static_cast<std::uint32_t>(D3DTEXF_LINEAR));
    EXPECT_EQ(during.stageState[0][D3DTSS_MAGFILTER], static_cast<std::uint32_t>(D3DTEXF_LINEAR));

    DeviceState after = device->State();
    // The vertex format of the text is not put back; everything the blocks name is.
    EXPECT_EQ(after.vertexShader, TextVertexFormat);
    after.vertexShader = before.vertexShader;
    EXPECT_TRUE(after == before);
    EXPECT_EQ(device->State().texture[0], callerTexture);
}

TEST_F(TextOverlayDraw, AnEmptyStringStillCapturesAndRestores) {
    ASSERT_EQ(overlay.DrawString(0, 0, 0xFFFFFFFF, "", 0), D3D_OK);
    EXPECT_TRUE(device.draws.empty());
    const std::vector<std::string> names = device.Names();
    EXPECT_EQ(names.front(), "CaptureStateBlock");
    EXPECT_EQ(names.back(), "ApplyStateBlock");
    EXPECT_EQ(std::count(names.begin(), names.end(), "DrawPrimitive"), 0);
}

TEST_F(TextOverlayDraw, AScaledAtlasDrawsAtTheUnscaledSize) {
    RecordingDevice small(D3DCAPS8{256, 256, 8, 16});
    TextOverlay scaled("Arial", 41, 0);
    ASSERT_EQ(scaled.CreateGlyphAtlas(small.get()), D3D_OK);
    ASSERT_EQ(scaled.CreateDrawResources(), D3D_OK);
    small->BeginScene();
    ASSERT_EQ(scaled.DrawString(0, 0, 0xFFFFFFFF, "M", 0), D3D_OK);
    ASSERT_EQ(small.draws.size(), 1u);
    const float* r = scaled.glyphRects['M' - 32];
    const TextVertex topRight = small.draws[0].VertexAt<TextVertex>(3);
    const TextVertex bottomLeft = small.draws[0].VertexAt<TextVertex>(0);
    EXPECT_FLOAT_EQ(topRight.x + 0.5f, (r[2] - r[0]) * 256.0f / 0.25f);
    EXPECT_FLOAT_EQ(bottomLeft.y + 0.5f, (r[3] - r[1]) * 256.0f / 0.25f);
}

TEST(TextOverlayWithoutDevice, FailsAndDrawsNothing) {
    TextOverlay overlay("Arial", 14, kFontFlagBold);
    EXPECT_EQ(overlay.DrawString(0, 0, 0xFFFFFFFF, "text", 0), E_FAIL);
    EXPECT_EQ(overlay.CreateDrawResources(), E_FAIL);
}

}  // namespace
}  // namespace brontal
