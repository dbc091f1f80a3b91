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


// A group's faces as a room or model takes them, with the transform that carries them into the
// room's world or the model's own space.
struct Piece {
    const SourceScene* scene = nullptr;
    const SourceGroup* group = nullptr;
    Matrix4x4 transform{};
};

class LevelBuilder {
public:
    LevelBuilder(const Manifest& manifest, const SceneSet& scenes, BuiltLevel& out)
        : manifest_(manifest), scenes_(scenes), out_(out), level_(out.level),
          textures_(scenes.scenes.empty() ? manifest.path : scenes.scenes.front().path) {}

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
    bool WholeFileModel(const ManifestModel& model, std::vector<Piece>& pieces);
    bool Claim(const GroupId& id, const std::string& owner, const std::string& where);
    bool UseGroup(const GroupReference& reference, const std::string& owner, Piece& piece);
    bool GameGeometry(const std::vector<Piece>& pieces, float scale, const std::string& owner, std::size_t maxTriangles,
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
    const SceneSet& scenes_;
    BuiltLevel& out_;
    Level& level_;
    TextureTable textures_;
    std::map<std::string, std::uint16_t> roomIndex_, modelIndex_;  // rooms by every group as written, models by name
    std::vector<std::vector<Piece>> roomPieces_, modelPieces_;
    std::map<std::pair<std::size_t, std::size_t>, std::string> claimed_;  // (scene, group) to its room or model
    std::string error_;
};

// Every group is part of one room or one model at most.
bool LevelBuilder::Claim(const GroupId& id, const std::string& owner, const std::string& where) {
    const auto [known, added] = claimed_.emplace(std::make_pair(id.scene, id.group), owner);
    if (added) return true;
    const SourceGroup& group = scenes_.scenes[id.scene].groups[id.group];
    return FailManifest(where, "group " + GroupLabel(group) + " of " + scenes_.written[id.scene] +
                                   " is already part of " + known->second);
}

bool LevelBuilder::UseGroup(const GroupReference& reference, const std::string& owner, Piece& piece) {
    GroupId id;
    if (!ResolveGroup(scenes_, manifest_, reference, id, error_) || !Claim(id, owner, reference.where)) return false;
    piece.scene = &scenes_.scenes[id.scene];
    piece.group = &piece.scene->groups[id.group];
    piece.transform = piece.group->toWorld;
    if (!piece.group->refusal.empty()) return Fail(piece.group->refusal);
    if (piece.group->triangles.empty()) {
        return Fail(piece.scene->path + ": group " + Quoted(reference.name) + " has no faces (named by " +
                    manifest_.path + " " + reference.where + ")");
    }
    return true;
}

bool LevelBuilder::IndexRooms() {
    roomPieces_.resize(manifest_.rooms.size());
    for (std::size_t r = 0; r < manifest_.rooms.size(); ++r) {
        const ManifestRoom& room = manifest_.rooms[r];
        for (const GroupReference& reference : room.groups) {
            Piece piece;
            if (!UseGroup(reference, room.where, piece)) return false;
            roomPieces_[r].push_back(piece);
            roomIndex_.emplace(reference.name, static_cast<std::uint16_t>(r));
        }
    }
    return true;
}

// Every group of the file, where the file places it: the model's origin is the file's.
bool LevelBuilder::WholeFileModel(const ManifestModel& model, std::vector<Piece>& pieces) {
    const std::size_t s = SceneOfFile(scenes_, model.file);
    if (s >= scenes_.scenes.size()) return FailManifest(model.where + ".file", "the file was not loaded");
    const SourceScene& scene = scenes_.scenes[s];
    for (std::size_t g = 0; g < scene.groups.size(); ++g) {
        const SourceGroup& group = scene.groups[g];
        if (!HasFaces(group)) continue;
        if (!Claim({s, g}, model.where, model.where + ".file")) return false;
        if (!group.refusal.empty()) return Fail(group.refusal);
        pieces.push_back({&scene, &group, group.toWorld});
    }
    if (pieces.empty()) {
        return Fail(scene.path + ": has no faces (named by " + manifest_.path + " " + model.where + ".file)");
    }
    return true;
}

// A model of groups keeps its groups' rotations and scales (their parents' included) and their
// places relative to the first group, whose origin becomes the model's.
bool LevelBuilder::IndexModels() {
    modelPieces_.resize(manifest_.models.size());
    for (std::size_t m = 0; m < manifest_.models.size(); ++m) {
        const ManifestModel& model = manifest_.models[m];
        std::vector<Piece>& pieces = modelPieces_[m];
        if (!model.file.empty()) {
            if (!WholeFileModel(model, pieces)) return false;
        } else {
            for (const GroupReference& reference : model.groups) {
                Piece piece;
                if (!UseGroup(reference, model.where, piece)) return false;
                pieces.push_back(piece);
            }
            const float origin[3] = {pieces[0].transform.m[3][0], pieces[0].transform.m[3][1],
                                     pieces[0].transform.m[3][2]};
            for (Piece& piece : pieces) {
                for (int k = 0; k < 3; ++k) piece.transform.m[3][k] -= origin[k];
            }
        }
        modelIndex_.emplace(model.name, static_cast<std::uint16_t>(m));
    }
    return true;
}

bool LevelBuilder::RoomOf(const std::string& group, const std::string& where, std::uint16_t& index) {
    const auto found = roomIndex_.find(group);
    if (found == roomIndex_.end()) return FailManifest(where, "no room has group " + Quoted(group));
    index = found->second;
    return true;
}

// The pieces' triangles in the game's space, one run per material in the order materials first
// appear, each cut into surfaces named after the material.
bool LevelBuilder::GameGeometry(const std::vector<Piece>& pieces, float scale, const std::string& owner,
                                std::size_t maxTriangles, std::vector<Surface>& surfaces) {
    std::vector<const SourceMaterial*> order;
    std::map<const SourceMaterial*, std::vector<GameTriangle>> runs;
    for (const Piece& piece : pieces) {
        std::vector<SourceTriangle> triangles = piece.group->triangles;
        TransformTriangles(triangles, piece.transform);
        const std::vector<SourceMaterial>& materials = piece.scene->materials;
        for (const SourceTriangle& triangle : triangles) {
            const bool known = triangle.material >= 0 && static_cast<std::size_t>(triangle.material) < materials.size();
            const SourceMaterial* material = known ? &materials[static_cast<std::size_t>(triangle.material)] : nullptr;
            auto [run, added] = runs.try_emplace(material);
            if (added) order.push_back(material);
            GameTriangle game;
            for (std::size_t c = 0; c < 3; ++c) {
                const SourceVertex& corner = triangle.corners[static_cast<std::size_t>(kGameCornerOrder[c])];
                const Vector3 p = GamePoint(corner.position, scale);
                if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
                    return Fail(piece.scene->path + ": " + owner + ": a vertex lies beyond the range of a 32-bit float");
                }
                game[c] = Vertex{p.x, p.y, p.z, corner.u, corner.v};
            }
            run->second.push_back(game);
        }
    }

    std::size_t vertices = 0;
    for (const SourceMaterial* material : order) {
        std::string name;
        if (material != nullptr) {
            name = material->name;
            // The surface carries the material's name: a leading "!" keeps it out of collision.
            if (name.size() > kMaxNameBytes || name.find('\n') != std::string::npos) {
                return Fail(material->definedIn + ": material " + Quoted(name) +
                            ": a surface name holds at most 127 bytes and no line feed");
            }
        }
        std::uint16_t slot = 0;
        if (!textures_.SlotFor(material, slot, error_)) return false;
        const std::size_t first = surfaces.size();
        SplitIntoSurfaces(runs[material], slot, name, maxTriangles, surfaces);
        for (std::size_t s = first; s < surfaces.size(); ++s) vertices += surfaces[s].vertices.size();
    }
    const std::string& path = pieces.front().scene->path;
    if (vertices > kMaxGroupVertices) {
        return Fail(path + ": " + owner + " needs " + std::to_string(vertices) +
                    " vertices in its surfaces; a room or model holds at most 65535 (split it into smaller groups)");
    }
    if (surfaces.size() > kMaxCount) {
        return Fail(path + ": " + owner + " needs " + std::to_string(surfaces.size()) +
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
        if (!GameGeometry(roomPieces_[r], manifest_.scale, owner, kMaxRoomSurfaceTriangleCount, room.surfaces)) {
            return false;
        }
        room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
    }
    level_.roomCount = static_cast<std::uint16_t>(level_.rooms.size());
    return true;
}

bool LevelBuilder::BuildModels() {
    level_.models.resize(manifest_.models.size());
    for (std::size_t m = 0; m < manifest_.models.size(); ++m) {
        const ManifestModel& from = manifest_.models[m];
        Model& model = level_.models[m];
        model.solid = from.solid;
        const std::string owner = "model " + Quoted(from.name);
        const float scale = manifest_.scale * from.scale;  // the model's own scale on top of the level's
        if (!GameGeometry(modelPieces_[m], scale, owner, kMaxModelSurfaceTriangleCount, model.surfaces)) return false;
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
        if (model == modelIndex_.end()) return FailManifest(from.where + ".model", "no model is named " + Quoted(from.model));
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

// One warning per file that has groups no room or model uses, naming them.
bool LevelBuilder::WarnUnusedGroups() {
    for (std::size_t s = 0; s < scenes_.scenes.size(); ++s) {
        const SourceScene& scene = scenes_.scenes[s];
        std::vector<const SourceGroup*> unused;
        for (std::size_t g = 0; g < scene.groups.size(); ++g) {
            if (HasFaces(scene.groups[g]) && claimed_.count({s, g}) == 0) unused.push_back(&scene.groups[g]);
        }
        if (unused.size() == 1) {
            out_.warnings.push_back(scene.path + ": group " + GroupLabel(*unused[0]) +
                                    " is neither a room nor a model in " + manifest_.path + "; it is left out");
        } else if (unused.size() > 1) {
            out_.warnings.push_back(scene.path + ": " + std::to_string(unused.size()) +
                                    " groups are neither rooms nor models in " + manifest_.path +
                                    "; they are left out: " + GroupList(unused));
        }
    }
    return true;
}

}  // namespace

bool BuildLevel(const Manifest& manifest, const SceneSet& scenes, BuiltLevel& out, std::string& error) {
    out = BuiltLevel{};
    for (const SourceScene& scene : scenes.scenes) {
        out.warnings.insert(out.warnings.end(), scene.warnings.begin(), scene.warnings.end());
    }
    LevelBuilder builder(manifest, scenes, out);
    if (!builder.Build()) {
        error = builder.Error();
        return false;
    }
    return true;
}

}  // namespace brontal
