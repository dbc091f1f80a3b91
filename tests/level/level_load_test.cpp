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

TEST_F(LevelLoad, MissingFileDirectoryAndFifoAreRefusedWithoutWaiting) {
    Level level;
    const std::string missing = (dir_ / "LEVELS" / "NONE.VRM").string();
    EXPECT_FALSE(level.load(missing, nullptr));
    EXPECT_EQ(level.LastError(), missing + ": cannot open: No such file or directory");
    const std::string directory = (dir_ / "LEVELS").string();
    EXPECT_FALSE(level.load(directory, nullptr));
    EXPECT_EQ(level.LastError(), directory + ": cannot read: not a regular file");
    // Opening a FIFO that no one writes would wait for ever.
    const std::string fifo = (dir_ / "LEVELS" / "FIFO.VRM").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(level.load(fifo, nullptr));
    EXPECT_EQ(level.LastError(), fifo + ": cannot read: not a regular file");
}

TEST_F(LevelLoad, ZeroByteFileIsAnEmptyLevel) {
    Level level;
    ASSERT_TRUE(level.load(Write("EMPTY.VRM", {}), nullptr)) << level.LastError();
    EXPECT_EQ(level.roomCount, 0);
    EXPECT_TRUE(level.TextureTable.empty());
}

}  // namespace
}  // namespace brontal
