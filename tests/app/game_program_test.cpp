// The game as a program: what its command line does, where it finds its data, and how a signal
// ends it. Runs are headless and no display variable reaches the game, so no message box opens.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace brontal {
namespace {

namespace fs = std::filesystem;

struct GameRun {
    int exitCode = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The width and height of a PNG file, from its IHDR chunk; 0 x 0 when it is not a PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const fs::path& path) {
    const std::string bytes = Slurp(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
    auto be32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

class GameProgram : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("brontal_game_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "start");
    }
    void TearDown() override { fs::remove_all(root_); }

    // Runs the game in directory `cwd` with the display variables removed. The leak checker of
    // sanitizer builds is off for the game: the OpenGL driver keeps its memory to the end.
    GameRun Game(const fs::path& cwd, const std::string& arguments) {
        const fs::path out = root_ / "out.txt", err = root_ / "err.txt";
        const std::string command = "cd '" + cwd.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY" +
                                    " ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '" + BRONTAL_GAME + "' " +
                                    arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        GameRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Slurp(out);
        run.err = Slurp(err);
        return run;
    }
    static bool SampleDataBuilt() { return fs::exists(fs::path(BRONTAL_BUILD_DATA) / "LEVELS/LEVEL_001.VRM"); }

    fs::path root_;
};

TEST_F(GameProgram, HelpVersionAndUsageErrors) {
    GameRun run = Game(root_, "--help");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("--data DIR"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("--size WxH"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("--screenshot-every N DIR"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
    run = Game(root_, "--version");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Brontal 0.1\n");
    for (const char* bad : {"--jump", "--size 10x10", "--windowed --fullscreen", "--frames", "--start 1,2",
                            "--screenshot-every 0 shots"}) {
        run = Game(root_, bad);
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_EQ(run.out, "") << bad;
        const std::string option = std::string(bad).substr(0, std::string(bad).find(' '));
        EXPECT_NE(run.err.find(option), std::string::npos) << bad << ": " << run.err;
    }
}

TEST_F(GameProgram, MissingDataNamesWhereItLooked) {
    fs::create_directories(root_ / "empty");
    GameRun run = Game(root_ / "start", "--headless --data ../empty");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("looked in:\n  " + (root_ / "empty").string() + "\n"), std::string::npos) << run.err;
    run = Game(root_ / "start", "--headless --data /nonexistent/brontal --level x.vrm");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("/nonexistent/brontal"), std::string::npos) << run.err;
}

TEST_F(GameProgram, StartedElsewhereFindsTheDataAndKeepsRelativePaths) {
    if (!SampleDataBuilt()) GTEST_SKIP() << "the sample data is not built";
    const GameRun run = Game(root_ / "start", "--headless --frames 2 --screenshot shot.png --state-log log.jsonl");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string dataDir = fs::canonical(BRONTAL_BUILD_DATA).string();
    EXPECT_EQ(run.err.rfind("Brontal 0.1; renderer: OpenGL ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("; data: " + dataDir + "\n"), std::string::npos) << run.err;
    EXPECT_EQ(PngSize(root_ / "start/shot.png").first, 1024u) << "written where the game was started";
    const std::string log = Slurp(root_ / "start/log.jsonl");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
}

// Outputs are checked before anything runs and written only when the run ends well: an input or
// an old output is never lost, and every failure names its path and gives a non-zero status.
TEST_F(GameProgram, OutputsNeverDestroyInputsAndWriteErrorsAreReported) {
    if (!SampleDataBuilt()) GTEST_SKIP() << "the sample data is not built";
    const fs::path start = root_ / "start";
    fs::copy_file(fs::path(BRONTAL_BUILD_DATA) / "LEVELS/LEVEL_001.VRM", start / "level.vrm");
    std::ofstream(start / "walk.keys") << "0 1 UP\n";
    std::ofstream(start / "old.jsonl") << "old\n";
    const std::string level = Slurp(start / "level.vrm");
    const struct {
        const char* arguments;
        int status;
        const char* message;
    } cases[] = {
        {"--level level.vrm --state-log ./level.vrm", 2, "level.vrm: --state-log would overwrite"},
        {"--keys walk.keys --device-trace walk.keys", 2, "walk.keys: --device-trace would overwrite"},
        {"--state-log out.jsonl --device-trace out.jsonl", 2, "names a file another option of this run writes"},
        {"--screenshot missing/shot.png", 1, "missing/shot.png: cannot write: the directory"},
        {"--level none.vrm --state-log old.jsonl", 1, "none.vrm: cannot open"},
        {"--state-log /dev/full", 1, "/dev/full: cannot write: No space left on device"},
    };
    for (const auto& c : cases) {
        const GameRun run = Game(start, std::string("--headless --frames 2 ") + c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
    }
    EXPECT_EQ(Slurp(start / "level.vrm"), level);
    EXPECT_EQ(Slurp(start / "walk.keys"), "0 1 UP\n");
    EXPECT_EQ(Slurp(start / "old.jsonl"), "old\n") << "a run that failed at start keeps the old log";
    EXPECT_FALSE(fs::exists(start / "out.jsonl"));
    EXPECT_EQ(std::distance(fs::directory_iterator(start), {}), 3) << "no temporary file is left behind";
}

TEST_F(GameProgram, DataDirectorySuppliesTheSettingsAndOptionsOverrideThem) {
    if (!SampleDataBuilt()) GTEST_SKIP() << "the sample data is not built";
    const fs::path data = root_ / "my data";
    fs::create_directories(data / "LEVELS");
    fs::copy_file(fs::path(BRONTAL_BUILD_DATA) / "LEVELS/LEVEL_001.VRM", data / "LEVELS/LEVEL_001.VRM");
    std::ofstream(data / "config.dat", std::ios::binary).write("\x00\x00\x00\x00\x00\x00\x01", 7);  // 640 x 480

    GameRun run = Game(root_ / "start", "--headless --frames 1 --data '../my data' --screenshot a.png");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("; data: " + data.string() + "\n"), std::string::npos) << run.err;
    EXPECT_EQ(PngSize(root_ / "start/a.png"), std::make_pair(640u, 480u)) << "config.dat of the data directory";

    // With the level named, the directory needs no LEVELS/ and still gives its config.dat.
    fs::rename(data / "LEVELS/LEVEL_001.VRM", root_ / "start/mine.vrm");
    fs::remove(data / "LEVELS");
    run = Game(root_ / "start", "--headless --frames 1 --data '../my data' --level mine.vrm --screenshot c.png");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(PngSize(root_ / "start/c.png"), std::make_pair(640u, 480u));
    fs::create_directories(data / "LEVELS");
    fs::rename(root_ / "start/mine.vrm", data / "LEVELS/LEVEL_001.VRM");

    run = Game(data, "--headless --frames 1 --size 320x200 --screenshot b.png");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("; data: " + data.string() + "\n"), std::string::npos) << "the working directory first";
    EXPECT_EQ(PngSize(data / "b.png"), std::make_pair(320u, 200u));
    EXPECT_EQ(Slurp(data / "config.dat"), std::string("\x00\x00\x00\x00\x00\x00\x01", 7)) << "never written";
}

TEST_F(GameProgram, WriteSettingsWritesTheDefaultsOnceAndNeverOverThePlayersFile) {
    const fs::path settings = root_ / "conf/brontal/settings.ini";
    ::setenv("XDG_CONFIG_HOME", (root_ / "conf").c_str(), 1);
    GameRun run = Game(root_ / "start", "--write-settings");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(Slurp(settings).find("[gamepad]"), std::string::npos);
    EXPECT_NE(run.err.find(settings.string()), std::string::npos) << run.err;

    std::ofstream(settings) << "[keys]\nup = W\n";
    run = Game(root_ / "start", "--write-settings");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("already exists"), std::string::npos) << run.err;
    EXPECT_EQ(Slurp(settings), "[keys]\nup = W\n");
}

TEST_F(GameProgram, QuitSignalsEndTheGameWithStatusZero) {
    if (!SampleDataBuilt()) GTEST_SKIP() << "the sample data is not built";
    for (int signal : {SIGTERM, SIGINT}) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::dup2(fds[1], 2);
            ::close(fds[0]);
            ::close(fds[1]);
            ::unsetenv("DISPLAY");
            ::unsetenv("WAYLAND_DISPLAY");
            ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            ::execl(BRONTAL_GAME, BRONTAL_GAME, "--headless", "--data", BRONTAL_BUILD_DATA, "--frames", "100000000",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // The start line comes once the game is set up and about to run its frames.
        std::string err;
        char c = 0;
        for (;;) {
            const ssize_t n = ::read(fds[0], &c, 1);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0 || c == '\n') break;
            err += c;
        }
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(fds[0]);
        EXPECT_NE(err.find("Brontal 0.1"), std::string::npos) << err;
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << signal << " killed the game instead of ending it";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "signal " << signal;
    }
}

}  // namespace
}  // namespace brontal
