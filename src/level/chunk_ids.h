#pragma once
// The level file is a flat run of chunks: a 16-bit id, then a payload whose layout the id alone
// decides. There are no chunk lengths; an id the game does not know carries no payload, so only
// its two bytes are consumed. Everything is little-endian.
#include <cstddef>
#include <cstdint>

namespace brontal {

inline constexpr std::uint16_t kChunkLevelHeader = 0x0010;
inline constexpr std::uint16_t kChunkRoom = 0x0011;
inline constexpr std::uint16_t kChunkRoomSurface = 0x0012;
inline constexpr std::uint16_t kChunkModel = 0x0013;
inline constexpr std::uint16_t kChunkRoomObject = 0x0014;
inline constexpr std::uint16_t kChunkModelSurface = 0x0015;
inline constexpr std::uint16_t kChunkRoomLight = 0x0016;
inline constexpr std::uint16_t kChunkAnimatedModel = 0x0017;
inline constexpr std::uint16_t kChunkKeyTrack = 0x0018;
inline constexpr std::uint16_t kChunkAnimatedPart = 0x0019;
inline constexpr std::uint16_t kChunkTextureBlock = 0x0022;

// A room light chunk is a light only when its kind is this; any other kind ends the chunk
// right after the kind field.
inline constexpr std::uint16_t kLightKindPoint = 0;

// A string is a length byte read as signed 8 bits, so it holds at most 127 bytes.
inline constexpr std::size_t kMaxNameLength = 127;
// Room surfaces are drawn with an 8-bit triangle count.
inline constexpr std::size_t kMaxRoomSurfaceTriangles = 255;
// A room may hold this many surface chunks beyond its declared surface count.
inline constexpr std::size_t kSpareRoomSurfaces = 5;
// Counts in the file (rooms, models, textures, a room's objects and lights, a surface's
// vertices) are 16 bits.
inline constexpr std::size_t kMaxRecordCount = 65535;
// A last-vertex or last-index field of this value would make a count of 65,536.
inline constexpr std::uint16_t kInvalidLastIndex = 0xFFFF;

// The smallest each chunk can be, id included: bounds how many can still follow.
inline constexpr std::size_t kMinRoomChunkBytes = 2 + 10;
inline constexpr std::size_t kMinSurfaceChunkBytes = 2 + 7 + 20 + 2;
inline constexpr std::size_t kMinModelChunkBytes = 2 + 5;
inline constexpr std::size_t kRoomObjectChunkBytes = 2 + 30;
inline constexpr std::size_t kPointLightChunkBytes = 2 + 34;
inline constexpr std::size_t kMinAnimatedModelChunkBytes = 2 + 2;
inline constexpr std::size_t kMinKeyTrackChunkBytes = 2 + 2;
inline constexpr std::size_t kMinAnimatedPartChunkBytes = 2 + 31 + 20 + 2;
inline constexpr std::size_t kKeyBytes = 12 + 16;  // one position and one rotation

// "room surface" for 18, "unknown" for ids without a payload.
const char* ChunkName(std::uint16_t id);

}  // namespace brontal
