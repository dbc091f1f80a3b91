#include "shell/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace brontal {
namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        path_ = (std::filesystem::temp_directory_path() /
                 ("brontal_config_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".dat"))
                    .string();
    }
    void TearDown() override {
        std::filesystem::remove(path_);
        ResetSettings();
    }
    void Write(const std::vector<unsigned char>& bytes) {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::string path_;
};

TEST_F(Settings, MissingFileKeepsTheDefaults) {
    ReadConfig(path_ + ".absent");
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_EQ(windowed, 0);
    EXPECT_EQ(showOverlay, 1);
    EXPECT_EQ(depthBits, 16);
}

TEST_F(Settings, FlagsAlwaysComeFromTheFile) {
    Write({0x02, 0, 0, 0, 0, 0x00, 0x01});
    ReadConfig(path_);
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_EQ(windowed, 1);
    EXPECT_EQ(showOverlay, 0);
}

TEST_F(Settings, IgnoredBytesAndTheOddSize) {
    Write({0x04, 0xAA, 0xBB, 0xCC, 0xDD, 0x01, 0x00});
    ReadConfig(path_);
    EXPECT_EQ(screenWidth, 1280);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_EQ(windowed, 0);
    EXPECT_EQ(showOverlay, 1);
}

TEST_F(Settings, EveryTableEntry) {
    const std::uint16_t expected[6][2] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 768}, {1280, 1024}};
    for (unsigned char index = 0; index < 6; ++index) {
        ResetSettings();
        Write({index, 0, 0, 0, 0, 1, 1});
        ReadConfig(path_);
        EXPECT_EQ(screenWidth, expected[index][0]) << int(index);
        EXPECT_EQ(screenHeight, expected[index][1]) << int(index);
    }
}

TEST_F(Settings, OutOfRangeIndexKeepsTheSizeButTakesTheFlags) {
    for (unsigned char index : {0x06, 0x7F, 0x80, 0xFF}) {
        ResetSettings();
        Write({index, 0, 0, 0, 0, 0x05, 0x09});
        ReadConfig(path_);
        EXPECT_EQ(screenWidth, 1024) << int(index);
        EXPECT_EQ(screenHeight, 768) << int(index);
        EXPECT_EQ(windowed, 1);
        EXPECT_EQ(showOverlay, 1);
    }
}

TEST_F(Settings, LongerFileReadsOnlySevenBytes) {
    Write({0x01, 0, 0, 0, 0, 0, 1, 0xFF, 0xFF, 0xFF});
    ReadConfig(path_);
    EXPECT_EQ(screenWidth, 800);
    EXPECT_EQ(showOverlay, 0);
    EXPECT_EQ(windowed, 1);
}

TEST_F(Settings, ShortFileUsesTheBytesItHas) {
    Write({0x00, 0, 0, 0, 0, 0x00});  // six bytes: no window byte
    ReadConfig(path_);
    EXPECT_EQ(screenWidth, 640);
    EXPECT_EQ(showOverlay, 0);
    EXPECT_EQ(windowed, 0);  // default kept

    ResetSettings();
    Write({});
    ReadConfig(path_);
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(showOverlay, 1);
    EXPECT_EQ(windowed, 0);
}

}  // namespace
}  // namespace brontal
