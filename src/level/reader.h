#pragma once
// The level reader. It walks the chunks from the first byte to the last and fills a Level:
// children join the latest parent of their kind whatever chunks came between; an unknown id
// consumes its two bytes only; a room light of a kind other than 0 is two bytes long and adds no
// light; a room takes up to five surface chunks beyond its declared count. Declared counts only
// size the arrays (never beyond what the rest of the file could fill); after loading every count
// is the number of records that arrived and every array holds exactly those records.
//
// A file that does not fit is refused with one message "FILE: byte N: <chunk> chunk (ID) <problem>":
// a file that ends inside a chunk; a known chunk before the header; a second header or texture
// block; a child before any parent; a child beyond its parent's declared count (beyond count + 5
// for room surfaces); a parent beyond the header's count; a name length byte of 128 or more; a
// name holding a line feed (0x0A); a last-vertex or last-index field of 0xFFFF; a room surface of
// more than 255 triangles; an index outside its surface or part; a texture index outside the
// table; an object placing a model that never arrived; a visible room that never arrived; an
// animated model whose track count differs from its part count (track n animates part n).
// Every float (positions, axes, angles, colours, ranges, vertices, keys, pivots) must be a
// finite number. A refused level is left empty.
//
// Textures: each slot of the texture block becomes a device texture (CreateTextureFromImageInMemory);
// a slot whose image will not decode gets the placeholder texture and the loader's warning names
// the file and the slot. Textures are made only once the whole file has been accepted. Without a
// device the images are only bounded, and the slots stay empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "level/world.h"

namespace brontal {

// One chunk as it lies in the file; length counts the two id bytes.
struct ChunkRecord {
    std::uint32_t offset = 0;
    std::uint16_t id = 0;
    std::uint32_t length = 0;
};

// Where a texture slot's image file lies in the level file.
struct ImageSpan {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// What the walk saw besides the level, for tools. Filled as far as the walk got, also on refusal.
struct LevelReadDetails {
    std::vector<ChunkRecord> chunks;
    std::vector<ImageSpan> textureImages;  // per slot, in slot order
    bool hasHeader = false;
    std::uint16_t declaredRoomCount = 0;  // the header's counts
    std::uint16_t declaredModelCount = 0;
    std::uint16_t declaredAnimatedModelCount = 0;
};

// Whether the room and model surfaces' vertex and index lists are copied out of the file. A tool
// that wants only the verdict, the counts and the boxes leaves them there: every byte is checked
// as for the game and each surface's counts are filled, but its two lists stay empty.
enum class SurfaceLists { kKept, kLeftInFile };

// Reads a level from a complete level file held in memory; name is the file's name in messages.
// Returns false with the message in error and level reset to empty when the file is refused.
bool ReadLevel(const std::uint8_t* data, std::size_t size, const std::string& name, Device* device, Level& level,
               std::string& error, LevelReadDetails* details = nullptr, SurfaceLists lists = SurfaceLists::kKept);

// The path as this platform opens it: a backslash is a directory separator.
std::string LevelPathForOpening(const std::string& path);

// The largest level file read: offsets in the format's tools and details are 32 bits.
inline constexpr std::uint64_t kMaxLevelFileSize = 0xFFFFFFFFu;

// Reads a whole regular file of at most kMaxLevelFileSize bytes (the path as given). On failure
// says why in error: "PATH: cannot open: ...", "PATH: cannot read: a FIFO, not a regular file".
bool ReadLevelFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);

// The one warning for a level that was read but holds neither rooms nor an animated model (an
// empty file, or one of unknown ids only): "warning: NAME: the level holds nothing to draw (...)".
// Empty when the level has something to draw.
std::string NothingToDrawWarning(const std::string& name, const Level& level, bool hasHeader);

}  // namespace brontal
