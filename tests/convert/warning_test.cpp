// Mistakes the game plays without a word are named as build warnings, each made on purpose here;
// a good level gets none.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "convert/convert_files.h"
#include "math/vector_ops.h"

namespace brontal {
namespace {

using namespace test;

// Quads in source space (right-handed), wound counter-clockwise as seen from the side `facing`
// points to, as a modelling tool exports a face that looks that way.
class ObjWriter {
public:
    explicit ObjWriter(std::string turned) : turned_(std::move(turned)) {}
    void Text(const std::string& line) { text_ << line; }
    void Group(const std::string& name) {
        text_ << "o " << name << "\n";
        inside_out_ = name == turned_;
    }
    void Material(const std::string& name) { text_ << "usemtl " << name << "\n"; }
    void Quad(Vector3 a, Vector3 b, Vector3 c, Vector3 d, const Vector3& facing) {
        if ((Dot(Cross(Sub(b, a), Sub(c, a)), facing) < 0) != inside_out_) std::swap(b, d);
        for (const Vector3& p : {a, b, c, d}) text_ << "v " << p.x << " " << p.y << " " << p.z << "\n";
        text_ << "f -4 -3 -2 -1\n";
    }
    // Walls of the rectangle x0..x1 by z 0..200, h high, looking in; `open` leaves out the wall at x.
    void Walls(float x0, float x1, float h, float open) {
        Quad({x0, 0, 0}, {x1, 0, 0}, {x1, h, 0}, {x0, h, 0}, {0, 0, 1});
        Quad({x0, 0, 200}, {x1, 0, 200}, {x1, h, 200}, {x0, h, 200}, {0, 0, -1});
        for (const auto& [x, in] : {std::pair{x0, 1.0f}, std::pair{x1, -1.0f}}) {
            if (x != open) Quad({x, 0, 0}, {x, 0, 200}, {x, h, 200}, {x, h, 0}, {in, 0, 0});
        }
    }
    std::string Text() const { return text_.str(); }

private:
    std::ostringstream text_;
    std::string turned_;
    bool inside_out_ = false;
};

const char* kSceneMtl = "newmtl stone\nKd 0.6 0.6 0.6\nnewmtl wood\nKd 0.5 0.3 0.1\nnewmtl !wood\nKd 0.5 0.3 0.1\n";

// A hall (x 0 to 200, roofed, its floor half stone, half wood) and a yard open to the sky east
// of it (x 200 to 400), open to each other; a crate model. The group named `turned` is turned
// inside out.
std::string SceneObj(const std::string& turned = "") {
    ObjWriter obj(turned);
    obj.Text("mtllib scene.mtl\n");
    obj.Group("hall");
    obj.Material("stone");
    obj.Quad({0, 0, 0}, {100, 0, 0}, {100, 0, 200}, {0, 0, 200}, {0, 1, 0});
    obj.Material("wood");
    obj.Quad({100, 0, 0}, {200, 0, 0}, {200, 0, 200}, {100, 0, 200}, {0, 1, 0});
    obj.Material("stone");
    obj.Quad({0, 150, 0}, {200, 150, 0}, {200, 150, 200}, {0, 150, 200}, {0, -1, 0});
    obj.Walls(0, 200, 150, 200);
    obj.Group("yard");
    obj.Quad({200, 0, 0}, {400, 0, 0}, {400, 0, 200}, {200, 0, 200}, {0, 1, 0});
    obj.Walls(200, 400, 150, 200);
    obj.Group("crate");
    obj.Quad({-10, 20, -10}, {10, 20, -10}, {10, 20, 10}, {-10, 20, 10}, {0, 1, 0});
    obj.Quad({-10, 0, -10}, {10, 0, -10}, {10, 0, 10}, {-10, 0, 10}, {0, -1, 0});
    return obj.Text();
}

const char* kGoodManifest = R"({"geometry": "scene.obj",
  "rooms": [{"group": "hall", "sky": true}, {"group": "yard", "sky": true}],
  "models": [{"group": "crate", "solid": true}],
  "objects": [{"model": "crate", "room": "hall", "position": [40, 0, 40]}],
  "lights": [{"room": "hall", "position": [100, 120, 100], "colour": [1, 1, 1], "range": 500}],
  "start": [150, 40, 100], "figure": "none"})";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(SilentMistakes, EachIsNamedOnceAndAGoodLevelHasNone) {
    const struct {
        const char* name;
        std::string from, to;  // in the manifest; in the scene when inScene is set
        bool inScene;
        const char* expected;  // empty: no warning
        const char* turned = "";  // a group of the scene turned inside out
    } cases[] = {
        {"good", "", "", false, ""},
        {"start in no room", "[150, 40, 100]", "[150, 40, 300]", false, "level.json: start: lies in no room's box"},
        {"start over a floor collision leaves out", "usemtl wood", "usemtl !wood", true,
         "level.json: start: has no floor under it in room \"hall\""},
        {"scene in metres", "\"figure\"", "\"scale\": 0.01, \"figure\"", false,
         "level.json: scale: the scene looks too small for the player figure"},
        {"scene in millimetres", "\"figure\"", "\"scale\": 10, \"figure\"", false,
         "level.json: scale: the scene looks too large for the player figure"},
        {"light outside its room", "[100, 120, 100]", "[300, 120, 100]", false,
         "level.json: lights[0].position: lies outside the box of its room \"hall\" (x 0 to 200, y 0 to 150, z 0 to "
         "200)"},
        {"object outside its room", "[40, 0, 40]", "[40, 0, -40]", false,
         "level.json: objects[0].position: lies outside the box of its room \"hall\""},
        {"object placed by a room's second group", R"({"group": "hall", "sky": true}, {"group": "yard", "sky": true}],
  "models": [{"group": "crate", "solid": true}],
  "objects": [{"model": "crate", "room": "hall", "position": [40, 0, 40])",
         R"({"group": ["yard", "hall"], "sky": true}],
  "models": [{"group": "crate", "solid": true}],
  "objects": [{"model": "crate", "room": "hall", "position": [40, 0, -40])",
         false, "level.json: objects[0].position: lies outside the box of its room \"yard\""},
        {"sky seen from a room without it", "{\"group\": \"hall\", \"sky\": true}", "{\"group\": \"hall\"}", false,
         "level.json: rooms[0]: room \"hall\" can see the open sky of room \"yard\""},
        {"open room without the sky", "{\"group\": \"yard\", \"sky\": true}", "{\"group\": \"yard\"}", false,
         "level.json: rooms[1]: room \"yard\" is open to the sky but does not show the sky"},
        {"room inside out", "", "", true, "level.json: rooms[0]: room \"hall\" looks inside out", "hall"},
        {"model inside out", "", "", true, "level.json: models[0]: model \"crate\" looks inside out", "crate"},
    };
    for (const auto& c : cases) {
        ScratchDirectory dir;
        dir.Write("scene.mtl", kSceneMtl);
        dir.Write("scene.obj", c.inScene ? Replaced(SceneObj(c.turned), c.from, c.to) : SceneObj());
        const std::string manifest = dir.Write("level.json", c.inScene || c.from.empty()
                                                                 ? std::string(kGoodManifest)
                                                                 : Replaced(kGoodManifest, c.from, c.to));
        const Converted out = Convert(manifest);
        ASSERT_TRUE(out.ok) << c.name << ": " << out.error;
        if (*c.expected == '\0') {
            EXPECT_TRUE(out.warnings.empty()) << c.name << ": " << out.warnings.front();
            continue;
        }
        ASSERT_EQ(out.warnings.size(), 1u) << c.name << (out.warnings.empty() ? "" : ": " + out.warnings.front());
        EXPECT_EQ(out.warnings[0].rfind(dir.Path(c.expected), 0), 0u) << c.name << ": " << out.warnings[0];
    }
}

}  // namespace
}  // namespace brontal
