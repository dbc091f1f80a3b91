#pragma once
// The sample level's procedural textures, embedded in the level file as complete image files in
// all three formats the game decodes: BMP, PNG (with alpha where texels are cut out) and JPEG.
// The game discards texels whose alpha is below 144, so cut-out texels use alpha 0 and kept
// ones 255. All textures tile (their noise is periodic) and read well mirrored, because the
// game addresses textures with mirroring.
#include <cstdint>
#include <vector>

#include "platform/image.h"
#include "sample/mesh_builder.h"

namespace brontal::sample {

enum TextureSlot : std::uint16_t {
    kTexStoneTiles,
    kTexBricks,
    kTexPlanks,
    kTexPlaster,
    kTexCeiling,
    kTexRug,
    kTexFence,
    kTexFoliage,
    kTexGrass,
    kTexCobbles,
    kTexBooks,
    kTexCrate,
    kTexFigure,
    kTexCurtain,
    kTexBrass,
    kTexWater,
    kTexMarble,
    kTexPainting,
    kTexBark,
    kTextureCount
};

enum class ImageFormat { Bmp, Png, Jpeg };

struct TextureInfo {
    const char* name;
    ImageFormat format;
    std::uint32_t size;  // width and height in texels
};

const TextureInfo& TextureInfoOf(TextureSlot slot);

// The texels of one texture (RGBA, top row first).
Image MakeTexture(TextureSlot slot);

// Every texture, encoded in its format, in slot order.
std::vector<std::vector<std::uint8_t>> MakeTextureImages();

// The figure's texture is an atlas of 4 x 4 cells; these name the cells.
enum class FigureCell { Face, Hair, Skin, ShirtFront, Shirt, Trousers, Boots, Belt };
TexRect FigureRect(FigureCell cell);

}  // namespace brontal::sample
