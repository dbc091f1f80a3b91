#pragma once
// The text overlay: strings of printable ASCII drawn over the scene in screen pixels, from a
// glyph atlas rasterised once from a system font.
//
// The atlas is one square A4R4G4B4 texture whose texels are white with one of 16 coverage
// levels (0x0000 where a glyph has no ink). glyphRects[code - 32] is the rectangle of
// character code 32..126 in texture coordinates; glyphs are laid out left to right in rows,
// one pixel apart horizontally and vertically. A string costs one quad of pre-transformed
// vertices per character, streamed through a dynamic buffer of 50 characters and drawn each
// time it fills. The caller's states are captured before drawing and put back afterwards.
#include <cstdint>

#include "device/d3d8_types.h"

namespace brontal {

class Device;
class Texture;
class VertexBuffer;

inline constexpr std::uint32_t kFontFlagBold = 1;
inline constexpr std::uint32_t kFontFlagItalic = 2;
inline constexpr std::uint32_t kDrawFiltered = 4;  // DrawString flag: linear filtering for that call

inline constexpr std::uint32_t kFirstGlyphCode = 32;  // space
inline constexpr std::uint32_t kLastGlyphCode = 126;  // tilde
inline constexpr std::uint32_t kGlyphSlots = 96;      // codes 32..127; 127 is never filled

inline constexpr std::uint32_t kTextCharactersPerBatch = 50;
inline constexpr std::uint32_t kTextVerticesPerBatch = kTextCharactersPerBatch * 6;  // 300
inline constexpr float kTextDepth = 0.9f;

struct TextVertex {
    float x, y;      // screen pixels
    float z;         // always kTextDepth
    float rhw;       // always 1
    D3DCOLOR colour;  // ARGB
    float u, v;
};
static_assert(sizeof(TextVertex) == 28);

inline constexpr std::uint32_t kTextVertexBufferBytes = kTextVerticesPerBatch * sizeof(TextVertex);  // 8400

// The atlas edge for a font height in points, before any device limit.
std::uint32_t GlyphAtlasSize(std::uint32_t fontHeight);

class TextOverlay {
public:
    // A name longer than 79 characters is cut to 79.
    TextOverlay(const char* fontName, std::uint32_t fontHeight, std::uint32_t fontFlags);

    HRESULT CreateGlyphAtlas(Device* device);
    HRESULT CreateDrawResources();
    // E_FAIL, drawing nothing, when there is no device, atlas or vertex buffer yet.
    HRESULT DrawString(float x, float y, D3DCOLOR colour, const char* text, std::uint32_t flags);

    char fontName[80] = {};
    std::uint32_t fontHeight = 0;  // points
    std::uint32_t fontFlags = 0;   // kFontFlagBold | kFontFlagItalic
    Device* device = nullptr;
    Texture* texture = nullptr;
    VertexBuffer* vertexBuffer = nullptr;
    std::uint32_t textureWidth = 0;
    std::uint32_t textureHeight = 0;
    float textScale = 1.0f;
    float glyphRects[kGlyphSlots][4] = {};  // left, top, right, bottom in texture coordinates
    std::uint32_t savedStates = 0;
    std::uint32_t textStates = 0;

private:
    void RecordTextStates();
};

// Created by the start-up sequence; null when the overlay could not be made.
extern TextOverlay* g_textOverlay;

}  // namespace brontal
