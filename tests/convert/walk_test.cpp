// Converted levels walked by the game itself: built into a data directory with their sky, run from
// there headless with a fixed frame time and Up held, the state log read back. The player must
// land on the hall's floor, stay on it, and run into the corridor; the level guide's worked example
// must build without a warning and lead from its hall into its courtyard.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/data_directory.h"
#include "convert/convert_files.h"
#include "convert/figure.h"

namespace brontal {
namespace {

using namespace test;

// Source space: the hall spans z 0 to 200, the corridor z -2000 to 0, so the game's forward
// (+z) leads from the hall into the corridor. Floors look up, ceilings down.
const char* kWalkObj = R"(o hall
v 0 0 0
v 200 0 0
v 200 0 200
v 0 0 200
v 0 200 0
v 200 200 0
v 200 200 200
v 0 200 200
f 1 4 3 2
f 5 6 7 8
o corridor
v 0 0 -2000
v 200 0 -2000
v 200 0 0
v 0 0 0
v 0 200 -2000
v 200 200 -2000
v 200 200 0
v 0 200 0
f 9 12 11 10
f 13 14 15 16
)";

const char* kWalkManifest = R"({"geometry": "walk.obj",
  "rooms": [{"group": "hall", "name": "Entrance Hall", "visible": ["hall", "corridor"]},
            {"group": "corridor", "name": "Corridor", "visible": ["corridor", "hall"]}],
  "lights": [{"room": "hall", "position": [100, 150, 100], "colour": [1, 1, 1], "range": 800}],
  "start": [100, 60, 100], "figure": "none", "sky": "sky"})";

struct FrameState {
    long frame = -1;
    float x = 0, y = 0, z = 0;
    std::string room;
};

bool ParseStateLine(const std::string& line, FrameState& out) {
    const std::size_t position = line.find("\"position\":[");
    const std::size_t room = line.find("\"currentRoomName\":");
    if (std::sscanf(line.c_str(), "{\"frame\":%ld", &out.frame) != 1 || position == std::string::npos ||
        std::sscanf(line.c_str() + position + 12, "%f,%f,%f", &out.x, &out.y, &out.z) != 3 || room == std::string::npos) {
        return false;
    }
    const std::size_t first = room + 18;
    out.room = line.compare(first, 4, "null") == 0 ? "" : line.substr(first + 1, line.find('"', first + 1) - first - 1);
    return true;
}

std::string GameBinary() {
#ifdef BRONTAL_GAME_BINARY
    return BRONTAL_GAME_BINARY;
#else
    const char* binaryDir = std::getenv("BRONTAL_BINARY_DIR");
    return std::string(binaryDir ? binaryDir : ".") + "/src/app/brontal";
#endif
}

// Plays the data directory `data` of `dir` headless for `frames` frames of 0.02 s with the keys
// given, and reads the state log back; the game's exit status and output go to `status`, `output`.
std::vector<FrameState> Play(const ScratchDirectory& dir, int frames, const std::string& keys, int& status,
                             std::string& output) {
    dir.Write("keys.txt", keys);
    // The software renderer keeps a few allocations to the end of the process; in sanitizer
    // builds the leak check of the game run is left to the game's own tests.
    const std::string command = "cd '" + dir.Path("") + "' && ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '" +
                                GameBinary() + "' --data data --headless --fixed-dt 0.02 --frames " +
                                std::to_string(frames) + " --keys keys.txt --state-log state.jsonl > run.out 2>&1";
    status = std::system(command.c_str());
    std::ifstream run(dir.Path("run.out"));
    output.assign(std::istreambuf_iterator<char>(run), {});

    std::ifstream log(dir.Path("state.jsonl"));
    std::vector<FrameState> states;
    for (std::string line; std::getline(log, line);) {
        FrameState state;
        EXPECT_TRUE(ParseStateLine(line, state)) << line;
        states.push_back(state);
    }
    return states;
}

TEST(ConvertedLevelWalk, PlayerLandsAndRunsIntoTheCorridor) {
    if (!std::filesystem::exists(GameBinary())) GTEST_SKIP() << "the game is not built: " << GameBinary();

    ScratchDirectory dir;
    dir.Write("walk.obj", kWalkObj);
    for (const char* face : {"left", "right", "up", "down", "front", "back"}) {
        dir.Write(std::string("sky/") + face + ".png", EncodePng(SolidImage(4, 4, 90, 140, 220)));
    }
    std::string arguments[] = {"build", dir.Write("walk.json", kWalkManifest), "--data", dir.Path("data")};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), arguments[3].data()};
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(BuildCommand(4, argv), 0);
    ::testing::internal::GetCapturedStdout();

    int status = 0;
    std::string output;
    const std::vector<FrameState> frames = Play(dir, 150, "0 149 UP\n", status, output);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("SKY"), std::string::npos) << "every sky image loads: " << output;

    ASSERT_EQ(frames.size(), 150u);
    EXPECT_EQ(frames.front().room, "Entrance Hall");
    EXPECT_EQ(frames.front().z, -100.0f);  // the start's z, negated

    long firstInCorridor = -1;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        // The floor holds the player up all the way: never below it, never falling away.
        EXPECT_GT(frames[i].y, 0.0f) << "frame " << i;
        EXPECT_GE(frames[i].z, frames[i - 1].z) << "frame " << i;
        if (firstInCorridor < 0 && frames[i].room == "Corridor") firstInCorridor = static_cast<long>(i);
    }
    ASSERT_GE(firstInCorridor, 0) << "the player never reached the corridor; last z " << frames.back().z;
    EXPECT_GE(frames[static_cast<std::size_t>(firstInCorridor)].z, 0.0f);
    // Landed: the last frames stand on the floor at one height.
    EXPECT_NEAR(frames.back().y, frames[frames.size() - 20].y, 1e-3f);
}

// The level guide's worked example as a level maker builds and plays it: not one warning, a data
// directory the game plays with its sky, and Up leads from the hall through the doorway into the
// courtyard on the floors all the way. The example must keep building as the converter changes.
TEST(ConvertedLevelWalk, TheGuidesExampleBuildsWithoutWarningsAndLeadsIntoTheCourtyard) {
    ScratchDirectory dir;
    std::string arguments[] = {"build", BRONTAL_EXAMPLES_DIR "/first-level/level.json", "--data", dir.Path("data")};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), arguments[3].data()};
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int built = BuildCommand(4, argv);
    ::testing::internal::GetCapturedStdout();
    const std::string errors = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(built, 0) << errors;
    EXPECT_EQ(errors, "") << "the example builds without a warning";
    ASSERT_TRUE(HoldsGameData(dir.Path("data")));
    if (!std::filesystem::exists(GameBinary())) GTEST_SKIP() << "the game is not built: " << GameBinary();

    int status = 0;
    std::string output;
    const std::vector<FrameState> frames = Play(dir, 130, "0 129 UP\n", status, output);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("SKY"), std::string::npos) << "every sky image loads: " << output;
    ASSERT_EQ(frames.size(), 130u);
    EXPECT_EQ(frames.front().room, "Entrance Hall");
    for (std::size_t i = 1; i < frames.size(); ++i) {
        EXPECT_GT(frames[i].y, 0.0f) << "frame " << i;
        EXPECT_GE(frames[i].z, frames[i - 1].z) << "frame " << i;
    }
    EXPECT_EQ(frames.back().room, "Courtyard") << "last z " << frames.back().z;
}

}  // namespace
}  // namespace brontal
