// The level writer: the chunks the reader reads, in the order a level file lays them out.
#include "level/writer.h"

#include <algorithm>
#include <cstring>

#include "level/chunk_ids.h"

namespace brontal {

void ChunkWriter::U8(std::uint8_t v) { bytes.push_back(v); }

void ChunkWriter::U16(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ChunkWriter::U32(std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
}

void ChunkWriter::F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
}

void ChunkWriter::Vec3(const Vector3& v) {
    F32(v.x);
    F32(v.y);
    F32(v.z);
}

// The length byte is written as given (low 8 bits), so tests can write lengths the reader refuses.
void ChunkWriter::String(const std::string& s) {
    U8(static_cast<std::uint8_t>(s.size()));
    Bytes(s.data(), s.size());
}

void ChunkWriter::Bytes(const void* data, std::size_t size) {
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), first, first + size);
}

namespace {

// Records in use: the record's own count, never more than the array holds.
std::size_t InUse(std::size_t count, std::size_t held) { return std::min(count, held); }

void WriteVertices(ChunkWriter& out, const std::vector<Vertex>& vertices, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const Vertex& v = vertices[i];
        out.F32(v.x);
        out.F32(v.y);
        out.F32(v.z);
        out.F32(v.u);
        out.F32(v.v);
    }
}

void WriteIndices(ChunkWriter& out, const std::vector<std::uint16_t>& indices, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out.U16(indices[i]);
}

// A surface needs at least one vertex and one index: the file stores the last of each.
void WriteSurface(ChunkWriter& out, std::uint16_t id, const Surface& surface) {
    const std::size_t vertices = InUse(surface.vertexCount, surface.vertices.size());
    const std::size_t indices = InUse(surface.indexCount, surface.indices.size());
    out.Id(id);
    out.String(surface.name);
    out.U16(static_cast<std::uint16_t>(vertices - 1));
    out.U16(static_cast<std::uint16_t>(indices - 1));
    out.U16(surface.textureIndex);
    WriteVertices(out, surface.vertices, vertices);
    WriteIndices(out, surface.indices, indices);
}

void WriteRoom(ChunkWriter& out, const Room& room) {
    const std::size_t visible = InUse(room.visibleRoomCount, room.visibleRooms.size());
    out.Id(kChunkRoom);
    out.String(room.name);
    out.U16(room.surfaceCount);
    out.U16(room.objectCount);
    out.U16(room.lightCount);
    out.U16(static_cast<std::uint16_t>(visible));
    out.U8(room.showsSky ? 1 : 0);
    for (std::size_t i = 0; i < visible; ++i) out.U16(room.visibleRooms[i]);

    for (std::size_t s = 0; s < InUse(room.surfaceCount, room.surfaces.size()); ++s) {
        WriteSurface(out, kChunkRoomSurface, room.surfaces[s]);
    }
    for (std::size_t o = 0; o < InUse(room.objectCount, room.objects.size()); ++o) {
        const RoomObject& object = room.objects[o];
        out.Id(kChunkRoomObject);
        out.U16(object.modelIndex);
        out.Vec3(object.position);
        out.Vec3(object.rotationAxis);
        out.F32(object.rotationAngle);
    }
    for (std::size_t l = 0; l < InUse(room.lightCount, room.lights.size()); ++l) {
        const D3DLIGHT8& light = room.lights[l].light;
        out.Id(kChunkRoomLight);
        out.U16(kLightKindPoint);
        out.Vec3({light.Position.x, light.Position.y, light.Position.z});
        // The file holds the colour; the light record holds it times 255.
        out.Vec3({light.Ambient.r / 255.0f, light.Ambient.g / 255.0f, light.Ambient.b / 255.0f});
        out.F32(0.0f);  // unused
        out.F32(light.Range);
    }
}

void WriteModel(ChunkWriter& out, const Model& model) {
    out.Id(kChunkModel);
    out.U16(model.surfaceCount);
    out.U16(model.reserved);
    out.U8(model.solid ? 1 : 0);
    for (std::size_t s = 0; s < InUse(model.surfaceCount, model.surfaces.size()); ++s) {
        WriteSurface(out, kChunkModelSurface, model.surfaces[s]);
    }
}

void WriteAnimatedModel(ChunkWriter& out, const AnimatedModel& model) {
    out.Id(kChunkAnimatedModel);
    out.U16(model.partCount);
    for (std::size_t t = 0; t < InUse(model.trackCount, model.tracks.size()); ++t) {
        const KeyTrack& track = model.tracks[t];
        const std::size_t keys =
            InUse(track.keyCount, std::min(track.positions.size(), track.rotations.size()));
        out.Id(kChunkKeyTrack);
        out.U16(static_cast<std::uint16_t>(keys));
        for (std::size_t k = 0; k < keys; ++k) out.Vec3(track.positions[k]);
        for (std::size_t k = 0; k < keys; ++k) {
            const Quaternion& q = track.rotations[k];
            out.F32(q.x);
            out.F32(q.y);
            out.F32(q.z);
            out.F32(q.w);
        }
    }
    for (std::size_t p = 0; p < InUse(model.partCount, model.parts.size()); ++p) {
        const AnimatedPart& part = model.parts[p];
        const std::size_t vertices = InUse(part.vertexCount, part.vertices.size());
        const std::size_t indices = InUse(part.indexCount, part.indices.size());
        out.Id(kChunkAnimatedPart);
        out.String(part.name);
        out.U16(static_cast<std::uint16_t>(vertices - 1));
        out.U16(static_cast<std::uint16_t>(indices - 1));
        out.U16(part.textureIndex);
        out.Vec3(part.pivot);
        out.Vec3(part.secondPoint);
        WriteVertices(out, part.vertices, vertices);
        WriteIndices(out, part.indices, indices);
    }
}

}  // namespace

std::vector<std::uint8_t> WriteLevel(const Level& level, const std::vector<std::vector<std::uint8_t>>& textureImages) {
    ChunkWriter out;
    out.Id(kChunkLevelHeader);
    out.String(level.levelName);
    out.U16(level.roomCount);
    out.U16(level.modelCount);
    out.U16(level.animatedModelCount);
    out.U16(level.textureCount);
    out.Vec3(level.startPosition);

    for (std::size_t r = 0; r < InUse(level.roomCount, level.rooms.size()); ++r) WriteRoom(out, level.rooms[r]);
    for (std::size_t m = 0; m < InUse(level.modelCount, level.models.size()); ++m) WriteModel(out, level.models[m]);
    for (std::size_t a = 0; a < InUse(level.animatedModelCount, level.animatedModels.size()); ++a) {
        WriteAnimatedModel(out, level.animatedModels[a]);
    }

    // One image per slot; a slot without one gets an empty image (the reader then uses its placeholder).
    if (level.textureCount > 0) {
        out.Id(kChunkTextureBlock);
        for (std::size_t slot = 0; slot < level.textureCount; ++slot) {
            if (slot < textureImages.size()) {
                out.U32(static_cast<std::uint32_t>(textureImages[slot].size()));
                out.Bytes(textureImages[slot].data(), textureImages[slot].size());
            } else {
                out.U32(0);
            }
        }
    }
    return std::move(out.bytes);
}

}  // namespace brontal
