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

ssize_t OutputFile::WriteToFile(void* self, const char* bytes, std::size_t size) {
    auto* out = static_cast<OutputFile*>(self);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(out->fd_, bytes + done, size - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            if (out->writeErrno_ == 0) out->writeErrno_ = wrote < 0 ? errno : EIO;
            return done > 0 ? static_cast<ssize_t>(done) : -1;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return static_cast<ssize_t>(size);
}

int OutputFile::CloseFile(void* self) {
    auto* out = static_cast<OutputFile*>(self);
    const int result = ::close(out->fd_);
    if (result != 0 && out->writeErrno_ == 0) out->writeErrno_ = errno;
    out->fd_ = -1;
    return result;
}

bool OutputFile::Attach(int fd, std::string& error) {
    fd_ = fd;
    writeErrno_ = 0;
    const cookie_io_functions_t functions{nullptr, &OutputFile::WriteToFile, nullptr, &OutputFile::CloseFile};
    stream_ = ::fopencookie(this, "w", functions);
    if (!stream_) {
        error = path_ + ": cannot open for writing: " + Reason();
        ::close(fd);
        fd_ = -1;
        Discard();
        return false;
    }
    return true;
}

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
            const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
            if (fd < 0) {
                error = path + ": cannot open for writing: " + Reason();
                return false;
            }
            return Attach(fd, error);
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
    return Attach(fd, error);
}

bool OutputFile::Commit(std::string& error) {
    if (!stream_) {
        error = path_ + ": cannot write: the file is not open";
        return false;
    }
    const bool flushed = std::fflush(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!flushed || !closed || writeErrno_ != 0) {
        error = path_ + ": cannot write: " + std::strerror(writeErrno_ != 0 ? writeErrno_ : EIO);
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
