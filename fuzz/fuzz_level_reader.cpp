// The level reader on arbitrary bytes. Besides not crashing, an accepted level must hold its
// invariants, and writing it out again must give a file the reader accepts. Reading with the
// surfaces' lists left in the file must give the same verdict, counts and boxes.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

bool SameBox(const Vector3& a, const Vector3& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The tools' read, lists left in the file, against the game's.
void CheckListsLeftInFile(const std::uint8_t* data, std::size_t size, bool accepted, const Level& kept,
                          const std::string& keptError) {
    Level left;
    std::string error;
    Require(ReadLevel(data, size, "fuzz.vrm", nullptr, left, error, nullptr, SurfaceLists::kLeftInFile) == accepted,
            "the same verdict with the lists left in the file");
    Require(error == keptError, "the same message with the lists left in the file");
    if (!accepted) return;
    Require(left.rooms.size() == kept.rooms.size() && left.models.size() == kept.models.size(), "the same counts");
    for (std::size_t r = 0; r < kept.rooms.size(); ++r) {
        Require(SameBox(left.rooms[r].boxMin, kept.rooms[r].boxMin) && SameBox(left.rooms[r].boxMax, kept.rooms[r].boxMax),
                "the same room boxes");
        for (std::size_t s = 0; s < kept.rooms[r].surfaces.size(); ++s)
            Require(left.rooms[r].surfaces[s].indexCount == kept.rooms[r].surfaces[s].indexCount, "the same surface counts");
    }
    for (std::size_t m = 0; m < kept.models.size(); ++m)
        Require(SameBox(left.models[m].boxMin, kept.models[m].boxMin) && SameBox(left.models[m].boxMax, kept.models[m].boxMax),
                "the same model boxes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Level level;
    std::string error;
    LevelReadDetails details;
    const bool accepted = ReadLevel(data, size, "fuzz.vrm", nullptr, level, error, &details);
    CheckListsLeftInFile(data, size, accepted, level, error);
    if (!accepted) {
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
