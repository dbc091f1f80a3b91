#include "sample/textures.h"

#include <cmath>

#include "sample/texture_painters.h"

namespace brontal::sample {

namespace {

constexpr TextureInfo kTextureInfo[kTextureCount] = {
    {"stone tiles", ImageFormat::Jpeg, 256}, {"bricks", ImageFormat::Bmp, 128},
    {"planks", ImageFormat::Jpeg, 128},      {"plaster", ImageFormat::Bmp, 128},
    {"ceiling", ImageFormat::Bmp, 64},       {"rug", ImageFormat::Png, 128},
    {"fence", ImageFormat::Png, 128},        {"foliage", ImageFormat::Png, 128},
    {"grass", ImageFormat::Jpeg, 128},       {"cobbles", ImageFormat::Jpeg, 256},
    {"books", ImageFormat::Bmp, 128},        {"crate", ImageFormat::Bmp, 64},
    {"figure", ImageFormat::Png, 128},       {"curtain", ImageFormat::Jpeg, 64},
    {"brass", ImageFormat::Jpeg, 64},        {"water", ImageFormat::Jpeg, 128},
    {"marble", ImageFormat::Jpeg, 128},      {"painting", ImageFormat::Bmp, 128},
    {"bark", ImageFormat::Bmp, 64},
};

constexpr int kAtlasCells = 4;

// Where a figure cell lies in the 4 x 4 atlas.
void CellPosition(FigureCell cell, int& column, int& row) {
    const int index = static_cast<int>(cell);
    column = index % kAtlasCells;
    row = index / kAtlasCells;
}

}  // namespace

const TextureInfo& TextureInfoOf(TextureSlot slot) { return kTextureInfo[slot]; }

TexRect FigureRect(FigureCell cell) {
    int column = 0, row = 0;
    CellPosition(cell, column, row);
    // Half a texel inside the cell so that filtering never reaches the neighbouring cell.
    const float texel = 1.0f / static_cast<float>(kTextureInfo[kTexFigure].size);
    const float step = 1.0f / kAtlasCells;
    return TexRect{static_cast<float>(column) * step + texel, static_cast<float>(row) * step + texel,
                   static_cast<float>(column + 1) * step - texel, static_cast<float>(row + 1) * step - texel};
}

Image PaintFigureAtlas(std::uint32_t size) {
    Canvas c(size);
    const Colour skin{0.86f, 0.66f, 0.52f}, hair{0.25f, 0.15f, 0.08f}, shirt{0.2f, 0.38f, 0.62f};
    const Colour trousers{0.28f, 0.26f, 0.22f}, boots{0.22f, 0.13f, 0.07f}, belt{0.1f, 0.07f, 0.05f};
    c.Fill([&](std::uint32_t x, std::uint32_t y, float u, float v) {
        const int column = static_cast<int>(u * kAtlasCells), row = static_cast<int>(v * kAtlasCells);
        const float cu = u * kAtlasCells - static_cast<float>(column), cv = v * kAtlasCells - static_cast<float>(row);
        const float weave = 0.93f + 0.07f * static_cast<float>((x + y) % 2);
        Colour col{1.0f, 0.0f, 1.0f};
        switch (static_cast<FigureCell>(row * kAtlasCells + column)) {
        case FigureCell::Face: {
            col = skin;
            if (cv < 0.22f) col = hair;
            const bool eye = std::abs(cv - 0.42f) < 0.06f && std::abs(std::abs(cu - 0.5f) - 0.18f) < 0.07f;
            if (eye) col = std::abs(std::abs(cu - 0.5f) - 0.18f) < 0.03f ? Colour{0.1f, 0.1f, 0.2f} : Colour{0.95f, 0.95f, 0.95f};
            if (std::abs(cv - 0.56f) < 0.05f && std::abs(cu - 0.5f) < 0.04f) col = Scale(skin, 0.85f);
            if (std::abs(cv - 0.72f) < 0.025f && std::abs(cu - 0.5f) < 0.14f) col = Colour{0.6f, 0.25f, 0.25f};
            break;
        }
        case FigureCell::Hair: col = Scale(hair, 0.85f + 0.3f * std::abs(std::sin(cu * 40.0f))); break;
        case FigureCell::Skin: col = skin; break;
        case FigureCell::ShirtFront:
            col = Scale(shirt, weave);
            if (std::abs(cu - 0.5f) < 0.02f) col = Scale(shirt, 0.7f);
            if (std::abs(cu - 0.56f) < 0.03f && std::fmod(cv * 5.0f, 1.0f) < 0.15f) col = Colour{0.9f, 0.9f, 0.85f};
            if (cv < 0.1f && std::abs(cu - 0.5f) < 0.2f) col = skin;
            break;
        case FigureCell::Shirt: col = Scale(shirt, weave); break;
        case FigureCell::Trousers: col = Scale(trousers, weave * (0.9f + 0.1f * std::sin(cu * 6.0f * kPi))); break;
        case FigureCell::Boots: col = Scale(boots, cv > 0.8f ? 0.6f : 1.0f); break;
        case FigureCell::Belt: col = std::abs(cu - 0.5f) < 0.1f ? Colour{0.8f, 0.7f, 0.3f} : belt; break;
        }
        c.Set(x, y, col);
    });
    return c.Take();
}

Image MakeTexture(TextureSlot slot) {
    const std::uint32_t size = kTextureInfo[slot].size;
    switch (slot) {
    case kTexStoneTiles: return PaintStoneTiles(size);
    case kTexBricks: return PaintBricks(size);
    case kTexPlanks: return PaintPlanks(size);
    case kTexPlaster: return PaintPlaster(size);
    case kTexCeiling: return PaintCeiling(size);
    case kTexRug: return PaintRug(size);
    case kTexFence: return PaintFence(size);
    case kTexFoliage: return PaintFoliage(size);
    case kTexGrass: return PaintGrass(size);
    case kTexCobbles: return PaintCobbles(size);
    case kTexBooks: return PaintBooks(size);
    case kTexCrate: return PaintCrate(size);
    case kTexFigure: return PaintFigureAtlas(size);
    case kTexCurtain: return PaintCurtain(size);
    case kTexBrass: return PaintBrass(size);
    case kTexWater: return PaintWater(size);
    case kTexMarble: return PaintMarble(size);
    case kTexPainting: return PaintPainting(size);
    case kTexBark: return PaintBark(size);
    case kTextureCount: break;
    }
    return Image{};
}

std::vector<std::vector<std::uint8_t>> MakeTextureImages() {
    std::vector<std::vector<std::uint8_t>> images;
    images.reserve(kTextureCount);
    for (std::uint16_t slot = 0; slot < kTextureCount; ++slot) {
        const Image image = MakeTexture(static_cast<TextureSlot>(slot));
        switch (kTextureInfo[slot].format) {
        case ImageFormat::Bmp: images.push_back(EncodeBmp(image, 24)); break;
        case ImageFormat::Png: images.push_back(EncodePng(image)); break;
        case ImageFormat::Jpeg: images.push_back(EncodeJpeg(image, 90)); break;
        }
    }
    return images;
}

}  // namespace brontal::sample
