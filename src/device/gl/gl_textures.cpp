#include "device/gl/gl_textures.h"

#include <algorithm>
#include <cstdio>

#include "device/device.h"

namespace brontal {

bool GlTextureFormatFor(D3DFORMAT format, GlTextureFormat& out) {
    switch (format) {
        case D3DFMT_A8R8G8B8: out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, false}; return true;
        case D3DFMT_X8R8G8B8: out = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4, true}; return true;
        case D3DFMT_R8G8B8: out = {GL_RGB8, GL_BGR, GL_UNSIGNED_BYTE, 3, true}; return true;
        case D3DFMT_A4R4G4B4: out = {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 2, false}; return true;
        case D3DFMT_R5G6B5: out = {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, true}; return true;
        case D3DFMT_A1R5G5B5: out = {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, false}; return true;
        case D3DFMT_X1R5G5B5: out = {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, true}; return true;
        default: return false;
    }
}

namespace {

void SetUnpackFor(const Texture& texture, std::uint32_t level, const GlTextureFormat& f) {
    const std::uint32_t pitch = texture.Pitch(level);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // The device's rows may be padded: tell OpenGL the row length in texels.
    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(pitch / f.bytesPerTexel));
}

}  // namespace

std::uint8_t GlTextureMinAlpha(const Texture& texture) {
    GlTextureFormat f;
    if (!GlTextureFormatFor(texture.Format(), f)) return 0;
    if (f.alphaIsOne) return 255;
    if (texture.Format() != D3DFMT_A8R8G8B8) return 0;  // not looked at: any alpha may be there
    std::uint8_t low = 255;
    for (std::uint32_t level = 0; level < texture.LevelCount(); ++level) {
        const std::uint8_t* row = texture.Data(level);
        for (std::uint32_t y = 0; y < texture.Height(level); ++y, row += texture.Pitch(level)) {
            for (std::uint32_t x = 0; x < texture.Width(level); ++x) low = std::min(low, row[4 * x + 3]);
        }
    }
    return low;
}

GLuint CreateGlTexture(const Texture& texture) {
    GlTextureFormat f;
    if (!GlTextureFormatFor(texture.Format(), f)) {
        std::fprintf(stderr, "warning: OpenGL backend: texture %u has format %u, which it cannot draw\n",
                     texture.Id(), static_cast<unsigned>(texture.Format()));
        return 0;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const std::uint32_t levels = texture.LevelCount();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels > 0 ? levels - 1 : 0));
    if (f.alphaIsOne) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    for (std::uint32_t level = 0; level < levels; ++level) {
        SetUnpackFor(texture, level, f);
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), static_cast<GLint>(f.internalFormat),
                     static_cast<GLsizei>(texture.Width(level)), static_cast<GLsizei>(texture.Height(level)), 0,
                     f.format, f.type, texture.Data(level));
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    return name;
}

void UploadGlTextureLevel(const Texture& texture, GLuint name, std::uint32_t level) {
    GlTextureFormat f;
    if (name == 0 || level >= texture.LevelCount() || !GlTextureFormatFor(texture.Format(), f)) return;
    glBindTexture(GL_TEXTURE_2D, name);
    SetUnpackFor(texture, level, f);
    glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, static_cast<GLsizei>(texture.Width(level)),
                    static_cast<GLsizei>(texture.Height(level)), f.format, f.type, texture.Data(level));
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

GlSamplerCache::~GlSamplerCache() {
    for (auto& entry : samplers_) glDeleteSamplers(1, &entry.second);
}

GLuint GlSamplerCache::Get(const GlSamplerKey& key) {
    for (const auto& entry : samplers_)
        if (entry.first == key) return entry.second;
    GLuint s = 0;
    glGenSamplers(1, &s);
    glSamplerParameteri(s, GL_TEXTURE_WRAP_S, static_cast<GLint>(key.wrapS));
    glSamplerParameteri(s, GL_TEXTURE_WRAP_T, static_cast<GLint>(key.wrapT));
    glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(key.minFilter));
    glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(key.magFilter));
    if (key.anisotropy > 1.0f) glSamplerParameterf(s, GL_TEXTURE_MAX_ANISOTROPY, key.anisotropy);
    const std::uint32_t c = key.borderColour;
    const float border[4] = {static_cast<float>((c >> 16) & 0xFF) / 255.0f, static_cast<float>((c >> 8) & 0xFF) / 255.0f,
                             static_cast<float>(c & 0xFF) / 255.0f, static_cast<float>(c >> 24) / 255.0f};
    glSamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, border);
    samplers_.emplace_back(key, s);
    return s;
}

}  // namespace brontal
