// brontal-level info --json: the text report's facts as one JSON object.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "level/writer.h"
#include "platform/image.h"
#include "small_level.h"

namespace brontal {
namespace {

using nlohmann::json;

struct ToolRun {
    int exitCode = -1;
    std::string out;
};

ToolRun RunTool(const std::string& arguments) {
    const std::string command = std::string(BRONTAL_LEVEL_TOOL) + " " + arguments + " 2>/dev/null";
    ToolRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}


// Two rooms (one named with a byte that is not UTF-8), a solid model, a figure with one track of
// three keys, a texture that decodes and a PNG cut short after its signature.
std::vector<std::uint8_t> SmallLevel() {
    Level level = test::SmallToolLevel(3);
    level.levelName = "Json";
    level.startPosition = {1, 2, 3};
    level.textureCount = 2;
    level.rooms[1].name = "Caf\xE9";
    Image image;
    image.width = 4;
    image.height = 2;
    image.rgba.assign(4 * 2 * 4, 200);
    return WriteLevel(level, {EncodeBmp(image), {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0}});
}

class LevelInfoJson : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = (std::filesystem::temp_directory_path() / ("brontal_info_" + std::to_string(::getpid()) + ".vrm"))
                    .string();
        const std::vector<std::uint8_t> bytes = SmallLevel();
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        size_ = bytes.size();
    }
    void TearDown() override { std::filesystem::remove(path_); }
    std::string path_;
    std::size_t size_ = 0;
};

TEST_F(LevelInfoJson, CarriesEveryFactOfTheTextReport) {
    const ToolRun run = RunTool("info --json " + path_);
    ASSERT_EQ(run.exitCode, 0);
    const json info = json::parse(run.out);  // throws, failing the test, when it is not JSON
    EXPECT_EQ(info["file"], path_);
    EXPECT_EQ(info["bytes"], size_);
    EXPECT_GT(info["chunks"].get<int>(), 5);
    EXPECT_EQ(info["header"], json::parse(R"({"name":"Json","rooms":2,"models":1,"animatedModels":1,
                                              "textures":2,"start":[1.0,2.0,3.0]})"));
    EXPECT_EQ(info["read"], json::parse(R"({"rooms":2,"models":1,"animatedModels":1,"textureImages":2})"));
    ASSERT_EQ(info["rooms"].size(), 2u);
    EXPECT_EQ(info["rooms"][0], json::parse(R"({"name":"Hall","box":{"min":[-5.0,0.0,2.0],"max":[5.0,3.0,8.0]},
        "surfaces":1,"objects":0,"lights":0,"sky":true,"visible":[0,1]})"));
    EXPECT_EQ(info["rooms"][1]["name"], "Caf\xEF\xBF\xBD") << "the byte that is not UTF-8 becomes U+FFFD";
    EXPECT_EQ(info["rooms"][1]["sky"], false);
    EXPECT_EQ(info["models"], json::parse(R"([{"surfaces":1,"solid":true,
        "box":{"min":[-5.0,0.0,2.0],"max":[5.0,3.0,8.0]}}])"));
    EXPECT_EQ(info["animatedModels"], json::parse(R"([{"parts":1,"tracks":1,"keys":[3]}])"));
    ASSERT_EQ(info["textures"].size(), 2u);
    EXPECT_EQ(info["textures"][0], json::parse(R"({"format":"BMP","bytes":)" +
                                               std::to_string(info["textures"][0]["bytes"].get<int>()) +
                                               R"(,"decodes":true,"width":4,"height":2,"alpha":false})"));
    EXPECT_EQ(info["textures"][1]["format"], "PNG");
    EXPECT_EQ(info["textures"][1]["decodes"], false);
    EXPECT_FALSE(info["textures"][1]["error"].get<std::string>().empty());
}

TEST_F(LevelInfoJson, OptionMayFollowTheFileAndUsageErrorsStay) {
    const ToolRun after = RunTool("info " + path_ + " --json");
    ASSERT_EQ(after.exitCode, 0);
    EXPECT_EQ(after.out, RunTool("info --json " + path_).out);
    EXPECT_NE(RunTool("info " + path_).out.rfind("file ", 0), std::string::npos) << "text without --json";
    EXPECT_EQ(RunTool("info --json").exitCode, 2);
    EXPECT_EQ(RunTool("info --json " + path_ + " " + path_).exitCode, 2);
    EXPECT_EQ(RunTool("info --json /nonexistent/level.vrm").exitCode, 1);
}

}  // namespace
}  // namespace brontal
