// The figure: the sample's when this build has the sample generator.
#include "convert/figure.h"

#if BRONTAL_HAVE_SAMPLE_FIGURE
#include "sample/figure.h"
#include "sample/textures.h"
#endif

namespace brontal {
namespace {

#if BRONTAL_HAVE_SAMPLE_FIGURE
// The atlas encoded as the sample level embeds it.
std::vector<std::uint8_t> SampleFigureAtlas() { return std::move(sample::MakeTextureImages()[sample::kTexFigure]); }
#endif

}  // namespace

bool SampleFigureAvailable() { return BRONTAL_HAVE_SAMPLE_FIGURE != 0; }

bool AddFigure(FigureChoice choice, TextureTable& textures, Level& level, std::string& error) {
    if (choice == FigureChoice::None) return true;
#if BRONTAL_HAVE_SAMPLE_FIGURE
    std::uint16_t slot = 0;
    if (!textures.Add(SampleFigureAtlas(), "the sample figure's texture", slot, error)) return false;
    level.animatedModels.push_back(sample::BuildFigure(slot));
    level.animatedModelCount = static_cast<std::uint16_t>(level.animatedModels.size());
    return true;
#else
    (void)textures;
    (void)level;
    error = "the sample figure is not available in this build of the converter (it was built without the "
            "sample generator); set \"figure\": \"none\" in the manifest to build a level without a figure";
    return false;
#endif
}

}  // namespace brontal
