// info: what a level holds, as the reader sees it.
#include <cstdio>

#include "level_commands.h"
#include "platform/image.h"

namespace brontal {
namespace {

void PrintBox(const Vector3& boxMin, const Vector3& boxMax) {
    std::printf("box (%g, %g, %g) to (%g, %g, %g)", boxMin.x, boxMin.y, boxMin.z, boxMax.x, boxMax.y, boxMax.z);
}

void PrintRoom(std::size_t index, const Room& room) {
    std::printf("room %zu \"%s\": ", index, room.name.c_str());
    PrintBox(room.boxMin, room.boxMax);
    std::printf(", surfaces %u, objects %u, lights %u, sky %s, visible [", unsigned{room.surfaceCount},
                unsigned{room.objectCount}, unsigned{room.lightCount}, room.showsSky ? "yes" : "no");
    for (std::size_t v = 0; v < room.visibleRooms.size(); ++v) {
        std::printf(v == 0 ? "%u" : " %u", unsigned{room.visibleRooms[v]});
    }
    std::printf("]\n");
}

void PrintModel(std::size_t index, const Model& model) {
    std::printf("model %zu: surfaces %u, solid %s, ", index, unsigned{model.surfaceCount}, model.solid ? "yes" : "no");
    PrintBox(model.boxMin, model.boxMax);
    std::printf("\n");
}

void PrintAnimatedModel(std::size_t index, const AnimatedModel& model) {
    std::printf("animated model %zu: parts %u, tracks %u, keys [", index, unsigned{model.partCount},
                unsigned{model.trackCount});
    for (std::size_t t = 0; t < model.tracks.size(); ++t) {
        std::printf(t == 0 ? "%u" : " %u", unsigned{model.tracks[t].keyCount});
    }
    std::printf("]\n");
}

void PrintTexture(std::size_t slot, const std::vector<std::uint8_t>& bytes, const ImageSpan& span) {
    const std::uint8_t* data = bytes.data() + span.offset;
    std::printf("texture %zu: %s, %u bytes", slot, ImageFormatName(data, span.size), span.size);
    Image image;
    std::string error;
    if (DecodeImage(data, span.size, image, error)) {
        std::printf(", %u x %u%s\n", image.width, image.height, image.hasAlpha ? " with alpha" : "");
    } else {
        std::printf(", does not decode (%s): the game uses the placeholder\n", error.c_str());
    }
}

}  // namespace

int InfoCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brontal-level info FILE\n");
        return 2;
    }
    std::vector<std::uint8_t> bytes;
    Level level;
    LevelReadDetails details;
    if (!ReadLevelForTool(argv[1], bytes, level, details)) return 1;

    std::printf("file %s: %zu bytes, %zu chunks\n", argv[1], bytes.size(), details.chunks.size());
    if (!details.hasHeader) {
        std::printf("no level header: the level is empty\n");
        return 0;
    }
    std::printf("header: name \"%s\", rooms %u, models %u, animated models %u, textures %u, start (%g, %g, %g)\n",
                level.levelName.c_str(), unsigned{details.declaredRoomCount}, unsigned{details.declaredModelCount},
                unsigned{details.declaredAnimatedModelCount}, unsigned{level.textureCount}, level.startPosition.x,
                level.startPosition.y, level.startPosition.z);
    std::printf("read: rooms %u, models %u, animated models %u, texture images %zu\n", unsigned{level.roomCount},
                unsigned{level.modelCount}, unsigned{level.animatedModelCount}, details.textureImages.size());
    for (std::size_t r = 0; r < level.rooms.size(); ++r) PrintRoom(r, level.rooms[r]);
    for (std::size_t m = 0; m < level.models.size(); ++m) PrintModel(m, level.models[m]);
    for (std::size_t a = 0; a < level.animatedModels.size(); ++a) PrintAnimatedModel(a, level.animatedModels[a]);
    for (std::size_t t = 0; t < details.textureImages.size(); ++t) PrintTexture(t, bytes, details.textureImages[t]);
    return 0;
}

}  // namespace brontal
