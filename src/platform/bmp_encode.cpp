// BMP writer: 24- or 32-bit BI_RGB, bottom-up rows, a 40-byte info header.
#include "platform/image.h"

namespace brontal {
namespace {
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Image& image, int bitsPerPixel) {
    const std::uint32_t bpp = bitsPerPixel == 32 ? 32 : 24;
    const std::uint32_t bytes = bpp / 8;
    const std::uint32_t stride = (image.width * bytes + 3) / 4 * 4;
    const std::uint32_t pixelBytes = stride * image.height;
    const std::uint32_t offset = 14 + 40;
    std::vector<std::uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + pixelBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, image.width);
    Put32(out, image.height);
    Put16(out, 1);
    Put16(out, bpp);
    Put32(out, 0);  // BI_RGB
    Put32(out, pixelBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    const bool complete = image.rgba.size() >= std::size_t{image.width} * image.height * 4;
    for (std::uint32_t y = image.height; y-- > 0;) {
        const std::size_t rowStart = out.size();
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const std::uint8_t* p = complete ? image.rgba.data() + (std::size_t{y} * image.width + x) * 4 : nullptr;
            out.push_back(p ? p[2] : 0);
            out.push_back(p ? p[1] : 0);
            out.push_back(p ? p[0] : 0);
            if (bpp == 32) out.push_back(p ? p[3] : 255);
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

}  // namespace brontal
