#pragma once
// The figure a converted level carries as its first (and only) animated model: the game draws
// the first animated model as the player. "sample" is the sample level's figure with its texture
// atlas; "none" leaves the level without one.
#include <string>

#include "convert/manifest.h"
#include "convert/texture_table.h"
#include "level/world.h"

namespace brontal {

// Adds the chosen figure to the level and its textures to the table.
bool AddFigure(FigureChoice choice, TextureTable& textures, Level& level, std::string& error);

}  // namespace brontal
