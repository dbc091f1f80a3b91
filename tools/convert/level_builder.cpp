// Building the level: names resolved, geometry carried into the game's space and cut into
// surfaces, placements and lights added, textures gathered.
#include "convert/level_builder.h"

#include <cmath>
#include <map>
#include <set>

#include "convert/figure.h"
#include "convert/game_space.h"
#include "convert/surface_split.h"
#include "convert/texture_table.h"
#include "level/chunk_ids.h"
#include "platform/image.h"
#include "visibility/room_sight.h"

namespace brontal {
namespace {

constexpr std::size_t kMaxNameBytes = kMaxNameLength;
constexpr std::size_t kMaxCount = kMaxRecordCount;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

class LevelBuilder {
public:
    LevelBuilder(const Manifest& manifest, const SourceScene& scene, BuiltLevel& out)
        : manifest_(manifest), scene_(scene), out_(out), level_(out.level), textures_(scene) {}

    bool Build() {
        return IndexRooms() && IndexModels() && BuildRooms() && BuildModels() && PlaceObjects() && PlaceLights() &&
               FillHeader() && AddFigure(manifest_.figure, textures_, level_, error_) && FinishTextures() &&
               FillVisibleLists() && WarnUnusedGroups();
    }
    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& message) {
        error_ = message;
        return false;
    }
    bool FailManifest(const std::string& where, const std::string& problem) {
        return Fail(manifest_.path + ": " + where + ": " + problem);
    }

    bool IndexRooms();
    bool IndexModels();
    bool FindSourceGroup(const std::string& group, const std::string& where, const SourceGroup*& found);
    bool GameGeometry(const SourceGroup& group, bool toWorld, const std::string& owner, std::size_t maxTriangles,
                      std::vector<Surface>& surfaces);
    bool BuildRooms();
    bool BuildModels();
    bool PlaceObjects();
    bool PlaceLights();
    bool FillHeader();
    bool FinishTextures();
    bool FillVisibleLists();
    bool WarnUnusedGroups();
    bool RoomOf(const std::string& group, const std::string& where, std::uint16_t& index);

    const Manifest& manifest_;
    const SourceScene& scene_;
    BuiltLevel& out_;
    Level& level_;
    TextureTable textures_;
    std::map<std::string, std::uint16_t> roomIndex_, modelIndex_;
    std::vector<const SourceGroup*> roomGroups_, modelGroups_;
    std::string error_;
};

bool LevelBuilder::FindSourceGroup(const std::string& group, const std::string& where, const SourceGroup*& found) {
    const std::string namedBy = " (named by " + manifest_.path + " " + where + ")";
    found = FindGroup(scene_, group);
    if (found == nullptr) return Fail(scene_.path + ": has no group " + Quoted(group) + namedBy);
    if (found->definitions > 1) {
        return Fail(scene_.path + ": " + std::to_string(found->definitions) + " nodes are named " + Quoted(group) +
                    namedBy + "; a room or model needs a name of its own");
    }
    if (found->triangles.empty()) return Fail(scene_.path + ": group " + Quoted(group) + " has no faces" + namedBy);
    return true;
}

bool LevelBuilder::IndexRooms() {
    for (const ManifestRoom& room : manifest_.rooms) {
        const SourceGroup* group = nullptr;
        if (!FindSourceGroup(room.group, room.where + ".group", group)) return false;
        roomIndex_.emplace(room.group, static_cast<std::uint16_t>(roomGroups_.size()));
        roomGroups_.push_back(group);
    }
    return true;
}

bool LevelBuilder::IndexModels() {
    for (const ManifestModel& model : manifest_.models) {
        const SourceGroup* group = nullptr;
        if (!FindSourceGroup(model.group, model.where + ".group", group)) return false;
        modelIndex_.emplace(model.group, static_cast<std::uint16_t>(modelGroups_.size()));
        modelGroups_.push_back(group);
    }
    return true;
}

bool LevelBuilder::RoomOf(const std::string& group, const std::string& where, std::uint16_t& index) {
    const auto found = roomIndex_.find(group);
    if (found == roomIndex_.end()) return FailManifest(where, "no room has group " + Quoted(group));
    index = found->second;
    return true;
}

// The group's triangles in the game's space, one run per material in the order materials first
// appear, each cut into surfaces named after the material.
bool LevelBuilder::GameGeometry(const SourceGroup& group, bool toWorld, const std::string& owner,
                                std::size_t maxTriangles, std::vector<Surface>& surfaces) {
    std::vector<SourceTriangle> triangles = group.triangles;
    if (toWorld) TransformTriangles(triangles, group.toWorld);

    std::vector<std::int32_t> order;
    std::map<std::int32_t, std::vector<GameTriangle>> runs;
    for (const SourceTriangle& triangle : triangles) {
        auto [run, added] = runs.try_emplace(triangle.material);
        if (added) order.push_back(triangle.material);
        GameTriangle game;
        for (std::size_t c = 0; c < 3; ++c) {
            const SourceVertex& corner = triangle.corners[static_cast<std::size_t>(kGameCornerOrder[c])];
            const Vector3 p = GamePoint(corner.position, manifest_.scale);
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
                return Fail(scene_.path + ": " + owner + ": a vertex lies beyond the range of a 32-bit float");
            }
            game[c] = Vertex{p.x, p.y, p.z, corner.u, corner.v};
        }
        run->second.push_back(game);
    }

    std::size_t vertices = 0;
    for (std::int32_t material : order) {
        std::string name;
        if (material >= 0 && static_cast<std::size_t>(material) < scene_.materials.size()) {
            const SourceMaterial& source = scene_.materials[static_cast<std::size_t>(material)];
            name = source.name;
            // The surface carries the material's name: a leading "!" keeps it out of collision.
            if (name.size() > kMaxNameBytes || name.find('\n') != std::string::npos) {
                return Fail(source.definedIn + ": material " + Quoted(name) +
                            ": a surface name holds at most 127 bytes and no line feed");
            }
        }
        std::uint16_t slot = 0;
        if (!textures_.SlotFor(material, slot, error_)) return false;
        const std::size_t first = surfaces.size();
        SplitIntoSurfaces(runs[material], slot, name, maxTriangles, surfaces);
        for (std::size_t s = first; s < surfaces.size(); ++s) vertices += surfaces[s].vertices.size();
    }
    if (vertices > kMaxGroupVertices) {
        return Fail(scene_.path + ": " + owner + " needs " + std::to_string(vertices) +
                    " vertices in its surfaces; a room or model holds at most 65535 (split it into smaller groups)");
    }
    if (surfaces.size() > kMaxCount) {
        return Fail(scene_.path + ": " + owner + " needs " + std::to_string(surfaces.size()) +
                    " surfaces; a room or model holds at most 65535");
    }
    return true;
}

bool LevelBuilder::BuildRooms() {
    level_.rooms.resize(manifest_.rooms.size());
    for (std::size_t r = 0; r < manifest_.rooms.size(); ++r) {
        const ManifestRoom& from = manifest_.rooms[r];
        Room& room = level_.rooms[r];
        room.name = from.name;
        room.showsSky = from.sky;
        for (std::size_t v = 0; v < from.visible.size(); ++v) {
            std::uint16_t index = 0;
            if (!RoomOf(from.visible[v], from.where + ".visible[" + std::to_string(v) + "]", index)) return false;
            room.visibleRooms.push_back(index);
        }
        room.visibleRoomCount = static_cast<std::uint16_t>(room.visibleRooms.size());
        const std::string owner = "room " + Quoted(from.name) + " (group " + Quoted(from.group) + ")";
        if (!GameGeometry(*roomGroups_[r], true, owner, kMaxRoomSurfaceTriangleCount, room.surfaces)) return false;
        room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
    }
    level_.roomCount = static_cast<std::uint16_t>(level_.rooms.size());
    return true;
}

bool LevelBuilder::BuildModels() {
    level_.models.resize(manifest_.models.size());
    for (std::size_t m = 0; m < manifest_.models.size(); ++m) {
        Model& model = level_.models[m];
        model.solid = manifest_.models[m].solid;
        const std::string owner = "model " + Quoted(manifest_.models[m].group);
        if (!GameGeometry(*modelGroups_[m], false, owner, kMaxModelSurfaceTriangleCount, model.surfaces)) return false;
        model.surfaceCount = static_cast<std::uint16_t>(model.surfaces.size());
    }
    level_.modelCount = static_cast<std::uint16_t>(level_.models.size());
    return true;
}

bool LevelBuilder::PlaceObjects() {
    for (const ManifestObject& from : manifest_.objects) {
        std::uint16_t room = 0;
        if (!RoomOf(from.room, from.where + ".room", room)) return false;
        const auto model = modelIndex_.find(from.model);
        if (model == modelIndex_.end()) return FailManifest(from.where + ".model", "no model has group " + Quoted(from.model));
        Room& target = level_.rooms[room];
        if (target.objects.size() >= kMaxCount) return FailManifest(from.where, "the room already holds 65535 objects");
        RoomObject object;
        object.modelIndex = model->second;
        object.position = GamePoint(from.position, manifest_.scale);
        object.rotationAxis = GameAxis(from.axis);
        object.rotationAngle = GameAngle(from.angle);
        if (!std::isfinite(object.position.x) || !std::isfinite(object.position.y) || !std::isfinite(object.position.z)) {
            return FailManifest(from.where + ".position", "lies beyond the range of a 32-bit float once scaled");
        }
        target.objects.push_back(object);
        target.objectCount = static_cast<std::uint16_t>(target.objects.size());
    }
    return true;
}

bool LevelBuilder::PlaceLights() {
    for (const ManifestLight& from : manifest_.lights) {
        std::uint16_t room = 0;
        if (!RoomOf(from.room, from.where + ".room", room)) return false;
        Room& target = level_.rooms[room];
        if (target.lights.size() >= kMaxCount) return FailManifest(from.where, "the room already holds 65535 lights");
        const Vector3 position = GamePoint(from.position, manifest_.scale);
        const float range = from.range * manifest_.scale;
        if (!std::isfinite(position.x) || !std::isfinite(position.y) || !std::isfinite(position.z) ||
            !std::isfinite(range)) {
            return FailManifest(from.where, "lies beyond the range of a 32-bit float once scaled");
        }
        // The same record the reader makes from a light chunk.
        target.lights.push_back(MakeRoomLight(position, from.colour, range));
        target.lightCount = static_cast<std::uint16_t>(target.lights.size());
    }
    return true;
}

bool LevelBuilder::FillHeader() {
    level_.levelName = manifest_.levelName;
    level_.startPosition = GamePoint(manifest_.start, manifest_.scale);
    if (!std::isfinite(level_.startPosition.x) || !std::isfinite(level_.startPosition.y) ||
        !std::isfinite(level_.startPosition.z)) {
        return FailManifest("start", "lies beyond the range of a 32-bit float once scaled");
    }
    return true;
}

bool LevelBuilder::FinishTextures() {
    level_.textureCount = static_cast<std::uint16_t>(textures_.size());
    out_.textureImages = textures_.TakeImages();
    return true;
}

// Rooms without a written list get the computed one; a written list is kept, with a warning for
// every room it leaves out that the player can see from there.
bool LevelBuilder::FillVisibleLists() {
    std::vector<bool> cutOut;
    for (const std::vector<std::uint8_t>& file : out_.textureImages) {
        Image image;
        std::string ignored;
        cutOut.push_back(DecodeImage(file.data(), file.size(), image, ignored) && HasCutOutTexels(image.rgba));
    }
    out_.sights = ComputeRoomSight(level_, cutOut);
    const std::vector<RoomSight>& sights = out_.sights;
    for (std::size_t r = 0; r < level_.rooms.size(); ++r) {
        Room& room = level_.rooms[r];
        const ManifestRoom& from = manifest_.rooms[r];
        if (!from.visibleGiven) {
            room.visibleRooms = sights[r].visible;
            room.visibleRoomCount = static_cast<std::uint16_t>(room.visibleRooms.size());
            continue;
        }
        const std::string self = "room " + Quoted(from.group);
        const ListFindings findings = CompareVisibleList(static_cast<std::uint16_t>(r), room.visibleRooms, sights[r]);
        if (findings.missesItself) {
            out_.warnings.push_back(manifest_.path + ": " + from.where + ".visible: " + self +
                                    " leaves out itself; its own walls are not drawn while the player is in it");
        }
        for (std::uint16_t missing : findings.missing) {
            out_.warnings.push_back(manifest_.path + ": " + from.where + ".visible: " + self + " can see room " +
                                    Quoted(manifest_.rooms[missing].group) + ", which the list leaves out");
        }
    }
    return true;
}

bool LevelBuilder::WarnUnusedGroups() {
    for (const SourceGroup& group : scene_.groups) {
        if (group.triangles.empty() || roomIndex_.count(group.name) != 0 || modelIndex_.count(group.name) != 0) continue;
        out_.warnings.push_back(scene_.path + ": group " + Quoted(group.name) + " is neither a room nor a model in " +
                                manifest_.path + "; it is left out");
    }
    return true;
}

}  // namespace

bool BuildLevel(const Manifest& manifest, const SourceScene& scene, BuiltLevel& out, std::string& error) {
    out = BuiltLevel{};
    out.warnings = scene.warnings;
    LevelBuilder builder(manifest, scene, out);
    if (!builder.Build()) {
        error = builder.Error();
        return false;
    }
    return true;
}

}  // namespace brontal
