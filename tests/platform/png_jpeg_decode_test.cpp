// The PNG and JPEG decoders on files written here with libpng and libjpeg, in the forms a
// level's textures may come in.
#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "platform/image.h"

namespace brontal {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct PngRecipe {
    std::uint32_t width = 0, height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> transparency;  // tRNS for palette images
    Bytes rows;                          // packed rows, as the file holds them
};

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

Bytes WritePng(const PngRecipe& recipe) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng could not write the test image";
        return {};
    }
    png_set_write_fn(png, &out, AppendToVector, nullptr);
    png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bitDepth, recipe.colourType,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!recipe.palette.empty())
        png_set_PLTE(png, info, recipe.palette.data(), static_cast<int>(recipe.palette.size()));
    if (!recipe.transparency.empty())
        png_set_tRNS(png, info, recipe.transparency.data(), static_cast<int>(recipe.transparency.size()), nullptr);
    png_write_info(png, info);
    const std::size_t rowBytes = recipe.rows.size() / recipe.height;
    std::vector<png_bytep> rows(recipe.height);
    for (std::uint32_t y = 0; y < recipe.height; ++y) rows[y] = const_cast<png_bytep>(&recipe.rows[y * rowBytes]);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Image Decode(const Bytes& bytes) {
    Image image;
    std::string error;
    EXPECT_TRUE(DecodeImage(bytes.data(), bytes.size(), image, error)) << error;
    return image;
}

const std::uint8_t* At(const Image& image, std::uint32_t x, std::uint32_t y) {
    return &image.rgba[(std::size_t{y} * image.width + x) * 4];
}

TEST(PngDecode, GreyAndGreyAlpha) {
    PngRecipe grey{2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {}, {}, {0, 200}};
    Image image = Decode(WritePng(grey));
    ASSERT_EQ(image.width, 2u);
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(At(image, 1, 0)[0], 200);
    EXPECT_EQ(At(image, 1, 0)[1], 200);
    EXPECT_EQ(At(image, 1, 0)[2], 200);
    EXPECT_EQ(At(image, 1, 0)[3], 255);

    PngRecipe greyAlpha{1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {}, {}, {90, 40}};
    image = Decode(WritePng(greyAlpha));
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(At(image, 0, 0)[0], 90);
    EXPECT_EQ(At(image, 0, 0)[3], 40);
}

TEST(PngDecode, PaletteWithAndWithoutTransparency) {
    PngRecipe paletted{3, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {}, {2, 1, 0}};
    Image image = Decode(WritePng(paletted));
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(At(image, 0, 0)[2], 255);
    EXPECT_EQ(At(image, 1, 0)[1], 255);
    EXPECT_EQ(At(image, 2, 0)[0], 255);
    EXPECT_EQ(At(image, 2, 0)[3], 255);

    paletted.transparency = {0, 128};  // entry 2 has no tRNS value: opaque
    image = Decode(WritePng(paletted));
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(At(image, 0, 0)[3], 255);
    EXPECT_EQ(At(image, 1, 0)[3], 128);
    EXPECT_EQ(At(image, 2, 0)[3], 0);

    // 2-bit palette indices packed four to a byte.
    PngRecipe packed{4, 1, PNG_COLOR_TYPE_PALETTE, 2, false, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {}, {0x24}};
    image = Decode(WritePng(packed));
    EXPECT_EQ(At(image, 0, 0)[0], 255);
    EXPECT_EQ(At(image, 1, 0)[2], 255);
    EXPECT_EQ(At(image, 2, 0)[1], 255);
    EXPECT_EQ(At(image, 3, 0)[0], 255);
}

TEST(PngDecode, SixteenBitRgbaComesOutAsEightBit) {
    // Big-endian 16-bit samples: R 0xFFFF, G 0x8080, B 0x0000, A 0x8080.
    PngRecipe deep{1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, false, {}, {}, {0xFF, 0xFF, 0x80, 0x80, 0, 0, 0x80, 0x80}};
    const Image image = Decode(WritePng(deep));
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(At(image, 0, 0)[0], 255);
    EXPECT_NEAR(At(image, 0, 0)[1], 128, 1);
    EXPECT_EQ(At(image, 0, 0)[2], 0);
    EXPECT_NEAR(At(image, 0, 0)[3], 128, 1);
}

TEST(PngDecode, InterlacedImageMatchesItsPixels) {
    PngRecipe recipe{9, 9, PNG_COLOR_TYPE_RGB, 8, true, {}, {}, {}};
    for (std::uint32_t y = 0; y < 9; ++y)
        for (std::uint32_t x = 0; x < 9; ++x)
            for (std::uint8_t c : {static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 20), std::uint8_t{7}})
                recipe.rows.push_back(c);
    const Image image = Decode(WritePng(recipe));
    ASSERT_EQ(image.width, 9u);
    ASSERT_EQ(image.height, 9u);
    EXPECT_FALSE(image.hasAlpha);
    for (std::uint32_t y = 0; y < 9; ++y)
        for (std::uint32_t x = 0; x < 9; ++x) {
            EXPECT_EQ(At(image, x, y)[0], x * 20);
            EXPECT_EQ(At(image, x, y)[1], y * 20);
            EXPECT_EQ(At(image, x, y)[2], 7);
        }
}

TEST(PngEncode, RoundTripsRgbaAndRgb) {
    Image source;
    source.width = 2;
    source.height = 2;
    source.hasAlpha = true;
    source.rgba = {1, 2, 3, 4, 50, 60, 70, 80, 200, 100, 0, 255, 9, 9, 9, 0};
    Image image = Decode(EncodePng(source));
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(image.rgba, source.rgba);
    source.hasAlpha = false;
    image = Decode(EncodePng(source));
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(At(image, 1, 1)[0], 9);
    EXPECT_EQ(At(image, 1, 1)[3], 255);
}

TEST(PngDecode, DamagedFilesAreRefusedWithAMessage) {
    PngRecipe recipe{4, 4, PNG_COLOR_TYPE_RGB, 8, false, {}, {}, Bytes(48, 100)};
    const Bytes good = WritePng(recipe);
    Bytes zeroWidth = good;
    std::memset(&zeroWidth[16], 0, 4);  // IHDR width (the CRC no longer matches either)
    Bytes huge = good;
    huge[16] = 0x00, huge[17] = 0x01, huge[18] = 0x00, huge[19] = 0x00;  // 65536 wide
    for (const Bytes& bad : {Bytes(good.begin(), good.begin() + 20), Bytes(good.begin(), good.end() - 30), zeroWidth, huge}) {
        Image image;
        std::string error;
        EXPECT_FALSE(DecodeImage(bad.data(), bad.size(), image, error));
        EXPECT_EQ(error.rfind("PNG: ", 0), 0u) << error;
        EXPECT_GT(error.size(), 5u);
        EXPECT_TRUE(image.rgba.empty());
    }
}

// ---- JPEG ----

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

Bytes WriteJpeg(std::uint32_t width, std::uint32_t height, int components, bool progressive, const Bytes& samples) {
    jpeg_compress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<JpegErrors*>(c->err)->jump, 1); };
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        ADD_FAILURE() << "libjpeg could not write the test image";
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < height) {
        JSAMPROW row = const_cast<JSAMPROW>(&samples[std::size_t{info.next_scanline} * width * components]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

TEST(JpegDecode, BaselineProgressiveAndGreyDecodeOpaque) {
    Bytes colour;
    for (int i = 0; i < 16 * 16; ++i) colour.insert(colour.end(), {200, 40, 90});
    for (bool progressive : {false, true}) {
        const Image image = Decode(WriteJpeg(16, 16, 3, progressive, colour));
        ASSERT_EQ(image.width, 16u) << progressive;
        ASSERT_EQ(image.height, 16u);
        EXPECT_FALSE(image.hasAlpha);
        EXPECT_NEAR(At(image, 5, 7)[0], 200, 4) << progressive;
        EXPECT_NEAR(At(image, 5, 7)[1], 40, 4);
        EXPECT_NEAR(At(image, 5, 7)[2], 90, 4);
        EXPECT_EQ(At(image, 5, 7)[3], 255);
    }
    const Image grey = Decode(WriteJpeg(8, 4, 1, true, Bytes(32, 77)));
    ASSERT_EQ(grey.width, 8u);
    EXPECT_NEAR(At(grey, 3, 3)[0], 77, 2);
    EXPECT_EQ(At(grey, 3, 3)[0], At(grey, 3, 3)[2]);
    EXPECT_EQ(At(grey, 3, 3)[3], 255);
    EXPECT_FALSE(grey.hasAlpha);
}

TEST(JpegEncode, RoundTripsCloseToTheSource) {
    Image source;
    source.width = 8;
    source.height = 8;
    source.rgba.assign(8 * 8 * 4, 0);
    for (std::size_t i = 0; i < source.rgba.size(); i += 4) source.rgba[i] = 250, source.rgba[i + 3] = 17;
    const Image image = Decode(EncodeJpeg(source, 95));
    EXPECT_NEAR(At(image, 4, 4)[0], 250, 4);
    EXPECT_NEAR(At(image, 4, 4)[1], 0, 4);
    EXPECT_EQ(At(image, 4, 4)[3], 255);  // JPEG has no alpha
}

TEST(JpegDecode, TruncatedAndCorruptFilesAreRefusedWithoutExiting) {
    Bytes noise(32 * 32 * 3);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 7919 % 251);
    const Bytes good = WriteJpeg(32, 32, 3, false, noise);
    ASSERT_GT(good.size(), 1000u);
    Bytes badMarker = good;
    badMarker[3] = 0xD9;  // end of image before any frame: libjpeg raises a fatal error
    for (const Bytes& bad : {Bytes(good.begin(), good.begin() + 40), Bytes(good.begin(), good.end() - 200), badMarker}) {
        Image image;
        std::string error;
        EXPECT_FALSE(DecodeImage(bad.data(), bad.size(), image, error)) << bad.size();
        EXPECT_EQ(error.rfind("JPEG: ", 0), 0u) << error;
        EXPECT_TRUE(image.rgba.empty());
    }
}

}  // namespace
}  // namespace brontal
