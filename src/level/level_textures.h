#pragma once
// The texture step of loading: turns the texture block's image files into device textures.
#include <cstdint>
#include <string>
#include <vector>

#include "level/reader.h"
#include "level/world.h"

namespace brontal {

// Fills level.TextureTable on level.device: slot k from images[k] (spans into data). A slot
// whose image does not decode, or that the file gave no image, gets the placeholder texture;
// the loader's warning names the file and the slot.
void MakeLevelTextures(Level& level, const std::uint8_t* data, const std::vector<ImageSpan>& images,
                       bool hadTextureBlock, const std::string& name);

// Gives level.TextureTable's textures back to level.device, each once (the placeholder may stand
// in several slots), and empties the table: for a level that is replaced while the device lives on.
void ReleaseLevelTextures(Level& level);

}  // namespace brontal
