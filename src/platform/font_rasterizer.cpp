#include "platform/font_rasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace brontal {

namespace {

// The shear of a slanted face drawn from an upright one (about 12 degrees), and the stroke a
// bold face drawn from a regular one gains: a 24th of the em, as such faces are usually made.
constexpr FT_Fixed kObliqueShear = 0x0366A;
constexpr int kEmboldenDivisor = 24;

struct FoundFace {
    std::string file;
    int index = 0;
    std::string family;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
};

// A configuration of our own for each look-up, destroyed afterwards, so that nothing of
// fontconfig stays behind once the atlas is made (faces are looked up once, at start-up).
struct FontconfigSession {
    FcConfig* config = FcInitLoadConfigAndFonts();
    ~FontconfigSession() {
        if (config) FcConfigDestroy(config);
    }
};

bool FindFace(const FontRequest& request, FoundFace& found, std::string& error) {
    FontconfigSession session;
    if (!session.config) {
        error = "fontconfig could not load its configuration";
        return false;
    }
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) {
        error = "fontconfig: out of memory";
        return false;
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.faceName.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(session.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(session.config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) {
        error = "fontconfig found no face for \"" + request.faceName + "\"";
        return false;
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || !file) {
        FcPatternDestroy(match);
        error = "fontconfig matched \"" + request.faceName + "\" to a face without a file";
        return false;
    }
    found.file = reinterpret_cast<const char*>(file);
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
        found.family = reinterpret_cast<const char*>(family);
    FcPatternGetInteger(match, FC_INDEX, 0, &found.index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &found.weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &found.slant);
    FcPatternDestroy(match);
    return true;
}

int RoundScaled(long fontUnits, int pixelHeight, int unitsPerEm) {
    return static_cast<int>(std::lround(static_cast<double>(fontUnits) * pixelHeight / unitsPerEm));
}

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const std::int64_t product = std::int64_t{number} * numerator;
    const std::int64_t divisor = std::llabs(denominator);
    // Round half away from zero on the magnitude, then put the sign back.
    const std::int64_t magnitude = (std::llabs(product) + divisor / 2) / divisor;
    const std::int64_t quotient = ((product < 0) != (denominator < 0)) ? -magnitude : magnitude;
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min()) return -1;
    return static_cast<int>(quotient);
}

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int pixelHeight = 0;
    int ascent = 0;
    int descent = 0;
    std::string family;
    std::string path;
    bool emboldenSynthetic = false;
    bool obliqueSynthetic = false;
    bool bold = false;
    bool italic = false;

    ~Impl() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }

    FT_UInt GlyphIndex(unsigned char code) const { return FT_Get_Char_Index(face, code); }

    // Loads the glyph as drawn (with the synthetic slant or stroke applied to its outline).
    bool LoadGlyph(unsigned char code, FT_Int32 flags) const {
        if (FT_Load_Glyph(face, GlyphIndex(code), flags) != 0) return false;
        FT_GlyphSlot slot = face->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (obliqueSynthetic) {
                FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
            if (emboldenSynthetic) FT_Outline_Embolden(&slot->outline, pixelHeight * 64 / kEmboldenDivisor);
        }
        return true;
    }
};

Font::Font(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Font::~Font() = default;

std::unique_ptr<Font> Font::Create(const FontRequest& request, std::string* error) {
    std::string message;
    const auto fail = [&](std::string why) -> std::unique_ptr<Font> {
        if (error) *error = std::move(why);
        return nullptr;
    };
    if (request.pixelHeight < 1) return fail("font height of " + std::to_string(request.pixelHeight) + " pixels");

    FoundFace found;
    if (!FindFace(request, found, message)) return fail(message);

    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) return fail("FreeType could not be initialised");
    if (FT_New_Face(impl->library, found.file.c_str(), found.index, &impl->face) != 0)
        return fail(found.file + ": FreeType cannot open the face");
    if (!FT_IS_SCALABLE(impl->face) || impl->face->units_per_EM == 0)
        return fail(found.file + ": not a scalable face");
    if (FT_Set_Pixel_Sizes(impl->face, 0, static_cast<FT_UInt>(request.pixelHeight)) != 0)
        return fail(found.file + ": cannot set a height of " + std::to_string(request.pixelHeight) + " pixels");

    Impl& f = *impl;
    f.pixelHeight = request.pixelHeight;
    f.family = found.family;
    f.path = found.file;
    const bool faceIsBold = found.weight >= FC_WEIGHT_DEMIBOLD;
    const bool faceIsSlanted = found.slant != FC_SLANT_ROMAN;
    f.emboldenSynthetic = request.bold && !faceIsBold;
    f.obliqueSynthetic = request.italic && !faceIsSlanted;
    f.bold = faceIsBold || f.emboldenSynthetic;
    f.italic = faceIsSlanted || f.obliqueSynthetic;

    const int unitsPerEm = f.face->units_per_EM;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f.face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFFu && (os2->usWinAscent + os2->usWinDescent) > 0) {
        f.ascent = RoundScaled(os2->usWinAscent, f.pixelHeight, unitsPerEm);
        f.descent = RoundScaled(os2->usWinDescent, f.pixelHeight, unitsPerEm);
    } else {
        f.ascent = RoundScaled(f.face->ascender, f.pixelHeight, unitsPerEm);
        f.descent = RoundScaled(-static_cast<long>(f.face->descender), f.pixelHeight, unitsPerEm);
    }
    return std::unique_ptr<Font>(new Font(std::move(impl)));
}

TextExtent Font::MeasureChar(unsigned char code) const {
    TextExtent extent;
    extent.cy = impl_->ascent + impl_->descent;
    if (impl_->LoadGlyph(code, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) {
        // linearHoriAdvance is the scaled, unhinted advance in 16.16 pixels.
        extent.cx = static_cast<int>((impl_->face->glyph->linearHoriAdvance + 0x8000) >> 16);
        if (impl_->emboldenSynthetic) extent.cx += 1;
    }
    return extent;
}

void Font::DrawCharOpaque(Bitmap32& target, int x, int y, unsigned char code) const {
    if (target.pixels.size() < std::size_t{target.width} * target.height) return;
    const TextExtent cell = MeasureChar(code);
    const long width = static_cast<long>(target.width);
    const long height = static_cast<long>(target.height);

    const long cellLeft = std::max<long>(x, 0), cellRight = std::min<long>(long{x} + cell.cx, width);
    const long cellTop = std::max<long>(y, 0), cellBottom = std::min<long>(long{y} + cell.cy, height);
    for (long py = cellTop; py < cellBottom; ++py)
        for (long px = cellLeft; px < cellRight; ++px) target.pixels[static_cast<std::size_t>(py * width + px)] = 0;

    if (!impl_->LoadGlyph(code, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP)) return;
    FT_GlyphSlot slot = impl_->face->glyph;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || !bitmap.buffer) return;

    const long originX = long{x} + slot->bitmap_left;
    const long originY = long{y} + impl_->ascent - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const long py = originY + row;
        if (py < 0 || py >= height) continue;
        const unsigned char* coverageRow = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const long px = originX + column;
            if (px < 0 || px >= width) continue;
            const unsigned coverage = coverageRow[column];
            if (coverage == 0) continue;
            std::uint32_t& pixel = target.pixels[static_cast<std::size_t>(py * width + px)];
            // White laid over what is there with the glyph's coverage, channel by channel.
            std::uint32_t blended = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const unsigned under = (pixel >> shift) & 0xFFu;
                const unsigned over = under + (coverage * (255u - under) + 127u) / 255u;
                blended |= std::uint32_t{over} << shift;
            }
            pixel = blended;
        }
    }
}

int Font::Ascent() const { return impl_->ascent; }
int Font::Descent() const { return impl_->descent; }
const std::string& Font::FamilyName() const { return impl_->family; }
const std::string& Font::FilePath() const { return impl_->path; }
bool Font::IsBold() const { return impl_->bold; }
bool Font::IsItalic() const { return impl_->italic; }

}  // namespace brontal
