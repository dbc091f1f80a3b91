#include "app/screenshot_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace brontal {
namespace {

TEST(ScreenshotFiles, DataHomeFollowsTheXdgFallbacks) {
    EXPECT_EQ(XdgDataHome("/data/ann", "/home/ann"), "/data/ann");
    EXPECT_EQ(XdgDataHome(nullptr, "/home/ann"), "/home/ann/.local/share") << "unset";
    EXPECT_EQ(XdgDataHome("", "/home/ann"), "/home/ann/.local/share") << "empty";
    EXPECT_EQ(XdgDataHome("data", "/home/ann"), "/home/ann/.local/share") << "relative";
    EXPECT_EQ(XdgDataHome("./data", "/home/ann/"), "/home/ann/.local/share");
    EXPECT_EQ(XdgDataHome(nullptr, "/"), "/.local/share");
    EXPECT_FALSE(XdgDataHome(nullptr, nullptr));
    EXPECT_FALSE(XdgDataHome("", "relative/home"));
}

TEST(ScreenshotFiles, NamesCarryTheLocalTimeAndTheAttempt) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 9;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(ScreenshotFileName(t, 1), "brontal-2026-01-09_07-05-03.png");
    EXPECT_EQ(ScreenshotFileName(t, 2), "brontal-2026-01-09_07-05-03-2.png");
}

class ScreenshotDir : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / ("brontal_shots_" + std::to_string(::getpid()));
        std::filesystem::remove_all(root_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path root_;
};

TEST_F(ScreenshotDir, MissingDirectoriesAreMadePrivate) {
    const std::string dir = (root_ / "share/brontal/screenshots").string();
    std::string error;
    ASSERT_TRUE(MakeDirectories(dir, error)) << error;
    struct stat info{};
    ASSERT_EQ(::stat(dir.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(MakeDirectories(dir, error)) << "existing directories are fine";
    std::ofstream((root_ / "file").string()) << "x";
    EXPECT_FALSE(MakeDirectories((root_ / "file/below").string(), error));
    EXPECT_NE(error.find("file"), std::string::npos) << error;
}

TEST_F(ScreenshotDir, NeverWritesOverAnExistingFile) {
    std::string error;
    ASSERT_TRUE(MakeDirectories(root_.string(), error)) << error;
    std::tm t{};
    t.tm_year = 126;
    t.tm_mday = 1;
    const std::string first = (root_ / ScreenshotFileName(t, 1)).string();
    std::ofstream(first) << "older";  // a shot taken in the same second

    auto path = WriteNewScreenshot(root_.string(), t, {1, 2, 3}, error);
    ASSERT_TRUE(path) << error;
    EXPECT_EQ(*path, (root_ / ScreenshotFileName(t, 2)).string());
    EXPECT_EQ(Slurp(first), "older");
    EXPECT_EQ(Slurp(*path), std::string("\x01\x02\x03", 3));
    path = WriteNewScreenshot(root_.string(), t, {4}, error);
    ASSERT_TRUE(path) << error;
    EXPECT_EQ(*path, (root_ / ScreenshotFileName(t, 3)).string());

    EXPECT_FALSE(WriteNewScreenshot((root_ / "missing").string(), t, {1}, error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

}  // namespace
}  // namespace brontal
