// The command as the level tool runs it: arguments, exit status, the written file, the figure.
#include <gtest/gtest.h>

#include "convert/convert_files.h"
#include "convert/figure.h"

#include <iterator>

namespace brontal {
namespace {

using namespace test;

int RunBuild(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    return BuildCommand(static_cast<int>(argv.size()), argv.data());
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BuildCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.Write("room.obj", "o hall\nv 0 0 0\nv 0 0 100\nv 100 0 100\nv 100 0 0\nf 1 2 3 4\n");
        manifest_ = dir_.Write("level.json", R"({"geometry": "room.obj", "rooms": [{"group": "hall"}],)"
                                             R"( "start": [50, 10, 50], "figure": "none"})");
    }
    ScratchDirectory dir_;
    std::string manifest_;
};

TEST_F(BuildCommandTest, UsageErrorsExitWithTwo) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunBuild({"build"}), 2);
    EXPECT_EQ(RunBuild({"build", manifest_}), 2);
    EXPECT_EQ(RunBuild({"build", manifest_, "-o"}), 2);
    EXPECT_EQ(RunBuild({"build", manifest_, "-o", "x", "--fast"}), 2);
    EXPECT_EQ(RunBuild({"build", manifest_, manifest_, "-o", "x"}), 2);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("no output file given"), std::string::npos) << errors;
    EXPECT_NE(errors.find("unknown option --fast"), std::string::npos) << errors;
}

TEST_F(BuildCommandTest, HelpDescribesTheManifest) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(RunBuild({"build", "--help"}), 0);
    const std::string help = ::testing::internal::GetCapturedStdout();
    for (const char* key : {"\"geometry\"", "\"rooms\"", "\"visible\"", "\"models\"", "\"objects\"", "\"lights\"",
                            "\"start\"", "\"figure\"", "\"scale\"", "negates z"}) {
        EXPECT_NE(help.find(key), std::string::npos) << key;
    }
}

TEST_F(BuildCommandTest, WritesTheFileIntoNewDirectories) {
    const std::string output = dir_.Path("data/LEVELS/LEVEL_001.VRM");
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(RunBuild({"build", manifest_, "-o", output}), 0);
    ::testing::internal::GetCapturedStdout();

    Level level;
    ASSERT_TRUE(level.load(output, nullptr)) << level.LastError();
    ASSERT_EQ(level.roomCount, 1);
    EXPECT_EQ(level.rooms[0].name, "hall");
    EXPECT_EQ(level.rooms[0].boxMin.z, -100.0f);
    EXPECT_EQ(level.startPosition.z, -50.0f);
}

TEST_F(BuildCommandTest, RefusalExitsWithOneAndNamesTheFile) {
    const std::string broken = dir_.Write("broken.json", R"({"geometry": "room.obj", "rooms": [{"group": "attic"}],)"
                                                         R"( "start": [0, 0, 0], "figure": "none"})");
    const std::string output = dir_.Path("out.vrm");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunBuild({"build", broken, "-o", output}), 1);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find(dir_.Path("room.obj") + ": has no group \"attic\""), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(BuildCommandTest, AnOutputNamingAnInputIsRefusedAndTheInputKept) {
    const std::string scene = dir_.Path("room.obj");
    const std::string sceneText = ReadText(scene), manifestText = ReadText(manifest_);
    for (const std::string& output : {manifest_, scene, dir_.Path("./sub/../room.obj")}) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RunBuild({"build", manifest_, "-o", output}), 2) << output;
        const std::string errors = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(errors.find(output + ": the output would overwrite"), std::string::npos) << errors;
    }
    EXPECT_EQ(ReadText(scene), sceneText);
    EXPECT_EQ(ReadText(manifest_), manifestText);
}

// Without "figure" the level carries the sample figure, when this build has it.
TEST_F(BuildCommandTest, SampleFigureByDefault) {
    const std::string manifest = dir_.Write("figure.json", R"({"geometry": "room.obj", "rooms": [{"group": "hall"}],)"
                                                           R"( "start": [50, 10, 50]})");
    const Converted out = Convert(manifest);
    if (!SampleFigureAvailable()) {
        EXPECT_FALSE(out.ok);
        EXPECT_NE(out.error.find("sample figure is not available"), std::string::npos) << out.error;
        return;
    }
    ASSERT_TRUE(out.ok) << out.error;
    ASSERT_EQ(out.level.animatedModelCount, 1);
    const AnimatedModel& figure = out.level.animatedModels[0];
    ASSERT_GT(figure.partCount, 0);
    EXPECT_EQ(figure.trackCount, figure.partCount);
    // The figure's atlas follows the room's texture and decodes.
    ASSERT_EQ(out.level.textureCount, 2);
    for (const AnimatedPart& part : figure.parts) EXPECT_EQ(part.textureIndex, 1);
    const std::vector<std::uint8_t> atlas = out.TextureImage(1);
    Image decoded;
    std::string error;
    EXPECT_TRUE(DecodeImage(atlas.data(), atlas.size(), decoded, error)) << error;
}

}  // namespace
}  // namespace brontal
