// Key scripts played in the game's own frame loop on the sample level (null backend): the state
// log must show the walk, the fall, the wall, the back-step and the sky as the game rules them.
#include <gtest/gtest.h>

#include <cmath>

#include "app/preview_run.h"
#include "device/device.h"
#include "e2e/e2e_paths.h"
#include "e2e/game_session.h"
#include "e2e/sample_game_environment.h"
#include "level/world.h"
#include "player/player.h"
#include "render/frame_render.h"
#include "shell/keys.h"

namespace brontal::e2e {
namespace {

class E2eWalk : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(SampleGameReady(error)) << error;
    }
    ScriptRun Play(const std::string& script, double dt, long long frames) {
        std::string error;
        auto run = RunScript(script, dt, frames, error);
        EXPECT_TRUE(run) << error;
        return run ? std::move(*run) : ScriptRun{};
    }
};

constexpr float kGalleryTop = 150.0f + 25.0f + 1.0f;  // standing on the gallery floor
constexpr float kQuarterTurn = 1.57079633f;

bool Finite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool Same(const Vector3& a, const Vector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

TEST_F(E2eWalk, TourVisitsEveryRoomInTurnAndEndsOnEscape) {
    const ScriptRun run = Play(StoredScript("grand_tour.keys"), kTourDt, 100000);
    ASSERT_FALSE(run.log.empty());
    // ESCAPE at frame 1840: that frame runs and is logged, then the loop ends.
    EXPECT_EQ(run.log.size(), 1841u);
    EXPECT_EQ(run.log.back().frame, 1840);

    const std::vector<std::string> expected = {"Entrance Hall", "Long Corridor", "Library",   "Long Corridor",
                                               "Stair Hall",    "Upper Gallery", "Stair Hall", "Long Corridor",
                                               "Courtyard",     "Walled Garden"};
    EXPECT_EQ(RoomSequence(run.log), expected);

    for (const StateLine& s : run.log) {
        ASSERT_TRUE(Finite(s.position)) << "frame " << s.frame;
        ASSERT_TRUE(s.currentRoomName) << "frame " << s.frame;
        // Standing on a floor: never below the ground floor's 25, never above the gallery's.
        EXPECT_GE(s.position.y, 24.0f) << "frame " << s.frame;
        EXPECT_LE(s.position.y, kGalleryTop) << "frame " << s.frame;
        EXPECT_GT(s.trianglesDrawn, 0) << "frame " << s.frame;
        ASSERT_FALSE(s.visibleRooms.empty());
        EXPECT_EQ(s.visibleRooms.front(), s.currentRoom) << "a room lists itself first; frame " << s.frame;
    }
    const StateLine& last = run.log.back();
    EXPECT_GT(last.position.z, 1840.0f) << "behind the fence";
    EXPECT_NEAR(last.position.y, 25.0f, 0.01f);
    // Frame 0 runs at the timer's start rate, the rest at the fixed step.
    EXPECT_FLOAT_EQ(run.log[0].dt, 1.0f / 30.0f);
    EXPECT_FLOAT_EQ(run.log[1].dt, static_cast<float>(kTourDt));
}

TEST_F(E2eWalk, SkyTurnsOnlyInRoomsThatShowIt) {
    const ScriptRun run = Play(StoredScript("grand_tour.keys"), kTourDt, 100000);
    ASSERT_EQ(run.skyAngle.size(), run.log.size());
    float previous = 0.0f;
    int skyFrames = 0;
    for (std::size_t i = 0; i < run.log.size(); ++i) {
        const StateLine& s = run.log[i];
        ASSERT_LT(s.currentRoom, g_level.roomCount);
        const bool sky = g_level.rooms[s.currentRoom].showsSky;
        const float expected = sky ? previous + kSkyAngleStep : previous;
        ASSERT_EQ(run.skyAngle[i], expected) << "frame " << s.frame << " in " << *s.currentRoomName;
        skyFrames += sky;
        previous = run.skyAngle[i];
    }
    // The open rooms show the sky, and so does every room that looks into them; the tour spends
    // a while in such rooms.
    EXPECT_GT(skyFrames, 500);
    EXPECT_NEAR(run.skyAngle.back(), skyFrames * kSkyAngleStep, 1e-5);
}

TEST_F(E2eWalk, StandsStillUntilAnActionWithGravityDropsItToTheFloor) {
    // Standing applies no gravity: the start point, 3 above the floor's standing height, holds.
    // A back-step falls (and steps back); afterwards the player stands 25 above the floor.
    const ScriptRun run = Play("60 61 DOWN\n", 1.0 / 30.0, 150);
    ASSERT_EQ(run.log.size(), 150u);
    for (int f = 0; f < 60; ++f) {
        EXPECT_EQ(run.log[f].position.y, 28.0f) << "frame " << f;
        EXPECT_EQ(run.log[f].position.z, -200.0f) << "frame " << f;
    }
    for (int f = 110; f < 150; ++f) {
        EXPECT_NEAR(run.log[f].position.y, 25.0f, 0.01f) << "frame " << f;
        EXPECT_LT(run.log[f].animFrame, 70.0f) << "standing again; frame " << f;
    }
    EXPECT_TRUE(Same(run.log[149].position, run.log[110].position)) << "nothing moves a standing player";
}

TEST_F(E2eWalk, BackStepMovesBackOnlyInItsMiddleFrames) {
    const ScriptRun run = Play("10 10 DOWN\n", 1.0 / 30.0, 60);
    ASSERT_EQ(run.log.size(), 60u);
    float lowestFrame = 1e9f, highestFrame = 0.0f;
    int movingFrames = 0;
    for (std::size_t f = 1; f < run.log.size(); ++f) {
        const StateLine& before = run.log[f - 1];
        const StateLine& now = run.log[f];
        EXPECT_EQ(now.position.x, 0.0f);
        if (now.animFrame >= 203.0f) {
            lowestFrame = std::fmin(lowestFrame, now.animFrame);
            highestFrame = std::fmax(highestFrame, now.animFrame);
        }
        const bool moving = now.animFrame > 211.0f && now.animFrame < 223.0f;
        movingFrames += moving;
        if (moving)
            EXPECT_NEAR(before.position.z - now.position.z, 140.0f / 30.0f, 1e-3f) << "frame " << f;
        else
            EXPECT_EQ(before.position.z, now.position.z) << "frame " << f << " at key " << now.animFrame;
    }
    EXPECT_LT(lowestFrame, 205.0f);
    EXPECT_GT(highestFrame, 228.0f);
    EXPECT_LT(highestFrame, 230.0f);
    // Keys 211 to 223 at 30 a second, one key a frame here: 11 or 12 frames of moving back.
    EXPECT_GE(movingFrames, 11);
    EXPECT_LE(movingFrames, 12);
    EXPECT_NEAR(run.log.front().position.z - run.log.back().position.z, movingFrames * 140.0f / 30.0f, 1e-2f);
    EXPECT_LT(run.log.back().animFrame, 70.0f) << "stands after the step";
}

TEST_F(E2eWalk, WallStopsTheRun) {
    // A quarter turn right, then a long run east across the hall (round a pillar's foot) into its
    // wall at x = 320.
    const ScriptRun run = Play("1 20 RIGHT\n25 200 UP\n", 0.034, 200);
    ASSERT_EQ(run.log.size(), 200u);
    EXPECT_NEAR(run.log[21].heading, kQuarterTurn, 1e-4f);
    const StateLine& atWall = run.log[150];
    EXPECT_GT(atWall.position.x, 280.0f);
    EXPECT_LT(atWall.position.x, 320.0f - 24.0f) << "the sphere stays out of the wall";
    for (std::size_t f = 150; f < run.log.size(); ++f) {
        EXPECT_GE(run.log[f].animFrame, 86.0f) << "still running; frame " << f;
        EXPECT_NEAR(run.log[f].position.x, atWall.position.x, 1e-3f) << "frame " << f;
        EXPECT_NEAR(run.log[f].position.z, atWall.position.z, 1e-2f) << "frame " << f;
        EXPECT_EQ(run.log[f].currentRoomName, "Entrance Hall");
    }
}

TEST_F(E2eWalk, SameScriptSameLog) {
    const std::string script = "2 60 UP\n30 45 LEFT\n70 80 DOWN\n90 140 UP RIGHT\n";
    const ScriptRun first = Play(script, 1.0 / 45.0, 200);
    const ScriptRun second = Play(script, 1.0 / 45.0, 200);
    ASSERT_EQ(first.log.size(), second.log.size());
    for (std::size_t f = 0; f < first.log.size(); ++f) {
        EXPECT_TRUE(Same(first.log[f].position, second.log[f].position)) << "frame " << f;
        EXPECT_TRUE(Same(first.log[f].camera, second.log[f].camera)) << "frame " << f;
        EXPECT_EQ(first.log[f].animFrame, second.log[f].animFrame) << "frame " << f;
    }
    EXPECT_FALSE(Same(first.log.front().position, first.log.back().position)) << "the script moved the player";
}

// F5 of preview runs, in the game's own process so that the leak checker sees what a reload
// releases: the player stays, the device holds as many textures as before, and the same walk
// afterwards gives the same log. A level file that no longer reads leaves the old level.
TEST_F(E2eWalk, F5ReloadsInPlaceAndABrokenLevelKeepsTheOldOne) {
    std::string bytes;
    ASSERT_TRUE(ReadText(DataDir() + "/LEVELS/LEVEL_001.VRM", bytes));
    const std::string copy = ScratchPath("reload.vrm");
    ASSERT_TRUE(WriteText(copy, bytes));
    const std::string script = "2 40 UP\n";
    const ScriptRun walk = Play(script, 1.0 / 30.0, 41);
    const Vector3 place = g_player.position;
    const std::size_t textures = g_device->TextureCount();

    ManualKeys keys;
    KeyStateSource* previousKeys = g_keyStateSource;
    g_keyStateSource = &keys;
    PreviewRun preview(true, copy, std::nullopt, std::nullopt);
    auto pressF5 = [&] {  // pressed, then held for a second frame
        keys.Set(VK_F5, false);
        preview.BeforeUpdate();
        keys.Set(VK_F5, true);
        ::testing::internal::CaptureStderr();
        preview.BeforeUpdate();
        preview.BeforeUpdate();
        return ::testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(pressF5(), "brontal: level reloaded from " + copy + "\n") << "once a press";
    EXPECT_TRUE(Same(g_player.position, place));
    EXPECT_EQ(g_device->TextureCount(), textures) << "the old level's and sky's textures are released";
    EXPECT_STREQ(g_currentRoomName, "Entrance Hall");

    ASSERT_TRUE(WriteText(copy, bytes.substr(0, bytes.size() / 2)));
    const Room* firstRoom = g_level.rooms.data();
    const std::string said = pressF5();
    EXPECT_EQ(said.rfind("brontal: level not reloaded, the old one stays: " + copy, 0), 0u) << said;
    EXPECT_EQ(g_level.rooms.data(), firstRoom) << "the old level untouched";
    EXPECT_EQ(g_device->TextureCount(), textures);
    g_keyStateSource = previousKeys;

    const ScriptRun again = Play(script, 1.0 / 30.0, 41);
    ASSERT_EQ(again.log.size(), walk.log.size());
    for (std::size_t f = 0; f < walk.log.size(); ++f) {
        EXPECT_TRUE(Same(again.log[f].position, walk.log[f].position)) << "frame " << f;
        EXPECT_EQ(again.log[f].trianglesDrawn, walk.log[f].trianglesDrawn) << "frame " << f;
    }
}

}  // namespace
}  // namespace brontal::e2e
