#pragma once
// Hand-laid level chunks for the reader's tests. Chunk ids are written as plain numbers, not
// through the reader's constants, so that a constant the reader and writer share wrongly shows.
#include <cstdint>
#include <string>
#include <vector>

#include "level/reader.h"
#include "level/writer.h"

namespace brontal::test {

inline void PutHeader(ChunkWriter& w, std::uint16_t rooms, std::uint16_t models, std::uint16_t animated,
                   std::uint16_t textures, const std::string& name = "L", Vector3 start = {1, 2, 3}) {
    w.U16(0x0010);
    w.String(name);
    w.U16(rooms);
    w.U16(models);
    w.U16(animated);
    w.U16(textures);
    w.Vec3(start);
}

inline void PutRoom(ChunkWriter& w, std::uint16_t surfaces, std::uint16_t objects, std::uint16_t lights,
                 const std::vector<std::uint16_t>& visible = {}, std::uint8_t sky = 0,
                 const std::string& name = "R") {
    w.U16(0x0011);
    w.String(name);
    w.U16(surfaces);
    w.U16(objects);
    w.U16(lights);
    w.U16(static_cast<std::uint16_t>(visible.size()));
    w.U8(sky);
    for (std::uint16_t v : visible) w.U16(v);
}

inline void PutVertices(ChunkWriter& w, const std::vector<Vertex>& vertices) {
    for (const Vertex& v : vertices) {
        w.F32(v.x);
        w.F32(v.y);
        w.F32(v.z);
        w.F32(v.u);
        w.F32(v.v);
    }
}

// A surface chunk (18 for rooms, 21 for models) with the given lists.
inline void PutSurface(ChunkWriter& w, std::uint16_t id, const std::vector<Vertex>& vertices,
                         const std::vector<std::uint16_t>& indices, std::uint16_t texture = 0,
                         const std::string& name = "S") {
    w.U16(id);
    w.String(name);
    w.U16(static_cast<std::uint16_t>(vertices.size() - 1));
    w.U16(static_cast<std::uint16_t>(indices.size() - 1));
    w.U16(texture);
    PutVertices(w, vertices);
    for (std::uint16_t i : indices) w.U16(i);
}

// One triangle, shifted by (dx, 0, 0).
inline void PutTriangle(ChunkWriter& w, std::uint16_t id, float dx = 0, std::uint16_t texture = 0,
                     const std::string& name = "S") {
    PutSurface(w, id, {{dx, 0, 0, 0, 0}, {dx + 1, 0, 0, 1, 0}, {dx, 1, 0, 0, 1}}, {0, 1, 2}, texture, name);
}

inline void PutModel(ChunkWriter& w, std::uint16_t surfaces, std::uint8_t solid = 1, std::uint16_t reserved = 0) {
    w.U16(0x0013);
    w.U16(surfaces);
    w.U16(reserved);
    w.U8(solid);
}

inline void PutObject(ChunkWriter& w, std::uint16_t model, Vector3 position = {}, Vector3 axis = {0, 1, 0},
                   float angle = 0) {
    w.U16(0x0014);
    w.U16(model);
    w.Vec3(position);
    w.Vec3(axis);
    w.F32(angle);
}

inline void PutLight(ChunkWriter& w, Vector3 position, Vector3 colour, float range) {
    w.U16(0x0016);
    w.U16(0);
    w.Vec3(position);
    w.Vec3(colour);
    w.F32(123.0f);  // unused
    w.F32(range);
}

inline void PutAnimatedModel(ChunkWriter& w, std::uint16_t parts) {
    w.U16(0x0017);
    w.U16(parts);
}

inline void PutTrack(ChunkWriter& w, std::uint16_t keys) {
    w.U16(0x0018);
    w.U16(keys);
    for (std::uint16_t k = 0; k < keys; ++k) w.Vec3({float(k), 0, 0});
    for (std::uint16_t k = 0; k < keys; ++k) {
        w.F32(0);
        w.F32(0);
        w.F32(0);
        w.F32(1);
    }
}

inline void PutPart(ChunkWriter& w, std::uint16_t texture = 0, Vector3 pivot = {4, 5, 6}, Vector3 second = {7, 8, 9}) {
    w.U16(0x0019);
    w.String("P");
    w.U16(2);  // three vertices
    w.U16(2);  // three indices
    w.U16(texture);
    w.Vec3(pivot);
    w.Vec3(second);
    PutVertices(w, {{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 1, 0, 0, 1}});
    w.U16(0);
    w.U16(1);
    w.U16(2);
}

inline bool Read(const std::vector<std::uint8_t>& bytes, Level& level, std::string& error,
                 LevelReadDetails* details = nullptr, SurfaceLists lists = SurfaceLists::kKept) {
    return ReadLevel(bytes.data(), bytes.size(), "test.vrm", nullptr, level, error, details, lists);
}

inline bool Read(const ChunkWriter& w, Level& level, std::string& error, SurfaceLists lists = SurfaceLists::kKept) {
    return Read(w.bytes, level, error, nullptr, lists);
}

}  // namespace brontal::test
