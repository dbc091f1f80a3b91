#include "sample/sample_level.h"

#include <utility>

#include "level/writer.h"
#include "platform/image.h"
#include "sample/figure.h"
#include "sample/furniture.h"
#include "sample/layout.h"
#include "sample/sky.h"
#include "sample/textures.h"
#include "visibility/room_sight.h"

namespace brontal::sample {
namespace {

// Every room's list from the visibility computation, as `brontal-level build` fills a manifest's
// rooms that give none. The rooms are open to each other along the manor's axis, and the
// courtyard's sky shows through the doors far down it: a room that would show black where the
// sky is seen shows the sky.
void FillVisibleLists(Level& level) {
    std::vector<bool> cutOut;
    for (std::uint16_t slot = 0; slot < kTextureCount; ++slot) {
        cutOut.push_back(HasCutOutTexels(MakeTexture(static_cast<TextureSlot>(slot)).rgba));
    }
    const std::vector<RoomSight> sights = ComputeRoomSight(level, cutOut);
    for (std::size_t r = 0; r < level.rooms.size(); ++r) {
        level.rooms[r].visibleRooms = sights[r].visible;
        level.rooms[r].visibleRoomCount = static_cast<std::uint16_t>(sights[r].visible.size());
        level.rooms[r].showsSky = level.rooms[r].showsSky || sights[r].seesSky;
    }
}

}  // namespace

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
    FillVisibleLists(level);
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
