// The command as the level tool runs it: arguments, exit status, the written file, the figure.
#include <gtest/gtest.h>

#include "app/data_directory.h"
#include "app/init_game.h"
#include "convert/convert_files.h"
#include "convert/figure.h"

#include <functional>
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
    EXPECT_EQ(RunBuild({"build", manifest_, "-o", "x", "--data", "y"}), 2);
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

// Without "figure" the level carries the sample figure.
TEST_F(BuildCommandTest, SampleFigureByDefault) {
    const std::string manifest = dir_.Write("figure.json", R"({"geometry": "room.obj", "rooms": [{"group": "hall"}],)"
                                                           R"( "start": [50, 10, 50]})");
    const Converted out = Convert(manifest);
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


// The six faces as a level maker might name them, each of its own colour, in the game's loading
// order (Left, Right, Top, Bottom, Front, Back).
struct SkySource {
    const char* name;
    std::uint8_t r, g, b;
};
constexpr SkySource kSkySources[6] = {{"Left.png", 200, 30, 30},    {"RIGHT.JPG", 30, 200, 30},
                                      {"up.bmp", 30, 30, 200},      {"Down.jpeg", 200, 200, 30},
                                      {"front.PNG", 30, 200, 200}, {"back.bmp", 200, 30, 200}};

class DataDirectoryTest : public BuildCommandTest {
protected:
    void SetUp() override {
        BuildCommandTest::SetUp();
        for (const SkySource& face : kSkySources) WriteFace(face.name, SolidImage(8, 8, face.r, face.g, face.b));
        const std::string walls = "o hall\nv 0 0 0\nv 0 0 100\nv 100 0 100\nv 100 0 0\nv 0 100 0\nv 100 100 0\n"
                                  "f 1 2 3 4\nf 1 4 6 5\n";
        dir_.Write("room.obj", walls);
        manifest_ = dir_.Write("sky.json", R"({"geometry": "room.obj", "rooms": [{"group": "hall", "sky": true}],)"
                                           R"( "start": [50, 10, 50], "figure": "none", "sky": "skies"})");
    }
    void WriteFace(const std::string& name, const Image& image) {
        const std::string extension = name.substr(name.find('.'));
        const bool png = extension == ".png" || extension == ".PNG", bmp = extension == ".bmp";
        dir_.Write("skies/" + name, png ? EncodePng(image) : bmp ? EncodeBmp(image, 24) : EncodeJpeg(image, 95));
    }
    int Build(std::vector<std::string> arguments, std::string& errors) {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int status = RunBuild(std::move(arguments));
        ::testing::internal::GetCapturedStdout();
        errors = ::testing::internal::GetCapturedStderr();
        return status;
    }
};

TEST_F(DataDirectoryTest, HoldsTheLevelAndTheSkyAsTheGameReadsThem) {
    std::string errors;
    const std::string data = dir_.Path("play");
    ASSERT_EQ(Build({"build", manifest_, "-o", data + "/"}, errors), 0) << errors;
    EXPECT_EQ(errors, "");
    EXPECT_TRUE(HoldsGameData(data));
    EXPECT_FALSE(std::filesystem::exists(data + "/config.dat"));
    Level level;
    EXPECT_TRUE(level.load(data + "/" + LevelPathForOpening(StartupConfig{}.levelPath), nullptr)) << level.LastError();

    for (std::size_t f = 0; f < 6; ++f) {
        const std::string written = ReadText(data + "/" + LevelPathForOpening(kSkyFiles[f]));
        ASSERT_GT(written.size(), 2u) << kSkyFiles[f];
        EXPECT_EQ(written.substr(0, 2), "BM") << kSkyFiles[f];
        if (std::string(kSkySources[f].name).ends_with(".bmp")) {
            EXPECT_EQ(written, ReadText(dir_.Path(std::string("skies/") + kSkySources[f].name)));  // copied unchanged
        }
        Image image;
        std::string error;
        ASSERT_TRUE(DecodeImage(reinterpret_cast<const std::uint8_t*>(written.data()), written.size(), image, error))
            << error;
        ASSERT_EQ(image.width, 8u);
        const std::uint8_t* pixel = &image.rgba[4 * (3 * 8 + 5)];
        EXPECT_NEAR(pixel[0], kSkySources[f].r, 4) << kSkyFiles[f];
        EXPECT_NEAR(pixel[1], kSkySources[f].g, 4) << kSkyFiles[f];
        EXPECT_NEAR(pixel[2], kSkySources[f].b, 4) << kSkyFiles[f];
    }

    // --data writes the same; -o FILE the level alone.
    ASSERT_EQ(Build({"build", manifest_, "--data", dir_.Path("again")}, errors), 0) << errors;
    EXPECT_EQ(ReadText(dir_.Path("again/SKY/Back.bmp")), ReadText(data + "/SKY/Back.bmp"));
    ASSERT_EQ(Build({"build", manifest_, "-o", dir_.Path("alone.vrm")}, errors), 0) << errors;
    EXPECT_NE(errors.find(manifest_ + ": sky: the sky images go only into a data directory"), std::string::npos)
        << errors;
}

TEST_F(DataDirectoryTest, SkyImagesMissingTwiceOrBrokenAreRefusedAndNothingIsWritten) {
    const std::string skies = dir_.Path("skies");
    const struct {
        std::function<void()> spoil;
        std::string expected;
    } cases[] = {
        {[&] { std::filesystem::remove(skies + "/back.bmp"); },
         manifest_ + ": sky: folder \"" + skies + "\" holds no image for the back face"},
        {[&] { WriteFace("TOP.png", SolidImage(2, 2, 0, 0, 0)); },
         manifest_ + ": sky: folder \"" + skies + "\" holds 2 images for the top (or up) face (TOP.png and up.bmp)"},
        {[&] { dir_.Write("skies/front.PNG", "not an image"); },
         skies + "/front.PNG: the sky image for the front face cannot be decoded"},
        {[&] { std::filesystem::remove_all(skies); }, manifest_ + ": sky: folder \"" + skies + "\" cannot be read"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(skies);
        SetUp();
        c.spoil();
        std::string errors;
        EXPECT_EQ(Build({"build", manifest_, "-o", dir_.Path("play/")}, errors), 1) << c.expected;
        EXPECT_NE(errors.find("brontal-level build: " + c.expected), std::string::npos) << errors;
        EXPECT_FALSE(std::filesystem::exists(dir_.Path("play")));
    }
}

}  // namespace
}  // namespace brontal
