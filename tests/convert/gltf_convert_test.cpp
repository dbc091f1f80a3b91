// Converting glTF scenes written here: node transforms, base-colour textures, glTF's texture v.
#include <gtest/gtest.h>

#include <cstring>

#include "convert/convert_files.h"

namespace brontal {
namespace {

using namespace test;

std::string Base64(const std::vector<std::uint8_t>& bytes) {
    static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t chunk = (std::uint32_t(bytes[i]) << 16) |
                                    (i + 1 < bytes.size() ? std::uint32_t(bytes[i + 1]) << 8 : 0) |
                                    (i + 2 < bytes.size() ? std::uint32_t(bytes[i + 2]) : 0);
        out += kDigits[(chunk >> 18) & 63];
        out += kDigits[(chunk >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(chunk >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[chunk & 63] : '=';
    }
    return out;
}

template <typename T>
void Append(std::vector<std::uint8_t>& out, std::initializer_list<T> values) {
    for (T value : values) {
        std::uint8_t bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        out.insert(out.end(), bytes, bytes + sizeof(T));
    }
}

// One buffer: a 10 x 10 floor quad counter-clockwise from above (positions at byte 0, texture
// coordinates at 48, indices at 80), then a triangle for the model (positions at 92).
std::vector<std::uint8_t> SceneBuffer() {
    std::vector<std::uint8_t> buffer;
    Append<float>(buffer, {0, 0, 0, 0, 0, 10, 10, 0, 10, 10, 0, 0});
    Append<float>(buffer, {0, 0, 0, 1, 1, 1, 1, 0});
    Append<std::uint16_t>(buffer, {0, 1, 2, 0, 2, 3});
    Append<float>(buffer, {0, 0, 0, 0, 1, 0, 1, 0, 0});
    return buffer;
}

std::string SceneGltf(const std::string& bufferUri, std::size_t bufferSize, const std::string& floorImageUri) {
    return R"({
  "asset": {"version": "2.0"},
  "scene": 0,
  "scenes": [{"nodes": [0, 1, 2]}],
  "nodes": [
    {"name": "hall", "mesh": 0, "translation": [100, 0, 50]},
    {"name": "lamp", "mesh": 1, "translation": [5, 5, 5]},
    {"scale": [-1, 1, 1], "children": [3]},
    {"name": "yard", "mesh": 0, "translation": [20, 0, 0]}
  ],
  "meshes": [
    {"primitives": [{"attributes": {"POSITION": 0, "TEXCOORD_0": 1}, "indices": 2, "material": 0}]},
    {"primitives": [{"attributes": {"POSITION": 3}, "material": 1}]}
  ],
  "materials": [
    {"name": "tiles", "pbrMetallicRoughness": {"baseColorTexture": {"index": 0}}},
    {"name": "brass", "pbrMetallicRoughness": {"baseColorFactor": [1.0, 0.8, 0.2, 1.0]}}
  ],
  "textures": [{"source": 0}],
  "images": [{"uri": ")" + floorImageUri + R"("}],
  "buffers": [{"uri": ")" + bufferUri + R"(", "byteLength": )" + std::to_string(bufferSize) + R"(}],
  "bufferViews": [
    {"buffer": 0, "byteOffset": 0, "byteLength": 48},
    {"buffer": 0, "byteOffset": 48, "byteLength": 32},
    {"buffer": 0, "byteOffset": 80, "byteLength": 12},
    {"buffer": 0, "byteOffset": 92, "byteLength": 36}
  ],
  "accessors": [
    {"bufferView": 0, "componentType": 5126, "count": 4, "type": "VEC3"},
    {"bufferView": 1, "componentType": 5126, "count": 4, "type": "VEC2"},
    {"bufferView": 2, "componentType": 5123, "count": 6, "type": "SCALAR"},
    {"bufferView": 3, "componentType": 5126, "count": 3, "type": "VEC3"}
  ]
})";
}

// The scene's last node, after which the tests add their own.
const std::string kLastNode = R"({"name": "yard", "mesh": 0, "translation": [20, 0, 0]})";

const char* kManifest = R"({
  "geometry": "scene.gltf",
  "rooms": [{"group": "hall", "visible": ["hall", "yard"]}, {"group": "yard", "sky": true}],
  "models": [{"group": "lamp"}],
  "objects": [{"model": "lamp", "room": "yard", "position": [-25, 1, 5]}],
  "start": [105, 10, 55],
  "figure": "none"
})";

TEST(GltfConvert, NodesBecomeRoomsInWorldSpaceAndModelsInTheirOwn) {
    ScratchDirectory dir;
    const std::vector<std::uint8_t> buffer = SceneBuffer();
    const std::vector<std::uint8_t> tiles = EncodePng(SolidImage(4, 4, 10, 200, 30));
    dir.Write("tiles.png", tiles);
    dir.Write("scene.gltf", SceneGltf("data:application/octet-stream;base64," + Base64(buffer), buffer.size(),
                                      "tiles.png"));
    const Converted out = Convert(dir.Write("level.json", kManifest));
    ASSERT_TRUE(out.ok) << out.error;
    const Level& level = out.level;
    ASSERT_EQ(level.roomCount, 2);

    // The hall node's translation applies, then z is negated.
    const Room& hall = level.rooms[0];
    EXPECT_EQ(hall.boxMin.x, 100.0f);
    EXPECT_EQ(hall.boxMax.x, 110.0f);
    EXPECT_EQ(hall.boxMin.z, -60.0f);
    EXPECT_EQ(hall.boxMax.z, -50.0f);
    ASSERT_EQ(hall.surfaceCount, 1);
    EXPECT_EQ(hall.surfaces[0].name, "tiles");
    for (std::size_t t = 0; t < 2; ++t) EXPECT_GT(VisibleSide(hall.surfaces[0], t).y, 0.0f);
    EXPECT_EQ(level.rooms[0].visibleRooms, (std::vector<std::uint16_t>{0, 1}));

    // glTF's v already grows downward: the corner at source (0, 0, 10) keeps (0, 1).
    bool found = false;
    for (const Vertex& v : hall.surfaces[0].vertices) {
        if (v.x == 100.0f && v.z == -60.0f) {
            found = true;
            EXPECT_EQ(v.u, 0.0f);
            EXPECT_EQ(v.v, 1.0f);
        }
    }
    EXPECT_TRUE(found);

    // The yard's parent mirrors x; its floor must still be seen from above.
    const Room& yard = level.rooms[1];
    EXPECT_TRUE(yard.showsSky);
    EXPECT_EQ(yard.boxMin.x, -30.0f);
    EXPECT_EQ(yard.boxMax.x, -20.0f);
    for (std::size_t t = 0; t < 2; ++t) EXPECT_GT(VisibleSide(yard.surfaces[0], t).y, 0.0f);

    // The lamp stays in its own space (the node's translation is the object's business).
    ASSERT_EQ(level.modelCount, 1);
    EXPECT_EQ(level.models[0].boxMin.x, 0.0f);
    EXPECT_EQ(level.models[0].boxMax.y, 1.0f);
    EXPECT_EQ(yard.objects[0].position.z, -5.0f);

    // The texture is the PNG file itself; the untextured brass gets its colour.
    ASSERT_EQ(level.textureCount, 2);
    EXPECT_EQ(out.TextureImage(hall.surfaces[0].textureIndex), tiles);
    const std::vector<std::uint8_t> brass = out.TextureImage(level.models[0].surfaces[0].textureIndex);
    Image decoded;
    std::string error;
    ASSERT_TRUE(DecodeImage(brass.data(), brass.size(), decoded, error)) << error;
    EXPECT_EQ(decoded.rgba[0], 255);
    EXPECT_EQ(decoded.rgba[1], 204);
    EXPECT_EQ(decoded.rgba[2], 51);
}

TEST(GltfConvert, ExternalBufferAndEmbeddedImageFile) {
    ScratchDirectory dir;
    const std::vector<std::uint8_t> buffer = SceneBuffer();
    const std::vector<std::uint8_t> tiles = EncodeBmp(SolidImage(2, 2, 1, 2, 3), 24);
    dir.Write("scene.bin", buffer);
    dir.Write("scene.gltf", SceneGltf("scene.bin", buffer.size(), "data:image/bmp;base64," + Base64(tiles)));
    const Converted out = Convert(dir.Write("level.json", kManifest));
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.TextureImage(out.level.rooms[0].surfaces[0].textureIndex), tiles);
}

// A binary glTF: the JSON chunk, then the buffer with the image in a buffer view of its own.
std::vector<std::uint8_t> Glb(std::string json, std::vector<std::uint8_t> bin) {
    while (json.size() % 4 != 0) json += ' ';
    while (bin.size() % 4 != 0) bin.push_back(0);
    std::vector<std::uint8_t> out;
    Append<std::uint32_t>(out, {0x46546C67u, 2, static_cast<std::uint32_t>(12 + 8 + json.size() + 8 + bin.size())});
    Append<std::uint32_t>(out, {static_cast<std::uint32_t>(json.size()), 0x4E4F534Au});
    out.insert(out.end(), json.begin(), json.end());
    Append<std::uint32_t>(out, {static_cast<std::uint32_t>(bin.size()), 0x004E4942u});
    out.insert(out.end(), bin.begin(), bin.end());
    return out;
}

TEST(GltfConvert, BinaryGltfWithImageInABufferView) {
    ScratchDirectory dir;
    std::vector<std::uint8_t> buffer = SceneBuffer();
    const std::vector<std::uint8_t> tiles = EncodeJpeg(SolidImage(8, 8, 200, 100, 0));
    const std::size_t imageOffset = buffer.size();
    buffer.insert(buffer.end(), tiles.begin(), tiles.end());
    std::string json = SceneGltf("", buffer.size(), "");
    json.replace(json.find(R"({"uri": ""})"), 11,
                 R"({"bufferView": 4, "mimeType": "image/jpeg"})");
    json.replace(json.find(R"("uri": "", )"), 11, "");
    json.replace(json.find(R"({"buffer": 0, "byteOffset": 92, "byteLength": 36})"), 50,
                 R"({"buffer": 0, "byteOffset": 92, "byteLength": 36}, {"buffer": 0, "byteOffset": )" +
                     std::to_string(imageOffset) + R"(, "byteLength": )" + std::to_string(tiles.size()) + "}");
    dir.Write("scene.glb", Glb(json, buffer));
    std::string manifest = kManifest;
    manifest.replace(manifest.find("scene.gltf"), 10, "scene.glb");
    const Converted out = Convert(dir.Write("level.json", manifest));
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.TextureImage(out.level.rooms[0].surfaces[0].textureIndex), tiles);
    EXPECT_EQ(out.level.rooms[0].boxMin.x, 100.0f);
}

// Every ancestor's transform reaches the room at the end of a long chain of nodes.
TEST(GltfConvert, LongNodeChainsCarryEveryAncestorsTransform) {
    ScratchDirectory dir;
    const std::vector<std::uint8_t> buffer = SceneBuffer();
    std::string text = SceneGltf("data:application/octet-stream;base64," + Base64(buffer), buffer.size(), "x.png");
    constexpr int kChain = 3000;  // nodes between the scene's root and the room
    std::string chain;
    for (int n = 0; n < kChain; ++n)
        chain += R"(, {"translation": [1, 0, 0], "children": [)" + std::to_string(n == kChain - 1 ? 0 : 5 + n) + "]}";
    text.replace(text.find(kLastNode) + kLastNode.size(), 0, chain);
    text.replace(text.find(R"("nodes": [0, 1, 2])"), 18, R"("nodes": [4, 1, 2])");
    dir.Write("scene.gltf", text);
    dir.Write("x.png", EncodePng(SolidImage(2, 2, 1, 2, 3)));
    const Converted out = Convert(dir.Write("level.json", kManifest));
    ASSERT_TRUE(out.ok) << out.error;
    float minX = 1e9f;
    for (const Surface& surface : out.level.rooms[0].surfaces)
        for (const Vertex& v : surface.vertices) minX = std::min(minX, v.x);
    EXPECT_EQ(minX, 100.0f + kChain);  // the hall's own 100 and 1 from each ancestor
}

TEST(GltfConvert, RefusesBrokenAccessorsNamingTheFile) {
    ScratchDirectory dir;
    const std::vector<std::uint8_t> buffer = SceneBuffer();
    dir.Write("tiles.png", EncodePng(SolidImage(4, 4, 10, 200, 30)));
    const std::string manifest = dir.Write("level.json", kManifest);
    const std::string good = SceneGltf("scene.bin", buffer.size(), "tiles.png");
    dir.Write("scene.bin", buffer);

    struct Case {
        const char* what;
        std::string from, to;
        const char* expected;
    };
    const Case cases[] = {
        {"elements beyond the view", R"("componentType": 5126, "count": 4, "type": "VEC3")",
         R"("componentType": 5126, "count": 5, "type": "VEC3")", "run past its buffer view"},
        {"index beyond the vertices", R"("byteOffset": 80, "byteLength": 12})", R"("byteOffset": 20, "byteLength": 12})",
         "is outside its 4 vertices"},
        {"not triangles", R"("indices": 2, "material": 0)", R"("indices": 2, "material": 0, "mode": 1)",
         "is not a triangle list"},
        {"two nodes of one name", R"("name": "lamp")", R"("name": "hall")", "nodes are named \"hall\""},
        {"negative byte offset", R"("byteOffset": 48)", R"("byteOffset": -8)",
         "bufferViews[1].byteOffset is -8; it must be a whole number of 0 or more"},
        {"number beyond a float", R"("translation": [100, 0, 50])", R"("translation": [1e39, 0, 50])",
         "nodes[0].translation[0] is 1e+39, beyond the range of a 32-bit float"},
        {"number beyond a double", R"("translation": [100, 0, 50])", R"("translation": [1e999, 0, 50])",
         "not valid JSON"},
        {"zero scale", R"("scale": [-1, 1, 1])", R"("scale": [0, 1, 1])",
         "node 2: its transform flattens its geometry (a scale of 0)"},
        {"node its own child", R"("children": [3])", R"("children": [2])", "node 2 is its own child"},
        {"nodes each other's child", R"("translation": [20, 0, 0]})", R"("translation": [20, 0, 0], "children": [2]})",
         "is its own ancestor"},
        {"required extension", R"("asset": {"version": "2.0"})",
         R"("asset": {"version": "2.0"}, "extensionsRequired": ["KHR_draco_mesh_compression"])",
         "extensionsRequired: the file needs KHR_draco_mesh_compression (Draco-compressed meshes), which the "
         "converter cannot read"},
        {"missing buffer file", R"("uri": "scene.bin")", R"("uri": "lost.bin")",
         "buffers[0]: buffer file \"lost.bin\" cannot be read (cannot open: No such file or directory)"},
        {"buffer file of another length", R"("byteLength": 128})", R"("byteLength": 256})",
         "buffers[0]: buffer file \"scene.bin\" holds 128 bytes; its byteLength says 256"},
        {"two nodes of one name listed by index", R"("name": "lamp")", R"("name": "yard")", "\"#1\", \"#3\""},
    };
    for (const Case& c : cases) {
        std::string text = good;
        const std::size_t at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.what;
        text.replace(at, c.from.size(), c.to);
        const std::string gltf = dir.Write("scene.gltf", text);
        const Converted out = Convert(manifest);
        EXPECT_FALSE(out.ok) << c.what;
        EXPECT_EQ(out.error.rfind(gltf + ": ", 0), 0u) << c.what << ": " << out.error;
        EXPECT_NE(out.error.find(c.expected), std::string::npos) << c.what << ": " << out.error;
    }
}

// Models keep their nodes' rotations and scales, parents' included, but not their places.
TEST(GltfConvert, ModelsComeAtTheirAuthoredSizeAndOrientation) {
    ScratchDirectory dir;
    const std::vector<std::uint8_t> buffer = SceneBuffer();
    std::string text = SceneGltf("data:application/octet-stream;base64," + Base64(buffer), buffer.size(), "t.png");
    // Node 4 works in centimetres; node 5, without a name, turns its triangle a quarter about x;
    // node 6 mirrors its own.
    text.replace(text.find(kLastNode) + kLastNode.size(), 0,
                 R"(, {"name": "centimetres", "scale": [0.01, 0.01, 0.01], "translation": [500, 0, 0],)"
                 R"( "children": [5, 6]},)"
                 R"( {"mesh": 1, "rotation": [0.70710678, 0, 0, 0.70710678], "translation": [300, 0, 0]},)"
                 R"( {"name": "mirrored", "mesh": 1, "scale": [-1, 1, 1], "translation": [0, 200, 0]})");
    text.replace(text.find(R"("nodes": [0, 1, 2])"), 18, R"("nodes": [0, 1, 2, 4])");
    dir.Write("scene.gltf", text);
    dir.Write("t.png", EncodePng(SolidImage(2, 2, 1, 2, 3)));
    std::string manifest = kManifest;
    manifest.replace(manifest.find(R"([{"group": "lamp"}])"), 19,
                     R"([{"group": "lamp"}, {"group": "#5", "name": "crate", "scale": 50},)"
                     R"( {"group": "mirrored", "scale": 100}])");
    manifest.replace(manifest.find("\"figure\""), 0, "\"scale\": 2, ");
    const Converted out = Convert(dir.Write("level.json", manifest));
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.WarningsAbout(dir.Path("scene.gltf")), std::vector<std::string>{});
    ASSERT_EQ(out.level.modelCount, 3);

    // The triangle (0, 0, 0), (0, 1, 0), (1, 0, 0) faces -z. Turned a quarter about x it lies
    // flat, facing up, its corner at (0, 0, 1); 0.01 x 50 x 2 makes it 1 long; no translation.
    const Model& crate = out.level.models[1];
    EXPECT_NEAR(crate.boxMin.x, 0.0f, 1e-5f);
    EXPECT_NEAR(crate.boxMax.x, 1.0f, 1e-5f);
    EXPECT_NEAR(crate.boxMax.y, 0.0f, 1e-5f);
    EXPECT_NEAR(crate.boxMin.z, -1.0f, 1e-5f);
    EXPECT_GT(VisibleSide(crate.surfaces[0], 0).y, 0.0f);

    // Mirrored in x it reaches to x = -2 and still shows its front towards -z (the game's +z).
    const Model& mirrored = out.level.models[2];
    EXPECT_NEAR(mirrored.boxMin.x, -2.0f, 1e-5f);
    EXPECT_NEAR(mirrored.boxMax.y, 2.0f, 1e-5f);
    EXPECT_GT(VisibleSide(mirrored.surfaces[0], 0).z, 0.0f);

    // Two groups: the first one's origin is the model's, the second keeps its place from it,
    // (503, 0, 0) - (500, 2, 0) in the scene, 200 times that in the level.
    const std::string models = R"({"group": "#5", "name": "crate", "scale": 50}, {"group": "mirrored", "scale": 100})";
    std::string pair = manifest;
    pair.replace(pair.find(models), models.size(), R"({"group": ["mirrored", "#5"], "scale": 100})");
    Converted two = Convert(dir.Write("pair.json", pair));
    ASSERT_TRUE(two.ok) << two.error;
    EXPECT_NEAR(two.level.models[1].boxMin.x, -2.0f, 1e-3f);
    EXPECT_NEAR(two.level.models[1].boxMax.x, 602.0f, 1e-3f);
    EXPECT_NEAR(two.level.models[1].boxMin.y, -400.0f, 1e-3f);

    // A whole file keeps every node where the file puts it: the yard under its mirroring parent
    // reaches x = -30.
    dir.Write("copy.gltf", text);
    std::string whole = manifest;
    whole.replace(whole.find(models), models.size(), R"({"file": "copy.gltf"})");
    two = Convert(dir.Write("whole.json", whole));
    ASSERT_TRUE(two.ok) << two.error;
    EXPECT_NEAR(two.level.models[1].boxMin.x, -60.0f, 1e-3f);
    EXPECT_NEAR(two.level.models[1].boxMax.x, 2 * 503.01f, 1e-3f);
}

// A mesh the converter cannot read stops only a level that uses it.
TEST(GltfConvert, AnUnreadableMeshStopsOnlyTheLevelThatUsesIt) {
    ScratchDirectory dir;
    const std::vector<std::uint8_t> buffer = SceneBuffer();
    std::string text = SceneGltf("data:application/octet-stream;base64," + Base64(buffer), buffer.size(), "t.png");
    text.replace(text.find(kLastNode) + kLastNode.size(), 0, R"(, {"mesh": 2})");
    const std::string lastMesh = R"({"primitives": [{"attributes": {"POSITION": 3}, "material": 1}]})";
    text.replace(text.find(lastMesh) + lastMesh.size(), 0,
                 R"(, {"primitives": [{"attributes": {"POSITION": 3}, "mode": 1}]})");
    const std::string gltf = dir.Write("scene.gltf", text);
    dir.Write("t.png", EncodePng(SolidImage(2, 2, 1, 2, 3)));
    Converted out = Convert(dir.Write("level.json", kManifest));
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.WarningsAbout(gltf), std::vector<std::string>{gltf + ": group #4 is neither a room nor a model in " +
                                                                dir.Path("level.json") + "; it is left out"});

    std::string manifest = kManifest;
    manifest.replace(manifest.find(R"({"group": "lamp"})"), 17, R"({"group": "lamp"}, {"group": "#4"})");
    out = Convert(dir.Write("level.json", manifest));
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.error, gltf + ": node 4 mesh 2 primitive 0: mode 1 is not a triangle list");
}

// Every feature the converter leaves out is named once per file, however many places use it.
TEST(GltfConvert, DroppedFeaturesAreNamedOncePerFile) {
    ScratchDirectory dir;
    const std::vector<std::uint8_t> buffer = SceneBuffer();
    dir.Write("tiles.png", EncodePng(SolidImage(4, 4, 10, 200, 30)));
    dir.Write("scene.bin", buffer);
    const std::string manifest = dir.Write("level.json", kManifest);
    const std::string good = SceneGltf("scene.bin", buffer.size(), "tiles.png");
    const struct {
        std::string from, to;
        const char* feature;
        const char* expected;
    } cases[] = {
        {R"("baseColorTexture": {"index": 0})",
         R"("baseColorTexture": {"index": 0, "extensions": {"KHR_texture_transform": {"scale": [2, 2]}}})",
         "KHR_texture_transform", "materials[0].pbrMetallicRoughness.baseColorTexture.extensions: the converter"},
        {R"("TEXCOORD_0": 1})", R"("TEXCOORD_0": 1, "TEXCOORD_1": 1})", "TEXCOORD_1",
         "meshes[0].primitives[0].attributes.TEXCOORD_1: the converter does not read TEXCOORD_1"},
        {R"({"POSITION": )", R"({"COLOR_0": 0, "POSITION": )", "COLOR_0", "vertex colours are left out (1 more place"},
        {R"("scene": 0,)", R"("scene": 0, "skins": [{"joints": [1], "inverseBindMatrices": 0}],)", "skins", "skins: the converter does not read"},
        {R"("indices": 2,)", R"("indices": 2, "targets": [{"POSITION": 0}],)", "morph targets", "base shape"},
        {R"("scene": 0,)", R"("scene": 0, "extensionsUsed": ["KHR_lights_punctual", "KHR_texture_transform"],)",
         "KHR_lights_punctual", "extensionsUsed: the converter does not read KHR_lights_punctual"},
    };
    for (const auto& c : cases) {
        std::string text = good;
        for (std::size_t at = text.find(c.from); at != std::string::npos; at = text.find(c.from, at + c.to.size())) {
            text.replace(at, c.from.size(), c.to);
        }
        dir.Write("scene.gltf", text);
        const Converted out = Convert(manifest);
        ASSERT_TRUE(out.ok) << c.feature << ": " << out.error;
        std::size_t naming = 0;
        for (const std::string& warning : out.warnings) {
            if (warning.find(c.feature) == std::string::npos) continue;
            ++naming;
            EXPECT_EQ(warning.rfind(dir.Path("scene.gltf") + ": ", 0), 0u) << warning;
            EXPECT_NE(warning.find(c.expected), std::string::npos) << warning;
        }
        EXPECT_EQ(naming, 1u) << c.feature;
    }
}

}  // namespace
}  // namespace brontal
