#pragma once
// Device textures in OpenGL. Texels keep the device's memory layout and are handed to OpenGL
// with the matching packed formats: A8R8G8B8 is bytes B, G, R, A (BGRA, unsigned bytes);
// A4R4G4B4 is a 16-bit word with alpha in the top nibble (BGRA, 4_4_4_4_REV); formats without
// alpha read alpha 1 through the texture's swizzle. Row 0 of a level is v = 0, as on the
// platform, so images go up unflipped. Samplers are shared objects, one per distinct key.
#include <cstdint>
#include <utility>
#include <vector>

#include "device/d3d8_types.h"
#include "device/gl/gl_api.h"
#include "device/gl/gl_state.h"

namespace brontal {

class Texture;

struct GlTextureFormat {
    GLenum internalFormat = 0;
    GLenum format = 0;
    GLenum type = 0;
    std::uint32_t bytesPerTexel = 0;
    bool alphaIsOne = false;  // the format has no alpha bits
};

// False for formats a texture cannot be made of here.
bool GlTextureFormatFor(D3DFORMAT format, GlTextureFormat& out);

// The lowest alpha of any texel of any level (255 for a format without alpha bits; 0 for a
// format whose texels are not looked at). A filtered sample never falls below it.
std::uint8_t GlTextureMinAlpha(const Texture& texture);
// Makes the OpenGL texture for a device texture and uploads every level; 0 when the format is
// not one OpenGL takes (a warning names it once).
GLuint CreateGlTexture(const Texture& texture);
void UploadGlTextureLevel(const Texture& texture, GLuint name, std::uint32_t level);

class GlSamplerCache {
public:
    GlSamplerCache() = default;
    GlSamplerCache(const GlSamplerCache&) = delete;
    GlSamplerCache& operator=(const GlSamplerCache&) = delete;
    ~GlSamplerCache();
    GLuint Get(const GlSamplerKey& key);
    std::size_t Size() const { return samplers_.size(); }

private:
    std::vector<std::pair<GlSamplerKey, GLuint>> samplers_;
};

}  // namespace brontal
