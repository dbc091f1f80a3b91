// JPEG through libjpeg-turbo: baseline and progressive, grey, colour and Adobe CMYK in; RGB out.
// libjpeg reports fatal errors through error_exit, which jumps back here so that a bad file
// never ends the process.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "platform/image_codecs.h"

namespace brontal {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void EmitMessage(j_common_ptr info, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    // Warnings (level -1) say the data is corrupt; only running out of data is taken as fatal.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) manager->truncated = true;
}

void Silent(j_common_ptr) {}

}  // namespace

bool LooksLikeJpeg(const std::uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, Image& out, std::string& error) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    std::memset(&info, 0, sizeof info);
    std::memset(&errors, 0, sizeof errors);
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.emit_message = EmitMessage;
    errors.base.output_message = Silent;
    JSAMPROW row = nullptr;
    std::vector<std::uint8_t>& pixels = out.rgba;
    if (setjmp(errors.jump)) {
        error = std::string("JPEG: ") + errors.message;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (const std::string bad = CheckImageSize(info.image_width, info.image_height); !bad.empty()) {
        error = "JPEG: frame header: " + bad;
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    out.width = info.output_width;
    out.height = info.output_height;
    pixels.assign(std::size_t{out.width} * out.height * 4, 255);
    while (info.output_scanline < info.output_height) {
        row = pixels.data() + std::size_t{info.output_scanline} * out.width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (errors.truncated) {
        error = "JPEG: premature end of data in the " + std::to_string(size) + "-byte file";
        return false;
    }
    if (cmyk) {
        // Adobe writes CMYK inverted: each channel is 255 - ink.
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            const unsigned k = pixels[i + 3];
            for (int c = 0; c < 3; ++c) pixels[i + c] = static_cast<std::uint8_t>((pixels[i + c] * k + 127) / 255);
            pixels[i + 3] = 255;
        }
    }
    out.hasAlpha = false;
    return true;
}

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality) {
    std::vector<std::uint8_t> result;
    if (image.width == 0 || image.height == 0 || image.rgba.size() < std::size_t{image.width} * image.height * 4)
        return result;
    jpeg_compress_struct info;
    ErrorManager errors;
    std::memset(&info, 0, sizeof info);
    std::memset(&errors, 0, sizeof errors);
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.output_message = Silent;
    unsigned char* buffer = nullptr;
    unsigned long bytes = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return result;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &bytes);
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.rgba.data() + std::size_t{info.next_scanline} * image.width * 4);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    result.assign(buffer, buffer + bytes);
    std::free(buffer);
    return result;
}

}  // namespace brontal
