// Our own BMP decoder: core (OS/2) and Windows info headers, 1/4/8-bit paletted, 16-, 24- and
// 32-bit uncompressed, BI_BITFIELDS masks, bottom-up and top-down rows.
#include <bit>
#include <string>
#include <vector>

#include "platform/image_codecs.h"

namespace brontal {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

std::string At(std::uint64_t offset, const std::string& problem) {
    return "BMP: offset " + std::to_string(offset) + ": " + problem;
}

// One channel described by a bit mask, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t maximum = 0;
    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            maximum = (mask >> shift);
        }
    }
    std::uint8_t Get(std::uint32_t pixel, std::uint8_t absent) const {
        if (mask == 0) return absent;
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
    }
};

struct Header {
    std::uint32_t infoSize = 0;
    std::int64_t width = 0, height = 0;
    std::uint32_t bitCount = 0, compression = kBiRgb, colourCount = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool hasMasks = false;
    std::size_t paletteOffset = 0, paletteEntrySize = 4;
};

bool ReadHeader(const std::uint8_t* data, std::size_t size, Header& h, std::string& error) {
    if (size < kFileHeaderSize + 4) {
        error = At(size, "file of " + std::to_string(size) + " bytes ends inside the headers");
        return false;
    }
    h.infoSize = U32(data + kFileHeaderSize);
    const std::uint8_t* info = data + kFileHeaderSize;
    if (h.infoSize != 12 && h.infoSize != 40 && h.infoSize != 52 && h.infoSize != 56 && h.infoSize != 64 &&
        h.infoSize != 108 && h.infoSize != 124) {
        error = At(kFileHeaderSize, "info header size " + std::to_string(h.infoSize) + " is not a known one");
        return false;
    }
    if (size < kFileHeaderSize + h.infoSize) {
        error = At(size, "file ends inside the " + std::to_string(h.infoSize) + "-byte info header");
        return false;
    }
    std::uint16_t planes = 0;
    if (h.infoSize == 12) {
        h.width = U16(info + 4);
        h.height = U16(info + 6);
        planes = U16(info + 8);
        h.bitCount = U16(info + 10);
        h.paletteEntrySize = 3;
    } else {
        h.width = static_cast<std::int32_t>(U32(info + 4));
        h.height = static_cast<std::int32_t>(U32(info + 8));
        planes = U16(info + 12);
        h.bitCount = U16(info + 14);
        h.compression = U32(info + 16);
        h.colourCount = U32(info + 32);
    }
    if (planes != 1) {
        error = At(kFileHeaderSize + (h.infoSize == 12 ? 8 : 12), "plane count " + std::to_string(planes) + " is not 1");
        return false;
    }
    h.paletteOffset = kFileHeaderSize + h.infoSize;
    if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
        const std::size_t maskCount = h.compression == kBiAlphaBitfields ? 4 : 3;
        std::size_t maskOffset = kFileHeaderSize + 40;
        if (h.infoSize == 40) {
            // The masks follow the short info header, ahead of any palette.
            if (size < maskOffset + 4 * maskCount) {
                error = At(size, "file ends inside the colour masks");
                return false;
            }
            h.paletteOffset += 4 * maskCount;
        }
        const std::size_t available = h.infoSize == 40 ? maskCount : (h.infoSize >= 56 ? 4 : 3);
        for (std::size_t i = 0; i < available; ++i) h.masks[i] = U32(data + maskOffset + 4 * i);
        h.hasMasks = true;
    } else if (h.compression != kBiRgb) {
        error = At(kFileHeaderSize + 16, "compression " + std::to_string(h.compression) + " is not supported");
        return false;
    }
    if (h.infoSize >= 56 && h.compression == kBiRgb) {
        // A V3+ header with BI_RGB carries an alpha mask that 32-bit images use.
        h.masks[3] = U32(info + 52);
    }
    return true;
}

}  // namespace

bool LooksLikeBmp(const std::uint8_t* data, std::size_t size) { return size >= 2 && data[0] == 'B' && data[1] == 'M'; }

bool DecodeBmp(const std::uint8_t* data, std::size_t size, Image& out, std::string& error) {
    Header h;
    if (!ReadHeader(data, size, h, error)) return false;
    const std::uint32_t bpp = h.bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        error = At(kFileHeaderSize + (h.infoSize == 12 ? 10 : 14), "bit count " + std::to_string(bpp) + " is not supported");
        return false;
    }
    if (h.hasMasks && bpp != 16 && bpp != 32) {
        error = At(kFileHeaderSize + 16, "colour masks with bit count " + std::to_string(bpp));
        return false;
    }
    const bool topDown = h.height < 0;
    const std::uint64_t width = h.width < 0 ? 0 : static_cast<std::uint64_t>(h.width);
    const std::uint64_t height = static_cast<std::uint64_t>(topDown ? -h.height : h.height);
    if (h.width < 0) {
        error = At(kFileHeaderSize + 4, "width " + std::to_string(h.width) + " is negative");
        return false;
    }
    if (const std::string bad = CheckImageSize(width, height); !bad.empty()) {
        error = At(kFileHeaderSize + 4, bad);
        return false;
    }

    // The palette of 1-, 4- and 8-bit images.
    std::vector<std::uint8_t> palette;  // RGB triples
    std::uint64_t paletteCount = 0;
    if (bpp <= 8) {
        const std::uint64_t most = std::uint64_t{1} << bpp;
        paletteCount = h.colourCount == 0 ? most : h.colourCount;
        if (paletteCount > most) {
            error = At(kFileHeaderSize + 32, "colour count " + std::to_string(h.colourCount) + " exceeds " +
                                                 std::to_string(most) + " for bit count " + std::to_string(bpp));
            return false;
        }
        if (h.paletteOffset + paletteCount * h.paletteEntrySize > size) {
            error = At(h.paletteOffset, "palette of " + std::to_string(paletteCount) + " entries runs past the end of the " +
                                            std::to_string(size) + "-byte file");
            return false;
        }
        palette.resize(paletteCount * 3);
        for (std::uint64_t i = 0; i < paletteCount; ++i) {
            const std::uint8_t* entry = data + h.paletteOffset + i * h.paletteEntrySize;
            palette[i * 3 + 0] = entry[2];
            palette[i * 3 + 1] = entry[1];
            palette[i * 3 + 2] = entry[0];
        }
    }

    const std::uint64_t pixelOffset = U32(data + 10);
    const std::uint64_t stride = ((width * bpp + 31) / 32) * 4;
    if (pixelOffset < h.paletteOffset && bpp <= 8) {
        error = At(10, "pixel data offset " + std::to_string(pixelOffset) + " lies inside the headers");
        return false;
    }
    if (pixelOffset > size || stride * height > size - pixelOffset) {
        error = At(10, "pixel data of " + std::to_string(height) + " rows of " + std::to_string(stride) +
                           " bytes at offset " + std::to_string(pixelOffset) + " runs past the end of the " +
                           std::to_string(size) + "-byte file");
        return false;
    }

    Channel red, green, blue, alpha;
    if (bpp == 16) {
        if (h.hasMasks) red = Channel(h.masks[0]), green = Channel(h.masks[1]), blue = Channel(h.masks[2]),
                        alpha = Channel(h.masks[3]);
        else red = Channel(0x7C00), green = Channel(0x03E0), blue = Channel(0x001F);
    } else if (bpp == 32) {
        if (h.hasMasks) red = Channel(h.masks[0]), green = Channel(h.masks[1]), blue = Channel(h.masks[2]),
                        alpha = Channel(h.masks[3]);
        else red = Channel(0x00FF0000), green = Channel(0x0000FF00), blue = Channel(0x000000FF),
             alpha = Channel(0xFF000000);
    }

    out.width = static_cast<std::uint32_t>(width);
    out.height = static_cast<std::uint32_t>(height);
    out.rgba.assign(width * height * 4, 255);
    bool anyAlpha = false;
    for (std::uint64_t y = 0; y < height; ++y) {
        const std::uint64_t fileRow = topDown ? y : height - 1 - y;
        const std::uint8_t* row = data + pixelOffset + fileRow * stride;
        std::uint8_t* dst = out.rgba.data() + y * width * 4;
        for (std::uint64_t x = 0; x < width; ++x, dst += 4) {
            if (bpp <= 8) {
                const std::uint64_t bit = x * bpp;
                const unsigned shift = static_cast<unsigned>(8 - bpp - (bit % 8));
                const std::uint32_t index = (row[bit / 8] >> shift) & ((1u << bpp) - 1);
                if (index >= paletteCount) {
                    error = At(pixelOffset + fileRow * stride + bit / 8,
                               "palette index " + std::to_string(index) + " beyond the " +
                                   std::to_string(paletteCount) + "-entry palette");
                    return false;
                }
                dst[0] = palette[index * 3 + 0];
                dst[1] = palette[index * 3 + 1];
                dst[2] = palette[index * 3 + 2];
            } else if (bpp == 24) {
                const std::uint8_t* p = row + x * 3;
                dst[0] = p[2];
                dst[1] = p[1];
                dst[2] = p[0];
            } else {
                const std::uint32_t pixel = bpp == 16 ? U16(row + x * 2) : U32(row + x * 4);
                dst[0] = red.Get(pixel, 0);
                dst[1] = green.Get(pixel, 0);
                dst[2] = blue.Get(pixel, 0);
                dst[3] = alpha.Get(pixel, 255);
                if (alpha.mask != 0 && dst[3] != 0) anyAlpha = true;
            }
        }
    }
    // An alpha channel that is zero everywhere is unused padding: the image is opaque.
    if (alpha.mask != 0 && !anyAlpha)
        for (std::size_t i = 3; i < out.rgba.size(); i += 4) out.rgba[i] = 255;
    out.hasAlpha = anyAlpha;
    return true;
}

}  // namespace brontal
