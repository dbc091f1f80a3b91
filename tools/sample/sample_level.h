#pragma once
// The sample level as a whole: seven rooms, the models their objects place, the player figure
// and the textures, ready for the level writer; and the sky that goes with it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "level/world.h"

namespace brontal::sample {

inline constexpr const char* kSampleLevelName = "Brontal Manor";

// Fills an empty level with the sample's records and counts (the texture table stays empty:
// the textures travel as image files, see MakeTextureImages).
void BuildSampleLevel(Level& level);

// The level file and the six sky images, as the game reads them from a directory.
struct SampleFiles {
    std::vector<std::uint8_t> levelFile;  // LEVELS/LEVEL_001.VRM
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> skyFiles;  // SKY/<name>.bmp
};
SampleFiles MakeSampleFiles();

}  // namespace brontal::sample
