// The texture loaders: decode an image, make an A8R8G8B8 texture with a full mip chain in the
// managed pool and fill every level, each a 2x2 box filter of the one above.
#include "platform/texture_loader.h"

#include <cstdio>
#include <vector>

#include "device/device.h"
#include "platform/image.h"

namespace brontal {
namespace {

HRESULT Warn(const std::string& what, const std::string& reason, Texture** texture, HRESULT result) {
    std::fprintf(stderr, "warning: %s: %s\n", what.c_str(), reason.c_str());
    if (texture) *texture = nullptr;
    return result;
}

// One mip level in RGBA, top row first.
struct MipLevel {
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};

// Halves a level in each direction (a side of 1 stays 1); each texel is the rounded mean of the
// up to 2x2 texels above it. An odd last row or column of the source is left out.
MipLevel HalveMipLevel(const MipLevel& source) {
    MipLevel next;
    next.width = source.width > 1 ? source.width >> 1 : 1;
    next.height = source.height > 1 ? source.height >> 1 : 1;
    next.rgba.resize(std::size_t{next.width} * next.height * 4);
    const std::uint32_t dx = source.width > 1 ? 1 : 0;
    const std::uint32_t dy = source.height > 1 ? 1 : 0;
    for (std::uint32_t y = 0; y < next.height; ++y) {
        const std::uint8_t* row0 = source.rgba.data() + std::size_t{y * 2} * source.width * 4;
        const std::uint8_t* row1 = row0 + std::size_t{dy} * source.width * 4;
        std::uint8_t* dst = next.rgba.data() + std::size_t{y} * next.width * 4;
        for (std::uint32_t x = 0; x < next.width; ++x, dst += 4) {
            const std::size_t a = std::size_t{x} * 2 * 4, b = a + std::size_t{dx} * 4;
            for (int c = 0; c < 4; ++c)
                dst[c] = static_cast<std::uint8_t>((row0[a + c] + row0[b + c] + row1[a + c] + row1[b + c] + 2) / 4);
        }
    }
    return next;
}

HRESULT WriteMipLevel(Texture& texture, std::uint32_t index, const MipLevel& level) {
    D3DLOCKED_RECT locked{};
    HRESULT result = texture.LockRect(index, &locked, nullptr, 0);
    if (result != D3D_OK) return result;
    auto* bits = static_cast<std::uint8_t*>(locked.pBits);
    for (std::uint32_t y = 0; y < level.height; ++y) {
        const std::uint8_t* src = level.rgba.data() + std::size_t{y} * level.width * 4;
        std::uint8_t* dst = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(locked.Pitch);
        for (std::uint32_t x = 0; x < level.width; ++x, src += 4, dst += 4) {
            dst[0] = src[2];  // B, G, R, A in memory
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = src[3];
        }
    }
    return texture.UnlockRect(index);
}

HRESULT TextureFromImage(Device* device, Image&& image, Texture** texture, const std::string& what) {
    Texture* made = nullptr;
    HRESULT result = device->CreateTexture(image.width, image.height, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &made);
    if (result != D3D_OK || made == nullptr)
        return Warn(what,
                    "the device refused a " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                        " texture",
                    texture, result != D3D_OK ? result : E_FAIL);
    MipLevel level{image.width, image.height, std::move(image.rgba)};
    for (std::uint32_t i = 0; i < made->LevelCount(); ++i) {
        if (i > 0) level = HalveMipLevel(level);
        if (level.width != made->Width(i) || level.height != made->Height(i) ||
            WriteMipLevel(*made, i, level) != D3D_OK)
            return Warn(what, "cannot fill mip level " + std::to_string(i), texture, E_FAIL);
    }
    *texture = made;
    return D3D_OK;
}

}  // namespace

HRESULT CreateTextureFromImageInMemory(Device* device, const void* data, std::size_t size, Texture** texture,
                                       const std::string& what) {
    if (texture == nullptr) return Warn(what, "no place for the texture", nullptr, D3DERR_INVALIDCALL);
    if (device == nullptr) return Warn(what, "no device", texture, D3DERR_INVALIDCALL);
    if (data == nullptr || size == 0) return Warn(what, "no image data", texture, D3DERR_INVALIDCALL);
    Image image;
    std::string error;
    if (!DecodeImage(static_cast<const std::uint8_t*>(data), size, image, error))
        return Warn(what, error, texture, E_FAIL);
    return TextureFromImage(device, std::move(image), texture, what);
}

HRESULT CreateTextureFromFile(Device* device, const std::string& path, Texture** texture) {
    std::string local = path;
    for (char& c : local)
        if (c == '\\') c = '/';
    if (texture == nullptr) return Warn(local, "no place for the texture", nullptr, D3DERR_INVALIDCALL);
    if (device == nullptr) return Warn(local, "no device", texture, D3DERR_INVALIDCALL);
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(local, bytes, error)) return Warn(local, error, texture, E_FAIL);
    Image image;
    if (!DecodeImage(bytes.data(), bytes.size(), image, error)) return Warn(local, error, texture, E_FAIL);
    return TextureFromImage(device, std::move(image), texture, local);
}

Texture* CreatePlaceholderTexture(Device* device) {
    if (device == nullptr) return nullptr;
    constexpr std::uint32_t kSide = 8;
    Image image;
    image.width = image.height = kSide;
    image.rgba.resize(kSide * kSide * 4);
    for (std::uint32_t y = 0; y < kSide; ++y)
        for (std::uint32_t x = 0; x < kSide; ++x) {
            std::uint8_t* p = &image.rgba[(y * kSide + x) * 4];
            const bool magenta = ((x / 2) + (y / 2)) % 2 != 0;  // 2x2-texel squares
            p[0] = magenta ? 255 : 128;
            p[1] = magenta ? 0 : 128;
            p[2] = magenta ? 255 : 128;
            p[3] = 255;
        }
    Texture* texture = nullptr;
    TextureFromImage(device, std::move(image), &texture, "placeholder texture");
    return texture;
}

}  // namespace brontal
