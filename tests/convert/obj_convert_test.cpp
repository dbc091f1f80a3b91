// Converting OBJ scenes written here, then reading the level back with the game's reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "convert/convert_files.h"
#include "math/vector3.h"

namespace brontal {
namespace {

using namespace test;

// Two rooms and a crate. Faces are wound as a modelling tool exports them: counter-clockwise
// seen from their front, right-handed; the room's faces look into the room, the crate's out.
const char* kSceneObj = R"(mtllib scene.mtl
o hall
v 0 0 0
v 200 0 0
v 200 0 200
v 0 0 200
v 0 100 0
v 200 100 0
vt 0 0
vt 1 0
vt 1 1
vt 0 1
usemtl stone
f 1/1 4/4 3/3 2/2
usemtl brick
f 1/1 2/2 6/3 5/4
usemtl !glass
f 1 4 3
o corridor
v 200 0 0
v 400 0 0
v 400 0 100
v 200 0 100
usemtl stone
f -4/1 -1/4 -2/3 -3/2
o crate
v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
v 0 0 1
v 1 0 1
v 1 1 1
v 0 1 1
usemtl crate
f 11 14 13 12
f 15 16 17 18
f 11 15 18 14
f 12 13 17 16
f 11 12 16 15
f 14 18 17 13
)";

const char* kSceneMtl = R"(newmtl stone
Kd 1 1 1
map_Kd textures\stone.png
newmtl brick
map_Kd brick.bmp
newmtl !glass
Kd 0.2 0.4 0.6
newmtl crate
map_Kd crate.jpg
)";

const char* kManifest = R"({
  // The two rooms see each other from the hall only.
  "geometry": "scene.obj",
  "rooms": [
    {"group": "hall", "name": "Entrance Hall", "sky": true, "visible": ["hall", "corridor"]},
    {"group": "corridor"}
  ],
  "models": [{"group": "crate", "solid": true}],
  "objects": [{"model": "crate", "room": "hall", "position": [50, 0, 60], "axis": [1, 2, 3], "angle": 0.7}],
  "lights": [{"room": "corridor", "position": [300, 0, 50], "colour": [0.2, 0.4, 1.0], "range": 600}],
  "start": [100, 30, 100],
  "figure": "none"
})";

struct SceneFiles {
    ScratchDirectory dir;
    std::vector<std::uint8_t> stone, brick, crate;
    std::string manifest;

    SceneFiles() {
        stone = EncodePng(SolidImage(8, 8, 120, 120, 120));
        brick = EncodeBmp(SolidImage(4, 2, 160, 40, 30), 24);
        crate = EncodeJpeg(SolidImage(16, 16, 140, 100, 50));
        dir.Write("textures/stone.png", stone);
        dir.Write("brick.bmp", brick);
        dir.Write("crate.jpg", crate);
        dir.Write("scene.obj", kSceneObj);
        dir.Write("scene.mtl", kSceneMtl);
        manifest = dir.Write("manor.json", kManifest);
    }
};

const Vertex* FindVertex(const Surface& surface, float x, float y, float z) {
    for (const Vertex& v : surface.vertices) {
        if (v.x == x && v.y == y && v.z == z) return &v;
    }
    return nullptr;
}

void ExpectVector(const Vector3& actual, float x, float y, float z) {
    EXPECT_NEAR(actual.x, x, 1e-4f);
    EXPECT_NEAR(actual.y, y, 1e-4f);
    EXPECT_NEAR(actual.z, z, 1e-4f);
}

TEST(ObjConvert, RoomsVisibleListsAndHeader) {
    SceneFiles files;
    const Converted out = Convert(files.manifest);
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_TRUE(out.warnings.empty());
    const Level& level = out.level;

    EXPECT_EQ(level.levelName, "manor");  // the manifest's file name
    ExpectVector(level.startPosition, 100, 30, -100);
    ASSERT_EQ(level.roomCount, 2);
    EXPECT_EQ(level.rooms[0].name, "Entrance Hall");
    EXPECT_EQ(level.rooms[1].name, "corridor");
    EXPECT_TRUE(level.rooms[0].showsSky);
    EXPECT_FALSE(level.rooms[1].showsSky);
    EXPECT_EQ(level.rooms[0].visibleRooms, (std::vector<std::uint16_t>{0, 1}));
    EXPECT_EQ(level.rooms[1].visibleRooms, (std::vector<std::uint16_t>{1}));
    EXPECT_EQ(level.animatedModelCount, 0);

    // The reader's boxes show z negated: the hall runs from z 0 back to -200.
    ExpectVector(level.rooms[0].boxMin, 0, 0, -200);
    ExpectVector(level.rooms[0].boxMax, 200, 100, 0);
    ExpectVector(level.rooms[1].boxMin, 200, 0, -100);
    ExpectVector(level.rooms[1].boxMax, 400, 0, 0);
}

TEST(ObjConvert, WrittenVisibleListsAreKeptAndWarnedAboutWhatTheyLeaveOut) {
    // The hall's floor looks onto the corridor's: a list without the corridor, or without the
    // hall itself, leaves a hole.
    SceneFiles files;
    std::string manifest = kManifest;
    manifest.replace(manifest.find("\"visible\": [\"hall\", \"corridor\"]"), 31, "\"visible\": [\"hall\"]");
    Converted out = Convert(files.dir.Write("own.json", manifest));
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.level.rooms[0].visibleRooms, (std::vector<std::uint16_t>{0}));
    ASSERT_EQ(out.warnings.size(), 1u);
    EXPECT_NE(out.warnings[0].find("room \"hall\" can see room \"corridor\", which the list leaves out"),
              std::string::npos)
        << out.warnings[0];

    manifest.replace(manifest.find("\"visible\": [\"hall\"]"), 19, "\"visible\": [\"corridor\"]");
    out = Convert(files.dir.Write("other.json", manifest));
    ASSERT_TRUE(out.ok) << out.error;
    ASSERT_EQ(out.warnings.size(), 1u);
    EXPECT_NE(out.warnings[0].find("rooms[0].visible: room \"hall\" leaves out itself"), std::string::npos)
        << out.warnings[0];
}

TEST(ObjConvert, SurfacesPerMaterialWithTexturesEmbeddedUnchanged) {
    SceneFiles files;
    const Converted out = Convert(files.manifest);
    ASSERT_TRUE(out.ok) << out.error;
    const Room& hall = out.level.rooms[0];
    ASSERT_EQ(hall.surfaceCount, 3);
    EXPECT_EQ(hall.surfaces[0].name, "stone");
    EXPECT_EQ(hall.surfaces[1].name, "brick");
    EXPECT_EQ(hall.surfaces[2].name, "!glass");
    EXPECT_EQ(hall.surfaces[0].triangleCount, 2);
    EXPECT_EQ(hall.surfaces[0].vertexCount, 4);  // the quad's corners are shared
    EXPECT_EQ(hall.surfaces[2].triangleCount, 1);

    // Slots in first use: stone, brick, the glass colour, then the crate; the corridor's stone
    // shares the hall's slot.
    ASSERT_EQ(out.level.textureCount, 4);
    EXPECT_EQ(hall.surfaces[0].textureIndex, 0);
    EXPECT_EQ(hall.surfaces[1].textureIndex, 1);
    EXPECT_EQ(hall.surfaces[2].textureIndex, 2);
    EXPECT_EQ(out.level.rooms[1].surfaces[0].textureIndex, 0);
    EXPECT_EQ(out.level.models[0].surfaces[0].textureIndex, 3);
    EXPECT_EQ(out.TextureImage(0), files.stone);
    EXPECT_EQ(out.TextureImage(1), files.brick);
    EXPECT_EQ(out.TextureImage(3), files.crate);

    // The untextured material becomes an image of its diffuse colour.
    const std::vector<std::uint8_t> glass = out.TextureImage(2);
    Image decoded;
    std::string error;
    ASSERT_TRUE(DecodeImage(glass.data(), glass.size(), decoded, error)) << error;
    ASSERT_GE(decoded.rgba.size(), 4u);
    EXPECT_EQ(decoded.rgba[0], 51);
    EXPECT_EQ(decoded.rgba[1], 102);
    EXPECT_EQ(decoded.rgba[2], 153);
}

TEST(ObjConvert, FacesAreSeenFromInsideRoomsAndOutsideModels) {
    SceneFiles files;
    const Converted out = Convert(files.manifest);
    ASSERT_TRUE(out.ok) << out.error;
    const Room& hall = out.level.rooms[0];

    // Floors show their clockwise side upwards; the wall at z 0 looks into the hall (towards -z).
    for (const Surface* floor : {&hall.surfaces[0], &out.level.rooms[1].surfaces[0]}) {
        for (std::size_t t = 0; t < floor->triangleCount; ++t) EXPECT_GT(VisibleSide(*floor, t).y, 0.0f) << t;
    }
    for (std::size_t t = 0; t < hall.surfaces[1].triangleCount; ++t) {
        EXPECT_LT(VisibleSide(hall.surfaces[1], t).z, 0.0f) << t;
    }

    // Every crate face looks away from the crate's centre.
    const Model& crate = out.level.models[0];
    ASSERT_EQ(crate.surfaceCount, 1);
    const Surface& box = crate.surfaces[0];
    ASSERT_EQ(box.indexCount, 36);
    const Vector3 centre{0.5f, 0.5f, -0.5f};
    for (std::size_t t = 0; t < 12; ++t) {
        Vector3 middle{0, 0, 0};
        for (std::size_t c = 0; c < 3; ++c) {
            const Vertex& v = box.vertices[box.indices[t * 3 + c]];
            middle = {middle.x + v.x / 3, middle.y + v.y / 3, middle.z + v.z / 3};
        }
        const Vector3 outward{middle.x - centre.x, middle.y - centre.y, middle.z - centre.z};
        const Vector3 side = VisibleSide(box, t);
        EXPECT_GT(Vec3Dot(&side, &outward), 0.0f) << t;
    }
    EXPECT_TRUE(crate.solid);
    ExpectVector(crate.boxMin, 0, 0, -1);
    ExpectVector(crate.boxMax, 1, 1, 0);
}

TEST(ObjConvert, TextureVGrowsDownward) {
    SceneFiles files;
    const Converted out = Convert(files.manifest);
    ASSERT_TRUE(out.ok) << out.error;
    // OBJ's vt (0, 0) is the image's bottom left corner: v = 1 in the game.
    const Surface& floor = out.level.rooms[0].surfaces[0];
    const Vertex* origin = FindVertex(floor, 0, 0, 0);
    const Vertex* far = FindVertex(floor, 200, 0, -200);
    ASSERT_NE(origin, nullptr);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(origin->u, 0.0f);
    EXPECT_EQ(origin->v, 1.0f);
    EXPECT_EQ(far->u, 1.0f);
    EXPECT_EQ(far->v, 0.0f);
}

// Rodrigues' rotation in the source's right-handed space, counter-clockwise looking down the axis.
Vector3 RotateRightHanded(const Vector3& p, Vector3 axis, float angle) {
    const float length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    axis = {axis.x / length, axis.y / length, axis.z / length};
    const float c = std::cos(angle), s = std::sin(angle), dot = axis.x * p.x + axis.y * p.y + axis.z * p.z;
    const Vector3 cross{axis.y * p.z - axis.z * p.y, axis.z * p.x - axis.x * p.z, axis.x * p.y - axis.y * p.x};
    return {p.x * c + cross.x * s + axis.x * dot * (1 - c), p.y * c + cross.y * s + axis.y * dot * (1 - c),
            p.z * c + cross.z * s + axis.z * dot * (1 - c)};
}

TEST(ObjConvert, ObjectsAndLightsLandWhereTheModellingToolShowsThem) {
    SceneFiles files;
    const Converted out = Convert(files.manifest);
    ASSERT_TRUE(out.ok) << out.error;
    const Room& hall = out.level.rooms[0];
    ASSERT_EQ(hall.objectCount, 1);
    const RoomObject& object = hall.objects[0];
    EXPECT_EQ(object.modelIndex, 0);
    EXPECT_TRUE(object.solid);

    // The reader's world-space corners must be the crate's corners turned and moved in the
    // source's own space, then mirrored into the game.
    std::vector<Vector3> expected;
    for (int k = 0; k < 8; ++k) {
        const Vector3 corner{float(k & 1), float((k >> 1) & 1), float((k >> 2) & 1)};  // source model space
        const Vector3 turned = RotateRightHanded(corner, {1, 2, 3}, 0.7f);
        expected.push_back({turned.x + 50, turned.y, -(turned.z + 60)});
    }
    for (const Vector3& corner : object.corners) {
        const auto match = std::find_if(expected.begin(), expected.end(), [&](const Vector3& e) {
            return std::abs(e.x - corner.x) < 1e-3f && std::abs(e.y - corner.y) < 1e-3f &&
                   std::abs(e.z - corner.z) < 1e-3f;
        });
        ASSERT_NE(match, expected.end()) << corner.x << " " << corner.y << " " << corner.z;
        expected.erase(match);
    }

    const Room& corridor = out.level.rooms[1];
    ASSERT_EQ(corridor.lightCount, 1);
    const D3DLIGHT8& light = corridor.lights[0].light;
    EXPECT_EQ(light.Type, D3DLIGHT_POINT);
    EXPECT_NEAR(light.Ambient.r, 51.0f, 1e-3f);
    EXPECT_NEAR(light.Ambient.g, 102.0f, 1e-3f);
    EXPECT_NEAR(light.Ambient.b, 255.0f, 1e-3f);
    EXPECT_EQ(light.Position.x, 300.0f);
    EXPECT_EQ(light.Position.z, -50.0f);
    EXPECT_EQ(light.Range, 600.0f);
}

TEST(ObjConvert, ScaleMultipliesGeometryPositionsAndRanges) {
    SceneFiles files;
    std::string manifest = kManifest;
    manifest.replace(manifest.find("\"figure\""), 0, "\"scale\": 2.5, ");
    const Converted out = Convert(files.dir.Write("scaled.json", manifest));
    ASSERT_TRUE(out.ok) << out.error;
    ExpectVector(out.level.rooms[0].boxMax, 500, 250, 0);
    ExpectVector(out.level.startPosition, 250, 75, -250);
    EXPECT_EQ(out.level.rooms[1].lights[0].light.Range, 1500.0f);
    ExpectVector(out.level.rooms[0].objects[0].position, 125, 0, -150);
}

// A room of 600 triangles of one material: surfaces of 255, 255 and 90 triangles that hold
// every source triangle exactly once, each with its own vertices.
TEST(ObjConvert, RoomSurfacesAreCutAt255Triangles) {
    ScratchDirectory dir;
    std::ostringstream obj;
    obj << "o big\n";
    const int columns = 20, rows = 15;
    for (int z = 0; z <= rows; ++z) {
        for (int x = 0; x <= columns; ++x) obj << "v " << x * 10 << " 0 " << z * 10 << "\n";
    }
    std::set<std::array<float, 9>> source;
    auto id = [&](int x, int z) { return z * (columns + 1) + x + 1; };
    for (int z = 0; z < rows; ++z) {
        for (int x = 0; x < columns; ++x) {
            // Two triangles, counter-clockwise from above.
            obj << "f " << id(x, z) << " " << id(x, z + 1) << " " << id(x + 1, z + 1) << "\n";
            obj << "f " << id(x, z) << " " << id(x + 1, z + 1) << " " << id(x + 1, z) << "\n";
            // The same triangles as the game must hold them: z negated, corners 0, 2, 1.
            const float x0 = x * 10.0f, x1 = x0 + 10, z0 = -z * 10.0f, z1 = z0 - 10;
            source.insert({x0, 0, z0, x1, 0, z1, x0, 0, z1});
            source.insert({x0, 0, z0, x1, 0, z0, x1, 0, z1});
        }
    }
    dir.Write("big.obj", obj.str());
    const Converted out = Convert(dir.Write(
        "big.json", R"({"geometry": "big.obj", "rooms": [{"group": "big"}], "start": [0, 0, 0], "figure": "none"})"));
    ASSERT_TRUE(out.ok) << out.error;
    const Room& room = out.level.rooms[0];
    ASSERT_EQ(room.surfaceCount, 3);
    EXPECT_EQ(room.surfaces[0].triangleCount, 255);
    EXPECT_EQ(room.surfaces[1].triangleCount, 255);
    EXPECT_EQ(room.surfaces[2].triangleCount, 90);
    for (const Surface& surface : room.surfaces) {
        EXPECT_LT(surface.vertexCount, surface.indexCount);  // neighbouring triangles share corners
        for (std::size_t t = 0; t < surface.triangleCount; ++t) {
            std::array<float, 9> triangle{};
            for (std::size_t c = 0; c < 3; ++c) {
                const Vertex& v = surface.vertices[surface.indices[t * 3 + c]];
                triangle[c * 3] = v.x;
                triangle[c * 3 + 1] = v.y;
                triangle[c * 3 + 2] = v.z;
            }
            EXPECT_EQ(source.erase(triangle), 1u) << "a triangle that is not in the source, or is there twice";
        }
    }
    EXPECT_TRUE(source.empty()) << source.size() << " source triangles are missing";
}

TEST(ObjConvert, PolygonsAreTriangulatedAndUnusedGroupsWarned) {
    ScratchDirectory dir;
    dir.Write("p.obj", "o pentagon\nv 0 0 0\nv 0 0 10\nv 10 0 15\nv 20 0 10\nv 20 0 0\nf 1 2 3 4 5\n"
                       "o spare\nv 0 5 0\nv 0 5 1\nv 1 5 0\nf -3 -2 -1\n");
    const Converted out = Convert(dir.Write(
        "p.json", R"({"geometry": "p.obj", "rooms": [{"group": "pentagon"}], "start": [0, 0, 0], "figure": "none"})"));
    ASSERT_TRUE(out.ok) << out.error;
    const Surface& surface = out.level.rooms[0].surfaces[0];
    EXPECT_EQ(surface.triangleCount, 3);
    for (std::size_t t = 0; t < 3; ++t) EXPECT_GT(VisibleSide(surface, t).y, 0.0f);
    // A floor alone is no room to play in: the start and the scale are warned about as well.
    const std::vector<std::string> unused = out.WarningsAbout(dir.Path("p.obj"));
    ASSERT_EQ(unused.size(), 1u);
    EXPECT_NE(unused[0].find("\"spare\""), std::string::npos) << unused[0];
}

// Rooms and models from several files: a room of groups from two files, a prop of two groups
// taken as a whole file, and a name two files share, which must then say its file.
TEST(ObjConvert, SeveralFilesGroupListsAndWholeFileModels) {
    SceneFiles files;
    files.dir.Write("annex.obj", "o hall\nv 0 0 0\nv 0 0 1\nv 1 0 0\nf 1 2 3\n"
                                 "o annex\nv 0 0 300\nv 0 0 400\nv 200 0 400\nf 4 5 6\n");
    files.dir.Write("props/lamp.obj", "g base\nv 0 0 0\nv 0 0 1\nv 1 0 0\nf 1 2 3\n"
                                      "g shade\nv 0 5 0\nv 0 6 0\nv 1 5 0\nf 4 5 6\n");
    std::string manifest = kManifest;
    manifest.replace(manifest.find(R"("scene.obj")"), 11, R"(["scene.obj", "annex.obj"])");
    manifest.replace(manifest.find(R"({"group": "hall",)"), 17, R"({"group": ["scene.obj:hall", "annex"],)");
    manifest.replace(manifest.find(R"("visible": ["hall", "corridor"])"), 31, R"("visible": ["annex", "corridor"])");
    manifest.replace(manifest.find(R"("models": [)") + 11, 0, R"({"file": "props/lamp.obj", "scale": 2}, )");
    manifest.replace(manifest.find(R"("room": "hall")"), 14, R"("room": "annex")");  // any of the room's groups
    manifest.replace(manifest.find(R"("objects": [)") + 12, 0,
                     R"({"model": "lamp", "room": "scene.obj:hall", "position": [10, 0, 10]}, )");
    Converted out = Convert(files.dir.Write("several.json", manifest));
    ASSERT_TRUE(out.ok) << out.error;

    // The hall takes the annex's floor; the other file's "hall" is left out, with a warning.
    ExpectVector(out.level.rooms[0].boxMax, 200, 100, 0);
    ExpectVector(out.level.rooms[0].boxMin, 0, 0, -400);
    EXPECT_EQ(out.level.rooms[0].name, "Entrance Hall");
    EXPECT_EQ(out.level.rooms[0].visibleRooms, (std::vector<std::uint16_t>{0, 1}));
    const std::vector<std::string> annex = out.WarningsAbout(files.dir.Path("annex.obj"));
    ASSERT_EQ(annex.size(), 1u);
    EXPECT_EQ(annex[0].rfind(files.dir.Path("annex.obj") + ": group \"hall\" is neither", 0), 0u) << annex[0];

    // The lamp is both its groups, twice the size, and objects name it by the file's stem.
    ASSERT_EQ(out.level.modelCount, 2);
    ExpectVector(out.level.models[0].boxMax, 2, 12, 0);
    EXPECT_EQ(out.level.rooms[0].objects[0].modelIndex, 0);
    EXPECT_EQ(out.level.rooms[0].objects[1].modelIndex, 1);

    // Unqualified, "hall" could be either file's.
    manifest.replace(manifest.find("scene.obj:hall\", \"annex"), 14, "hall");
    out = Convert(files.dir.Write("ambiguous.json", manifest));
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.error.find("rooms[0].group[0]: group \"hall\" is in more than one geometry file; name one of "
                             "them as \"scene.obj:hall\", \"annex.obj:hall\""),
              std::string::npos)
        << out.error;

    // A group no file has is refused with every file's groups; a file is loaded once.
    manifest.replace(manifest.find("\"hall\", \"annex"), 6, "\"attic\"");
    out = Convert(files.dir.Write("attic.json", manifest));
    EXPECT_NE(out.error.find("rooms[0].group[0]: no geometry file has group \"attic\"; scene.obj has \"hall\", "
                             "\"corridor\", \"crate\"; annex.obj has \"hall\", \"annex\""),
              std::string::npos)
        << out.error;
    manifest.replace(manifest.find(R"("annex.obj"])"), 11, R"("./scene.obj")");
    out = Convert(files.dir.Write("twice.json", manifest));
    EXPECT_NE(out.error.find("geometry[1]: names the same file as \"scene.obj\""), std::string::npos) << out.error;
}

}  // namespace
}  // namespace brontal
