// Files that do not fit: each refusal, its one message, and an empty level afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "level/level_bytes.h"

namespace brontal {
namespace {

using namespace test;

// Offsets below: a header named "L" is 24 bytes, a room named "R" without visible rooms 13, a
// triangle surface 76, a room object 32, a light 36, a model 7, an animated model 4.
struct Refusal {
    const char* what;
    std::function<void(ChunkWriter&)> build;
    const char* message;
};

void RawSurfaceFields(ChunkWriter& w, std::uint16_t id, std::uint16_t lastVertex, std::uint16_t lastIndex) {
    w.U16(id);
    w.String("S");
    w.U16(lastVertex);
    w.U16(lastIndex);
    w.U16(0);
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

const Refusal kRefusals[] = {
    {"start position not a number", [](ChunkWriter& w) { PutHeader(w, 0, 0, 0, 0, "L", {1, kNaN, 3}); },
     "byte 16: level header chunk (16) has a start position y that is not a finite number (NaN)"},
    {"infinite vertex", [](ChunkWriter& w) {
         PutHeader(w, 1, 0, 0, 1);
         PutRoom(w, 1, 0, 0);
         PutSurface(w, 18, {{0, 0, 0, 0, 0}, {1, 0, 0, kInfinity, 0}, {0, 1, 0, 0, 1}}, {0, 1, 2});
     },
     "byte 79: room surface chunk (18) has a vertex 1 u that is not a finite number (+infinity)"},
    {"vertex not a number among the first sixteen floats", [](ChunkWriter& w) {
         PutHeader(w, 1, 0, 0, 1);
         PutRoom(w, 1, 0, 0);
         PutSurface(w, 18, {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, kNaN, 0, 0, 1}, {1, 1, 0, 1, 1}}, {0, 1, 2});
     },
     "byte 91: room surface chunk (18) has a vertex 2 y that is not a finite number (NaN)"},
    {"object angle not a number",
     [](ChunkWriter& w) { PutHeader(w, 1, 1, 0, 1); PutRoom(w, 0, 1, 0); PutObject(w, 0, {}, {0, 1, 0}, kNaN); },
     "byte 65: room object chunk (20) has a rotation angle that is not a finite number (NaN)"},
    {"light range infinite", [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 0, 0, 1); PutLight(w, {}, {}, -kInfinity); },
     "byte 69: room light chunk (22) has a range that is not a finite number (-infinity)"},
    {"key rotation not a number", [](ChunkWriter& w) {
         PutHeader(w, 0, 0, 1, 1);
         PutAnimatedModel(w, 1);
         w.U16(0x18);
         w.U16(1);
         w.Vec3({0, 0, 0});
         for (float q : {0.0f, 0.0f, 0.0f, kNaN}) w.F32(q);
     },
     "byte 56: key track chunk (24) has a key rotation 0 w that is not a finite number (NaN)"},
    {"room surface before any room", [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutTriangle(w, 18); },
     "byte 24: room surface chunk (18) before any room chunk"},
    {"object before any room", [](ChunkWriter& w) { PutHeader(w, 1, 1, 0, 1); PutObject(w, 0); },
     "byte 24: room object chunk (20) before any room chunk"},
    {"light before any room", [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutLight(w, {}, {}, 1); },
     "byte 24: room light chunk (22) before any room chunk"},
    {"model surface before any model", [](ChunkWriter& w) { PutHeader(w, 1, 1, 0, 1); PutRoom(w, 0, 0, 0); PutTriangle(w, 21); },
     "byte 37: model surface chunk (21) before any model chunk"},
    {"key track before any animated model", [](ChunkWriter& w) { PutHeader(w, 0, 0, 1, 1); PutTrack(w, 1); },
     "byte 24: key track chunk (24) before any animated model chunk"},
    {"part before any animated model", [](ChunkWriter& w) { PutHeader(w, 0, 0, 1, 1); PutPart(w); },
     "byte 24: animated part chunk (25) before any animated model chunk"},
    {"room before the header", [](ChunkWriter& w) { PutRoom(w, 0, 0, 0); PutHeader(w, 1, 0, 0, 1); },
     "byte 0: room chunk (17) before the level header chunk"},
    {"texture block before the header", [](ChunkWriter& w) { w.U16(0x22); },
     "byte 0: texture block chunk (34) before the level header chunk"},
    {"second header", [](ChunkWriter& w) { PutHeader(w, 0, 0, 0, 0); PutHeader(w, 0, 0, 0, 0); },
     "byte 24: level header chunk (16) comes a second time (the first is at byte 0)"},
    {"second texture block", [](ChunkWriter& w) { PutHeader(w, 0, 0, 0, 0); w.U16(0x22); w.U16(0x22); },
     "byte 26: texture block chunk (34) comes a second time (the first is at byte 24)"},
    {"room beyond the header's count", [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 0, 0, 0); PutRoom(w, 0, 0, 0); },
     "byte 37: room chunk (17) is beyond the header's room count of 1"},
    {"model beyond the header's count", [](ChunkWriter& w) { PutHeader(w, 0, 0, 0, 1); PutModel(w, 0); },
     "byte 24: model chunk (19) is beyond the header's model count of 0"},
    {"animated model beyond the header's count", [](ChunkWriter& w) { PutHeader(w, 0, 0, 0, 1); PutAnimatedModel(w, 0); },
     "byte 24: animated model chunk (23) is beyond the header's animated-model count of 0"},
    {"object beyond the room's count",
     [](ChunkWriter& w) { PutHeader(w, 1, 1, 0, 1); PutRoom(w, 0, 1, 0); PutObject(w, 0); PutObject(w, 0); PutModel(w, 0); },
     "byte 69: room object chunk (20) is beyond the room's declared object count of 1 (room chunk at byte 24)"},
    {"light beyond the room's count",
     [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 0, 0, 1); PutLight(w, {}, {}, 1); PutLight(w, {}, {}, 1); },
     "byte 73: room light chunk (22) is beyond the room's declared light count of 1 (room chunk at byte 24)"},
    {"room surface beyond count + 5",
     [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 0, 0, 0); for (int i = 0; i < 6; ++i) PutTriangle(w, 18); },
     "byte 417: room surface chunk (18) is beyond the room's 5 surface places (declared count + 5; room chunk at byte 24)"},
    {"model surface beyond the model's count",
     [](ChunkWriter& w) { PutHeader(w, 0, 1, 0, 1); PutModel(w, 1); PutTriangle(w, 21); PutTriangle(w, 21); },
     "byte 107: model surface chunk (21) is beyond the model's declared surface count of 1"},
    {"key track beyond the part count",
     [](ChunkWriter& w) { PutHeader(w, 0, 0, 1, 1); PutAnimatedModel(w, 1); PutTrack(w, 0); PutTrack(w, 0); },
     "byte 32: key track chunk (24) is beyond the animated model's part count of 1"},
    {"part beyond the part count", [](ChunkWriter& w) { PutHeader(w, 0, 0, 1, 1); PutAnimatedModel(w, 0); PutPart(w); },
     "byte 28: animated part chunk (25) is beyond the animated model's part count of 0"},
    {"name length byte 128", [](ChunkWriter& w) { w.U16(0x10); w.U8(128); w.Bytes(std::string(140, 'n').data(), 140); },
     "byte 2: level header chunk (16) has a name length byte of 128 (a name holds at most 127 bytes)"},
    {"name length byte 255", [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); w.U16(0x11); w.U8(255); },
     "byte 26: room chunk (17) has a name length byte of 255 (a name holds at most 127 bytes)"},
    {"name holding a line feed", [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 0, 0, 0, {}, 0, "a\nb"); },
     "byte 28: room chunk (17) has a name holding a line feed (0x0A)"},
    {"last vertex 0xFFFF",
     [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 1, 0, 0); RawSurfaceFields(w, 18, 0xFFFF, 2); },
     "byte 41: room surface chunk (18) has a last-vertex field of 0xFFFF"},
    {"last index 0xFFFF",
     [](ChunkWriter& w) { PutHeader(w, 0, 1, 0, 1); PutModel(w, 1); RawSurfaceFields(w, 21, 2, 0xFFFF); },
     "byte 37: model surface chunk (21) has a last-index field of 0xFFFF"},
    {"room surface of 256 triangles",
     [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 1, 0, 0); RawSurfaceFields(w, 18, 2, 767); },
     "byte 43: room surface chunk (18) has 256 triangles; a room surface holds at most 255"},
    {"vertex list past the end",
     [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 1, 0, 0); RawSurfaceFields(w, 18, 1000, 0); },
     "byte 47: room surface chunk (18) runs past the end of the file: 1001 vertices and 1 indices need 20022 bytes, 0 are left"},
    {"key list past the end", [](ChunkWriter& w) { PutHeader(w, 0, 0, 1, 1); PutAnimatedModel(w, 1); w.U16(0x18); w.U16(60000); },
     "byte 32: key track chunk (24) runs past the end of the file: 60000 keys need 1680000 bytes, 0 are left"},
    {"visible list past the end", [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 0, 0, 0); w.bytes[34] = 9; },
     "byte 37: room chunk (17) runs past the end of the file: its 9 visible rooms need 18 bytes, 0 are left"},
    {"image past the end", [](ChunkWriter& w) { PutHeader(w, 0, 0, 0, 2); w.U16(0x22); w.U32(1); w.U8(0); w.U32(0xFFFFFFFF); },
     "byte 31: texture block chunk (34) runs past the end of the file: the image of texture 1 is 4294967295 bytes, 0 are left"},
    {"header cut short", [](ChunkWriter& w) { PutHeader(w, 0, 0, 0, 0); w.bytes.resize(10); },
     "byte 10: level header chunk (16) runs past the end of the file (the chunk starts at byte 0)"},
    {"odd byte after the last chunk", [](ChunkWriter& w) { PutHeader(w, 0, 0, 0, 0); w.U8(0x10); },
     "byte 24: the file ends inside a chunk id (1 byte left)"},
    {"object placing a model that never arrived",
     [](ChunkWriter& w) { PutHeader(w, 1, 2, 0, 1); PutRoom(w, 0, 2, 0); PutObject(w, 0); PutObject(w, 1); PutModel(w, 0); },
     "byte 69: room object chunk (20) places model 1, but the level holds 1 models"},
    {"visible room that never arrived", [](ChunkWriter& w) { PutHeader(w, 2, 0, 0, 1); PutRoom(w, 0, 0, 0, {0, 1}); },
     "byte 24: room chunk (17) lists visible room 1, but the level holds 1 rooms"},
    {"surface texture outside the table",
     [](ChunkWriter& w) { PutHeader(w, 1, 0, 0, 1); PutRoom(w, 1, 0, 0); PutTriangle(w, 18, 0, 1); },
     "byte 45: room surface chunk (18) names texture 1, but the texture table has 1 slots"},
    {"part texture outside the table", [](ChunkWriter& w) { PutHeader(w, 0, 0, 1, 0); PutAnimatedModel(w, 1); PutPart(w, 0); },
     "byte 36: animated part chunk (25) names texture 0, but the texture table has 0 slots"},
    {"index outside the surface",
     [](ChunkWriter& w) {
         PutHeader(w, 1, 0, 0, 1);
         PutRoom(w, 1, 0, 0);
         PutSurface(w, 18, {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}}, {0, 1, 3});
     },
     "byte 111: room surface chunk (18) has index 3 (entry 2) outside its surface's 3 vertices"},
    {"parts without their tracks", [](ChunkWriter& w) { PutHeader(w, 0, 0, 1, 1); PutAnimatedModel(w, 2); PutTrack(w, 1); PutPart(w); PutPart(w); },
     "byte 24: animated model chunk (23) has 2 parts but 1 key tracks; track n animates part n, so every part needs one"},
};

TEST(ReaderRefusals, EachGivesOneMessageAndLeavesTheLevelEmpty) {
    // Leaving the surfaces' lists in the file changes nothing that is checked.
    for (const SurfaceLists lists : {SurfaceLists::kKept, SurfaceLists::kLeftInFile})
    for (const Refusal& refusal : kRefusals) {
        SCOPED_TRACE(refusal.what);
        ChunkWriter w;
        refusal.build(w);
        Level level;
        level.levelName = "stale";
        level.roomCount = 3;
        level.rooms.resize(3);
        std::string error;
        EXPECT_FALSE(Read(w, level, error, lists));
        EXPECT_EQ(error, std::string("test.vrm: ") + refusal.message);
        EXPECT_EQ(level.roomCount, 0);
        EXPECT_TRUE(level.rooms.empty());
        EXPECT_TRUE(level.levelName.empty());
        EXPECT_TRUE(level.TextureTable.empty());
    }
}

TEST(ReaderRefusals, BoundariesThatAreAccepted) {
    // 767 indices are still 255 whole triangles; a count of 127 is the longest name.
    ChunkWriter w;
    PutHeader(w, 1, 0, 0, 1, std::string(127, 'n'));
    PutRoom(w, 1, 0, 0);
    PutSurface(w, 18, {{0, 0, 0, 0, 0}}, std::vector<std::uint16_t>(767, 0));
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    EXPECT_EQ(level.rooms[0].surfaces[0].triangleCount, 255);
}

// A file with every chunk kind, children across other parents, an unknown id, a light of kind 1.
std::vector<std::uint8_t> EveryChunkKind() {
    ChunkWriter w;
    PutHeader(w, 2, 2, 1, 2);
    PutRoom(w, 1, 1, 1, {0, 1}, 1);
    PutTriangle(w, 18);
    PutModel(w, 1);
    PutObject(w, 1, {1, 2, 3});
    PutLight(w, {0, 0, 0}, {1, 1, 1}, 10);
    w.U16(0x0016);
    w.U16(1);
    PutRoom(w, 0, 0, 0, {1});
    PutTriangle(w, 21, 5, 1);
    PutModel(w, 0, 0);
    w.U16(0x001B);
    PutAnimatedModel(w, 1);
    PutTrack(w, 2);
    PutPart(w, 1);
    w.U16(0x22);
    for (int slot = 0; slot < 2; ++slot) {
        w.U32(3);
        w.U8(1);
        w.U8(2);
        w.U8(3);
    }
    return w.bytes;
}

TEST(ReaderRefusals, EveryPrefixOfAValidFileIsReadOrRefusedCleanly) {
    const std::vector<std::uint8_t> full = EveryChunkKind();
    Level level;
    std::string error;
    LevelReadDetails details;
    ASSERT_TRUE(Read(full, level, error, &details)) << error;
    std::vector<bool> boundary(full.size() + 1, false);
    for (const ChunkRecord& chunk : details.chunks) boundary[chunk.offset] = true;
    boundary[full.size()] = true;

    for (std::size_t length = 1; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        const std::vector<std::uint8_t> prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
        Level partial;
        const bool read = Read(prefix, partial, error);
        if (!boundary[length]) {
            EXPECT_FALSE(read) << "a prefix ending inside a chunk was accepted";
        }
        if (!read) {
            EXPECT_EQ(error.rfind("test.vrm: byte ", 0), 0u) << error;
            EXPECT_EQ(partial.roomCount, 0);
            EXPECT_TRUE(partial.rooms.empty());
        }
    }
}

}  // namespace
}  // namespace brontal
