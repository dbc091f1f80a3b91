#pragma once
// The font rasteriser: what the text overlay needs of a system font, in the shape the overlay
// uses it. A face is found by name through fontconfig (a name that is not installed resolves to
// the closest face fontconfig knows, "Arial" to a metric-compatible one such as Liberation Sans)
// and rasterised with FreeType.
//
// Conventions, fixed so that the overlay's glyph layout does not depend on the library:
//   - the height asked for is the character (em) height in pixels, not the cell height;
//   - one character measures (cx, cy): cx its advance width, rounded to whole pixels from the
//     face's unhinted advance; cy the cell height, the face's ascent plus descent in pixels
//     (the Windows ascent and descent of the face when it carries them);
//   - drawing a character at (x, y) first fills its cell (x, y)-(x + cx, y + cy) with black,
//     then lays the anti-aliased white glyph over it with its baseline at y + ascent;
//   - the target is a 32-bit top-down bitmap of 0x00RRGGBB pixels; whatever would fall outside
//     it is clipped, never written.
// No FreeType or fontconfig type appears here; game code sees only this header.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace brontal {

// The screen's vertical pixels per inch, as the overlay's height conversion takes it.
inline constexpr int kScreenLogPixelsY = 96;

// number * numerator / denominator with a 64-bit intermediate, rounded half away from zero;
// -1 when denominator is 0 or the result does not fit 32 bits.
int MulDiv(int number, int numerator, int denominator);

// A 32-bit top-down bitmap: pixel (x, y) is pixels[y * width + x], 0x00RRGGBB; the lowest byte
// is blue.
struct Bitmap32 {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;

    Bitmap32() = default;
    Bitmap32(std::uint32_t w, std::uint32_t h) : width(w), height(h), pixels(std::size_t{w} * h, 0u) {}
};

struct TextExtent {
    int cx = 0;  // advance width in pixels
    int cy = 0;  // cell height in pixels
};

struct FontRequest {
    std::string faceName;  // family name, e.g. "Arial"
    int pixelHeight = 0;   // character (em) height in pixels, at least 1
    bool bold = false;     // weight 700 instead of 400
    bool italic = false;
};

class Font {
public:
    // Null when no face can be had (fontconfig finds nothing, the file will not load, the height
    // is not positive); error then says why.
    static std::unique_ptr<Font> Create(const FontRequest& request, std::string* error = nullptr);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    TextExtent MeasureChar(unsigned char code) const;
    // The cell drawn opaque (white on black) with its top-left at (x, y).
    void DrawCharOpaque(Bitmap32& target, int x, int y, unsigned char code) const;

    int Ascent() const;   // pixels above the baseline
    int Descent() const;  // pixels below it
    const std::string& FamilyName() const;  // the family that was found, e.g. "Liberation Sans"
    const std::string& FilePath() const;
    bool IsBold() const;    // the face drawn is bold (its own or emboldened)
    bool IsItalic() const;  // the face drawn is slanted (its own or sheared)

private:
    struct Impl;
    explicit Font(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace brontal
