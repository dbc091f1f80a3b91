// Reading only regular files within a bound, outputs that replace a file only when complete,
// and telling when two paths name one file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/file_io.h"

namespace brontal {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("brontal_file_io_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "sub");
        std::ofstream(Path("ten")) << "0123456789";
        ::mkfifo(Path("fifo").c_str(), 0600);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Text(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t Entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {})); }
    fs::path dir_;
};

TEST_F(FileIo, OnlyRegularFilesWithinTheBoundAreRead) {
    const struct {
        std::string path;
        std::uint64_t bound;
        LongerFile longer;
        const char* expected;  // the bytes read, or the end of the message
    } cases[] = {
        {Path("ten"), 10, LongerFile::Refuse, "0123456789"},
        {Path("ten"), 4, LongerFile::ReadPrefix, "0123"},
        {Path("ten"), 9, LongerFile::Refuse, ": cannot read: the file is 10 bytes; at most 9 are read"},
        {Path("fifo"), 100, LongerFile::Refuse, ": cannot read: a FIFO, not a regular file"},
        {Path("sub"), 100, LongerFile::Refuse, ": cannot read: a directory, not a regular file"},
        {"/dev/zero", 100, LongerFile::ReadPrefix, ": cannot read: a character device, not a regular file"},
        {Path("none"), 100, LongerFile::Refuse, ": cannot open: No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<std::uint8_t> bytes{1};
        std::string error;
        const bool read = ReadRegularFile(c.path, c.bound, bytes, error, c.longer);
        if (read) {
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.expected);
        } else {
            EXPECT_EQ(error, c.path + c.expected);
            EXPECT_TRUE(bytes.empty());
        }
        EXPECT_EQ(read, c.expected[0] != ':');
    }
}

TEST_F(FileIo, AnOutputReplacesTheOldFileOnlyWhenCommitted) {
    const std::string target = Path("ten");
    {
        OutputFile out;
        std::string error;
        ASSERT_TRUE(out.Open(target, error)) << error;
        std::fputs("half", out.Stream());
        std::fflush(out.Stream());
        EXPECT_EQ(Text(target), "0123456789");  // nothing shows until the commit
    }
    EXPECT_EQ(Text(target), "0123456789");  // abandoned: the old file stands, no temporary is left
    EXPECT_EQ(Entries(), 3u);

    std::string error;
    ASSERT_TRUE(WriteFileAtomically(target, {'n', 'e', 'w'}, error)) << error;
    EXPECT_EQ(Text(target), "new");
    EXPECT_EQ(Entries(), 3u);

    fs::create_symlink(target, Path("link"));  // through a link, the file it names is replaced
    ASSERT_TRUE(WriteFileAtomically(Path("link"), {'x'}, error)) << error;
    EXPECT_TRUE(fs::is_symlink(Path("link")));
    EXPECT_EQ(Text(target), "x");
}

TEST_F(FileIo, OutputsThatCannotBeWrittenSaySoWithThePath) {
    const struct {
        std::string path;
        std::string message;  // empty when the write succeeds
    } cases[] = {
        {"/dev/null", ""},
        {"/dev/full", "/dev/full: cannot write: No space left on device"},
        {Path("sub"), ": cannot write: is a directory"},
        {Path("none/out"), ": cannot write: the directory " + Path("none") + " does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string error;
        const bool written = WriteFileAtomically(c.path, std::vector<std::uint8_t>(100000, 'a'), error);
        EXPECT_EQ(written, c.message.empty());
        if (!written) {
            EXPECT_EQ(error, c.path.rfind("/dev", 0) == 0 ? c.message : c.path + c.message);
        }
    }
    EXPECT_EQ(CheckOutputPath(Path("new")), "");
}

TEST_F(FileIo, SameFileSeesThroughLinksAndDots) {
    fs::create_symlink(Path("ten"), Path("link"));
    std::ofstream(Path("other")) << "x";
    EXPECT_TRUE(SameFile(Path("ten"), Path("link")));
    EXPECT_TRUE(SameFile(Path("ten"), Path("sub/../ten")));
    EXPECT_TRUE(SameFile(Path("new"), Path("sub/../new")));  // neither exists yet
    EXPECT_FALSE(SameFile(Path("ten"), Path("other")));
    EXPECT_FALSE(SameFile(Path("new"), Path("ten")));
    EXPECT_EQ(InputNamedBy(Path("sub/../link"), {Path("other"), Path("ten")}), Path("ten"));
    EXPECT_EQ(InputNamedBy(Path("new"), {Path("other"), Path("ten")}), std::nullopt);
}

}  // namespace
}  // namespace brontal
