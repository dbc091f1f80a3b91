// Writes the level reader's seed corpus: small files with every chunk kind, made by the writer
// and by hand for the shapes the writer never makes, and the sample level (its rooms, models and
// figure at full size, each texture a tiny image) so that the fuzzer starts from a real level.
#include <cstdio>
#include <string>
#include <vector>

#include "level/writer.h"
#include "sample/sample_level.h"

namespace {

using namespace brontal;

Surface Quad(float shift, std::uint16_t texture) {
    Surface s;
    s.name = shift < 0 ? "!hidden" : "quad";
    s.vertices = {{shift, 0, 0, 0, 0}, {shift + 1, 0, 0, 1, 0}, {shift, 1, 0, 0, 1}, {shift + 1, 1, 0, 1, 1}};
    s.indices = {0, 1, 2, 2, 1, 3};
    s.vertexCount = 4;
    s.indexCount = 6;
    s.triangleCount = 2;
    s.textureIndex = texture;
    return s;
}

Level FullLevel() {
    Level level;
    level.levelName = "seed";
    level.textureCount = 2;
    level.roomCount = 2;
    level.rooms.resize(2);
    for (std::uint16_t r = 0; r < 2; ++r) {
        Room& room = level.rooms[r];
        room.name = "room";
        room.showsSky = r == 1;
        room.visibleRooms = {0, 1};
        room.visibleRoomCount = 2;
        room.surfaces = {Quad(0, 0), Quad(-2, 1)};
        room.surfaceCount = 2;
        RoomObject object;
        object.position = {3, 0, 3};
        object.rotationAxis = {0, 1, 0};
        object.rotationAngle = 1;
        room.objects = {object};
        room.objectCount = 1;
        RoomLight light;
        light.light.Ambient = {100, 50, 25, 0};
        light.light.Range = 100;
        room.lights = {light};
        room.lightCount = 1;
    }
    level.modelCount = 1;
    level.models.resize(1);
    level.models[0].surfaces = {Quad(0, 1)};
    level.models[0].surfaceCount = 1;
    level.models[0].solid = true;
    level.animatedModelCount = 1;
    level.animatedModels.resize(1);
    AnimatedPart part;
    part.vertices = Quad(0, 0).vertices;
    part.indices = Quad(0, 0).indices;
    part.vertexCount = 4;
    part.indexCount = 6;
    part.triangleCount = 2;
    KeyTrack track;
    track.positions = {{0, 0, 0}, {0, 1, 0}};
    track.rotations = {{0, 0, 0, 1}, {0, 0, 0, 1}};
    track.keyCount = 2;
    level.animatedModels[0].parts = {part, part};
    level.animatedModels[0].tracks = {track, track};
    level.animatedModels[0].partCount = 2;
    level.animatedModels[0].trackCount = 2;
    return level;
}

// A 2 x 1 24-bit BMP.
std::vector<std::uint8_t> TinyBmp() {
    ChunkWriter w;
    w.Bytes("BM", 2);
    w.U32(62);
    w.U32(0);
    w.U32(54);
    w.U32(40);
    w.U32(2);
    w.U32(1);
    w.U16(1);
    w.U16(24);
    for (int i = 0; i < 6; ++i) w.U32(0);
    const std::uint8_t pixels[8] = {0, 0, 255, 0, 255, 0, 0, 0};
    w.Bytes(pixels, sizeof pixels);
    return w.bytes;
}

// Hand-made: unknown ids, a light of kind 1, children across other parents.
std::vector<std::uint8_t> OddShapes() {
    ChunkWriter w;
    w.Id(0x001A);
    w.Id(0x0010);
    w.String("odd");
    w.U16(1);
    w.U16(1);
    w.U16(0);
    w.U16(1);
    w.Vec3({0, 0, 0});
    w.Id(0x0011);
    w.String("");
    w.U16(0);
    w.U16(1);
    w.U16(0);
    w.U16(0);
    w.U8(7);
    w.Id(0x0013);
    w.U16(1);
    w.U16(0);
    w.U8(1);
    w.Id(0x0016);
    w.U16(1);
    w.Id(0x0014);
    w.U16(0);
    for (int i = 0; i < 7; ++i) w.F32(0.5f);
    w.Id(0x0015);
    w.String("");
    w.U16(0);
    w.U16(0);
    w.U16(0);
    for (int i = 0; i < 5; ++i) w.F32(1);
    w.U16(0);
    w.Id(0x0022);
    w.U32(0);
    return w.bytes;
}

std::vector<std::uint8_t> SampleWithTinyTextures() {
    Level level;
    sample::BuildSampleLevel(level);
    const std::vector<std::vector<std::uint8_t>> images(level.textureCount, TinyBmp());
    return WriteLevel(level, images);
}

bool Save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: level_fuzz_seeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    Level empty;
    const bool saved = Save(dir + "/full.vrm", WriteLevel(FullLevel(), {TinyBmp(), {1, 2, 3}})) &&
                       Save(dir + "/header_only.vrm", WriteLevel(empty, {})) &&
                       Save(dir + "/odd_shapes.vrm", OddShapes()) &&
                       Save(dir + "/sample.vrm", SampleWithTinyTextures());
    if (!saved) {
        std::fprintf(stderr, "level_fuzz_seeds: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
