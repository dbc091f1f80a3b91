// The figure: the sample level's, or none.
#include "convert/figure.h"

#include "sample/figure.h"
#include "sample/textures.h"

namespace brontal {
namespace {

// The atlas encoded as the sample level embeds it.
std::vector<std::uint8_t> SampleFigureAtlas() { return std::move(sample::MakeTextureImages()[sample::kTexFigure]); }

}  // namespace

bool AddFigure(FigureChoice choice, TextureTable& textures, Level& level, std::string& error) {
    if (choice == FigureChoice::None) return true;
    std::uint16_t slot = 0;
    if (!textures.Add(SampleFigureAtlas(), "the sample figure's texture", slot, error)) return false;
    level.animatedModels.push_back(sample::BuildFigure(slot));
    level.animatedModelCount = static_cast<std::uint16_t>(level.animatedModels.size());
    return true;
}

}  // namespace brontal
