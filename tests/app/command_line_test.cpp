#include "app/command_line.h"
#include "app/key_script.h"
#include "app/state_log.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace brontal {
namespace {

std::optional<Options> Parse(std::vector<const char*> args, std::string& error) {
    args.insert(args.begin(), "brontal");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), error);
}

TEST(CommandLine, NoOptionsIsTheSpecifiedGame) {
    std::string error;
    auto options = Parse({}, error);
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->headless);
    EXPECT_EQ(options->levelPath, "LEVELS\\LEVEL_001.VRM");
    EXPECT_EQ(options->configPath, "config.dat");
    EXPECT_FALSE(options->screenshot || options->frames || options->fixedDt || options->keyScript ||
                 options->stateLog || options->deviceTrace);
    EXPECT_FALSE(options->preview || options->fly || options->start || options->screenshotEvery);
}

TEST(CommandLine, ValuesAreTaken) {
    std::string error;
    auto options = Parse({"--headless", "--frames", "12", "--fixed-dt", "0.01", "--level", "a.vrm", "--config",
                          "c.dat", "--keys", "k.txt", "--state-log", "s.jsonl", "--device-trace", "t.txt",
                          "--screenshot", "x.png"},
                         error);
    ASSERT_TRUE(options) << error;
    EXPECT_TRUE(options->headless);
    EXPECT_EQ(*options->frames, 12);
    EXPECT_DOUBLE_EQ(*options->fixedDt, 0.01);
    EXPECT_EQ(options->levelPath, "a.vrm");
    EXPECT_EQ(options->configPath, "c.dat");
    EXPECT_EQ(*options->keyScript, "k.txt");
    EXPECT_EQ(*options->stateLog, "s.jsonl");
    EXPECT_EQ(*options->deviceTrace, "t.txt");
    EXPECT_EQ(*options->screenshot, "x.png");
}

TEST(CommandLine, BadInputNamesTheOption) {
    std::string error;
    EXPECT_FALSE(Parse({"--jump"}, error));
    EXPECT_NE(error.find("--jump"), std::string::npos);
    EXPECT_FALSE(Parse({"--frames", "ten"}, error));
    EXPECT_NE(error.find("--frames"), std::string::npos);
    EXPECT_FALSE(Parse({"--frames", "-1"}, error));
    EXPECT_FALSE(Parse({"--fixed-dt", "-0.5"}, error));
    EXPECT_FALSE(Parse({"--fixed-dt", "nan"}, error));
    EXPECT_FALSE(Parse({"--level"}, error));
    EXPECT_NE(error.find("needs a value"), std::string::npos);
    for (const char* empty : {"--level=", "--state-log="}) {  // "" would name the working directory
        EXPECT_FALSE(Parse({empty}, error));
        EXPECT_EQ(error, "option " + std::string(empty, std::strlen(empty) - 1) + " needs a value, not an empty one");
    }
    EXPECT_FALSE(Parse({"--keys", ""}, error));
}

TEST(CommandLine, OneRunOverridesAndTheDataDirectory) {
    std::string error;
    auto options = Parse({"--windowed", "--size", "1280x720", "--data", "/srv/brontal"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->windowed, true);
    ASSERT_TRUE(options->size);
    EXPECT_EQ(options->size->width, 1280);
    EXPECT_EQ(options->size->height, 720);
    EXPECT_EQ(options->dataDir, "/srv/brontal");
    EXPECT_FALSE(options->levelGiven || options->configGiven);

    options = Parse({"--fullscreen", "--fullscreen", "--size=640X480", "--level=a.vrm", "--config", "c.dat"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->windowed, false);
    EXPECT_EQ(options->size->width, 640);
    EXPECT_EQ(options->size->height, 480);
    EXPECT_EQ(options->levelPath, "a.vrm");
    EXPECT_TRUE(options->levelGiven && options->configGiven);

    EXPECT_FALSE(Parse({}, error)->windowed) << "no override: config.dat decides";

    EXPECT_EQ(Parse({"--vsync"}, error)->vsync, true);
    EXPECT_EQ(Parse({"--no-vsync", "--no-vsync"}, error)->vsync, false);
    EXPECT_FALSE(Parse({}, error)->vsync) << "no override: settings.ini decides";
    EXPECT_TRUE(Parse({"--write-settings"}, error)->writeSettings);
}

TEST(CommandLine, BadOverridesAndDataNameTheOption) {
    std::string error;
    for (const char* size : {"800", "800x", "x600", "0x600", "15x600", "16385x600", "800x600x1", "800 x600",
                             "-800x600", "800x+600", "99999999999x1"}) {
        EXPECT_FALSE(Parse({"--size", size}, error)) << size;
        EXPECT_NE(error.find("--size"), std::string::npos) << error;
        EXPECT_NE(error.find(size), std::string::npos) << error;
    }
    EXPECT_TRUE(ParseWindowSize("16x16384"));
    EXPECT_FALSE(Parse({"--windowed", "--fullscreen"}, error));
    EXPECT_NE(error.find("--fullscreen"), std::string::npos);
    EXPECT_FALSE(Parse({"--vsync", "--no-vsync"}, error));
    EXPECT_NE(error.find("--no-vsync"), std::string::npos);
    EXPECT_FALSE(Parse({"--data"}, error));
    EXPECT_NE(error.find("--data"), std::string::npos);
    EXPECT_FALSE(Parse({"--data="}, error));
    EXPECT_FALSE(Parse({"--windowed=yes"}, error));
    EXPECT_NE(error.find("--windowed"), std::string::npos);
    EXPECT_FALSE(Parse({"--sizes=1x1"}, error));
    EXPECT_NE(error.find("--sizes"), std::string::npos);
}

TEST(CommandLine, PreviewOptions) {
    std::string error;
    auto options = Parse({"--start", "12.5,-3,4e2", "--screenshot-every", "25", "shots"}, error);
    ASSERT_TRUE(options) << error;
    ASSERT_TRUE(options->start);
    EXPECT_EQ(options->start->x, 12.5f);
    EXPECT_EQ(options->start->y, -3.0f);
    EXPECT_EQ(options->start->z, 400.0f);
    EXPECT_TRUE(options->preview) << "--start implies the preview";
    EXPECT_FALSE(options->fly);
    ASSERT_TRUE(options->screenshotEvery);
    EXPECT_EQ(options->screenshotEvery->every, 25);
    EXPECT_EQ(options->screenshotEvery->directory, "shots");

    options = Parse({"--fly", "--screenshot-every=1", "d", "--start=0,0,0"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_TRUE(options->fly && options->preview);
    EXPECT_EQ(options->screenshotEvery->every, 1);
    EXPECT_TRUE(Parse({"--preview"}, error)->preview);
    EXPECT_FALSE(Parse({"--screenshot-every", "4", "d"}, error)->preview) << "shots alone are no preview";

    const std::vector<std::vector<const char*>> bad = {
        {"--start", "1,2"},        {"--start", "1,2,3,4"}, {"--start", "1,,3"},   {"--start", "1, 2,3"},
        {"--start", "a,b,c"},      {"--start", "1,2,nan"}, {"--start", "1,2,1e39"}, {"--start"},
        {"--screenshot-every", "0", "d"}, {"--screenshot-every", "-2", "d"}, {"--screenshot-every", "x", "d"},
        {"--screenshot-every", "5"},      {"--screenshot-every", "5", ""},   {"--fly=yes"},
    };
    for (const auto& args : bad) {
        EXPECT_FALSE(Parse(args, error)) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_NE(error.find(std::string(args[0]).substr(0, std::string(args[0]).find('='))), std::string::npos)
            << error;
    }
}

TEST(KeyScript, LinesCoverInclusiveFrames) {
    std::string error;
    auto script = ParseKeyScript(
        "# walk\n\n0 2 up left\n 5 5 ESCAPE\r\n3 4 Numpad0 1 m p w x down right\n6 6 PageUp pagedown F5\n", "s", error);
    ASSERT_TRUE(script) << error;
    EXPECT_TRUE(script->Held(0, VK_UP));
    EXPECT_TRUE(script->Held(2, VK_LEFT));
    EXPECT_FALSE(script->Held(3, VK_UP));
    EXPECT_TRUE(script->Held(3, VK_NUMPAD0));
    EXPECT_TRUE(script->Held(4, VK_X));
    EXPECT_TRUE(script->Held(4, VK_1));
    EXPECT_FALSE(script->Held(5, VK_UP));
    for (int key : {VK_PRIOR, VK_NEXT, VK_F5}) EXPECT_TRUE(script->Held(6, key)) << key;
    EXPECT_FALSE(script->Held(5, VK_F5));
    ScriptedKeys keys(*script);
    keys.SetFrame(1);
    EXPECT_EQ(keys.GetAsyncKeyState(VK_UP), kKeyHeldBit);
    EXPECT_EQ(keys.GetAsyncKeyState(VK_DOWN), 0);
    EXPECT_TRUE(keys.QuitAfterFrame(5));
    EXPECT_FALSE(keys.QuitAfterFrame(4));
}

TEST(KeyScript, MalformedLinesNameTheFileAndLine) {
    std::string error;
    const char* bad[] = {"0 1 JUMP", "0 x UP", "0", "3 1 UP", "0 1", "-1 2 UP", "1 2.5 UP"};
    for (const char* line : bad) {
        EXPECT_FALSE(ParseKeyScript(std::string("# ok\n") + line + "\n", "walk.keys", error)) << line;
        EXPECT_EQ(error.rfind("walk.keys: line 2: ", 0), 0u) << error;
    }
    EXPECT_FALSE(LoadKeyScript("/nonexistent/brontal.keys", error));
    EXPECT_NE(error.find("/nonexistent/brontal.keys"), std::string::npos);
    EXPECT_FALSE(LoadKeyScript("/", error));  // a directory is no script of no keys
    EXPECT_EQ(error, "/: cannot read: a directory, not a regular file (the key script)");
}

TEST(StateLog, ExactFieldsAndFormat) {
    const std::uint16_t rooms[] = {2, 0};
    FrameStateRecord r;
    r.frame = 7;
    r.dt = 1.0f / 30.0f;
    r.position = {1.5f, -2.0f, 0.1f};
    r.heading = -2.31f;
    r.animFrame = 1.0f;
    r.currentRoom = 2;
    r.currentRoomName = "Hall \"A\"\\\n\x01\x7F\xE9";
    r.visibleRooms = rooms;
    r.visibleRoomCount = 2;
    r.trianglesDrawn = 1234;
    r.framesPerSecond = 100.0f;
    r.camera = {0, 60, -160};
    std::string line;
    FormatStateLine(r, line);
    EXPECT_EQ(line,
              "{\"frame\":7,\"dt\":0.0333333351,\"position\":[1.5,-2,0.100000001],\"heading\":-2.30999994,"
              "\"lean\":0,\"animFrame\":1,\"currentRoom\":2,"
              "\"currentRoomName\":\"Hall \\\"A\\\"\\\\\\n\\u0001\\u007f\\u00e9\","
              "\"visibleRooms\":[2,0],\"trianglesDrawn\":1234,\"framesPerSecond\":100,\"camera\":[0,60,-160]}\n");
}

TEST(StateLog, NoRoomYetIsNull) {
    FrameStateRecord r;
    std::string line;
    FormatStateLine(r, line);
    EXPECT_NE(line.find("\"currentRoom\":0,\"currentRoomName\":null,\"visibleRooms\":[]"), std::string::npos);
}

}  // namespace
}  // namespace brontal
