#include "app/screenshot_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace brontal {

namespace {

constexpr int kMaximumAttempts = 1000;  // names tried within one second before giving up

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<std::string> XdgDataHome(const char* xdgDataHome, const char* home) {
    if (IsAbsolute(xdgDataHome)) return std::string(xdgDataHome);
    if (IsAbsolute(home)) {
        std::string dir = home;
        if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        return (dir == "/" ? std::string() : dir) + "/.local/share";
    }
    return std::nullopt;
}

std::optional<std::string> UserDataHome() {
    if (auto dir = XdgDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"))) return dir;
    const passwd* entry = ::getpwuid(::getuid());
    return XdgDataHome(nullptr, entry ? entry->pw_dir : nullptr);
}

std::string ScreenshotFileName(const std::tm& t, int attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "brontal-%04d-%02d-%02d_%02d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    std::string out = name;
    if (attempt >= 2) out += "-" + std::to_string(attempt);
    return out + ".png";
}

bool MakeDirectories(const std::string& dir, std::string& error) {
    if (dir.empty()) {
        error = "no directory named";
        return false;
    }
    for (std::size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
        const std::string prefix = dir.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            error = prefix + ": cannot create the directory: " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) break;
    }
    struct stat info{};
    if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = dir + ": not a directory";
        return false;
    }
    return true;
}

std::optional<std::string> WriteNewScreenshot(const std::string& dir, const std::tm& localTime,
                                              const std::vector<std::uint8_t>& bytes, std::string& error) {
    for (int attempt = 1; attempt <= kMaximumAttempts; ++attempt) {
        const std::string path = dir + "/" + ScreenshotFileName(localTime, attempt);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) {
            error = path + ": cannot create: " + std::strerror(errno);
            return std::nullopt;
        }
        const bool written = WriteAll(fd, bytes);
        const int savedErrno = errno;
        if (::close(fd) != 0 || !written) {
            error = path + ": cannot write: " + std::strerror(written ? errno : savedErrno);
            ::unlink(path.c_str());
            return std::nullopt;
        }
        return path;
    }
    error = dir + ": every screenshot name for this second is taken";
    return std::nullopt;
}

}  // namespace brontal
