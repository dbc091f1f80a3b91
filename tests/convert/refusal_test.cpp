// Bad input is refused with one message that starts with the file at fault.
#include <gtest/gtest.h>

#include <sstream>

#include "convert/convert_files.h"

namespace brontal {
namespace {

using namespace test;

const char* kObj = "mtllib scene.mtl\no hall\nv 0 0 0\nv 0 0 1\nv 1 0 0\nusemtl stone\nf 1 2 3\n"
                   "o crate\nv 0 0 0\nv 0 1 0\nv 1 0 0\nf 4 5 6\n";
const char* kMtl = "newmtl stone\nmap_Kd stone.bmp\n";

class Refusals : public ::testing::Test {
protected:
    void SetUp() override {
        obj_ = dir_.Write("scene.obj", kObj);
        mtl_ = dir_.Write("scene.mtl", kMtl);
        dir_.Write("stone.bmp", EncodeBmp(SolidImage(2, 2, 9, 9, 9), 24));
    }

    // Converts a manifest with this text and expects a refusal whose message starts with file.
    std::string Refused(const std::string& manifestText, const std::string& file) {
        const std::string manifest = dir_.Write("level.json", manifestText);
        const Converted out = Convert(manifest);
        EXPECT_FALSE(out.ok);
        const std::string& named = file.empty() ? manifest : file;
        EXPECT_EQ(out.error.rfind(named + ": ", 0), 0u) << out.error;
        return out.error;
    }

    static std::string Manifest(const std::string& rooms, const std::string& extra = "") {
        return R"({"geometry": "scene.obj", "rooms": )" + rooms + extra + R"(, "start": [0, 0, 0], "figure": "none"})";
    }

    ScratchDirectory dir_;
    std::string obj_, mtl_;
};

TEST_F(Refusals, ManifestThatIsNotJsonNamesTheByte) {
    const std::string error = Refused(R"({"geometry": "scene.obj", "rooms": [})", "");
    EXPECT_NE(error.find(": byte 37: not valid JSON"), std::string::npos) << error;
}

TEST_F(Refusals, ManifestValuesOfTheWrongShape) {
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {Manifest(R"([{"group": "hall", "visibel": ["hall"]}])"), "rooms[0].visibel: unknown key"},
        {Manifest(R"([{"group": "hall", "sky": 1}])"), "rooms[0].sky: must be true or false"},
        {Manifest(R"([])"), "rooms: a level needs at least one room"},
        {Manifest(R"([{"group": "hall"}])", R"(, "models": [{"group": "hall"}])"),
         "models[0].group: group \"hall\" is already a room or a model"},
        {Manifest(R"([{"group": "hall"}])",
                  R"(, "lights": [{"room": "hall", "position": [0, 0, 0], "colour": [1.5, 0, 0], "range": 10}])"),
         "lights[0].colour: components must lie between 0 and 1"},
        {Manifest(R"([{"group": "hall", "name": ")" + std::string(128, 'x') + R"("}])"),
         "rooms[0].name: is 128 bytes long"},
        {Manifest(R"([{"group": "hall"}])", R"(, "objects": [{"model": "crate", "room": "hall", "position": [0, 0],)"
                                            R"( "angle": 1}])"),
         "objects[0].position: must be an array of three numbers"},
        {R"({"geometry": "scene.obj", "rooms": [{"group": "hall"}], "figure": "none"})", "needs a \"start\""},
        {R"({"geometry": "scene.obj", "rooms": [{"group": "hall"}], "start": [0, 1e999, 0]})",
         "not valid JSON (number overflow parsing '1e999')"},
        {Manifest(R"([{"group": "hall"}])", R"(, "scale": 1e39)"), "scale: is out of the range of a 32-bit float"},
        {Manifest(R"([{"group": []}])"), "rooms[0].group: must name at least one group"},
        {Manifest(R"([{"group": ["hall", "hall"]}])"), "rooms[0].group[1]: names group \"hall\" twice"},
        {Manifest(R"([{"group": "hall"}])", R"(, "models": [{"group": "crate", "file": "p.obj"}])"),
         "models[0]: takes a \"group\" or a whole \"file\", not both"},
        {Manifest(R"([{"group": "hall"}])", R"(, "models": [{"group": "crate", "scale": 0}])"),
         "models[0].scale: must be greater than 0"},
        {Manifest(R"([{"group": "hall"}])", R"(, "models": [{"file": "a/crate.obj"}, {"group": "crate"}])"),
         "models[1]: a model is already named \"crate\" (models[0])"},
        {R"({"geometry": [], "rooms": [{"group": "hall"}], "start": [0, 0, 0]})",
         "geometry: must name at least one geometry file"},
        {Manifest(R"([{"group": "hall"}, {"group": "corridor", "sky": true, "sky": false}])"),
         "rooms[1].sky: the key comes twice"},
        {Manifest(R"([{"group": "hall"}])", R"(, "start": [1, 2, 3])"), "start: the key comes twice"},
    };
    for (const auto& c : cases) {
        const std::string error = Refused(c.text, "");
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    }
}

TEST_F(Refusals, NamesThatResolveToNothing) {
    std::string error = Refused(Manifest(R"([{"group": "cellar"}])"), obj_);
    EXPECT_NE(error.find("has no group \"cellar\""), std::string::npos) << error;
    EXPECT_NE(error.find("level.json rooms[0].group); its groups: \"hall\", \"crate\""), std::string::npos) << error;

    // A whole-file model takes every group of its file: none of them can be a room as well.
    error = Refused(Manifest(R"([{"group": "hall"}])", R"(, "models": [{"file": "scene.obj"}])"), "");
    EXPECT_NE(error.find("models[0].file: group \"hall\" of scene.obj is already part of rooms[0]"),
              std::string::npos)
        << error;

    error = Refused(Manifest(R"([{"group": "hall", "visible": ["hall", "attic"]}])"), "");
    EXPECT_NE(error.find("rooms[0].visible[1]: no room has group \"attic\""), std::string::npos) << error;

    error = Refused(Manifest(R"([{"group": "hall"}])",
                             R"(, "objects": [{"model": "crate", "room": "hall", "position": [0, 0, 0]}])"),
                    "");
    EXPECT_NE(error.find("objects[0].model: no model is named \"crate\""), std::string::npos) << error;
}

TEST_F(Refusals, MissingOrUndecodableTextureFiles) {
    dir_.Write("scene.mtl", "newmtl stone\nmap_Kd missing.png\n");
    std::string error = Refused(Manifest(R"([{"group": "hall"}])"), mtl_);
    EXPECT_NE(error.find("material \"stone\": texture \"missing.png\""), std::string::npos) << error;
    EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;

    dir_.Write("scene.mtl", "newmtl stone\nmap_Kd notes.png\n");
    dir_.Write("notes.png", "this is text, not a picture");
    error = Refused(Manifest(R"([{"group": "hall"}])"), mtl_);
    EXPECT_NE(error.find("not an image the game decodes"), std::string::npos) << error;

    // A texture no kept face uses is never read.
    dir_.Write("scene.obj", "mtllib scene.mtl\no hall\nv 0 0 0\nv 0 0 1\nv 1 0 0\nf 1 2 3\n");
    EXPECT_TRUE(Convert(dir_.Write("level.json", Manifest(R"([{"group": "hall"}])"))).ok);
}

TEST_F(Refusals, BrokenObjFiles) {
    dir_.Write("scene.obj", "mtllib other.mtl\no hall\nv 0 0 0\nv 0 0 1\nv 1 0 0\nf 1 2 3\n");
    std::string error = Refused(Manifest(R"([{"group": "hall"}])"), dir_.Path("other.mtl"));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;

    dir_.Write("scene.obj", "mtllib scene.mtl\no hall\nv 0 0 0\nv 0 0 1\nv 1 0 0\nusemtl wood\nf 1 2 3\n");
    error = Refused(Manifest(R"([{"group": "hall"}])"), obj_);
    EXPECT_NE(error.find("usemtl names material \"wood\""), std::string::npos) << error;

    dir_.Write("scene.obj", "mtllib \no hall\nv 0 0 0\nv 0 0 1\nv 1 0 0\nf 1 2 3\n");
    error = Refused(Manifest(R"([{"group": "hall"}])"), obj_);
    EXPECT_NE(error.find("an mtllib line names no material library"), std::string::npos) << error;

    // Numbers tinyobjloader would read as 0 or as an infinity without a word.
    dir_.Write("scene.obj", "o hall\nv 0 0 0\nv nan 0 1\nv 1 0 0\nf 1 2 3\n");
    error = Refused(Manifest(R"([{"group": "hall"}])"), obj_);
    EXPECT_NE(error.find("line 3: v value 1 is \"nan\", not a finite number"), std::string::npos) << error;
    dir_.Write("scene.obj", "o hall\nv 0 0 0\nv 0 0 1\nvt 0 1e39\nv 1 0 0\nf 1 2 3\n");
    error = Refused(Manifest(R"([{"group": "hall"}])"), obj_);
    EXPECT_NE(error.find("line 4: vt value 2 is \"1e39\""), std::string::npos) << error;
    dir_.Write("scene.obj", kObj);
    dir_.Write("scene.mtl", "newmtl stone\nKd 1 inf 0\n");
    error = Refused(Manifest(R"([{"group": "hall"}])"), mtl_);
    EXPECT_NE(error.find("line 2: Kd value 2 is \"inf\""), std::string::npos) << error;

    dir_.Write("scene.obj", "o hall\nv 0 0 0\nv 0 0 1\nv 1 0 0\nf 1 2 9\n");
    error = Refused(Manifest(R"([{"group": "hall"}])"), obj_);
    EXPECT_NE(error.find("out of bounds"), std::string::npos) << error;

    // A group without faces is no group at all in OBJ.
    dir_.Write("scene.obj", "o hall\no crate\nv 0 0 0\nv 0 0 1\nv 1 0 0\nf 1 2 3\n");
    error = Refused(Manifest(R"([{"group": "hall"}])"), obj_);
    EXPECT_NE(error.find("has no group \"hall\""), std::string::npos) << error;

    const std::string manifest = dir_.Write("level.json", R"({"geometry": "scene.fbx", "rooms": [{"group": "hall"}],)"
                                                          R"( "start": [0, 0, 0], "figure": "none"})");
    const Converted out = Convert(manifest);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.error.rfind(dir_.Path("scene.fbx") + ": unknown geometry format", 0), 0u) << out.error;
}

// The groups a refusal lists stop after the first 40.
TEST_F(Refusals, UnknownGroupsListTheFirstFortyGroups) {
    std::ostringstream obj;
    for (int g = 0; g < 45; ++g) obj << "o room" << g << "\nv 0 0 0\nv 0 0 1\nv 1 0 0\nf -3 -2 -1\n";
    dir_.Write("scene.obj", obj.str());
    const std::string error = Refused(Manifest(R"([{"group": "room45"}])"), obj_);
    EXPECT_NE(error.find("\"room0\", \"room1\","), std::string::npos) << error;
    EXPECT_NE(error.find("\"room39\" and 5 more"), std::string::npos) << error;
}

// 21,846 triangles that share no corner need 65,538 vertices: one more triangle than a room can hold.
TEST_F(Refusals, RoomOfMoreThan65535Vertices) {
    std::ostringstream obj;
    obj << "o hall\n";
    const int triangles = 21846;
    for (int t = 0; t < triangles; ++t) obj << "v " << t << " 0 0\nv " << t << " 0 1\nv " << t << ".5 0 0\n";
    for (int t = 0; t < triangles; ++t) obj << "f " << 3 * t + 1 << " " << 3 * t + 2 << " " << 3 * t + 3 << "\n";
    dir_.Write("scene.obj", obj.str());
    const std::string error = Refused(Manifest(R"([{"group": "hall"}])"), obj_);
    EXPECT_NE(error.find("needs 65538 vertices"), std::string::npos) << error;
    EXPECT_NE(error.find("at most 65535"), std::string::npos) << error;
}

}  // namespace
}  // namespace brontal
