#pragma once
// One painter per procedural texture of the sample level.
#include <cstdint>

#include "platform/image.h"
#include "sample/texture_canvas.h"

namespace brontal::sample {

Image PaintStoneTiles(std::uint32_t size);
Image PaintBricks(std::uint32_t size);
Image PaintPlanks(std::uint32_t size);
Image PaintPlaster(std::uint32_t size);
Image PaintCeiling(std::uint32_t size);
Image PaintRug(std::uint32_t size);
Image PaintFence(std::uint32_t size);    // alpha cut-out
Image PaintFoliage(std::uint32_t size);  // alpha cut-out
Image PaintGrass(std::uint32_t size);
Image PaintCobbles(std::uint32_t size);
Image PaintBooks(std::uint32_t size);
Image PaintCrate(std::uint32_t size);
Image PaintCurtain(std::uint32_t size);
Image PaintBrass(std::uint32_t size);
Image PaintWater(std::uint32_t size);
Image PaintMarble(std::uint32_t size);
Image PaintPainting(std::uint32_t size);
Image PaintBark(std::uint32_t size);
Image PaintFigureAtlas(std::uint32_t size);

}  // namespace brontal::sample
