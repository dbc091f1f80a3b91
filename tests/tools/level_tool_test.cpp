// brontal-level as a program: exit codes and what it prints.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "level/writer.h"
#include "platform/image.h"
#include "small_level.h"

namespace brontal {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

class LevelTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("brontal_level_tool_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static std::string Slurp(const std::filesystem::path& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    ToolRun Tool(const std::string& arguments) {
        const std::filesystem::path out = dir_ / "out.txt", err = dir_ / "err.txt";
        const std::string command = std::string(BRONTAL_LEVEL_TOOL) + " " + arguments + " >" + out.string() +
                                    " 2>" + err.string();
        const int status = std::system(command.c_str());
        ToolRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Slurp(out);
        run.err = Slurp(err);
        return run;
    }
    std::filesystem::path dir_;
};


std::vector<std::uint8_t> GoodLevel() {
    Level level = test::SmallToolLevel(4);
    level.levelName = "Tool";
    level.textureCount = 1;
    Image image;
    image.width = 8;
    image.height = 2;
    image.rgba.assign(8 * 2 * 4, 90);
    return WriteLevel(level, {EncodeBmp(image)});
}

TEST_F(LevelTool, CheckExitCodes) {
    const std::string good = Write("good.vrm", GoodLevel());
    ToolRun run = Tool("check " + good);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, good + ": good: 2 rooms, 1 models, 1 animated models, 1 textures\n");
    EXPECT_EQ(run.err, "");

    ChunkWriter bad;
    bad.U16(0x0011);  // a room before the header
    const std::string badPath = Write("bad.vrm", bad.bytes);
    run = Tool("check " + badPath);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, badPath + ": byte 0: room chunk (17) before the level header chunk\n");

    run = Tool("check " + (dir_ / "missing.vrm").string());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot open"), std::string::npos) << run.err;

    run = Tool("check");
    EXPECT_EQ(run.exitCode, 2);
}

// Room 0, a floor under a ceiling with nothing between, looks onto room 1, a wall; each lists
// only itself.
std::vector<std::uint8_t> YardAndWall() {
    const auto surface = [](std::vector<Vertex> vertices) {
        Surface s;
        s.vertices = std::move(vertices);
        s.indices = {0, 1, 2, 0, 2, 3};
        s.vertexCount = 4;
        s.indexCount = 6;
        s.triangleCount = 2;
        return s;
    };
    Level level;
    level.roomCount = 2;
    level.rooms.resize(2);
    level.rooms[0].name = "Yard";
    level.rooms[0].surfaces = {surface({{0, 0, 0, 0, 0}, {0, 0, 100, 0, 0}, {100, 0, 100, 0, 0}, {100, 0, 0, 0, 0}}),
                               surface({{0, 200, 0, 0, 0}, {100, 200, 0, 0, 0}, {100, 200, 100, 0, 0},
                                        {0, 200, 100, 0, 0}})};
    level.rooms[1].name = "Wall";
    level.rooms[1].surfaces = {surface({{0, 0, 300, 0, 0}, {0, 200, 300, 0, 0}, {100, 200, 300, 0, 0},
                                        {100, 0, 300, 0, 0}})};
    for (std::uint16_t r = 0; r < 2; ++r) {
        level.rooms[r].surfaceCount = static_cast<std::uint16_t>(level.rooms[r].surfaces.size());
        level.rooms[r].visibleRooms = {r};
        level.rooms[r].visibleRoomCount = 1;
    }
    level.textureCount = 1;
    Image image;
    image.width = image.height = 1;
    image.rgba.assign(4, 200);
    return WriteLevel(level, {EncodeBmp(image)});
}

TEST_F(LevelTool, VisReportsMissingRoomsAndWritesTheComputedLists) {
    const std::string path = Write("yard.vrm", YardAndWall());
    ToolRun run = Tool("check " + path);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "warning: " + path + ": room 0 \"Yard\" can see room 1 \"Wall\", which its visible list leaves out\n");

    const std::string mended = (dir_ / "mended.vrm").string();
    run = Tool("vis " + path + " -o " + mended);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("room 0 \"Yard\": computed [0 1]\n  misses room 1 \"Wall\"\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("room 1 \"Wall\": computed [1]\n"), std::string::npos) << run.out;
    run = Tool("check " + mended);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    // One more list entry in room 0's chunk; everything after it as it was.
    const std::vector<std::uint8_t> before = YardAndWall();
    const std::string after = Slurp(mended);
    ASSERT_EQ(after.size(), before.size() + 2);
    const std::size_t tail = 200;  // well past room 0's chunk
    EXPECT_TRUE(std::equal(before.end() - tail, before.end(), after.end() - tail,
                           [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
    run = Tool("vis " + mended);
    EXPECT_EQ(run.out.find("misses"), std::string::npos) << run.out;
}

TEST_F(LevelTool, InfoDescribesEveryRecord) {
    const std::string good = Write("good.vrm", GoodLevel());
    const ToolRun run = Tool("info " + good);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* line : {
             "header: name \"Tool\", rooms 2, models 1, animated models 1, textures 1, start (0, 0, 0)\n",
             "read: rooms 2, models 1, animated models 1, texture images 1\n",
             "room 0 \"Hall\": box (-5, 0, 2) to (5, 3, 8), surfaces 1, objects 0, lights 0, sky yes, visible [0 1]\n",
             "room 1 \"\": box (0, 0, 0) to (0, 0, 0), surfaces 0, objects 0, lights 0, sky no, visible []\n",
             "model 0: surfaces 1, solid yes, box (-5, 0, 2) to (5, 3, 8)\n",
             "animated model 0: parts 1, tracks 1, keys [4]\n",
         }) {
        EXPECT_NE(run.out.find(line), std::string::npos) << "missing: " << line << "in:\n" << run.out;
    }
    EXPECT_NE(run.out.find("texture 0: BMP, "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(", 8 x 2\n"), std::string::npos) << run.out;
}

TEST_F(LevelTool, ChunksListsOffsetsIdsKindsAndLengths) {
    ChunkWriter w;
    w.U16(0x0010);
    w.String("");
    for (int i = 0; i < 4; ++i) w.U16(0);
    w.Vec3({0, 0, 0});
    w.U16(0x0030);
    const ToolRun run = Tool("chunks " + Write("c.vrm", w.bytes));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("         0  0x0010  level header            23\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("        23  0x0030  unknown                  2\n"), std::string::npos) << run.out;
}

TEST_F(LevelTool, HelpListsSubcommandsAndUnknownOnesFail) {
    ToolRun run = Tool("--help");
    EXPECT_EQ(run.exitCode, 0);
    for (const char* name : {"info", "check", "chunks"}) EXPECT_NE(run.out.find(name), std::string::npos) << name;
    run = Tool("frobnicate");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("unknown subcommand"), std::string::npos);
}

}  // namespace
}  // namespace brontal
