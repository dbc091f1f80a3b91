// PNG through libpng's memory reader and writer: every colour type, bit depth, palette with
// tRNS and interlacing comes out as 8-bit RGBA.
#include <png.h>

#include <cstdio>
#include <cstring>

#include "platform/image_codecs.h"

namespace brontal {

bool LooksLikePng(const std::uint8_t* data, std::size_t size) {
    return size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

namespace {

struct PngReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
    char message[200];
};

[[noreturn]] void PngFail(png_structp png, png_const_charp message) {
    auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
    std::snprintf(reader->message, sizeof reader->message, "%s", message);
    png_longjmp(png, 1);
}

void PngQuiet(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    if (length > reader->size - reader->position) {
        std::snprintf(reader->message, sizeof reader->message, "offset %zu: file ends (%zu bytes) inside a chunk",
                      reader->position, reader->size);
        png_longjmp(png, 1);
    }
    std::memcpy(out, reader->data + reader->position, length);
    reader->position += length;
}

}  // namespace

bool DecodePng(const std::uint8_t* data, std::size_t size, Image& out, std::string& error) {
    PngReader reader{data, size, 0, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, PngFail, PngQuiet);
    if (png == nullptr) {
        error = "PNG: out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;  // declared before the jump point: no destructor is skipped
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        error = std::string("PNG: ") + reader.message;
        return false;
    }
    if (info == nullptr) PngFail(png, "out of memory");
    png_set_read_fn(png, &reader, PngRead);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (const std::string bad = CheckImageSize(width, height); !bad.empty())
        PngFail(png, ("IHDR (offset 16): " + bad).c_str());
    const int colourType = png_get_color_type(png, info);
    // The file has an alpha channel, or a tRNS chunk that gives one.
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // no-op where there is alpha already
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4) PngFail(png, "unexpected row layout after expansion");
    out.width = width;
    out.height = height;
    out.rgba.assign(std::size_t{width} * height * 4, 0);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = out.rgba.data() + std::size_t{y} * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    out.hasAlpha = alpha;
    return true;
}

std::vector<std::uint8_t> EncodePng(const Image& image) {
    std::vector<std::uint8_t> out;
    if (image.width == 0 || image.height == 0 || image.rgba.size() < std::size_t{image.width} * image.height * 4)
        return out;
    std::vector<std::uint8_t> pixels;
    const std::uint8_t* source = image.rgba.data();
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGBA;
    if (!image.hasAlpha) {
        png.format = PNG_FORMAT_RGB;
        pixels.resize(std::size_t{image.width} * image.height * 3);
        for (std::size_t i = 0, n = std::size_t{image.width} * image.height; i < n; ++i)
            std::memcpy(&pixels[i * 3], &image.rgba[i * 4], 3);
        source = pixels.data();
    }
    png_alloc_size_t bytes = 0;
    if (!png_image_write_to_memory(&png, nullptr, &bytes, 0, source, 0, nullptr)) return out;
    out.resize(bytes);
    if (!png_image_write_to_memory(&png, out.data(), &bytes, 0, source, 0, nullptr)) {
        out.clear();
        return out;
    }
    out.resize(bytes);
    return out;
}

}  // namespace brontal
