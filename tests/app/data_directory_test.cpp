#include "app/data_directory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>

namespace brontal {
namespace {

std::set<std::string> g_withData;
bool HasData(const std::string& dir) { return g_withData.count(dir) != 0; }

DataSearch TypicalSearch() {
    DataSearch search;
    search.workingDir = "/home/ann";
    search.executableDir = "/opt/brontal/bin";
    search.installedFromExecutable = "../share/brontal";
    search.buildDataDir = "/src/brontal/build/data";
    return search;
}

TEST(DataDirectory, LooksInTheWorkingThenInstalledThenBuildDirectory) {
    const auto candidates = DataDirectoryCandidates(TypicalSearch());
    EXPECT_EQ(candidates,
              (std::vector<std::string>{"/home/ann", "/opt/brontal/share/brontal", "/src/brontal/build/data"}));

    g_withData = {"/opt/brontal/share/brontal", "/src/brontal/build/data"};
    EXPECT_EQ(FindDataDirectory(candidates, HasData), "/opt/brontal/share/brontal");
    g_withData = {"/home/ann", "/src/brontal/build/data"};
    EXPECT_EQ(FindDataDirectory(candidates, HasData), "/home/ann");
    g_withData = {"/src/brontal/build/data"};
    EXPECT_EQ(FindDataDirectory(candidates, HasData), "/src/brontal/build/data");
    g_withData = {};
    EXPECT_FALSE(FindDataDirectory(candidates, HasData));

    const std::string message = DataNotFoundMessage(candidates);
    for (const std::string& dir : candidates) EXPECT_NE(message.find(dir), std::string::npos) << message;
    EXPECT_NE(message.find("--data"), std::string::npos);
}

TEST(DataDirectory, ExplicitDirectoryIsTheOnlyPlace) {
    DataSearch search = TypicalSearch();
    search.explicitDir = "games/brontal/";
    EXPECT_EQ(DataDirectoryCandidates(search), std::vector<std::string>{"/home/ann/games/brontal"});
    search.explicitDir = "/mnt/data";
    EXPECT_EQ(DataDirectoryCandidates(search), std::vector<std::string>{"/mnt/data"});
}

TEST(DataDirectory, UnknownPlacesAndRepeatsAreLeftOut) {
    DataSearch search = TypicalSearch();
    search.executableDir.clear();  // /proc not mounted
    search.buildDataDir = "/home/ann";
    EXPECT_EQ(DataDirectoryCandidates(search), std::vector<std::string>{"/home/ann"});
    search = TypicalSearch();
    search.workingDir = "/opt/brontal/share/brontal";  // started in the installed data
    EXPECT_EQ(DataDirectoryCandidates(search).size(), 2u);
}

TEST(DataDirectory, AbsolutePathsKeepMeaningTheStartDirectory) {
    EXPECT_EQ(AbsolutePathFrom("/home/ann", "shots/a.png"), "/home/ann/shots/a.png");
    EXPECT_EQ(AbsolutePathFrom("/home/ann", "./a.png"), "/home/ann/a.png");
    EXPECT_EQ(AbsolutePathFrom("/home/ann/x", "../a.png"), "/home/ann/a.png");
    EXPECT_EQ(AbsolutePathFrom("/home/ann", "/tmp/a.png"), "/tmp/a.png");
    EXPECT_EQ(AbsolutePathFrom("/", "a"), "/a");
    EXPECT_EQ(AbsolutePathFrom("/opt/brontal/bin", "../share/brontal"), "/opt/brontal/share/brontal");
}

TEST(DataDirectory, HoldsDataWhenItHasALevelsDirectory) {
    const auto dir = std::filesystem::temp_directory_path() / ("brontal_data_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    EXPECT_FALSE(HoldsGameData(dir.string()));
    { std::FILE* f = std::fopen((dir / "LEVELS").c_str(), "w"); ASSERT_TRUE(f); std::fclose(f); }
    EXPECT_FALSE(HoldsGameData(dir.string())) << "a file named LEVELS is not the data";
    std::filesystem::remove(dir / "LEVELS");
    std::filesystem::create_directories(dir / "LEVELS");
    EXPECT_TRUE(HoldsGameData(dir.string()));
    EXPECT_FALSE(HoldsGameData((dir / "missing").string()));
    EXPECT_TRUE(IsDirectory((dir / "LEVELS").string()));
    EXPECT_FALSE(IsDirectory((dir / "missing").string()));
    std::filesystem::remove_all(dir);
    EXPECT_EQ(ExecutableDirectory().empty(), false);
}

}  // namespace
}  // namespace brontal
