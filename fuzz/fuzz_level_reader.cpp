// The level reader on arbitrary bytes. Besides not crashing, an accepted level must hold its
// invariants, and writing it out again must give a file the reader accepts.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "level/reader.h"
#include "level/writer.h"

namespace {

using namespace brontal;

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

template <typename Geometry>
void CheckGeometry(const Geometry& g, std::uint16_t textureCount) {
    Require(g.vertexCount == g.vertices.size() && g.vertexCount > 0, "vertex count");
    Require(g.indexCount == g.indices.size() && g.indexCount > 0, "index count");
    Require(g.textureIndex < textureCount, "texture index");
    for (std::uint16_t index : g.indices) Require(index < g.vertexCount, "index inside its vertices");
    for (const Vertex& v : g.vertices)
        Require(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.u) &&
                    std::isfinite(v.v),
                "finite vertices");
}

void CheckLevel(const Level& level) {
    Require(level.roomCount == level.rooms.size(), "room count");
    Require(std::isfinite(level.startPosition.x) && std::isfinite(level.startPosition.y) &&
                std::isfinite(level.startPosition.z),
            "finite start");
    Require(level.modelCount == level.models.size(), "model count");
    Require(level.animatedModelCount == level.animatedModels.size(), "animated model count");
    Require(level.TextureTable.size() == level.textureCount, "texture table size");
    for (const Room& room : level.rooms) {
        Require(room.surfaceCount == room.surfaces.size(), "room surface count");
        Require(room.objectCount == room.objects.size() && room.lightCount == room.lights.size(), "room children");
        Require(room.visibleRoomCount == room.visibleRooms.size(), "visible count");
        for (std::uint16_t v : room.visibleRooms) Require(v < level.roomCount, "visible room");
        for (const Surface& s : room.surfaces) {
            CheckGeometry(s, level.textureCount);
            Require(s.indexCount / 3 <= 255 && s.triangleCount == s.indexCount / 3, "room surface triangles");
        }
        for (const RoomObject& o : room.objects) Require(o.modelIndex < level.modelCount, "model index");
    }
    for (const Model& model : level.models) {
        Require(model.surfaceCount == model.surfaces.size(), "model surface count");
        for (const Surface& s : model.surfaces) CheckGeometry(s, level.textureCount);
    }
    for (const AnimatedModel& model : level.animatedModels) {
        Require(model.partCount == model.parts.size() && model.trackCount == model.tracks.size(), "part counts");
        Require(model.partCount == model.trackCount, "one track per part");
        for (const AnimatedPart& part : model.parts) CheckGeometry(part, level.textureCount);
        for (const KeyTrack& track : model.tracks) {
            Require(track.positions.size() == track.keyCount && track.rotations.size() == track.keyCount, "keys");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Level level;
    std::string error;
    LevelReadDetails details;
    if (!ReadLevel(data, size, "fuzz.vrm", nullptr, level, error, &details)) {
        Require(level.roomCount == 0 && level.rooms.empty() && level.TextureTable.empty(), "refused level is empty");
        Require(error.rfind("fuzz.vrm: byte ", 0) == 0, "message names the file and the byte");
        return 0;
    }
    CheckLevel(level);
    std::vector<std::vector<std::uint8_t>> images;
    for (const ImageSpan& span : details.textureImages) {
        images.emplace_back(data + span.offset, data + span.offset + span.size);
    }
    const std::vector<std::uint8_t> rewritten = WriteLevel(level, images);
    Level again;
    Require(ReadLevel(rewritten.data(), rewritten.size(), "rewritten.vrm", nullptr, again, error),
            "rewritten level reads");
    Require(again.roomCount == level.roomCount && again.modelCount == level.modelCount, "rewritten counts");
    return 0;
}
