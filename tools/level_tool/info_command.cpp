// info: what a level holds, as the reader sees it; as text, or with --json as one JSON object
// with the same facts (names that are not UTF-8 have their bad bytes replaced by U+FFFD).
#include <cstdio>
#include <cstring>

#include <nlohmann/json.hpp>

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

void PrintTexture(std::size_t slot, const MappedFile& bytes, const ImageSpan& span) {
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

// Keys stay in the order of the text report.
using json = nlohmann::ordered_json;

json Point(const Vector3& v) { return json::array({v.x, v.y, v.z}); }

json Box(const Vector3& boxMin, const Vector3& boxMax) { return {{"min", Point(boxMin)}, {"max", Point(boxMax)}}; }

json TextureJson(const MappedFile& bytes, const ImageSpan& span) {
    const std::uint8_t* data = bytes.data() + span.offset;
    json texture = {{"format", ImageFormatName(data, span.size)}, {"bytes", span.size}};
    Image image;
    std::string error;
    if (DecodeImage(data, span.size, image, error)) {
        texture["decodes"] = true;
        texture["width"] = image.width;
        texture["height"] = image.height;
        texture["alpha"] = image.hasAlpha;
    } else {
        texture["decodes"] = false;
        texture["error"] = error;
    }
    return texture;
}

json InfoJson(const std::string& path, const MappedFile& bytes, const Level& level,
              const LevelReadDetails& details) {
    json info = {{"file", path}, {"bytes", bytes.size()}, {"chunks", details.chunks.size()}};
    if (!details.hasHeader) {
        info["header"] = nullptr;
        return info;
    }
    info["header"] = {{"name", level.levelName},
                      {"rooms", details.declaredRoomCount},
                      {"models", details.declaredModelCount},
                      {"animatedModels", details.declaredAnimatedModelCount},
                      {"textures", level.textureCount},
                      {"start", Point(level.startPosition)}};
    info["read"] = {{"rooms", level.roomCount},
                    {"models", level.modelCount},
                    {"animatedModels", level.animatedModelCount},
                    {"textureImages", details.textureImages.size()}};
    json rooms = json::array();
    for (const Room& room : level.rooms) {
        rooms.push_back({{"name", room.name},
                         {"box", Box(room.boxMin, room.boxMax)},
                         {"surfaces", room.surfaceCount},
                         {"objects", room.objectCount},
                         {"lights", room.lightCount},
                         {"sky", room.showsSky},
                         {"visible", room.visibleRooms}});
    }
    info["rooms"] = std::move(rooms);
    json models = json::array();
    for (const Model& model : level.models) {
        models.push_back(
            {{"surfaces", model.surfaceCount}, {"solid", model.solid}, {"box", Box(model.boxMin, model.boxMax)}});
    }
    info["models"] = std::move(models);
    json animated = json::array();
    for (const AnimatedModel& model : level.animatedModels) {
        json keys = json::array();
        for (const KeyTrack& track : model.tracks) keys.push_back(track.keyCount);
        animated.push_back({{"parts", model.partCount}, {"tracks", model.trackCount}, {"keys", std::move(keys)}});
    }
    info["animatedModels"] = std::move(animated);
    json textures = json::array();
    for (const ImageSpan& span : details.textureImages) textures.push_back(TextureJson(bytes, span));
    info["textures"] = std::move(textures);
    return info;
}

}  // namespace

int InfoCommand(int argc, char** argv) {
    bool asJson = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0 && !asJson) {
            asJson = true;
        } else if (!path) {
            path = argv[i];
        } else {
            path = nullptr;
            break;
        }
    }
    if (!path || argc > 3) {
        std::fprintf(stderr, "usage: brontal-level info [--json] FILE\n");
        return 2;
    }
    MappedFile bytes;
    Level level;
    LevelReadDetails details;
    if (!ReadLevelForTool(path, bytes, level, details, SurfaceLists::kLeftInFile)) return 1;

    if (asJson) {
        const std::string text =
            InfoJson(path, bytes, level, details).dump(2, ' ', false, json::error_handler_t::replace);
        std::printf("%s\n", text.c_str());
        return 0;
    }
    std::printf("file %s: %zu bytes, %zu chunks\n", path, bytes.size(), details.chunks.size());
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
