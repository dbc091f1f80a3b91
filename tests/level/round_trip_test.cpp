// Writer and reader agree: write a level, read it back, get the same model.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "level/level_bytes.h"

namespace brontal {
namespace {

using namespace test;

Surface MakeSurface(float shift, std::uint16_t texture, const std::string& name) {
    Surface s;
    s.name = name;
    s.vertices = {{shift, 0, 0, 0, 0}, {shift + 1, 0, 0.5f, 1, 0}, {shift, 2, -1, 0, 1}, {shift, 3, 4, 0.25f, 0.75f}};
    s.indices = {0, 1, 2, 2, 1, 3};
    s.vertexCount = 4;
    s.indexCount = 6;
    s.triangleCount = 2;
    s.textureIndex = texture;
    return s;
}

Level SampleLevel() {
    Level level;
    level.levelName = "round trip";
    level.startPosition = {1, 2, 3};
    level.textureCount = 2;
    level.roomCount = 2;
    level.rooms.resize(2);
    for (std::uint16_t r = 0; r < 2; ++r) {
        Room& room = level.rooms[r];
        room.name = r == 0 ? "Hall" : "";
        room.showsSky = r == 0;
        room.visibleRooms = r == 0 ? std::vector<std::uint16_t>{0, 1} : std::vector<std::uint16_t>{};
        room.visibleRoomCount = static_cast<std::uint16_t>(room.visibleRooms.size());
        room.surfaces = {MakeSurface(float(r), 1, "!floor"), MakeSurface(10, 0, "wall")};
        room.surfaceCount = 2;
    }
    RoomObject object;
    object.modelIndex = 0;
    object.position = {5, 0, -5};
    object.rotationAxis = {0, 1, 0};
    object.rotationAngle = 0.5f;
    level.rooms[0].objects = {object};
    level.rooms[0].objectCount = 1;
    RoomLight light;
    light.light.Type = D3DLIGHT_POINT;
    light.light.Ambient = {51, 102, 255, 0};
    light.light.Position = {1, 1, 1};
    light.light.Range = 300;
    light.light.Attenuation0 = 150;
    light.light.Attenuation1 = 0.1f;
    level.rooms[1].lights = {light};
    level.rooms[1].lightCount = 1;

    level.modelCount = 1;
    level.models.resize(1);
    level.models[0].surfaces = {MakeSurface(0, 0, "box")};
    level.models[0].surfaceCount = 1;
    level.models[0].solid = true;
    level.models[0].reserved = 7;

    level.animatedModelCount = 1;
    level.animatedModels.resize(1);
    AnimatedModel& figure = level.animatedModels[0];
    for (int p = 0; p < 2; ++p) {
        AnimatedPart part;
        part.name = "part";
        part.vertices = MakeSurface(float(p), 0, "").vertices;
        part.indices = {0, 1, 2};
        part.vertexCount = 4;
        part.indexCount = 3;
        part.triangleCount = 1;
        part.textureIndex = 1;
        part.pivot = {0, float(p), 0};
        part.secondPoint = {9, 9, 9};
        figure.parts.push_back(part);
        KeyTrack track;
        track.positions = {{0, 0, 0}, {1, 2, 3}};
        track.rotations = {{0, 0, 0, 1}, {0, 0.7071f, 0, 0.7071f}};
        track.keyCount = 2;
        figure.tracks.push_back(track);
    }
    figure.partCount = 2;
    figure.trackCount = 2;
    return level;
}

bool SameSurface(const Surface& a, const Surface& b) {
    return a.name == b.name && a.vertexCount == b.vertexCount && a.indexCount == b.indexCount &&
           a.triangleCount == b.triangleCount && a.textureIndex == b.textureIndex && a.indices == b.indices &&
           a.vertices.size() == b.vertices.size() &&
           std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(Vertex)) == 0;
}

TEST(RoundTrip, WriteThenReadGivesTheSameModel) {
    const Level original = SampleLevel();
    const std::vector<std::vector<std::uint8_t>> images = {{1, 2, 3}, {4, 5}};
    const std::vector<std::uint8_t> bytes = WriteLevel(original, images);
    Level read;
    std::string error;
    LevelReadDetails details;
    ASSERT_TRUE(Read(bytes, read, error, &details)) << error;

    EXPECT_EQ(read.levelName, original.levelName);
    EXPECT_EQ(read.startPosition.z, 3.0f);
    EXPECT_EQ(read.textureCount, 2);
    ASSERT_EQ(read.roomCount, 2);
    for (int r = 0; r < 2; ++r) {
        SCOPED_TRACE(r);
        const Room& a = original.rooms[r];
        const Room& b = read.rooms[r];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.showsSky, b.showsSky);
        EXPECT_EQ(a.visibleRooms, b.visibleRooms);
        ASSERT_EQ(b.surfaceCount, 2);
        EXPECT_TRUE(SameSurface(a.surfaces[0], b.surfaces[0]));
        EXPECT_TRUE(SameSurface(a.surfaces[1], b.surfaces[1]));
        EXPECT_EQ(a.objectCount, b.objectCount);
        EXPECT_EQ(a.lightCount, b.lightCount);
    }
    const RoomObject& object = read.rooms[0].objects[0];
    EXPECT_EQ(object.position.z, -5.0f);
    EXPECT_EQ(object.rotationAngle, 0.5f);
    EXPECT_EQ(object.rotationAxis.y, 1.0f);
    const D3DLIGHT8& light = read.rooms[1].lights[0].light;
    EXPECT_FLOAT_EQ(light.Ambient.g, 102.0f);
    EXPECT_EQ(light.Range, 300.0f);
    ASSERT_EQ(read.modelCount, 1);
    EXPECT_TRUE(SameSurface(original.models[0].surfaces[0], read.models[0].surfaces[0]));
    EXPECT_TRUE(read.models[0].solid);
    EXPECT_EQ(read.models[0].reserved, 7);
    ASSERT_EQ(read.animatedModelCount, 1);
    const AnimatedModel& figure = read.animatedModels[0];
    ASSERT_EQ(figure.partCount, 2);
    ASSERT_EQ(figure.trackCount, 2);
    EXPECT_EQ(figure.parts[1].pivot.y, 1.0f);
    EXPECT_EQ(figure.parts[1].secondPoint.x, 9.0f);
    EXPECT_EQ(figure.parts[1].indices, (std::vector<std::uint16_t>{0, 1, 2}));
    EXPECT_EQ(figure.tracks[1].rotations[1].y, 0.7071f);
    EXPECT_EQ(figure.tracks[1].positions[1].y, 2.0f);
    ASSERT_EQ(details.textureImages.size(), 2u);
    EXPECT_EQ(details.textureImages[1].size, 2u);
    EXPECT_EQ(bytes[details.textureImages[1].offset], 4);

    // The boxes the reader took surface by surface as it read are the ones derived afresh.
    Level derived = read;
    deriveAfterLoad(derived);
    for (int r = 0; r < 2; ++r) {
        for (const auto& [got, want] : {std::pair{read.rooms[r].boxMin, derived.rooms[r].boxMin},
                                        std::pair{read.rooms[r].boxMax, derived.rooms[r].boxMax}}) {
            EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << r;
        }
    }
    EXPECT_EQ(std::memcmp(&read.models[0].boxMax, &derived.models[0].boxMax, sizeof(Vector3)), 0);
    EXPECT_NE(read.rooms[0].boxMax.x, 0.0f);  // the boxes are not all empty

    // Writing what was read gives the same bytes again.
    EXPECT_EQ(WriteLevel(read, images), bytes);
}

TEST(RoundTrip, WriterLaysOutChunksInReaderOrder) {
    const std::vector<std::uint8_t> bytes = WriteLevel(SampleLevel(), {});
    Level read;
    std::string error;
    LevelReadDetails details;
    ASSERT_TRUE(Read(bytes, read, error, &details)) << error;
    std::vector<std::uint16_t> ids;
    for (const ChunkRecord& chunk : details.chunks) ids.push_back(chunk.id);
    const std::vector<std::uint16_t> expected = {16, 17, 18, 18, 20, 17, 18, 18, 22, 19, 21, 23, 24, 24, 25, 25, 34};
    EXPECT_EQ(ids, expected);
    // Slots without an image are written as empty images.
    ASSERT_EQ(details.textureImages.size(), 2u);
    EXPECT_EQ(details.textureImages[0].size, 0u);
}

TEST(RoundTrip, ChunkWriterIsLittleEndian) {
    ChunkWriter w;
    w.U16(0x1234);
    w.U32(0x89ABCDEF);
    w.F32(1.0f);
    w.String("hi");
    EXPECT_EQ(w.bytes, (std::vector<std::uint8_t>{0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0x00, 0x00, 0x80, 0x3F, 2, 'h', 'i'}));
}

}  // namespace
}  // namespace brontal
