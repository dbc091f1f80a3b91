// How the walk reads conforming files: field order, attachment of children, counts.
#include <gtest/gtest.h>

#include <cmath>

#include "level/level_bytes.h"

namespace brontal {
namespace {

using namespace test;

TEST(ReaderGoldenBytes, HeaderFieldsInFileOrderLittleEndian) {
    // Name "AB", no rooms, models or animated models, 0x0103 texture slots, start (1.5, -2, 0.25).
    std::vector<std::uint8_t> bytes = {
        0x10, 0x00,              // level header
        0x02, 'A', 'B',          // name
        0x00, 0x00, 0x00, 0x00,  // rooms, models
        0x00, 0x00, 0x03, 0x01,  // animated models, textures
        0x00, 0x00, 0xC0, 0x3F,  // 1.5f
        0x00, 0x00, 0x00, 0xC0,  // -2.0f
        0x00, 0x00, 0x80, 0x3E,  // 0.25f
    };
    Level level;
    std::string error;
    ASSERT_TRUE(Read(bytes, level, error)) << error;
    EXPECT_EQ(level.levelName, "AB");
    EXPECT_EQ(level.textureCount, 0x0103);
    EXPECT_EQ(level.TextureTable.size(), 0x0103u);
    EXPECT_EQ(level.startPosition.x, 1.5f);
    EXPECT_EQ(level.startPosition.y, -2.0f);
    EXPECT_EQ(level.startPosition.z, 0.25f);
    // A texture block (0x22) with its 259 image sizes missing ends inside the chunk.
    bytes.insert(bytes.end(), {0x22, 0x00});
    EXPECT_FALSE(Read(bytes, level, error));
    EXPECT_EQ(error, "test.vrm: byte 27: texture block chunk (34) runs past the end of the file (the chunk starts at byte 25)");
}

TEST(ReaderGoldenBytes, RoomSurfaceBytes) {
    ChunkWriter w;
    PutHeader(w, 1, 0, 0, 2);
    const std::vector<std::uint8_t> room = {
        0x11, 0x00, 0x03, 'H', 'a', 'l',  // room "Hal"
        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,  // 1 surface, 0 objects, 0 lights, 1 visible
        0x01,                                            // sky
        0x00, 0x00,                                      // visible: room 0
        0x12, 0x00, 0x01, '!',                           // room surface "!"
        0x00, 0x00, 0x00, 0x00, 0x01, 0x00,              // last vertex 0, last index 0, texture 1
        0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x40, 0x40,  // 1, 2, 3
        0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x80, 0x3E,                          // u 0.5, v 0.25
        0x00, 0x00,                                                              // index 0
    };
    w.Bytes(room.data(), room.size());
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    ASSERT_EQ(level.roomCount, 1);
    const Room& r = level.rooms[0];
    EXPECT_EQ(r.name, "Hal");
    EXPECT_TRUE(r.showsSky);
    ASSERT_EQ(r.visibleRooms, std::vector<std::uint16_t>{0});
    ASSERT_EQ(r.surfaceCount, 1);
    const Surface& s = r.surfaces[0];
    EXPECT_EQ(s.name, "!");
    EXPECT_EQ(s.vertexCount, 1);
    EXPECT_EQ(s.indexCount, 1);
    EXPECT_EQ(s.triangleCount, 0);
    EXPECT_EQ(s.textureIndex, 1);
    EXPECT_EQ(s.vertices[0].x, 1.0f);
    EXPECT_EQ(s.vertices[0].y, 2.0f);
    EXPECT_EQ(s.vertices[0].z, 3.0f);
    EXPECT_EQ(s.vertices[0].u, 0.5f);
    EXPECT_EQ(s.vertices[0].v, 0.25f);
    EXPECT_EQ(s.indices[0], 0);
}

TEST(ReaderWalk, EmptyAndUnknownOnlyFilesReadNoChunk) {
    Level level;
    std::string error;
    ASSERT_TRUE(Read(std::vector<std::uint8_t>{}, level, error)) << error;
    EXPECT_EQ(level.roomCount, 0);
    EXPECT_TRUE(level.rooms.empty());
    EXPECT_TRUE(level.TextureTable.empty());
    // Ids 26..33 fall between known ids and are unknown too; each consumes two bytes.
    ASSERT_TRUE(Read(std::vector<std::uint8_t>{0x1A, 0x00, 0x21, 0x00, 0x00, 0x00, 0xFF, 0xFF}, level, error)) << error;
    EXPECT_TRUE(level.rooms.empty());
}

TEST(ReaderWalk, UnknownIdConsumesTwoBytesThenNextChunkReads) {
    ChunkWriter w;
    w.U16(0x001A);
    PutHeader(w, 1, 0, 0, 1);
    w.U16(0x0020);
    PutRoom(w, 1, 0, 0);
    w.U16(0x0100);
    PutTriangle(w, 0x0012);
    Level level;
    std::string error;
    LevelReadDetails details;
    ASSERT_TRUE(Read(w.bytes, level, error, &details)) << error;
    EXPECT_EQ(level.rooms[0].surfaceCount, 1);
    ASSERT_EQ(details.chunks.size(), 6u);
    EXPECT_EQ(details.chunks[0].id, 0x1A);
    EXPECT_EQ(details.chunks[0].length, 2u);
    EXPECT_EQ(details.chunks[1].offset, 2u);
    EXPECT_EQ(details.chunks[1].length, 2u + 21 + 1);
}

TEST(ReaderWalk, LightOfOtherKindIsTwoBytesAndAddsNoLight) {
    ChunkWriter w;
    PutHeader(w, 1, 0, 0, 0);
    PutRoom(w, 0, 0, 1);
    w.U16(0x0016);
    w.U16(1);  // not a light: the next bytes are an id again
    PutLight(w, {1, 2, 3}, {0.2f, 0.4f, 1.0f}, 500);
    w.U16(0x0016);
    w.U16(7);  // beyond the declared light count, but it is no light
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    ASSERT_EQ(level.rooms[0].lightCount, 1);
    const D3DLIGHT8& light = level.rooms[0].lights[0].light;
    EXPECT_EQ(light.Type, D3DLIGHT_POINT);
    EXPECT_FLOAT_EQ(light.Ambient.r, 51.0f);
    EXPECT_FLOAT_EQ(light.Ambient.g, 102.0f);
    EXPECT_FLOAT_EQ(light.Ambient.b, 255.0f);
    EXPECT_EQ(light.Ambient.a, 0.0f);
    EXPECT_EQ(light.Diffuse.r + light.Diffuse.g + light.Diffuse.b + light.Diffuse.a, 0.0f);
    EXPECT_EQ(light.Specular.r + light.Specular.g + light.Specular.b + light.Specular.a, 0.0f);
    EXPECT_EQ(light.Position.x, 1.0f);
    EXPECT_EQ(light.Position.z, 3.0f);
    EXPECT_EQ(light.Range, 500.0f);
    EXPECT_EQ(light.Attenuation0, 150.0f);
    EXPECT_EQ(light.Attenuation1, 0.1f);
    EXPECT_EQ(light.Attenuation2, 0.0f);
    EXPECT_EQ(light.Falloff + light.Theta + light.Phi, 0.0f);
}

TEST(ReaderWalk, RoomSurfaceCountsWhatArrivedUpToFiveSparePlaces) {
    for (int arriving : {0, 2, 8}) {
        ChunkWriter w;
        PutHeader(w, 1, 0, 0, 1);
        PutRoom(w, 3, 0, 0);
        for (int s = 0; s < arriving; ++s) PutTriangle(w, 0x0012, float(s));
        Level level;
        std::string error;
        ASSERT_TRUE(Read(w, level, error)) << arriving << ": " << error;
        EXPECT_EQ(level.rooms[0].surfaceCount, arriving);
        EXPECT_EQ(level.rooms[0].surfaces.size(), std::size_t(arriving));
    }
    ChunkWriter nine;
    PutHeader(nine, 1, 0, 0, 1);
    PutRoom(nine, 3, 0, 0);
    for (int s = 0; s < 9; ++s) PutTriangle(nine, 0x0012);
    Level level;
    std::string error;
    EXPECT_FALSE(Read(nine, level, error));
}

TEST(ReaderWalk, ChildrenJoinTheLatestParentOfTheirKind) {
    ChunkWriter w;
    PutHeader(w, 2, 2, 1, 1);
    PutRoom(w, 2, 1, 0, {}, 0, "first");
    PutModel(w, 2);
    PutTriangle(w, 0x0015, 10);
    PutAnimatedModel(w, 1);
    PutTriangle(w, 0x0012, 20);  // joins room "first" across the model and animated model
    PutObject(w, 1);             // so does this object
    PutRoom(w, 1, 0, 0, {}, 0, "second");
    PutTriangle(w, 0x0015, 30);  // joins model 0 although a room came after it
    PutTrack(w, 2);
    PutPart(w);
    PutModel(w, 1);
    PutTriangle(w, 0x0012, 40);  // joins room "second"
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    ASSERT_EQ(level.roomCount, 2);
    ASSERT_EQ(level.modelCount, 2);
    EXPECT_EQ(level.rooms[0].surfaceCount, 1);
    EXPECT_EQ(level.rooms[0].surfaces[0].vertices[0].x, 20.0f);
    EXPECT_EQ(level.rooms[0].objectCount, 1);
    EXPECT_EQ(level.rooms[1].surfaceCount, 1);
    EXPECT_EQ(level.rooms[1].surfaces[0].vertices[0].x, 40.0f);
    ASSERT_EQ(level.models[0].surfaceCount, 2);
    EXPECT_EQ(level.models[0].surfaces[1].vertices[0].x, 30.0f);
    EXPECT_EQ(level.models[1].surfaceCount, 0);
    EXPECT_EQ(level.animatedModels[0].partCount, 1);
    EXPECT_EQ(level.animatedModels[0].trackCount, 1);
}

TEST(ReaderWalk, DeclaredCountsOnlySizeArrays) {
    ChunkWriter w;
    PutHeader(w, 5, 4, 3, 1);
    PutRoom(w, 0, 9, 9);
    PutModel(w, 7);
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    EXPECT_EQ(level.roomCount, 1);
    EXPECT_EQ(level.rooms.size(), 1u);
    EXPECT_EQ(level.modelCount, 1);
    EXPECT_EQ(level.models.size(), 1u);
    EXPECT_EQ(level.animatedModelCount, 0);
    EXPECT_TRUE(level.animatedModels.empty());
    EXPECT_EQ(level.rooms[0].objectCount, 0);
    EXPECT_EQ(level.rooms[0].lightCount, 0);
    EXPECT_EQ(level.models[0].surfaceCount, 0);
}

TEST(ReaderWalk, PlacesThatNeverFillAreGivenBack) {
    // Every room declares the most children a count can; none arrive. Were each room to keep
    // its places, these 40 KB would hold gigabytes.
    ChunkWriter w;
    PutHeader(w, 3000, 0, 0, 1);
    for (int r = 0; r < 3000; ++r) PutRoom(w, 0xFFFF, 0xFFFF, 0xFFFF);
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    ASSERT_EQ(level.roomCount, 3000);
    std::size_t places = 0;
    for (const Room& room : level.rooms) {
        places += room.surfaces.capacity() + room.objects.capacity() + room.lights.capacity();
    }
    EXPECT_EQ(places, 0u);
}

TEST(ReaderWalk, NamesFlagsAndLists) {
    ChunkWriter w;
    PutHeader(w, 3, 1, 0, 1, "");
    PutRoom(w, 0, 0, 0, {}, 1, "");             // empty name, no visible list, sky
    PutRoom(w, 0, 0, 0, {2, 0, 1}, 2, std::string(127, 'x'));  // sky value 2 leaves the flag off
    PutRoom(w, 0, 0, 0, {}, 0);
    PutModel(w, 0, 3, 0xBEEF);                  // solid value 3 leaves the flag off
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    EXPECT_EQ(level.levelName, "");
    EXPECT_EQ(level.rooms[0].name, "");
    EXPECT_TRUE(level.rooms[0].showsSky);
    EXPECT_EQ(level.rooms[0].visibleRoomCount, 0);
    EXPECT_TRUE(level.rooms[0].visibleRooms.empty());
    EXPECT_EQ(level.rooms[1].name.size(), 127u);
    EXPECT_FALSE(level.rooms[1].showsSky);
    EXPECT_EQ(level.rooms[1].visibleRooms, (std::vector<std::uint16_t>{2, 0, 1}));
    EXPECT_FALSE(level.models[0].solid);
    EXPECT_EQ(level.models[0].reserved, 0xBEEF);
}

TEST(ReaderWalk, TriangleCountsKeepTheirWidths) {
    std::vector<Vertex> vertices(3, Vertex{0, 0, 0, 0, 0});
    std::vector<std::uint16_t> indices765(765, 1);
    std::vector<std::uint16_t> indices900(900, 2);
    ChunkWriter w;
    PutHeader(w, 1, 1, 0, 1);
    PutRoom(w, 1, 0, 0);
    PutSurface(w, 0x0012, vertices, indices765);
    PutModel(w, 1);
    PutSurface(w, 0x0015, vertices, indices900);  // model surfaces may exceed 255 triangles
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    EXPECT_EQ(level.rooms[0].surfaces[0].indexCount, 765);
    EXPECT_EQ(level.rooms[0].surfaces[0].triangleCount, 255);
    EXPECT_EQ(level.models[0].surfaces[0].indexCount, 900);
}

TEST(ReaderWalk, AnimatedModelTracksAndParts) {
    ChunkWriter w;
    PutHeader(w, 0, 0, 1, 2);
    PutAnimatedModel(w, 2);
    PutTrack(w, 3);
    PutPart(w, 1);
    PutTrack(w, 0);
    PutPart(w, 0, {-1, -2, -3});
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    const AnimatedModel& model = level.animatedModels[0];
    ASSERT_EQ(model.partCount, 2);
    ASSERT_EQ(model.trackCount, 2);
    EXPECT_EQ(model.tracks[0].keyCount, 3);
    EXPECT_EQ(model.tracks[0].positions[2].x, 2.0f);
    EXPECT_EQ(model.tracks[0].rotations[2].w, 1.0f);
    EXPECT_EQ(model.tracks[1].keyCount, 0);
    EXPECT_EQ(model.parts[0].textureIndex, 1);
    EXPECT_EQ(model.parts[0].pivot.y, 5.0f);
    EXPECT_EQ(model.parts[0].secondPoint.z, 9.0f);
    EXPECT_EQ(model.parts[0].triangleCount, 1);
    EXPECT_EQ(model.parts[1].pivot.x, -1.0f);
}

TEST(ReaderWalk, ObjectWorldMatrixRotatesThenTranslates) {
    ChunkWriter w;
    PutHeader(w, 1, 1, 0, 1);
    PutRoom(w, 0, 1, 0);
    PutObject(w, 0, {10, 0, 0}, {0, 2, 0}, kPi / 2);  // the axis need not be unit length
    PutModel(w, 0);
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    const Matrix4x4& m = level.rooms[0].objects[0].world;
    // (1, 0, 0) turned a quarter about +y in a left-handed frame goes to (0, 0, -1), then +10 x.
    EXPECT_NEAR(1 * m.m[0][0] + m.m[3][0], 10.0f, 1e-5f);
    EXPECT_NEAR(1 * m.m[0][2] + m.m[3][2], -1.0f, 1e-5f);
    EXPECT_EQ(m.m[3][0], 10.0f);
    EXPECT_EQ(m.m[3][3], 1.0f);
}

TEST(ReaderWalk, PathWithBackslashesOpensWithSlashes) {
    EXPECT_EQ(LevelPathForOpening("LEVELS\\LEVEL_001.VRM"), "LEVELS/LEVEL_001.VRM");
    EXPECT_EQ(LevelPathForOpening("a/b"), "a/b");
}

}  // namespace
}  // namespace brontal
