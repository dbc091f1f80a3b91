#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "text/recording_device.h"
#include "text/text_overlay.h"

namespace brontal {
namespace {

using testing::I;
using testing::Line;
using testing::RecordingDevice;

int Texels(float coordinate, std::uint32_t size) { return static_cast<int>(std::lround(coordinate * size)); }

std::uint16_t TexelAt(const Texture& texture, std::uint32_t x, std::uint32_t y) {
    const std::uint8_t* row = texture.Data(0) + std::size_t{y} * texture.Pitch(0);
    return static_cast<std::uint16_t>(row[x * 2] | (row[x * 2 + 1] << 8));
}

TEST(GlyphAtlas, SizeFollowsTheFontHeight) {
    EXPECT_EQ(GlyphAtlasSize(14), 256u);
    EXPECT_EQ(GlyphAtlasSize(20), 256u);
    EXPECT_EQ(GlyphAtlasSize(21), 512u);
    EXPECT_EQ(GlyphAtlasSize(40), 512u);
    EXPECT_EQ(GlyphAtlasSize(41), 1024u);

    for (const auto& [height, size] :
         {std::pair{14u, 256}, std::pair{20u, 256}, std::pair{21u, 512}, std::pair{41u, 1024}}) {
        RecordingDevice device;
        TextOverlay overlay("Arial", height, 0);
        ASSERT_EQ(overlay.CreateGlyphAtlas(device.get()), D3D_OK) << height;
        EXPECT_EQ(overlay.textureWidth, static_cast<std::uint32_t>(size)) << height;
        EXPECT_EQ(overlay.textureHeight, static_cast<std::uint32_t>(size)) << height;
        EXPECT_EQ(overlay.textScale, 1.0f);
        ASSERT_NE(overlay.texture, nullptr);
        EXPECT_EQ(overlay.texture->Format(), D3DFMT_A4R4G4B4);
        EXPECT_EQ(overlay.texture->LevelCount(), 1u);
        EXPECT_EQ(overlay.texture->Pool(), D3DPOOL_MANAGED);
        const std::vector<std::string> lines = device.Lines();
        const std::string created = Line("CreateTexture", {I(size), I(size), I(1), I(0), I(26), I(1)});
        EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                               [&](const std::string& l) { return l.rfind(created, 0) == 0; }),
                  lines.end())
            << height;
    }
}

TEST(GlyphAtlas, ADeviceLimitScalesTheAtlasDown) {
    RecordingDevice device(D3DCAPS8{256, 256, 8, 16});
    TextOverlay overlay("Arial", 41, 0);
    ASSERT_EQ(overlay.CreateGlyphAtlas(device.get()), D3D_OK);
    EXPECT_EQ(overlay.textScale, 0.25f);
    EXPECT_EQ(overlay.textureWidth, 256u);
    EXPECT_EQ(overlay.textureHeight, 256u);
    // The glyphs are rasterised at MulDiv(41, 96 * 0.25, 72) = 14 pixels: the space's cell is
    // Arial's ascent plus descent at that size, 13 + 3.
    const float* space = overlay.glyphRects[0];
    EXPECT_EQ(Texels(space[3] - space[1], 256), 16);
}

TEST(GlyphAtlas, TheHudFontLaysOut95GlyphsInRowsOnePixelApart) {
    RecordingDevice device;
    TextOverlay overlay("Arial", 14, kFontFlagBold);
    ASSERT_EQ(overlay.CreateGlyphAtlas(device.get()), D3D_OK);
    ASSERT_EQ(overlay.textureWidth, 256u);

    // Arial Bold at 19 pixels: a 21-pixel cell; advances from the face's 2048-unit widths.
    constexpr int kCell = 21;
    const auto left = [&](char c) { return Texels(overlay.glyphRects[c - 32][0], 256); };
    const auto width = [&](char c) { return Texels(overlay.glyphRects[c - 32][2], 256) - left(c); };
    EXPECT_EQ(width(' '), 5);
    EXPECT_EQ(width('A'), 14);
    EXPECT_EQ(width('W'), 18);
    EXPECT_EQ(width('m'), 17);
    EXPECT_EQ(width('!'), 6);

    int rows = 1;
    for (int code = 32; code <= 126; ++code) {
        const float* rect = overlay.glyphRects[code - 32];
        const int x0 = Texels(rect[0], 256), y0 = Texels(rect[1], 256);
        const int x1 = Texels(rect[2], 256), y1 = Texels(rect[3], 256);
        EXPECT_EQ(y1 - y0, kCell) << code;
        EXPECT_GT(x1, x0) << code;
        EXPECT_LE(x1 + 1, 256) << code;
        EXPECT_LE(y1, 256) << code;
        if (code == 32) {
            EXPECT_EQ(x0, 0);
            EXPECT_EQ(y0, 0);
            continue;
        }
        const float* previous = overlay.glyphRects[code - 33];
        const int previousRight = Texels(previous[2], 256), previousTop = Texels(previous[1], 256);
        if (y0 == previousTop) {
            EXPECT_EQ(x0, previousRight + 1) << code;
        } else {
            // A new row starts only when the glyph would not fit with its gap.
            ++rows;
            EXPECT_EQ(x0, 0) << code;
            EXPECT_EQ(y0, previousTop + kCell + 1) << code;
            EXPECT_GT(previousRight + 1 + (x1 - x0) + 1, 256) << code;
        }
    }
    EXPECT_GE(rows, 3);
    EXPECT_LE(rows, 8);
    for (float value : overlay.glyphRects[95]) EXPECT_EQ(value, 0.0f);  // code 127 is never filled
}

TEST(GlyphAtlas, TexelsAreWhiteWithSixteenCoverageLevels) {
    RecordingDevice device;
    TextOverlay overlay("Arial", 14, kFontFlagBold);
    ASSERT_EQ(overlay.CreateGlyphAtlas(device.get()), D3D_OK);
    const Texture& atlas = *overlay.texture;
    std::set<int> levels;
    for (std::uint32_t y = 0; y < 256; ++y) {
        for (std::uint32_t x = 0; x < 256; ++x) {
            const std::uint16_t texel = TexelAt(atlas, x, y);
            if (texel == 0) continue;
            ASSERT_EQ(texel & 0x0FFF, 0x0FFF) << x << "," << y;
            levels.insert(texel >> 12);
        }
    }
    EXPECT_EQ(levels.size(), 15u);  // 1..15; 0 is the transparent black texel
    // The space is empty; a capital has full-coverage texels inside its own rectangle.
    const float* space = overlay.glyphRects[0];
    for (int y = Texels(space[1], 256); y < Texels(space[3], 256); ++y)
        for (int x = Texels(space[0], 256); x < Texels(space[2], 256); ++x)
            ASSERT_EQ(TexelAt(atlas, x, y), 0) << x << "," << y;
    const float* a = overlay.glyphRects['H' - 32];
    int solid = 0;
    for (int y = Texels(a[1], 256); y < Texels(a[3], 256); ++y)
        for (int x = Texels(a[0], 256); x < Texels(a[2], 256); ++x) solid += TexelAt(atlas, x, y) == 0xFFFF;
    EXPECT_GT(solid, 20);
}

TEST(GlyphAtlas, AFailedTextureIsReportedAndLeavesNoAtlas) {
    RecordingDevice device(D3DCAPS8{0, 0, 8, 16});  // a device that can hold no texture
    TextOverlay overlay("Arial", 14, kFontFlagBold);
    EXPECT_NE(overlay.CreateGlyphAtlas(device.get()), D3D_OK);
    EXPECT_EQ(overlay.texture, nullptr);
}

TEST(TextOverlayConstruct, KeepsTheNameWithinItsField) {
    const std::string longName(120, 'x');
    TextOverlay overlay(longName.c_str(), 14, 3);
    EXPECT_EQ(std::string(overlay.fontName), std::string(79, 'x'));
    EXPECT_EQ(overlay.fontHeight, 14u);
    EXPECT_EQ(overlay.fontFlags, 3u);
    EXPECT_EQ(overlay.device, nullptr);
    EXPECT_EQ(overlay.savedStates, 0u);
    EXPECT_EQ(overlay.textStates, 0u);
}

}  // namespace
}  // namespace brontal
