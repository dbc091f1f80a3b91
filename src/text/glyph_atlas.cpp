// The glyph atlas: the overlay's font rasterised once, its coverage turned into the alpha of a
// white A4R4G4B4 texture, and each character's rectangle kept in texture coordinates.
#include <cstring>
#include <memory>

#include "device/device.h"
#include "platform/font_rasterizer.h"
#include "text/text_overlay.h"

namespace brontal {

namespace {

constexpr std::uint32_t kPointsPerInch = 72;
constexpr std::uint16_t kCoverageWhite = 0x0FFF;  // red, green and blue full; alpha on top

// Fonts above 40 points get a 1024-texel atlas, above 20 a 512 one, the rest 256.
constexpr std::uint32_t kLargeFontPoints = 40;
constexpr std::uint32_t kMediumFontPoints = 20;

// The texel of a DIB pixel: its blue byte cut to 4 bits of coverage.
std::uint16_t CoverageTexel(std::uint32_t pixel) {
    const std::uint16_t level = static_cast<std::uint16_t>((pixel & 0xFFu) >> 4);
    return level == 0 ? std::uint16_t{0} : static_cast<std::uint16_t>(level * 4096 + kCoverageWhite);
}

void LayOutGlyphs(TextOverlay& overlay, const Font& font, Bitmap32& bitmap) {
    const float width = static_cast<float>(overlay.textureWidth);
    const float height = static_cast<float>(overlay.textureHeight);
    std::uint32_t x = 0, y = 0;
    for (std::uint32_t code = kFirstGlyphCode; code <= kLastGlyphCode; ++code) {
        const TextExtent extent = font.MeasureChar(static_cast<unsigned char>(code));
        const auto cx = static_cast<std::uint32_t>(extent.cx > 0 ? extent.cx : 0);
        const auto cy = static_cast<std::uint32_t>(extent.cy > 0 ? extent.cy : 0);
        if (x + cx + 1 > overlay.textureWidth) {
            x = 0;
            y += cy + 1;
        }
        // A row past the bottom of the atlas is clipped by the rasteriser, not written.
        font.DrawCharOpaque(bitmap, static_cast<int>(x), static_cast<int>(y), static_cast<unsigned char>(code));
        float* rect = overlay.glyphRects[code - kFirstGlyphCode];
        rect[0] = static_cast<float>(x) / width;
        rect[1] = static_cast<float>(y) / height;
        rect[2] = static_cast<float>(x + cx) / width;
        rect[3] = static_cast<float>(y + cy) / height;
        x += cx + 1;
    }
}

void CopyCoverage(Texture& texture, const Bitmap32& bitmap) {
    D3DLOCKED_RECT locked{};
    if (texture.LockRect(0, &locked, nullptr, 0) != D3D_OK || !locked.pBits) return;
    const std::uint32_t rowBytes = bitmap.width * 2;
    const std::uint32_t pitch = locked.Pitch > 0 ? static_cast<std::uint32_t>(locked.Pitch) : rowBytes;
    auto* rows = static_cast<std::uint8_t*>(locked.pBits);
    for (std::uint32_t y = 0; y < bitmap.height; ++y) {
        std::uint8_t* texel = rows + std::size_t{y} * pitch;
        const std::uint32_t* pixel = &bitmap.pixels[std::size_t{y} * bitmap.width];
        for (std::uint32_t x = 0; x < bitmap.width; ++x) {
            const std::uint16_t value = CoverageTexel(pixel[x]);
            std::memcpy(texel + std::size_t{x} * 2, &value, 2);
        }
    }
    texture.UnlockRect(0);
}

}  // namespace

std::uint32_t GlyphAtlasSize(std::uint32_t fontHeight) {
    if (fontHeight > kLargeFontPoints) return 1024;
    if (fontHeight > kMediumFontPoints) return 512;
    return 256;
}

HRESULT TextOverlay::CreateGlyphAtlas(Device* newDevice) {
    device = newDevice;
    textScale = 1.0f;
    if (!device) return E_FAIL;
    textureWidth = textureHeight = GlyphAtlasSize(fontHeight);

    D3DCAPS8 caps{};
    device->GetDeviceCaps(&caps);
    if (textureWidth > caps.MaxTextureWidth) {
        textScale = static_cast<float>(caps.MaxTextureWidth) / static_cast<float>(textureWidth);
        textureWidth = textureHeight = caps.MaxTextureWidth;
    }

    const HRESULT created =
        device->CreateTexture(textureWidth, textureHeight, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture);
    if (created != D3D_OK) {
        texture = nullptr;
        return created;
    }

    Bitmap32 bitmap(textureWidth, textureHeight);
    const int logPixelsY = static_cast<int>(static_cast<float>(kScreenLogPixelsY) * textScale);
    FontRequest request;
    request.faceName = fontName;
    request.pixelHeight = MulDiv(static_cast<int>(fontHeight), logPixelsY, static_cast<int>(kPointsPerInch));
    request.bold = (fontFlags & kFontFlagBold) != 0;
    request.italic = (fontFlags & kFontFlagItalic) != 0;
    const std::unique_ptr<Font> font = Font::Create(request);
    if (!font) return E_FAIL;

    LayOutGlyphs(*this, *font, bitmap);
    CopyCoverage(*texture, bitmap);
    return D3D_OK;
}

}  // namespace brontal
