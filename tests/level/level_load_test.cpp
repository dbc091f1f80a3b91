// Level::load: the file from disk, the refusal reported through LastError, an empty level after.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "level/level_bytes.h"

namespace brontal {
namespace {

using namespace test;

class LevelLoad : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("brontal_level_load_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_ / "LEVELS");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::filesystem::path path = dir_ / "LEVELS" / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    std::filesystem::path dir_;
};

TEST_F(LevelLoad, ReadsAFileNamedWithBackslashes) {
    ChunkWriter w;
    PutHeader(w, 1, 0, 0, 0, "disk");
    PutRoom(w, 0, 0, 0, {0}, 1, "Only");
    Write("LEVEL_001.VRM", w.bytes);
    Level level;
    ASSERT_TRUE(level.load(dir_.string() + "\\LEVELS\\LEVEL_001.VRM", nullptr)) << level.LastError();
    EXPECT_EQ(level.levelName, "disk");
    EXPECT_EQ(level.rooms[0].name, "Only");
    EXPECT_TRUE(level.LastError().empty());
}

TEST_F(LevelLoad, RefusalLeavesTheLevelEmptyAndSaysWhy) {
    ChunkWriter good;
    PutHeader(good, 1, 0, 0, 0, "good");
    PutRoom(good, 0, 0, 0);
    Write("GOOD.VRM", good.bytes);
    ChunkWriter bad;
    PutHeader(bad, 1, 0, 0, 1);
    PutTriangle(bad, 18);
    const std::string badPath = Write("BAD.VRM", bad.bytes);

    Level level;
    ASSERT_TRUE(level.load((dir_ / "LEVELS" / "GOOD.VRM").string(), nullptr));
    ASSERT_EQ(level.roomCount, 1);
    EXPECT_FALSE(level.load(badPath, nullptr));
    EXPECT_EQ(level.LastError(), badPath + ": byte 24: room surface chunk (18) before any room chunk");
    EXPECT_EQ(level.roomCount, 0);
    EXPECT_TRUE(level.rooms.empty());
    EXPECT_TRUE(level.levelName.empty());
}

TEST_F(LevelLoad, MissingFileAndFilesThatAreNotRegularAreRefusedWithoutWaiting) {
    const std::string fifo = (dir_ / "LEVELS" / "FIFO.VRM").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {(dir_ / "LEVELS" / "NONE.VRM").string(), ": cannot open: No such file or directory"},
        {(dir_ / "LEVELS").string(), ": cannot read: a directory, not a regular file"},
        {fifo, ": cannot read: a FIFO, not a regular file"},  // no writer: opening must not block
        {"/dev/zero", ": cannot read: a character device, not a regular file"},
    };
    for (const auto& c : cases) {
        Level level;
        EXPECT_FALSE(level.load(c.path, nullptr));
        EXPECT_EQ(level.LastError(), c.path + c.message);
    }
}

TEST_F(LevelLoad, EmptyAndHeaderlessFilesAreEmptyLevelsWithOneWarning) {
    ChunkWriter unknownIds;
    unknownIds.U16(0x1A);
    ChunkWriter headerOnly;
    PutHeader(headerOnly, 0, 0, 0, 0);
    ChunkWriter oneRoom;
    PutHeader(oneRoom, 1, 0, 0, 0);
    PutRoom(oneRoom, 0, 0, 0);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* warning;
    } cases[] = {
        {"EMPTY.VRM", {}, "the level holds nothing to draw (no level header chunk)"},
        {"UNKNOWN.VRM", unknownIds.bytes, "the level holds nothing to draw (no level header chunk)"},
        {"HEADER.VRM", headerOnly.bytes, "the level holds nothing to draw (no rooms and no animated model)"},
        {"ROOM.VRM", oneRoom.bytes, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c.name, c.bytes);
        Level level;
        LevelReadDetails details;
        std::string error;
        ASSERT_TRUE(ReadLevel(c.bytes.data(), c.bytes.size(), path, nullptr, level, error, &details)) << error;
        const std::string warning = NothingToDrawWarning(path, level, details.hasHeader);
        EXPECT_EQ(warning, c.warning ? "warning: " + path + ": " + c.warning : "");
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(level.load(path, nullptr)) << level.LastError();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), warning.empty() ? "" : warning + "\n");
    }
}

}  // namespace
}  // namespace brontal
