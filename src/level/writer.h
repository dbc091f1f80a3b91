#pragma once
// The level writer: turns a world model back into a level file, chunk by chunk, for tools,
// tests and the sample-level generator. It writes what the reader reads (no derived data):
// header, then per room its room chunk followed by its surfaces, objects and lights, then per
// model its model chunk and surfaces, then per animated model its chunk, tracks and parts, and
// last the texture block with the given complete image files.
#include <cstdint>
#include <vector>

#include "level/world.h"

namespace brontal {

// The counts written in the header, room and model chunks are taken from the level's own
// counts (roomCount, surfaceCount, ...); the records written are the ones in use.
std::vector<std::uint8_t> WriteLevel(const Level& level, const std::vector<std::vector<std::uint8_t>>& textureImages);

// Low-level chunk writer for tests that need files the plain writer would never make.
class ChunkWriter {
public:
    void U8(std::uint8_t v);
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void F32(float v);
    void Vec3(const Vector3& v);
    void String(const std::string& s);  // length byte then bytes
    void Bytes(const void* data, std::size_t size);
    void Id(std::uint16_t chunkId) { U16(chunkId); }
    std::vector<std::uint8_t> bytes;
};

}  // namespace brontal
