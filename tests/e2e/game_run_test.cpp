// The built game as its own process, headless on OpenGL: the deterministic interface seen from
// outside (key script, state log, device trace, screenshot, a bad script) and its first shot of
// the sample level against the stored reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "e2e/e2e_paths.h"
#include "e2e/game_process.h"
#include "e2e/game_session.h"
#include "e2e/sample_game_environment.h"
#include "e2e/screenshot_check.h"

namespace brontal::e2e {
namespace {

// 640 x 480 with the HUD keeps the runs short on a software renderer.
std::string SmallSettings() {
    const std::string path = ScratchPath("settings_640x480.dat");
    WriteText(path, SettingsBytes(0, true, true));
    return path;
}

std::string Script(const std::string& name, const std::string& text) {
    const std::string path = ScratchPath(name);
    WriteText(path, text);
    return path;
}

std::vector<StateLine> ReadLog(const std::string& path) {
    std::string text, error;
    EXPECT_TRUE(ReadText(path, text)) << path;
    auto log = ParseStateLog(text, error);
    EXPECT_TRUE(log) << error;
    return log ? *log : std::vector<StateLine>{};
}

TEST(E2eGameRun, StateLogAndTraceMatchTheGameInProcess) {
    const std::string script = "5 6 DOWN\n20 30 LEFT\n45 45 ESCAPE\n";
    const std::string log = ScratchPath("short_run.jsonl"), trace = ScratchPath("short_run.trace");
    const ProcessResult result =
        RunGame({"--headless", "--config", SmallSettings(), "--fixed-dt", "0.034", "--keys",
                 Script("short_run.keys", script), "--state-log", log, "--device-trace", trace});
    ASSERT_EQ(result.exitCode, 0) << result.errors;

    const std::vector<StateLine> outside = ReadLog(log);
    ASSERT_EQ(outside.size(), 46u) << "frames 0 to 45, the ESCAPE frame included";
    std::string error;
    ASSERT_TRUE(SampleGameReady(error)) << error;
    const auto inside = RunScript(script, 0.034, 1000, error);
    ASSERT_TRUE(inside) << error;
    ASSERT_EQ(inside->log.size(), outside.size());
    for (std::size_t f = 0; f < outside.size(); ++f) {
        const StateLine& a = outside[f];
        const StateLine& b = inside->log[f];
        ASSERT_EQ(a.frame, static_cast<std::int64_t>(f));
        EXPECT_EQ(a.dt, b.dt) << "frame " << f;
        EXPECT_EQ(a.position.x, b.position.x) << "frame " << f;
        EXPECT_EQ(a.position.y, b.position.y) << "frame " << f;
        EXPECT_EQ(a.position.z, b.position.z) << "frame " << f;
        EXPECT_EQ(a.heading, b.heading) << "frame " << f;
        EXPECT_EQ(a.animFrame, b.animFrame) << "frame " << f;
        EXPECT_EQ(a.currentRoomName, b.currentRoomName) << "frame " << f;
        EXPECT_EQ(a.visibleRooms, b.visibleRooms) << "frame " << f;
        EXPECT_EQ(a.trianglesDrawn, b.trianglesDrawn) << "frame " << f;
        EXPECT_EQ(a.framesPerSecond, b.framesPerSecond) << "frame " << f;
    }
    EXPECT_FLOAT_EQ(outside[0].dt, 1.0f / 30.0f);
    EXPECT_FLOAT_EQ(outside[1].dt, 0.034f);
    EXPECT_LT(outside[45].position.z, -240.0f) << "the back-step moved the player";
    EXPECT_NEAR(outside[45].position.y, 25.0f, 0.01f) << "and dropped it onto the floor";

    // The trace: "Frame n" before each frame's calls, every frame presented before the next.
    std::string traceText;
    ASSERT_TRUE(ReadText(trace, traceText));
    std::istringstream lines(traceText);
    std::string line;
    int nextFrame = 0, presents = 0;
    bool presentedSinceMarker = true;
    while (std::getline(lines, line)) {
        if (line.rfind("Frame ", 0) == 0) {
            EXPECT_EQ(line, "Frame " + std::to_string(nextFrame));
            EXPECT_TRUE(presentedSinceMarker) << "frame " << nextFrame - 1 << " was not presented";
            ++nextFrame;
            presentedSinceMarker = false;
        } else if (line.rfind("Present", 0) == 0) {
            EXPECT_GT(nextFrame, 0) << "a Present before the first frame";
            presentedSinceMarker = true;
            ++presents;
        }
    }
    EXPECT_EQ(nextFrame, 46);
    EXPECT_EQ(presents, 46);
}

TEST(E2eGameRun, WireframeAfterW) {
    const std::string solid = ScratchPath("solid.png"), wire = ScratchPath("wireframe.png");
    const std::string settings = SmallSettings();
    ProcessResult result = RunGame({"--headless", "--config", settings, "--fixed-dt", "0", "--frames", "3",
                                    "--screenshot", solid});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    // W held on one frame flips the fill mode once; it stays wireframe.
    result = RunGame({"--headless", "--config", settings, "--fixed-dt", "0", "--keys",
                      Script("wireframe.keys", "1 1 w\n2 2 escape\n"), "--screenshot", wire});
    ASSERT_EQ(result.exitCode, 0) << result.errors;

    Image solidShot, wireShot;
    std::string error;
    ASSERT_TRUE(LoadPng(solid, solidShot, error)) << error;
    ASSERT_TRUE(LoadPng(wire, wireShot, error)) << error;
    ASSERT_EQ(wireShot.width, 640u);
    ASSERT_EQ(wireShot.height, 480u);
    // Solid walls cover the screen; lines leave most of the black clear colour showing.
    EXPECT_LT(DarkShare(solidShot, 8), 0.10);
    EXPECT_GT(DarkShare(wireShot, 8), 0.40);
    EXPECT_LT(DarkShare(wireShot, 8), 0.98) << "the lines are drawn";
    EXPECT_GT(CountBright(wireShot, 0, 18, 280, 70, 230), 150) << "the HUD still shows";
}

TEST(E2eGameRun, MalformedScriptStopsBeforeAnything) {
    const std::string log = ScratchPath("never_written.jsonl");
    std::filesystem::remove(log);
    const std::string script = Script("malformed.keys", "0 10 UP\n5 x LEFT\n");
    const ProcessResult result =
        RunGame({"--headless", "--keys", script, "--state-log", log, "--frames", "5"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.errors.find(script), std::string::npos) << result.errors;
    EXPECT_NE(result.errors.find("line 2"), std::string::npos) << result.errors;
    EXPECT_FALSE(std::filesystem::exists(log)) << "nothing ran";
}

// The preview seen from outside: the flying camera from --start straight through the hall's north
// wall into the stair hall and up through its ceiling, the HUD room following the camera, F5
// reloading in place, and a numbered shot every ten frames.
TEST(E2eGameRun, PreviewFliesThroughWallsReloadsInPlaceAndWritesNumberedShots) {
    const std::string log = ScratchPath("fly.jsonl"), shots = ScratchPath("fly_shots") + "/new/dir";
    std::filesystem::remove_all(ScratchPath("fly_shots"));
    const ProcessResult result = RunGame(
        {"--headless", "--size", "160x120", "--fixed-dt", "0.1", "--fly", "--start", "200,100,-200", "--keys",
         Script("fly.keys", "0 16 UP\n17 30 PAGEUP\n31 31 F5\n33 33 ESCAPE\n"), "--state-log", log,
         "--screenshot-every", "10", shots});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::vector<StateLine> run = ReadLog(log);
    ASSERT_EQ(run.size(), 34u);

    EXPECT_NEAR(run[0].camera.z, -200.0f + 360.0f / 30.0f, 0.01f) << "from the start point given";
    for (const StateLine& s : run) {  // the figure neither walks nor falls
        EXPECT_EQ(s.position.x, 200.0f);
        EXPECT_EQ(s.position.y, 100.0f);
        EXPECT_EQ(s.position.z, -200.0f);
    }
    EXPECT_GT(run[16].camera.z, 380.0f) << "past the wall of z 300 to 340 and into the stair hall";
    EXPECT_EQ(run[16].camera.x, 200.0f);
    EXPECT_EQ(RoomSequence(run), (std::vector<std::string>{"Entrance Hall", "Stair Hall"}));
    EXPECT_EQ(run[15].currentRoomName, "Entrance Hall");
    EXPECT_EQ(run[16].currentRoomName, "Stair Hall");
    EXPECT_GT(run[30].camera.y, 400.0f) << "above the stair hall's ceiling";

    // F5 on frame 31: the level is read again; the camera and the room stay.
    EXPECT_NE(result.errors.find("level reloaded"), std::string::npos) << result.errors;
    for (std::size_t f = 31; f < run.size(); ++f) {
        EXPECT_EQ(run[f].camera.y, run[30].camera.y) << f;
        EXPECT_EQ(run[f].camera.z, run[30].camera.z) << f;
        EXPECT_EQ(run[f].currentRoomName, "Stair Hall") << f;
        EXPECT_EQ(run[f].visibleRooms, run[30].visibleRooms) << f;
    }

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(shots)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"shot_000000.png", "shot_000010.png", "shot_000020.png",
                                               "shot_000030.png"}));
    Image first, last;
    std::string error;
    ASSERT_TRUE(LoadPng(shots + "/shot_000000.png", first, error)) << error;
    ASSERT_TRUE(LoadPng(shots + "/shot_000030.png", last, error)) << error;
    EXPECT_EQ(first.width, 160u);
    EXPECT_EQ(last.height, 120u);
    EXPECT_NE(first.rgba, last.rgba) << "the view moved";
}

TEST(E2eGameRun, StartPutsThePlayerElsewhere) {
    const std::string log = ScratchPath("start.jsonl");
    const ProcessResult result = RunGame({"--headless", "--size", "160x120", "--fixed-dt", "0.034", "--keys",
                                          Script("start.keys", "0 14 UP\n15 15 ESCAPE\n"), "--start", "0,60,100",
                                          "--state-log", log});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::vector<StateLine> run = ReadLog(log);
    ASSERT_EQ(run.size(), 16u);
    EXPECT_EQ(run[0].position.x, 0.0f);
    EXPECT_EQ(run[0].position.y, 60.0f);
    EXPECT_EQ(run[0].position.z, 100.0f);
    EXPECT_EQ(run[0].currentRoomName, "Entrance Hall");
    EXPECT_GT(run[15].position.z, 100.0f) << "the figure runs from there as usual";
    EXPECT_LT(run[15].position.y, 60.0f) << "and falls towards the floor";
}

TEST(E2eGameRun, FirstShotShowsRoomFigureAndHud) {
    // Default settings: 1024 x 768 with the HUD. After 45 frames at rest the chase camera stands
    // behind the figure, which faces the doorway to the corridor across the hall.
    const std::string shot = ScratchPath("sample_start.png");
    const ProcessResult result = RunGame({"--headless", "--config", ScratchPath("no_settings_here.dat"), "--fixed-dt",
                                          "0", "--frames", "45", "--screenshot", shot});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    Image image;
    std::string error;
    ASSERT_TRUE(LoadPng(shot, image, error)) << error;
    ASSERT_EQ(image.width, 1024u);
    ASSERT_EQ(image.height, 768u);

    // HUD: three lines of white text from y 18 at the left edge; nothing as white beside it.
    EXPECT_GT(CountBright(image, 0, 18, 280, 82, 240), 1500);
    EXPECT_LT(CountBright(image, 300, 100, 400, 200, 240), 20);
    // The room: the lit plaster wall above the doorway, the brick doorway, the tiled floor.
    const Rgb wall = MeanColour(image, 300, 120, 400, 220);
    EXPECT_GT(wall.r, 150);
    EXPECT_GT(wall.r, wall.b);
    const Rgb doorway = MeanColour(image, 420, 300, 460, 420);
    EXPECT_GT(doorway.r, doorway.g + 30) << "red brick";
    // The figure: its blue shirt in the lower middle, where the rug behind it is red.
    const Rgb shirt = MeanColour(image, 480, 570, 544, 630);
    EXPECT_GT(shirt.b, shirt.r + 15) << "shirt " << shirt.r << " " << shirt.g << " " << shirt.b;
    const Rgb rug = MeanColour(image, 250, 640, 320, 690);
    EXPECT_GT(rug.r, rug.b + 30) << "the rug beside the figure";

    EXPECT_EQ(CompareWithGolden("sample_start", image), "");
}

}  // namespace
}  // namespace brontal::e2e
