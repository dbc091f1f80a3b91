// The BMP decoder on files written byte by byte here, and on headers that lie.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace brontal {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// File header and a 40-byte info header; the caller appends palette/masks and pixels.
Bytes Headers(std::int32_t width, std::int32_t height, std::uint16_t bpp, std::uint32_t compression,
              std::uint32_t colours, std::uint32_t pixelOffset) {
    Bytes b{'B', 'M'};
    Put32(b, 0);  // file size, not relied upon
    Put32(b, 0);
    Put32(b, pixelOffset);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, bpp);
    Put32(b, compression);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, colours);
    Put32(b, 0);
    return b;
}

const std::uint8_t* Pixel(const Image& image, std::uint32_t x, std::uint32_t y) {
    return &image.rgba[(std::size_t{y} * image.width + x) * 4];
}

void ExpectPixel(const Image& image, std::uint32_t x, std::uint32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                 std::uint8_t a) {
    const std::uint8_t* p = Pixel(image, x, y);
    EXPECT_EQ(p[0], r) << "red at " << x << "," << y;
    EXPECT_EQ(p[1], g) << "green at " << x << "," << y;
    EXPECT_EQ(p[2], b) << "blue at " << x << "," << y;
    EXPECT_EQ(p[3], a) << "alpha at " << x << "," << y;
}

// 2x2, 24 bit: rows padded to 8 bytes. Stored bottom-up unless height is negative.
Bytes Bmp24(bool topDown) {
    Bytes b = Headers(2, topDown ? -2 : 2, 24, 0, 0, 54);
    const Bytes first = {0, 0, 255, 0, 255, 0, 0, 0};      // row stored first: red, green
    const Bytes second = {255, 0, 0, 255, 255, 255, 0, 0};  // blue, white
    b.insert(b.end(), first.begin(), first.end());
    b.insert(b.end(), second.begin(), second.end());
    return b;
}

TEST(BmpDecode, TwentyFourBitRowsComeOutTopRowFirstInBothOrders) {
    Image image;
    std::string error;
    const Bytes bottomUp = Bmp24(false);
    ASSERT_TRUE(DecodeImage(bottomUp.data(), bottomUp.size(), image, error)) << error;
    ASSERT_EQ(image.width, 2u);
    ASSERT_EQ(image.height, 2u);
    EXPECT_FALSE(image.hasAlpha);
    ExpectPixel(image, 0, 1, 255, 0, 0, 255);  // first stored row is the bottom one
    ExpectPixel(image, 1, 1, 0, 255, 0, 255);
    ExpectPixel(image, 0, 0, 0, 0, 255, 255);
    ExpectPixel(image, 1, 0, 255, 255, 255, 255);

    const Bytes topDown = Bmp24(true);
    ASSERT_TRUE(DecodeImage(topDown.data(), topDown.size(), image, error)) << error;
    ExpectPixel(image, 0, 0, 255, 0, 0, 255);
    ExpectPixel(image, 1, 0, 0, 255, 0, 255);
    ExpectPixel(image, 0, 1, 0, 0, 255, 255);
}

TEST(BmpDecode, ThirtyTwoBitAlphaIsKeptOnlyWhereSomeAlphaIsSet) {
    Bytes b = Headers(2, 1, 32, 0, 0, 54);
    const Bytes pixels = {10, 20, 30, 0, 40, 50, 60, 200};  // BGRA
    b.insert(b.end(), pixels.begin(), pixels.end());
    Image image;
    std::string error;
    ASSERT_TRUE(DecodeImage(b.data(), b.size(), image, error)) << error;
    EXPECT_TRUE(image.hasAlpha);
    ExpectPixel(image, 0, 0, 30, 20, 10, 0);
    ExpectPixel(image, 1, 0, 60, 50, 40, 200);

    b[54 + 7] = 0;  // every alpha zero: padding, so the image is opaque
    ASSERT_TRUE(DecodeImage(b.data(), b.size(), image, error)) << error;
    EXPECT_FALSE(image.hasAlpha);
    ExpectPixel(image, 0, 0, 30, 20, 10, 255);
    ExpectPixel(image, 1, 0, 60, 50, 40, 255);
}

TEST(BmpDecode, PalettedEightFourAndOneBit) {
    Image image;
    std::string error;
    // 8 bit, 3 colours, 3x1: indices 2, 0, 1.
    Bytes b8 = Headers(3, 1, 8, 0, 3, 54 + 12);
    const Bytes palette = {0, 0, 255, 0, /*red*/ 0, 255, 0, 0, /*green*/ 255, 0, 0, 0 /*blue*/};
    b8.insert(b8.end(), palette.begin(), palette.end());
    const Bytes indices8 = {2, 0, 1, 0};
    b8.insert(b8.end(), indices8.begin(), indices8.end());
    ASSERT_TRUE(DecodeImage(b8.data(), b8.size(), image, error)) << error;
    EXPECT_FALSE(image.hasAlpha);
    ExpectPixel(image, 0, 0, 0, 0, 255, 255);
    ExpectPixel(image, 1, 0, 255, 0, 0, 255);
    ExpectPixel(image, 2, 0, 0, 255, 0, 255);

    // 4 bit, 3x1: indices 1, 2, 0 packed high nibble first.
    Bytes b4 = Headers(3, 1, 4, 0, 3, 54 + 12);
    b4.insert(b4.end(), palette.begin(), palette.end());
    const Bytes indices4 = {0x12, 0x00, 0, 0};
    b4.insert(b4.end(), indices4.begin(), indices4.end());
    ASSERT_TRUE(DecodeImage(b4.data(), b4.size(), image, error)) << error;
    ExpectPixel(image, 0, 0, 0, 255, 0, 255);
    ExpectPixel(image, 1, 0, 0, 0, 255, 255);
    ExpectPixel(image, 2, 0, 255, 0, 0, 255);

    // 1 bit, 10x1: bits 1000000001, most significant first.
    Bytes b1 = Headers(10, 1, 1, 0, 2, 54 + 8);
    b1.insert(b1.end(), palette.begin(), palette.begin() + 8);
    const Bytes bits = {0x80, 0x40, 0, 0};
    b1.insert(b1.end(), bits.begin(), bits.end());
    ASSERT_TRUE(DecodeImage(b1.data(), b1.size(), image, error)) << error;
    ExpectPixel(image, 0, 0, 0, 255, 0, 255);
    for (std::uint32_t x = 1; x < 9; ++x) ExpectPixel(image, x, 0, 255, 0, 0, 255);
    ExpectPixel(image, 9, 0, 0, 255, 0, 255);
}

TEST(BmpDecode, SixteenBitDefaultAndBitfieldMasks) {
    Image image;
    std::string error;
    // Default 5-5-5: 0x7C00 is full red, 0x001F full blue.
    Bytes b = Headers(2, 1, 16, 0, 0, 54);
    Put16(b, 0x7C00);
    Put16(b, 0x001F);
    ASSERT_TRUE(DecodeImage(b.data(), b.size(), image, error)) << error;
    ExpectPixel(image, 0, 0, 255, 0, 0, 255);
    ExpectPixel(image, 1, 0, 0, 0, 255, 255);

    // BI_BITFIELDS 5-6-5 with the masks after the info header: 0x07E0 is full green.
    Bytes m = Headers(2, 1, 16, 3, 0, 54 + 12);
    Put32(m, 0xF800);
    Put32(m, 0x07E0);
    Put32(m, 0x001F);
    Put16(m, 0x07E0);
    Put16(m, 0x8000);  // top red bit only: 16 of 31
    ASSERT_TRUE(DecodeImage(m.data(), m.size(), image, error)) << error;
    ExpectPixel(image, 0, 0, 0, 255, 0, 255);
    ExpectPixel(image, 1, 0, 132, 0, 0, 255);
}

struct Refusal {
    const char* name;
    Bytes bytes;
    const char* expected;  // part of the error message
};

TEST(BmpDecode, TruncatedAndLyingHeadersAreRefusedWithAMessage) {
    Bytes shortPixels = Bmp24(false);
    shortPixels.resize(shortPixels.size() - 1);
    Bytes hugeWidth = Bmp24(false);
    hugeWidth[18] = 0xFF, hugeWidth[19] = 0xFF, hugeWidth[20] = 0xFF, hugeWidth[21] = 0x7F;
    Bytes zeroHeight = Bmp24(false);
    zeroHeight[22] = zeroHeight[23] = zeroHeight[24] = zeroHeight[25] = 0;
    Bytes offsetPastEnd = Bmp24(false);
    offsetPastEnd[10] = 0xF0;
    Bytes badInfoSize = Bmp24(false);
    badInfoSize[14] = 41;
    Bytes rle = Bmp24(false);
    rle[30] = 1;
    Bytes badBitCount = Bmp24(false);
    badBitCount[28] = 7;
    Bytes indexPastPalette = Headers(1, 1, 8, 0, 2, 54 + 8);
    for (int i = 0; i < 8; ++i) indexPastPalette.push_back(0);
    for (std::uint8_t v : {5, 0, 0, 0}) indexPastPalette.push_back(v);
    Bytes paletteTooLong = Headers(1, 1, 8, 0, 300, 54);
    Bytes paletteRunsOff = Headers(1, 1, 8, 0, 200, 54);
    const Bytes whole = Bmp24(false);
    const Bytes infoCut(whole.begin(), whole.begin() + 30);
    const std::vector<Refusal> cases = {
        {"headers cut", Bytes{'B', 'M', 0, 0, 0, 0}, "ends inside the headers"},
        {"info header cut", infoCut, "ends inside the 40-byte"},
        {"pixels cut", shortPixels, "runs past the end"},
        {"width huge", hugeWidth, "exceeds"},
        {"height zero", zeroHeight, "is empty"},
        {"pixel offset past the end", offsetPastEnd, "offset 10"},
        {"unknown info header", badInfoSize, "info header size 41"},
        {"RLE", rle, "compression 1"},
        {"bit count 7", badBitCount, "bit count 7"},
        {"index past palette", indexPastPalette, "palette index 5"},
        {"colour count too big", paletteTooLong, "colour count 300"},
        {"palette past the end", paletteRunsOff, "palette of 200 entries"},
    };
    for (const Refusal& c : cases) {
        Image image;
        std::string error;
        EXPECT_FALSE(DecodeImage(c.bytes.data(), c.bytes.size(), image, error)) << c.name;
        EXPECT_NE(error.find("BMP: offset"), std::string::npos) << c.name << ": " << error;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
        EXPECT_TRUE(image.rgba.empty()) << c.name;
    }
}

TEST(BmpEncode, TwentyFourAndThirtyTwoBitRoundTrip) {
    Image source;
    source.width = 3;  // odd width: 24-bit rows need padding
    source.height = 2;
    source.hasAlpha = true;
    for (std::uint8_t i = 0; i < 24; ++i) source.rgba.push_back(static_cast<std::uint8_t>(i * 10 + 1));
    Image image;
    std::string error;
    const Bytes b32 = EncodeBmp(source, 32);
    ASSERT_TRUE(DecodeImage(b32.data(), b32.size(), image, error)) << error;
    EXPECT_EQ(image.rgba, source.rgba);
    EXPECT_TRUE(image.hasAlpha);

    const Bytes b24 = EncodeBmp(source, 24);
    EXPECT_EQ(b24.size(), 54u + 2 * 12);
    ASSERT_TRUE(DecodeImage(b24.data(), b24.size(), image, error)) << error;
    EXPECT_FALSE(image.hasAlpha);
    for (std::size_t i = 0; i < source.rgba.size(); ++i)
        EXPECT_EQ(image.rgba[i], i % 4 == 3 ? 255 : source.rgba[i]) << i;
}

TEST(ImageDecode, UnknownAndEmptyDataAreRefused) {
    Image image;
    std::string error;
    const Bytes text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(DecodeImage(text.data(), text.size(), image, error));
    EXPECT_NE(error.find("not a BMP, PNG or JPEG"), std::string::npos) << error;
    EXPECT_FALSE(DecodeImage(nullptr, 0, image, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace brontal
