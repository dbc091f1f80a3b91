// Outputs through a temporary file beside the target, renamed into place when complete.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "files/file_io.h"

namespace brontal {
namespace {

std::string Reason() { return std::strerror(errno); }

// The permissions a new file gets from fopen under the process's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool OutputFile::Open(const std::string& path, std::string& error) {
    Discard();
    if (const std::string problem = CheckOutputPath(path); !problem.empty()) {
        error = problem;
        return false;
    }
    path_ = path;
    target_ = path;
    mode_t mode = NewFileMode();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            // Nothing to keep: write straight into the device or pipe.
            stream_ = std::fopen(path.c_str(), "wb");
            if (!stream_) error = path + ": cannot open for writing: " + Reason();
            return stream_ != nullptr;
        }
        mode = info.st_mode & 07777;
        std::error_code failed;
        const std::filesystem::path resolved = std::filesystem::canonical(path, failed);
        if (!failed) target_ = resolved.string();  // a link keeps pointing at the file it names
    }
    const std::filesystem::path target(target_);
    const std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
    std::string pattern = dir + "/." + target.filename().string() + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        error = path + ": cannot create a temporary file in " + dir + ": " + Reason();
        return false;
    }
    temporary_ = pattern;
    ::fchmod(fd, mode);
    stream_ = ::fdopen(fd, "wb");
    if (!stream_) {
        error = path + ": cannot open for writing: " + Reason();
        ::close(fd);
        Discard();
        return false;
    }
    return true;
}

bool OutputFile::Commit(std::string& error) {
    if (!stream_) {
        error = path_ + ": cannot write: the file is not open";
        return false;
    }
    // A write that failed earlier left bytes in the buffer: flushing again names the reason.
    const bool flushed = std::fflush(stream_) == 0;
    const int flushErrno = errno;
    const bool written = flushed && std::ferror(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed) {
        error = path_ + ": cannot write: " + (flushed && closed ? std::string("a write failed")
                                                                 : std::strerror(flushed ? errno : flushErrno));
        Discard();
        return false;
    }
    if (!temporary_.empty()) {
        if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
            error = path_ + ": cannot put the written file in place: " + Reason();
            Discard();
            return false;
        }
        temporary_.clear();
    }
    return true;
}

void OutputFile::Discard() {
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    OutputFile out;
    if (!out.Open(path, error)) return false;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out.Stream());
    return out.Commit(error);
}

}  // namespace brontal
