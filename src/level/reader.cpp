// The chunk walk. Each step consumes exactly its payload; every byte comes through the one
// bounded cursor, and every count is checked against the bytes left before anything is
// allocated for it.
#include "level/reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "files/heap_reserve.h"
#include "level/byte_cursor.h"
#include "level/chunk_ids.h"
#include "math/plane.h"
#include "level/level_textures.h"
#include "math/matrix.h"

namespace brontal {
namespace {

std::string Num(std::size_t value) { return std::to_string(value); }

// Names float i of a run of vectors laid out as the letters of components ("xyz", "xyzuv").
std::string Component(const char* record, const char* components, std::size_t i, bool numbered) {
    const std::size_t width = std::strlen(components);
    std::string name = record;
    if (numbered) name += " " + Num(i / width);
    return name + " " + components[i % width];
}

// Up to how many child chunks of at least minChunkBytes each can still follow.
std::size_t Fitting(std::size_t wanted, std::size_t remaining, std::size_t minChunkBytes) {
    return std::min(wanted, remaining / minChunkBytes);
}

// Only the latest parent of each kind keeps places for children that have not arrived: once
// the next parent comes, the earlier one gives back what it did not use. So a file declaring
// many large parents that never fill cannot make the reader hold more than the file could fill.
template <typename T>
void GiveBackUnused(std::vector<T>& children) {
    if (children.capacity() > children.size()) children.shrink_to_fit();
}
void GiveBackUnused(Room& room) {
    GiveBackUnused(room.surfaces);
    GiveBackUnused(room.objects);
    GiveBackUnused(room.lights);
}
void GiveBackUnused(Model& model) { GiveBackUnused(model.surfaces); }
void GiveBackUnused(AnimatedModel& model) {
    GiveBackUnused(model.parts);
    GiveBackUnused(model.tracks);
}

class LevelWalk {
public:
    LevelWalk(const std::uint8_t* data, std::size_t size, const std::string& name, Level& level,
              LevelReadDetails* details, SurfaceLists lists)
        : data_(data), cursor_(data, size), name_(name), level_(level), details_(details),
          keepSurfaceLists_(lists == SurfaceLists::kKept) {}

    bool Run() { return Walk() && FinishCounts() && CheckReferences(); }
    const std::string& Error() const { return error_; }
    const std::vector<ImageSpan>& TextureImages() const { return textureImages_; }
    const KnownSurfaceBoxes& SurfaceBoxes() const { return surfaceBoxes_; }
    bool HasTextureBlock() const { return textureBlockOffset_ != kNone; }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    bool Walk();
    bool Step(std::uint16_t id);
    bool HeaderChunk();
    bool RoomChunk();
    bool RoomSurfaceChunk();
    bool ModelChunk();
    bool ModelSurfaceChunk();
    bool RoomObjectChunk();
    bool RoomLightChunk();
    bool AnimatedModelChunk();
    bool KeyTrackChunk();
    bool AnimatedPartChunk();
    bool TextureBlockChunk();

    bool ReadName(std::string& out);
    bool ReadSurface(Surface& surface, bool roomSurface, SurfaceBox& box);
    // A surface's or part's vertex and index lists, checked in the file's bytes and copied into
    // vertices and indices when keep (left in the file otherwise); their box, when box is given,
    // is taken from the same bytes.
    bool ReadLists(std::uint16_t lastVertex, std::size_t lastVertexOffset, std::uint16_t lastIndex,
                   std::size_t lastIndexOffset, bool keep, std::vector<Vertex>& vertices,
                   std::vector<std::uint16_t>& indices, SurfaceBox* box, const char* owner);
    bool CheckTextureIndex(std::uint16_t textureIndex, std::size_t offset);
    bool RequireHeader();
    bool RequireParent(bool present, const char* parentChunk);
    bool FinishCounts();
    bool CheckReferences();

    template <typename FieldName>
    bool RequireFinite(std::size_t offset, std::size_t count, FieldName fieldOf);
    bool Refuse(std::size_t offset, std::uint16_t id, const std::string& problem);
    bool Refuse(std::size_t offset, const std::string& problem) { return Refuse(offset, chunkId_, problem); }
    bool EndsEarly() {
        return Refuse(cursor_.offset(), "runs past the end of the file (the chunk starts at byte " +
                                            Num(chunkStart_) + ")");
    }

    const std::uint8_t* data_;
    ByteCursor cursor_;
    const std::string& name_;
    Level& level_;
    LevelReadDetails* details_;
    bool keepSurfaceLists_;
    std::string error_;

    std::size_t chunkStart_ = 0;
    std::uint16_t chunkId_ = 0;
    std::size_t headerOffset_ = kNone;
    std::size_t textureBlockOffset_ = kNone;
    std::size_t declaredRooms_ = 0, declaredModels_ = 0, declaredAnimatedModels_ = 0;

    // Per parent, in arrival order: where its chunk lies and how many children it has places for.
    struct RoomPlaces {
        std::size_t offset, surfaces, objects, lights;
    };
    std::vector<RoomPlaces> roomPlaces_;
    std::vector<std::size_t> modelPlaces_;
    std::vector<std::size_t> animatedPlaces_, animatedOffsets_;

    // The highest model index any object names, and the first object naming it.
    bool haveObjects_ = false;
    std::uint16_t highestModelIndex_ = 0;
    std::size_t highestModelIndexOffset_ = 0;

    std::vector<ImageSpan> textureImages_;
    KnownSurfaceBoxes surfaceBoxes_;  // taken while each surface's vertices are in the cache
};

bool LevelWalk::Refuse(std::size_t offset, std::uint16_t id, const std::string& problem) {
    error_ = name_ + ": byte " + Num(offset) + ": " + ChunkName(id) + " chunk (" + Num(id) + ") " + problem;
    return false;
}

// Every float of the level reaches positions, matrices or the device: one that is not a finite
// number is refused where it lies, by the name of its field. The floats have been read already.
template <typename FieldName>
bool LevelWalk::RequireFinite(std::size_t offset, std::size_t count, FieldName fieldOf) {
    // A float is not finite when its exponent bits are all ones, and then adding one to the
    // exponent carries into the sign bit. One pass without an early exit, sixteen floats at a
    // time (which the compiler turns into vector instructions), clears the common case; only a
    // list with such a float is walked again for the first one.
    constexpr std::uint32_t kExponent = 0x7F800000u, kExponentOne = 0x00800000u;
    constexpr std::size_t kBlock = 16;
    std::uint32_t carries = 0;
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        std::uint32_t bits[kBlock];
        std::memcpy(bits, data_ + offset + 4 * i, sizeof bits);
        for (const std::uint32_t b : bits) carries |= (b & kExponent) + kExponentOne;
    }
    for (; i < count; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, data_ + offset + 4 * i, sizeof bits);
        carries |= (bits & kExponent) + kExponentOne;
    }
    if ((carries & 0x80000000u) == 0) return true;
    for (i = 0; i < count; ++i) {
        float value;
        std::memcpy(&value, data_ + offset + 4 * i, sizeof value);
        if (!std::isfinite(value)) {
            return Refuse(offset + 4 * i, "has a " + fieldOf(i) + " that is not a finite number (" +
                                              (std::isnan(value) ? "NaN" : value > 0 ? "+infinity" : "-infinity") +
                                              ")");
        }
    }
    return true;
}

bool LevelWalk::Walk() {
    while (!cursor_.atEnd()) {
        chunkStart_ = cursor_.offset();
        const std::uint16_t id = cursor_.U16();
        if (cursor_.failed()) {
            error_ = name_ + ": byte " + Num(chunkStart_) + ": the file ends inside a chunk id (1 byte left)";
            return false;
        }
        chunkId_ = id;
        if (!Step(id)) return false;
        if (details_ != nullptr) {
            details_->chunks.push_back({static_cast<std::uint32_t>(chunkStart_), id,
                                        static_cast<std::uint32_t>(cursor_.offset() - chunkStart_)});
        }
    }
    return true;
}

bool LevelWalk::Step(std::uint16_t id) {
    switch (id) {
        case kChunkLevelHeader: return HeaderChunk();
        case kChunkRoom: return RoomChunk();
        case kChunkRoomSurface: return RoomSurfaceChunk();
        case kChunkModel: return ModelChunk();
        case kChunkRoomObject: return RoomObjectChunk();
        case kChunkModelSurface: return ModelSurfaceChunk();
        case kChunkRoomLight: return RoomLightChunk();
        case kChunkAnimatedModel: return AnimatedModelChunk();
        case kChunkKeyTrack: return KeyTrackChunk();
        case kChunkAnimatedPart: return AnimatedPartChunk();
        case kChunkTextureBlock: return TextureBlockChunk();
        default: return true;  // no payload: the next two bytes are the next id
    }
}

bool LevelWalk::RequireHeader() {
    if (headerOffset_ != kNone) return true;
    return Refuse(chunkStart_, "before the level header chunk");
}

bool LevelWalk::RequireParent(bool present, const char* parentChunk) {
    if (!RequireHeader()) return false;
    if (present) return true;
    return Refuse(chunkStart_, std::string("before any ") + parentChunk + " chunk");
}

bool LevelWalk::ReadName(std::string& out) {
    const std::size_t lengthOffset = cursor_.offset();
    const std::uint8_t length = cursor_.U8();
    if (cursor_.failed()) return EndsEarly();
    if (length > kMaxNameLength) {
        return Refuse(lengthOffset, "has a name length byte of " + Num(length) + " (a name holds at most " +
                                        Num(kMaxNameLength) + " bytes)");
    }
    const std::uint8_t* text = cursor_.Take(length);
    if (text == nullptr) return EndsEarly();
    if (const void* lineFeed = std::memchr(text, 0x0A, length)) {
        const auto* at = static_cast<const std::uint8_t*>(lineFeed);
        return Refuse(lengthOffset + 1 + static_cast<std::size_t>(at - text), "has a name holding a line feed (0x0A)");
    }
    out.assign(reinterpret_cast<const char*>(text), length);
    return true;
}

bool LevelWalk::CheckTextureIndex(std::uint16_t textureIndex, std::size_t offset) {
    if (textureIndex < level_.textureCount) return true;
    return Refuse(offset, "names texture " + Num(textureIndex) + ", but the texture table has " +
                              Num(level_.textureCount) + " slots");
}

bool LevelWalk::ReadLists(std::uint16_t lastVertex, std::size_t lastVertexOffset, std::uint16_t lastIndex,
                          std::size_t lastIndexOffset, bool keep, std::vector<Vertex>& vertices,
                          std::vector<std::uint16_t>& indices, SurfaceBox* box, const char* owner) {
    if (lastVertex == kInvalidLastIndex) return Refuse(lastVertexOffset, "has a last-vertex field of 0xFFFF");
    if (lastIndex == kInvalidLastIndex) return Refuse(lastIndexOffset, "has a last-index field of 0xFFFF");
    const std::size_t vertexCount = std::size_t{lastVertex} + 1;
    const std::size_t indexCount = std::size_t{lastIndex} + 1;
    const std::size_t listBytes = vertexCount * sizeof(Vertex) + indexCount * sizeof(std::uint16_t);
    if (listBytes > cursor_.remaining()) {
        return Refuse(cursor_.offset(), "runs past the end of the file: " + Num(vertexCount) + " vertices and " +
                                            Num(indexCount) + " indices need " + Num(listBytes) + " bytes, " +
                                            Num(cursor_.remaining()) + " are left");
    }
    const std::size_t verticesOffset = cursor_.offset();
    const std::size_t indicesOffset = verticesOffset + vertexCount * sizeof(Vertex);
    if (keep) {
        cursor_.Records(vertices, vertexCount);
        cursor_.Records(indices, indexCount);
    } else {
        cursor_.Take(listBytes);
    }
    if (!RequireFinite(verticesOffset, vertexCount * 5, [](std::size_t i) { return Component("vertex", "xyzuv", i, true); }))
        return false;
    // The largest index first, in one pass the compiler vectorises; only a list with an index out
    // of range is walked again for the first one.
    const auto indexAt = [&](std::size_t i) {
        std::uint16_t index;
        std::memcpy(&index, data_ + indicesOffset + 2 * i, sizeof index);
        return index;
    };
    std::uint16_t largest = 0;
    for (std::size_t i = 0; i < indexCount; ++i) largest = std::max(largest, indexAt(i));
    if (largest >= vertexCount) {
        for (std::size_t i = 0; i < indexCount; ++i) {
            if (indexAt(i) >= vertexCount) {
                return Refuse(indicesOffset + 2 * i, "has index " + Num(indexAt(i)) + " (entry " + Num(i) +
                                                         ") outside its " + owner + "'s " + Num(vertexCount) +
                                                         " vertices");
            }
        }
    }
    if (box != nullptr) *box = BoxOfVertexBytes(data_ + verticesOffset, vertexCount);
    return true;
}

bool LevelWalk::ReadSurface(Surface& surface, bool roomSurface, SurfaceBox& box) {
    if (!ReadName(surface.name)) return false;
    const std::size_t lastVertexOffset = cursor_.offset();
    const std::uint16_t lastVertex = cursor_.U16();
    const std::size_t lastIndexOffset = cursor_.offset();
    const std::uint16_t lastIndex = cursor_.U16();
    const std::size_t textureOffset = cursor_.offset();
    surface.textureIndex = cursor_.U16();
    if (cursor_.failed()) return EndsEarly();
    if (roomSurface && lastIndex != kInvalidLastIndex && (std::size_t{lastIndex} + 1) / 3 > kMaxRoomSurfaceTriangles) {
        return Refuse(lastIndexOffset, "has " + Num((std::size_t{lastIndex} + 1) / 3) +
                                           " triangles; a room surface holds at most " +
                                           Num(kMaxRoomSurfaceTriangles));
    }
    if (!CheckTextureIndex(surface.textureIndex, textureOffset)) return false;
    if (!ReadLists(lastVertex, lastVertexOffset, lastIndex, lastIndexOffset, keepSurfaceLists_, surface.vertices,
                   surface.indices, &box, "surface")) {
        return false;
    }
    surface.vertexCount = static_cast<std::uint16_t>(lastVertex + 1);
    surface.indexCount = static_cast<std::uint16_t>(lastIndex + 1);
    surface.triangleCount = static_cast<std::uint8_t>(surface.indexCount / 3);  // 8 bits, as drawn
    return true;
}

bool LevelWalk::HeaderChunk() {
    if (headerOffset_ != kNone) {
        return Refuse(chunkStart_, "comes a second time (the first is at byte " + Num(headerOffset_) + ")");
    }
    if (!ReadName(level_.levelName)) return false;
    const std::uint16_t rooms = cursor_.U16();
    const std::uint16_t models = cursor_.U16();
    const std::uint16_t animatedModels = cursor_.U16();
    const std::uint16_t textures = cursor_.U16();
    const std::size_t startOffset = cursor_.offset();
    level_.startPosition = cursor_.Vec3();
    if (cursor_.failed()) return EndsEarly();
    if (!RequireFinite(startOffset, 3, [](std::size_t i) { return Component("start position", "xyz", i, false); }))
        return false;
    headerOffset_ = chunkStart_;
    declaredRooms_ = rooms;
    declaredModels_ = models;
    declaredAnimatedModels_ = animatedModels;
    level_.textureCount = textures;
    level_.TextureTable.assign(textures, nullptr);
    level_.rooms.reserve(Fitting(rooms, cursor_.remaining(), kMinRoomChunkBytes));
    level_.models.reserve(Fitting(models, cursor_.remaining(), kMinModelChunkBytes));
    level_.animatedModels.reserve(Fitting(animatedModels, cursor_.remaining(), kMinAnimatedModelChunkBytes));
    if (details_ != nullptr) {
        details_->hasHeader = true;
        details_->declaredRoomCount = rooms;
        details_->declaredModelCount = models;
        details_->declaredAnimatedModelCount = animatedModels;
    }
    return true;
}

bool LevelWalk::RoomChunk() {
    if (!RequireHeader()) return false;
    if (level_.rooms.size() >= declaredRooms_) {
        return Refuse(chunkStart_, "is beyond the header's room count of " + Num(declaredRooms_));
    }
    brontal::Room room;
    if (!ReadName(room.name)) return false;
    const std::uint16_t surfaces = cursor_.U16();
    const std::uint16_t objects = cursor_.U16();
    const std::uint16_t lights = cursor_.U16();
    const std::uint16_t visible = cursor_.U16();
    room.showsSky = cursor_.U8() == 1;  // other values leave the flag off
    if (cursor_.failed()) return EndsEarly();
    if (std::size_t{visible} * 2 > cursor_.remaining()) {
        return Refuse(cursor_.offset(), "runs past the end of the file: its " + Num(visible) +
                                            " visible rooms need " + Num(std::size_t{visible} * 2) + " bytes, " +
                                            Num(cursor_.remaining()) + " are left");
    }
    room.visibleRoomCount = visible;
    cursor_.Records(room.visibleRooms, visible);

    // The surface counter is 16 bits, so the spare places stop at 65,535 surfaces.
    const std::size_t surfacePlaces = std::min<std::size_t>(std::size_t{surfaces} + kSpareRoomSurfaces, 0xFFFF);
    const std::size_t left = cursor_.remaining();
    room.surfaces.reserve(Fitting(surfacePlaces, left, kMinSurfaceChunkBytes));
    room.objects.reserve(Fitting(objects, left, kRoomObjectChunkBytes));
    room.lights.reserve(Fitting(lights, left, kPointLightChunkBytes));
    roomPlaces_.push_back({chunkStart_, surfacePlaces, objects, lights});
    if (!level_.rooms.empty()) GiveBackUnused(level_.rooms.back());
    level_.rooms.push_back(std::move(room));
    surfaceBoxes_.rooms.emplace_back().reserve(level_.rooms.back().surfaces.capacity());
    return true;
}

bool LevelWalk::RoomSurfaceChunk() {
    if (!RequireParent(!level_.rooms.empty(), "room")) return false;
    brontal::Room& room = level_.rooms.back();
    const RoomPlaces& places = roomPlaces_.back();
    if (room.surfaces.size() >= places.surfaces) {
        return Refuse(chunkStart_, "is beyond the room's " + Num(places.surfaces) +
                                       " surface places (declared count + 5; room chunk at byte " +
                                       Num(places.offset) + ")");
    }
    Surface surface;
    if (!ReadSurface(surface, true, surfaceBoxes_.rooms.back().emplace_back())) return false;
    room.surfaces.push_back(std::move(surface));
    return true;
}

bool LevelWalk::RoomObjectChunk() {
    if (!RequireParent(!level_.rooms.empty(), "room")) return false;
    brontal::Room& room = level_.rooms.back();
    const RoomPlaces& places = roomPlaces_.back();
    if (room.objects.size() >= places.objects) {
        return Refuse(chunkStart_, "is beyond the room's declared object count of " + Num(places.objects) +
                                       " (room chunk at byte " + Num(places.offset) + ")");
    }
    brontal::RoomObject object;
    object.modelIndex = cursor_.U16();
    const std::size_t floatsOffset = cursor_.offset();
    object.position = cursor_.Vec3();
    object.rotationAxis = cursor_.Vec3();
    object.rotationAngle = cursor_.F32();
    if (cursor_.failed()) return EndsEarly();
    if (!RequireFinite(floatsOffset, 7, [](std::size_t i) {
            return i < 3 ? Component("position", "xyz", i, false)
                         : i < 6 ? Component("rotation axis", "xyz", i - 3, false) : std::string("rotation angle");
        }))
        return false;

    // Rotated about the axis through the model's origin first, then moved to the position.
    Matrix4x4 rotation, translation;
    MatrixIdentity(&object.world);
    MatrixRotationAxis(&rotation, &object.rotationAxis, object.rotationAngle);
    MatrixMultiply(&object.world, &object.world, &rotation);
    MatrixTranslation(&translation, object.position.x, object.position.y, object.position.z);
    MatrixMultiply(&object.world, &object.world, &translation);

    if (!haveObjects_ || object.modelIndex > highestModelIndex_) {
        haveObjects_ = true;
        highestModelIndex_ = object.modelIndex;
        highestModelIndexOffset_ = chunkStart_;
    }
    room.objects.push_back(object);
    return true;
}

bool LevelWalk::RoomLightChunk() {
    if (!RequireParent(!level_.rooms.empty(), "room")) return false;
    const std::uint16_t kind = cursor_.U16();
    if (cursor_.failed()) return EndsEarly();
    if (kind != kLightKindPoint) return true;  // not a light: the chunk ends after its kind
    brontal::Room& room = level_.rooms.back();
    const RoomPlaces& places = roomPlaces_.back();
    if (room.lights.size() >= places.lights) {
        return Refuse(chunkStart_, "is beyond the room's declared light count of " + Num(places.lights) +
                                       " (room chunk at byte " + Num(places.offset) + ")");
    }
    const std::size_t floatsOffset = cursor_.offset();
    const Vector3 position = cursor_.Vec3();
    const Vector3 colour = cursor_.Vec3();
    cursor_.F32();  // unused
    const float range = cursor_.F32();
    if (cursor_.failed()) return EndsEarly();
    if (!RequireFinite(floatsOffset, 8, [](std::size_t i) {
            return i < 3 ? Component("position", "xyz", i, false)
                         : i < 6 ? Component("colour", "rgb", i - 3, false)
                                 : std::string(i == 6 ? "unused float" : "range");
        }))
        return false;

    room.lights.push_back(MakeRoomLight(position, colour, range));
    return true;
}

bool LevelWalk::ModelChunk() {
    if (!RequireHeader()) return false;
    if (level_.models.size() >= declaredModels_) {
        return Refuse(chunkStart_, "is beyond the header's model count of " + Num(declaredModels_));
    }
    brontal::Model model;
    const std::uint16_t surfaces = cursor_.U16();
    model.reserved = cursor_.U16();
    model.solid = cursor_.U8() == 1;  // other values leave the flag off
    if (cursor_.failed()) return EndsEarly();
    model.surfaces.reserve(Fitting(surfaces, cursor_.remaining(), kMinSurfaceChunkBytes));
    modelPlaces_.push_back(surfaces);
    if (!level_.models.empty()) GiveBackUnused(level_.models.back());
    level_.models.push_back(std::move(model));
    surfaceBoxes_.models.emplace_back().reserve(level_.models.back().surfaces.capacity());
    return true;
}

bool LevelWalk::ModelSurfaceChunk() {
    if (!RequireParent(!level_.models.empty(), "model")) return false;
    brontal::Model& model = level_.models.back();
    if (model.surfaces.size() >= modelPlaces_.back()) {
        return Refuse(chunkStart_, "is beyond the model's declared surface count of " + Num(modelPlaces_.back()));
    }
    Surface surface;
    if (!ReadSurface(surface, false, surfaceBoxes_.models.back().emplace_back())) return false;
    model.surfaces.push_back(std::move(surface));
    return true;
}

bool LevelWalk::AnimatedModelChunk() {
    if (!RequireHeader()) return false;
    if (level_.animatedModels.size() >= declaredAnimatedModels_) {
        return Refuse(chunkStart_,
                      "is beyond the header's animated-model count of " + Num(declaredAnimatedModels_));
    }
    brontal::AnimatedModel model;
    const std::uint16_t parts = cursor_.U16();
    if (cursor_.failed()) return EndsEarly();
    model.parts.reserve(Fitting(parts, cursor_.remaining(), kMinAnimatedPartChunkBytes));
    model.tracks.reserve(Fitting(parts, cursor_.remaining(), kMinKeyTrackChunkBytes));
    animatedPlaces_.push_back(parts);
    animatedOffsets_.push_back(chunkStart_);
    if (!level_.animatedModels.empty()) GiveBackUnused(level_.animatedModels.back());
    level_.animatedModels.push_back(std::move(model));
    return true;
}

bool LevelWalk::KeyTrackChunk() {
    if (!RequireParent(!level_.animatedModels.empty(), "animated model")) return false;
    brontal::AnimatedModel& model = level_.animatedModels.back();
    if (model.tracks.size() >= animatedPlaces_.back()) {
        return Refuse(chunkStart_, "is beyond the animated model's part count of " + Num(animatedPlaces_.back()));
    }
    brontal::KeyTrack track;
    const std::uint16_t keys = cursor_.U16();
    if (cursor_.failed()) return EndsEarly();
    if (std::size_t{keys} * kKeyBytes > cursor_.remaining()) {
        return Refuse(cursor_.offset(), "runs past the end of the file: " + Num(keys) + " keys need " +
                                            Num(std::size_t{keys} * kKeyBytes) + " bytes, " +
                                            Num(cursor_.remaining()) + " are left");
    }
    track.keyCount = keys;
    const std::size_t positionsOffset = cursor_.offset();
    cursor_.Records(track.positions, keys);
    const std::size_t rotationsOffset = cursor_.offset();
    cursor_.Records(track.rotations, keys);
    if (!RequireFinite(positionsOffset, std::size_t{keys} * 3,
                       [](std::size_t i) { return Component("key position", "xyz", i, true); }) ||
        !RequireFinite(rotationsOffset, std::size_t{keys} * 4,
                       [](std::size_t i) { return Component("key rotation", "xyzw", i, true); }))
        return false;
    model.tracks.push_back(std::move(track));
    return true;
}

bool LevelWalk::AnimatedPartChunk() {
    if (!RequireParent(!level_.animatedModels.empty(), "animated model")) return false;
    brontal::AnimatedModel& model = level_.animatedModels.back();
    if (model.parts.size() >= animatedPlaces_.back()) {
        return Refuse(chunkStart_, "is beyond the animated model's part count of " + Num(animatedPlaces_.back()));
    }
    brontal::AnimatedPart part;
    if (!ReadName(part.name)) return false;
    const std::size_t lastVertexOffset = cursor_.offset();
    const std::uint16_t lastVertex = cursor_.U16();
    const std::size_t lastIndexOffset = cursor_.offset();
    const std::uint16_t lastIndex = cursor_.U16();
    const std::size_t textureOffset = cursor_.offset();
    part.textureIndex = cursor_.U16();
    const std::size_t pointsOffset = cursor_.offset();
    part.pivot = cursor_.Vec3();
    part.secondPoint = cursor_.Vec3();
    if (cursor_.failed()) return EndsEarly();
    if (!RequireFinite(pointsOffset, 6, [](std::size_t i) {
            return i < 3 ? Component("pivot", "xyz", i, false) : Component("second point", "xyz", i - 3, false);
        }))
        return false;
    if (!CheckTextureIndex(part.textureIndex, textureOffset)) return false;
    if (!ReadLists(lastVertex, lastVertexOffset, lastIndex, lastIndexOffset, true, part.vertices, part.indices, nullptr,
                   "part")) {
        return false;
    }
    part.vertexCount = static_cast<std::uint16_t>(part.vertices.size());
    part.indexCount = static_cast<std::uint16_t>(part.indices.size());
    part.triangleCount = static_cast<std::uint16_t>(part.indexCount / 3);
    model.parts.push_back(std::move(part));
    return true;
}

bool LevelWalk::TextureBlockChunk() {
    if (!RequireHeader()) return false;
    if (textureBlockOffset_ != kNone) {
        return Refuse(chunkStart_, "comes a second time (the first is at byte " + Num(textureBlockOffset_) + ")");
    }
    textureBlockOffset_ = chunkStart_;
    for (std::size_t slot = 0; slot < level_.textureCount; ++slot) {
        const std::size_t sizeOffset = cursor_.offset();
        const std::uint32_t size = cursor_.U32();
        if (cursor_.failed()) return EndsEarly();
        if (size > cursor_.remaining()) {
            return Refuse(sizeOffset, "runs past the end of the file: the image of texture " + Num(slot) +
                                          " is " + Num(size) + " bytes, " + Num(cursor_.remaining()) +
                                          " are left");
        }
        textureImages_.push_back({static_cast<std::uint32_t>(cursor_.offset()), size});
        cursor_.Take(size);
    }
    if (details_ != nullptr) details_->textureImages = textureImages_;
    return true;
}

// The counts become the numbers of records that arrived.
bool LevelWalk::FinishCounts() {
    if (!level_.rooms.empty()) GiveBackUnused(level_.rooms.back());
    if (!level_.models.empty()) GiveBackUnused(level_.models.back());
    if (!level_.animatedModels.empty()) GiveBackUnused(level_.animatedModels.back());
    GiveBackUnused(level_.rooms);
    GiveBackUnused(level_.models);
    GiveBackUnused(level_.animatedModels);
    level_.roomCount = static_cast<std::uint16_t>(level_.rooms.size());
    level_.modelCount = static_cast<std::uint16_t>(level_.models.size());
    level_.animatedModelCount = static_cast<std::uint16_t>(level_.animatedModels.size());
    for (brontal::Room& room : level_.rooms) {
        room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
        room.objectCount = static_cast<std::uint16_t>(room.objects.size());
        room.lightCount = static_cast<std::uint16_t>(room.lights.size());
    }
    for (brontal::Model& model : level_.models) model.surfaceCount = static_cast<std::uint16_t>(model.surfaces.size());
    for (brontal::AnimatedModel& model : level_.animatedModels) {
        model.partCount = static_cast<std::uint16_t>(model.parts.size());
        model.trackCount = static_cast<std::uint16_t>(model.tracks.size());
    }
    return true;
}

// References to records that may arrive later in the file are checked once the walk is over.
bool LevelWalk::CheckReferences() {
    if (haveObjects_ && highestModelIndex_ >= level_.modelCount) {
        return Refuse(highestModelIndexOffset_, kChunkRoomObject,
                      "places model " + Num(highestModelIndex_) + ", but the level holds " +
                          Num(level_.modelCount) + " models");
    }
    for (std::size_t r = 0; r < level_.rooms.size(); ++r) {
        for (std::uint16_t visible : level_.rooms[r].visibleRooms) {
            if (visible >= level_.roomCount) {
                return Refuse(roomPlaces_[r].offset, kChunkRoom,
                              "lists visible room " + Num(visible) + ", but the level holds " +
                                  Num(level_.roomCount) + " rooms");
            }
        }
    }
    for (std::size_t a = 0; a < level_.animatedModels.size(); ++a) {
        const brontal::AnimatedModel& model = level_.animatedModels[a];
        if (model.trackCount != model.partCount) {
            return Refuse(animatedOffsets_[a], kChunkAnimatedModel,
                          "has " + Num(model.partCount) + " parts but " + Num(model.trackCount) +
                              " key tracks; track n animates part n, so every part needs one");
        }
    }
    return true;
}

}  // namespace

bool ReadLevel(const std::uint8_t* data, std::size_t size, const std::string& name, Device* device, Level& level,
               std::string& error, LevelReadDetails* details, SurfaceLists lists) {
    if (details != nullptr) *details = LevelReadDetails{};
    // The lists take about as many bytes as the file: have them ready at once.
    if (lists == SurfaceLists::kKept) ReserveHeap(size + size / 8);
    Level read;
    read.device = device;
    LevelWalk walk(data, size, name, read, details, lists);
    if (!walk.Run()) {
        error = walk.Error();
        level = Level{};
        return false;
    }
    if (device != nullptr) MakeLevelTextures(read, data, walk.TextureImages(), walk.HasTextureBlock(), name);
    deriveAfterLoad(read, &walk.SurfaceBoxes());
    level = std::move(read);
    error.clear();
    return true;
}

}  // namespace brontal
