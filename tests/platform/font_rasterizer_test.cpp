#include "platform/font_rasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brontal {
namespace {

// The HUD font: 14 points at 96 pixels per inch is a 19-pixel character height.
constexpr int kHudPixels = 19;

std::unique_ptr<Font> HudFont(bool bold = true, bool italic = false) {
    std::string error;
    auto font = Font::Create({"Arial", kHudPixels, bold, italic}, &error);
    EXPECT_NE(font, nullptr) << error;
    return font;
}

std::uint32_t Blue(std::uint32_t pixel) { return pixel & 0xFFu; }

TEST(MulDiv, RoundsHalfAwayFromZeroAndRefusesWhatItCannotDo) {
    EXPECT_EQ(MulDiv(14, kScreenLogPixelsY, 72), 19);  // 18.67
    EXPECT_EQ(MulDiv(41, 24, 72), 14);                 // 13.67: the quarter-scale atlas
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(3, -1, 2), -2);
    EXPECT_EQ(MulDiv(5, 2, 4), 3);
    EXPECT_EQ(MulDiv(7, 1, 4), 2);  // 1.75
    EXPECT_EQ(MulDiv(5, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x40000000, 16, 2), -1);
}

TEST(FontCreate, FindsArialOrAMetricCompatibleFace) {
    auto font = HudFont();
    ASSERT_NE(font, nullptr);
    EXPECT_FALSE(font->FamilyName().empty());
    EXPECT_FALSE(font->FilePath().empty());
    EXPECT_TRUE(font->IsBold());
    EXPECT_FALSE(font->IsItalic());

    auto regular = HudFont(false, false);
    ASSERT_NE(regular, nullptr);
    EXPECT_FALSE(regular->IsBold());
    EXPECT_NE(regular->FilePath(), font->FilePath());

    auto italic = HudFont(true, true);
    ASSERT_NE(italic, nullptr);
    EXPECT_TRUE(italic->IsBold());
    EXPECT_TRUE(italic->IsItalic());
}

TEST(FontMeasure, AdvancesAndCellHeightComeFromTheFaceMetrics) {
    auto font = HudFont();
    ASSERT_NE(font, nullptr);
    // Arial Bold (and Liberation Sans Bold, which shares its metrics) in units of a 2048 em:
    // ascent 1854 and descent 434 (17.2 + 4.03 pixels), space 569, A 1479, W 1933, m 1821,
    // ! 682, ~ 1196.
    EXPECT_EQ(font->Ascent(), 17);
    EXPECT_EQ(font->Descent(), 4);
    struct Case {
        unsigned char code;
        int advance;
    };
    for (const Case c : {Case{' ', 5}, Case{'A', 14}, Case{'W', 18}, Case{'m', 17}, Case{'!', 6}, Case{'~', 11}}) {
        const TextExtent extent = font->MeasureChar(c.code);
        EXPECT_EQ(extent.cx, c.advance) << "character " << c.code;
        EXPECT_EQ(extent.cy, 21) << "character " << c.code;
    }
}

TEST(FontDraw, FillsTheCellOpaqueAndLeavesTheRestAlone) {
    auto font = HudFont();
    ASSERT_NE(font, nullptr);
    Bitmap32 bitmap(64, 48);
    std::fill(bitmap.pixels.begin(), bitmap.pixels.end(), 0x00FFFFFFu);
    font->DrawCharOpaque(bitmap, 10, 12, ' ');
    const TextExtent cell = font->MeasureChar(' ');
    for (std::uint32_t y = 0; y < bitmap.height; ++y) {
        for (std::uint32_t x = 0; x < bitmap.width; ++x) {
            const bool inside = x >= 10 && x < 10u + cell.cx && y >= 12 && y < 12u + cell.cy;
            ASSERT_EQ(bitmap.pixels[y * bitmap.width + x], inside ? 0u : 0x00FFFFFFu) << x << "," << y;
        }
    }
}

TEST(FontDraw, DrawsAntiAliasedWhiteOnTheBaseline) {
    auto font = HudFont();
    ASSERT_NE(font, nullptr);
    Bitmap32 bitmap(40, 40);
    const int x = 5, y = 7;
    font->DrawCharOpaque(bitmap, x, y, 'A');
    int full = 0, partial = 0, lowestInkRow = -1, highestInkRow = 1000;
    for (std::uint32_t py = 0; py < bitmap.height; ++py) {
        for (std::uint32_t px = 0; px < bitmap.width; ++px) {
            const std::uint32_t pixel = bitmap.pixels[py * bitmap.width + px];
            const std::uint32_t b = Blue(pixel);
            ASSERT_EQ(pixel, b | (b << 8) | (b << 16)) << "not grey at " << px << "," << py;
            if (b == 0) continue;
            if (b == 255) ++full;
            else ++partial;
            lowestInkRow = std::max(lowestInkRow, static_cast<int>(py));
            highestInkRow = std::min(highestInkRow, static_cast<int>(py));
        }
    }
    EXPECT_GT(full, 10);
    EXPECT_GT(partial, 5);  // anti-aliased edges
    // A capital sits on the baseline at y + ascent and is about 0.716 em (14 pixels) tall.
    EXPECT_EQ(lowestInkRow, y + font->Ascent() - 1);
    EXPECT_NEAR(y + font->Ascent() - highestInkRow, 14, 1);
}

TEST(FontDraw, ClipsAtEveryEdgeOfTheBitmap) {
    auto font = HudFont();
    ASSERT_NE(font, nullptr);
    Bitmap32 bitmap(12, 10);
    for (const auto& [x, y] : {std::pair{-6, -9}, std::pair{8, 4}, std::pair{-30, 0}, std::pair{100, 100}})
        font->DrawCharOpaque(bitmap, x, y, 'W');
    int ink = 0;
    for (std::uint32_t pixel : bitmap.pixels) ink += Blue(pixel) != 0;
    EXPECT_GT(ink, 0);  // the parts of the glyphs that fall inside are drawn
    Bitmap32 empty;
    font->DrawCharOpaque(empty, 0, 0, 'W');  // nothing to draw into, nothing touched
    EXPECT_TRUE(empty.pixels.empty());
}

TEST(FontDraw, ItalicSlantsTheStroke) {
    auto upright = HudFont(false, false);
    auto italic = HudFont(false, true);
    ASSERT_NE(upright, nullptr);
    ASSERT_NE(italic, nullptr);
    // The ink of an 'l' leans right going up: its top row starts further right than its bottom.
    auto inkStart = [](const Bitmap32& bitmap, std::uint32_t row) {
        for (std::uint32_t x = 0; x < bitmap.width; ++x)
            if (Blue(bitmap.pixels[row * bitmap.width + x]) > 128) return static_cast<int>(x);
        return -1;
    };
    Bitmap32 a(30, 30), b(30, 30);
    upright->DrawCharOpaque(a, 5, 0, 'l');
    italic->DrawCharOpaque(b, 5, 0, 'l');
    const std::uint32_t top = 4, bottom = static_cast<std::uint32_t>(upright->Ascent() - 1);
    EXPECT_EQ(inkStart(a, top), inkStart(a, bottom));
    EXPECT_GT(inkStart(b, top), inkStart(b, bottom));
}

}  // namespace
}  // namespace brontal
