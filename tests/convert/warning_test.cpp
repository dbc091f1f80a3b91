// Mistakes the game plays without a word are named as build warnings, each made on purpose here;
// a good level, and the sample level, get none.
#include <gtest/gtest.h>

#include <sstream>

#include "convert/convert_files.h"
#include "convert/level_checks.h"
#ifdef BRONTAL_HAVE_SAMPLE
#include "sample/sample_level.h"
#endif

namespace brontal {
namespace {

using namespace test;

// Quads in source space (right-handed), wound counter-clockwise as seen from the side `facing`
// points to, as a modelling tool exports a face that looks that way.
class ObjWriter {
public:
    void Text(const std::string& line) { text_ << line; }
    void Group(const std::string& name) { text_ << "o " << name << "\n"; }
    void Material(const std::string& name) { text_ << "usemtl " << name << "\n"; }
    void Quad(Vector3 a, Vector3 b, Vector3 c, Vector3 d, const Vector3& facing) {
        const Vector3 ab{b.x - a.x, b.y - a.y, b.z - a.z}, ac{c.x - a.x, c.y - a.y, c.z - a.z};
        const Vector3 n{ab.y * ac.z - ab.z * ac.y, ab.z * ac.x - ab.x * ac.z, ab.x * ac.y - ab.y * ac.x};
        if (n.x * facing.x + n.y * facing.y + n.z * facing.z < 0) std::swap(b, d);
        for (const Vector3& p : {a, b, c, d}) text_ << "v " << p.x << " " << p.y << " " << p.z << "\n";
        text_ << "f -4 -3 -2 -1\n";
    }
    // Walls of an x-z rectangle, looking in; the wall at x1 has a doorway from z 80 to 120 up to 120.
    void Walls(float x0, float x1, float h, bool doorAtX0, bool doorAtX1) {
        Quad({x0, 0, 0}, {x1, 0, 0}, {x1, h, 0}, {x0, h, 0}, {0, 0, 1});
        Quad({x0, 0, 200}, {x1, 0, 200}, {x1, h, 200}, {x0, h, 200}, {0, 0, -1});
        for (const auto& [x, door, in] : {std::tuple{x0, doorAtX0, 1.0f}, std::tuple{x1, doorAtX1, -1.0f}}) {
            if (!door) {
                Quad({x, 0, 0}, {x, 0, 200}, {x, h, 200}, {x, h, 0}, {in, 0, 0});
                continue;
            }
            Quad({x, 0, 0}, {x, 0, 80}, {x, h, 80}, {x, h, 0}, {in, 0, 0});
            Quad({x, 0, 120}, {x, 0, 200}, {x, h, 200}, {x, h, 120}, {in, 0, 0});
            Quad({x, 120, 80}, {x, 120, 120}, {x, h, 120}, {x, h, 80}, {in, 0, 0});
        }
    }
    std::string Text() const { return text_.str(); }

private:
    std::ostringstream text_;
};

// A hall (x 0 to 200, roofed, its floor half stone, half wood) and a yard open to the sky east
// of it (x 200 to 400), joined by a doorway; a crate model.
const char* kSceneMtl = "newmtl stone\nKd 0.6 0.6 0.6\nnewmtl wood\nKd 0.5 0.3 0.1\nnewmtl !wood\nKd 0.5 0.3 0.1\n";

std::string SceneObj() {
    ObjWriter obj;
    obj.Text("mtllib scene.mtl\n");
    obj.Group("hall");
    obj.Material("stone");
    obj.Quad({0, 0, 0}, {100, 0, 0}, {100, 0, 200}, {0, 0, 200}, {0, 1, 0});
    obj.Material("wood");
    obj.Quad({100, 0, 0}, {200, 0, 0}, {200, 0, 200}, {100, 0, 200}, {0, 1, 0});
    obj.Material("stone");
    obj.Quad({0, 150, 0}, {200, 150, 0}, {200, 150, 200}, {0, 150, 200}, {0, -1, 0});
    obj.Walls(0, 200, 150, false, true);
    obj.Group("yard");
    obj.Quad({200, 0, 0}, {400, 0, 0}, {400, 0, 200}, {200, 0, 200}, {0, 1, 0});
    obj.Walls(200, 400, 150, true, false);
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
        std::string from, to;  // in the manifest; in the scene when sceneFrom is set
        bool inScene;
        const char* expected;  // empty: no warning
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
        {"sky seen from a room without it", "{\"group\": \"hall\", \"sky\": true}", "{\"group\": \"hall\"}", false,
         "level.json: rooms[0]: room \"hall\" can see the open sky of room \"yard\""},
    };
    for (const auto& c : cases) {
        ScratchDirectory dir;
        dir.Write("scene.mtl", kSceneMtl);
        dir.Write("scene.obj", c.inScene ? Replaced(SceneObj(), c.from, c.to) : SceneObj());
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

#ifdef BRONTAL_HAVE_SAMPLE
// The sample level, taken as if a manifest had made it (groups named after the rooms), passes.
// Its making already turns the sky on in every room that sees it, so the sky is left out here.
TEST(SilentMistakes, NoneForTheSampleLevel) {
    Level level;
    sample::BuildSampleLevel(level);
    deriveAfterLoad(level);
    Manifest manifest;
    manifest.path = "sample.json";
    for (std::size_t r = 0; r < level.rooms.size(); ++r) {
        const Room& room = level.rooms[r];
        manifest.rooms.push_back({room.name, room.name, room.showsSky, {}, false, "rooms[" + std::to_string(r) + "]"});
        for (std::size_t o = 0; o < room.objects.size(); ++o) manifest.objects.push_back({"", room.name, {}, {}, 0, "o"});
        for (std::size_t l = 0; l < room.lights.size(); ++l) manifest.lights.push_back({room.name, {}, {}, 0, "l"});
    }
    std::vector<std::string> warnings;
    WarnAboutSilentMistakes(manifest, level, std::vector<RoomSight>(level.rooms.size()), warnings);
    for (const std::string& warning : warnings) ADD_FAILURE() << warning;
}
#endif

}  // namespace
}  // namespace brontal
