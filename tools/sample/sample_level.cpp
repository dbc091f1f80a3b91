#include "sample/sample_level.h"

#include <utility>

#include "level/writer.h"
#include "platform/image.h"
#include "sample/figure.h"
#include "sample/furniture.h"
#include "sample/layout.h"
#include "sample/sky.h"
#include "sample/textures.h"

namespace brontal::sample {

void BuildSampleLevel(Level& level) {
    level.levelName = kSampleLevelName;
    level.startPosition = kStartPosition;
    // Room order matters: where boxes overlap at a doorway, the later room is the current one.
    level.rooms.push_back(BuildHall());
    level.rooms.push_back(BuildCorridor());
    level.rooms.push_back(BuildLibrary());
    level.rooms.push_back(BuildStairHall());
    level.rooms.push_back(BuildGallery());
    level.rooms.push_back(BuildCourtyard());
    level.rooms.push_back(BuildGarden());
    level.models = BuildModels();
    level.animatedModels.push_back(BuildFigure(kTexFigure));
    level.roomCount = static_cast<std::uint16_t>(level.rooms.size());
    level.modelCount = static_cast<std::uint16_t>(level.models.size());
    level.animatedModelCount = static_cast<std::uint16_t>(level.animatedModels.size());
    level.textureCount = kTextureCount;
}

SampleFiles MakeSampleFiles() {
    SampleFiles files;
    Level level;
    BuildSampleLevel(level);
    files.levelFile = WriteLevel(level, MakeTextureImages());
    for (SkyFace face : kSkyFaces) files.skyFiles.emplace_back(SkyFaceFileName(face), EncodeBmp(MakeSkyFace(face), 24));
    return files;
}

}  // namespace brontal::sample
