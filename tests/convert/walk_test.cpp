// Converted levels walked by the game itself: built into a data directory with their sky, run from
// there headless with a fixed frame time and Up held, the state log read back. The player must
// land on the hall's floor, stay on it, and run into the corridor; the level guide's worked example
// must build without a warning and lead from its hall into its courtyard.
#include <gtest/gtest.h>

#include <algorithm>
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

// Builds `manifest` into the data directory `data`, the output thrown away but for the warnings
// and errors, which go to `errors`; the build's exit status.
int BuildQuietly(const std::string& manifest, const std::string& data, std::string& errors) {
    std::string arguments[] = {"build", manifest, "--data", data};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), arguments[3].data()};
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = BuildCommand(4, argv);
    ::testing::internal::GetCapturedStdout();
    errors = ::testing::internal::GetCapturedStderr();
    return status;
}

// Plays the data directory `data` of `dir` headless for `frames` frames of 0.02 s holding Up, and
// reads the state log back into `states`: the game runs, finds every sky image, starts in the
// Entrance Hall and walks forward on the floors all the way (never below them, never back).
void WalkForward(const ScratchDirectory& dir, int frames, std::vector<FrameState>& states) {
    dir.Write("keys.txt", "0 " + std::to_string(frames - 1) + " UP\n");
    // The software renderer keeps a few allocations to the end of the process; in sanitizer
    // builds the leak check of the game run is left to the game's own tests.
    const std::string command = "cd '" + dir.Path("") + "' && ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '" +
                                BRONTAL_GAME_BINARY + "' --data data --headless --fixed-dt 0.02 --frames " +
                                std::to_string(frames) + " --keys keys.txt --state-log state.jsonl > run.out 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream run(dir.Path("run.out"));
    const std::string output(std::istreambuf_iterator<char>(run), {});
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("SKY"), std::string::npos) << "every sky image loads: " << output;

    std::ifstream log(dir.Path("state.jsonl"));
    for (std::string line; std::getline(log, line);) {
        FrameState state;
        EXPECT_TRUE(ParseStateLine(line, state)) << line;
        states.push_back(state);
    }
    ASSERT_EQ(states.size(), static_cast<std::size_t>(frames));
    EXPECT_EQ(states.front().room, "Entrance Hall");
    for (std::size_t i = 1; i < states.size(); ++i) {
        EXPECT_GT(states[i].y, 0.0f) << "frame " << i;
        EXPECT_GE(states[i].z, states[i - 1].z) << "frame " << i;
    }
}

TEST(ConvertedLevelWalk, PlayerLandsAndRunsIntoTheCorridor) {
    ScratchDirectory dir;
    dir.Write("walk.obj", kWalkObj);
    for (const char* face : {"left", "right", "up", "down", "front", "back"}) {
        dir.Write(std::string("sky/") + face + ".png", EncodePng(SolidImage(4, 4, 90, 140, 220)));
    }
    std::string errors;
    ASSERT_EQ(BuildQuietly(dir.Write("walk.json", kWalkManifest), dir.Path("data"), errors), 0) << errors;

    std::vector<FrameState> frames;
    ASSERT_NO_FATAL_FAILURE(WalkForward(dir, 150, frames));
    EXPECT_EQ(frames.front().z, -100.0f);  // the start's z, negated
    const auto corridor =
        std::find_if(frames.begin() + 1, frames.end(), [](const FrameState& f) { return f.room == "Corridor"; });
    ASSERT_NE(corridor, frames.end()) << "the player never reached the corridor; last z " << frames.back().z;
    EXPECT_GE(corridor->z, 0.0f);
    // Landed: the last frames stand on the floor at one height.
    EXPECT_NEAR(frames.back().y, frames[frames.size() - 20].y, 1e-3f);
}

// The level guide's worked example as a level maker builds and plays it: not one warning, a data
// directory the game plays with its sky, and Up leads from the hall through the doorway into the
// courtyard on the floors all the way. The example must keep building as the converter changes.
TEST(ConvertedLevelWalk, TheGuidesExampleBuildsWithoutWarningsAndLeadsIntoTheCourtyard) {
    ScratchDirectory dir;
    std::string errors;
    ASSERT_EQ(BuildQuietly(BRONTAL_EXAMPLES_DIR "/first-level/level.json", dir.Path("data"), errors), 0) << errors;
    EXPECT_EQ(errors, "") << "the example builds without a warning";
    ASSERT_TRUE(HoldsGameData(dir.Path("data")));

    std::vector<FrameState> frames;
    ASSERT_NO_FATAL_FAILURE(WalkForward(dir, 130, frames));
    EXPECT_EQ(frames.back().room, "Courtyard") << "last z " << frames.back().z;
}

}  // namespace
}  // namespace brontal
