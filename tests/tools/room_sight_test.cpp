// The visibility computation: single rays against hand-made faces, and whole lists on a level of
// box rooms checked against a dense, regular brute-force survey from the same kinds of places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "support/facing_quad.h"
#include "visibility/room_sight.h"
#include "visibility/sight_scene.h"

namespace brontal {
namespace {

constexpr float kHeight = 250.0f, kDoorTop = 180.0f;
constexpr float kInf = std::numeric_limits<float>::infinity();

void Quad(Surface& s, Vector3 a, Vector3 b, Vector3 c, Vector3 d, const Vector3& facing) {
    test::FacingQuad(s, a, b, c, d, facing);
}

// A wall seen from both sides: its inner face and the building's outer skin.
void TwoSided(Surface& s, const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d,
              const Vector3& inwards) {
    Quad(s, a, b, c, d, inwards);
    Quad(s, a, b, c, d, {-inwards.x, -inwards.y, -inwards.z});
}

struct Door {
    char wall;        // 'N' (max z), 'S', 'E' (max x), 'W'
    float from, to;   // along the wall: x for N and S, z for E and W
};

// A closed box room (floor 0, ceiling kHeight) with door openings kDoorTop high. Its walls have
// an outer skin, so that the chase camera, which can swing out of the building, sees walls there.
Room BoxRoom(float x0, float z0, float x1, float z1, const std::vector<Door>& doors) {
    Surface s;
    Quad(s, {x0, 0, z0}, {x1, 0, z0}, {x1, 0, z1}, {x0, 0, z1}, {0, 1, 0});
    Quad(s, {x0, kHeight, z0}, {x1, kHeight, z0}, {x1, kHeight, z1}, {x0, kHeight, z1}, {0, -1, 0});
    struct Wall {
        char name;
        float fixed, low, high;  // the wall's plane, and its run along the other axis
        Vector3 facing;
    };
    for (const Wall& w : {Wall{'N', z1, x0, x1, {0, 0, -1}}, Wall{'S', z0, x0, x1, {0, 0, 1}},
                          Wall{'E', x1, z0, z1, {-1, 0, 0}}, Wall{'W', x0, z0, z1, {1, 0, 0}}}) {
        const auto at = [&w](float along, float y) {
            return w.name == 'N' || w.name == 'S' ? Vector3{along, y, w.fixed} : Vector3{w.fixed, y, along};
        };
        float start = w.low;
        for (const Door& door : doors) {
            if (door.wall != w.name) continue;
            TwoSided(s, at(start, 0), at(door.from, 0), at(door.from, kHeight), at(start, kHeight), w.facing);
            TwoSided(s, at(door.from, kDoorTop), at(door.to, kDoorTop), at(door.to, kHeight), at(door.from, kHeight),
                     w.facing);
            start = door.to;
        }
        TwoSided(s, at(start, 0), at(w.high, 0), at(w.high, kHeight), at(start, kHeight), w.facing);
    }
    Room room;
    room.surfaces.push_back(s);
    room.surfaceCount = 1;
    return room;
}

// Three rooms in a row northwards (0, 1, 2), then east from the last (3) and north again (4):
// nothing seen from room 0 or from the camera behind its player leads into room 4 (the other
// way round the camera can swing into room 2 and look south down the row).
Level BoxRoomsLevel() {
    Level level;
    level.rooms.push_back(BoxRoom(0, 0, 600, 600, {{'N', 260, 340}}));
    level.rooms.push_back(BoxRoom(0, 600, 600, 1200, {{'S', 260, 340}, {'N', 260, 340}}));
    level.rooms.push_back(BoxRoom(0, 1200, 600, 1800, {{'S', 260, 340}, {'E', 1220, 1300}}));
    level.rooms.push_back(BoxRoom(600, 1200, 1200, 1800, {{'W', 1220, 1300}, {'N', 1100, 1180}}));
    level.rooms.push_back(BoxRoom(600, 1800, 1200, 2400, {{'S', 1100, 1180}}));
    level.roomCount = static_cast<std::uint16_t>(level.rooms.size());
    return level;
}

// Every room a regular survey sees from the room: eyes over a grid of standing places looking
// every way, and the chase camera at sixteen headings behind, near and in front of each.
std::vector<bool> BruteForceSight(const SightScene& scene, std::uint16_t room) {
    std::vector<float> nearest(scene.boxMin.size(), kInf);
    bool sky = false;
    const auto survey = [&](const Vector3& origin, const Vector3& forward, const Vector3& right, float halfTan,
                            int steps) {
        const Vector3 up{forward.y * right.z - forward.z * right.y, forward.z * right.x - forward.x * right.z,
                         forward.x * right.y - forward.y * right.x};
        for (int j = 0; j <= steps; ++j) {
            for (int i = 0; i <= steps; ++i) {
                const float s = halfTan * (-1.0f + 2.0f * float(i) / float(steps));
                const float t = halfTan * (-1.0f + 2.0f * float(j) / float(steps));
                Vector3 d{forward.x + s * right.x + t * up.x, forward.y + s * right.y + t * up.y,
                          forward.z + s * right.z + t * up.z};
                const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
                scene.FollowRay(origin, {d.x / length, d.y / length, d.z / length}, nearest, sky);
            }
        }
    };
    const Vector3 axes[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const Vector3 rights[6] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {1, 0, 0}, {-1, 0, 0}, {1, 0, 0}};
    for (const Vector3& p : scene.StandingPoints(room, 100.0f)) {
        for (float lift : {-15.0f, 65.0f}) {
            for (int a = 0; a < 6; ++a) survey({p.x, p.y + lift, p.z}, axes[a], rights[a], 1.0f, 24);
        }
        for (int h = 0; h < 16; ++h) {
            const float heading = float(h) * 3.14159265f / 8.0f;
            const Vector3 look{std::sin(heading), 0.0f, std::cos(heading)}, side{look.z, 0.0f, -look.x};
            for (float back : {160.0f, 100.0f, -150.0f}) {
                const float lift = back == 100.0f ? 40.0f : 60.0f;
                survey({p.x - back * look.x, p.y + lift, p.z - back * look.z}, look, side, 0.8f, 20);
            }
        }
    }
    std::vector<bool> seen(nearest.size());
    for (std::size_t r = 0; r < nearest.size(); ++r) seen[r] = std::isfinite(nearest[r]);
    return seen;
}

TEST(RoomSight, ListsHoldEveryRoomTheSurveySeesAndNoRoomOutOfSight) {
    const Level level = BoxRoomsLevel();
    const std::vector<RoomSight> sights = ComputeRoomSight(level, {});
    const SightScene scene(level, {});
    ASSERT_EQ(sights.size(), level.rooms.size());
    for (std::uint16_t r = 0; r < sights.size(); ++r) {
        const std::vector<std::uint16_t>& list = sights[r].visible;
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list[0], r);
        const std::vector<bool> seen = BruteForceSight(scene, r);
        for (std::uint16_t other = 0; other < seen.size(); ++other) {
            if (!seen[other]) continue;
            EXPECT_NE(std::find(list.begin(), list.end(), other), list.end()) << r << " sees " << other;
        }
        EXPECT_FALSE(sights[r].seesSky);
    }
    // Straight through two doors; around two corners never.
    const auto lists = [&sights](std::uint16_t room, std::uint16_t other) {
        return std::count(sights[room].visible.begin(), sights[room].visible.end(), other) == 1;
    };
    EXPECT_TRUE(lists(0, 2));
    EXPECT_FALSE(lists(0, 4));
    // Nearest first: the room beyond the first door before the one beyond the second.
    EXPECT_LT(std::find(sights[0].visible.begin(), sights[0].visible.end(), 1),
              std::find(sights[0].visible.begin(), sights[0].visible.end(), 2));
}

// Rooms 2 and 4 open to the sky (their ceilings taken away, their boxes kept): a room names the
// sky rooms whose open sky it sees, and room 0, which never sees into room 4, names room 2 only.
TEST(RoomSight, OpenSkyNamesTheRoomsItIsSeenThrough) {
    Level level = BoxRoomsLevel();
    for (std::uint16_t open : {2, 4}) {
        Surface& yard = level.rooms[open].surfaces[0];
        yard.indices.erase(yard.indices.begin() + 6, yard.indices.begin() + 12);  // the ceiling's two triangles
        yard.indexCount = static_cast<std::uint16_t>(yard.indices.size());
        level.rooms[open].showsSky = true;
    }
    const std::vector<RoomSight> sights = ComputeRoomSight(level, {});
    EXPECT_TRUE(sights[0].seesSky);
    EXPECT_EQ(sights[0].skyRooms, (std::vector<std::uint16_t>{2}));
    ASSERT_FALSE(sights[4].skyRooms.empty());
    EXPECT_EQ(sights[4].skyRooms.back(), 4);
}

TEST(RoomSight, RaysPassBackFacesSeeThroughFacesAndCutOutTexturesOnly) {
    Level level;
    for (int r = 0; r < 4; ++r) {
        Room room;
        Surface s;
        s.textureIndex = r == 3 ? 1 : 0;
        s.name = r == 2 ? "!glass" : "pane";
        // Panes across the ray's way at z = 100, 200, 300, 400; the first faces away from it.
        const float z = 100.0f * float(r + 1);
        Quad(s, {-10, -10, z}, {10, -10, z}, {10, 10, z}, {-10, 10, z}, {0, 0, r == 0 ? 1.0f : -1.0f});
        room.surfaces.push_back(s);
        room.surfaceCount = 1;
        level.rooms.push_back(room);
    }
    level.roomCount = 4;
    std::vector<float> nearest(4, kInf);
    bool sky = true;
    // Opaque second pane: the ray stops there.
    EXPECT_EQ(SightScene(level, {false, false}).FollowRay({0, 0, 0}, {0, 0, 1}, nearest, sky), 1);
    EXPECT_FALSE(sky);
    EXPECT_EQ(nearest[0], kInf);
    EXPECT_FLOAT_EQ(nearest[1], 200.0f);
    // A see-through second pane ('!' name on the third, cut-out texture on the fourth).
    level.rooms[1].surfaces[0].name = "!curtain";
    nearest.assign(4, kInf);
    EXPECT_EQ(SightScene(level, {false, true}).FollowRay({0, 0, 0}, {0, 0, 1}, nearest, sky), -1);
    EXPECT_FLOAT_EQ(nearest[3], 400.0f);
    nearest.assign(4, kInf);
    EXPECT_EQ(SightScene(level, {false, false}).FollowRay({0, 0, 0}, {0, 0, 1}, nearest, sky), 3);

    std::vector<std::uint8_t> rgba(8, 255);
    EXPECT_FALSE(HasCutOutTexels(rgba));
    rgba[7] = kAlphaReference - 1;
    EXPECT_TRUE(HasCutOutTexels(rgba));
}

TEST(RoomSight, ComparingAWrittenList) {
    RoomSight sight;
    sight.visible = {2, 0, 3};
    const ListFindings findings = CompareVisibleList(2, {0, 1}, sight);
    EXPECT_TRUE(findings.missesItself);
    EXPECT_EQ(findings.missing, (std::vector<std::uint16_t>{3}));
    EXPECT_EQ(findings.unseen, (std::vector<std::uint16_t>{1}));
}

}  // namespace
}  // namespace brontal
