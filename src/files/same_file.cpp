// Telling whether two paths name one file, and whether an output path can be written.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <string_view>

#include "files/file_io.h"

namespace brontal {
namespace {

std::filesystem::path Normalised(const std::string& path) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    // weakly_canonical resolves the links of the part that exists and "." and ".." everywhere.
    std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, ignored);
    return ignored ? absolute.lexically_normal() : resolved;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    struct stat first {}, second {};
    if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return Normalised(a) == Normalised(b);
}

std::optional<std::string> InputNamedBy(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs)
        if (SameFile(output, input)) return input;
    return std::nullopt;
}

std::string CheckOutputPath(const std::string& path) {
    // Built by appending: GCC 12 misreads chains of + on strings here (-Wrestrict).
    auto problem = [&path](std::initializer_list<std::string_view> parts) {
        std::string text = path.empty() ? std::string("(empty file name)") : path;
        text += ": cannot write: ";
        for (std::string_view part : parts) text += part;
        return text;
    };
    if (path.empty()) return problem({"no file named"});
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return problem({"is a directory"});
        if (!S_ISREG(info.st_mode))  // /dev/null, a terminal: written directly
            return ::access(path.c_str(), W_OK) == 0 ? std::string() : problem({"permission denied"});
    }
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) parent = std::filesystem::path(".");
    const std::string dir = parent.string();
    if (::stat(dir.c_str(), &info) != 0) return problem({"the directory ", dir, " does not exist"});
    if (!S_ISDIR(info.st_mode)) return problem({dir, " is not a directory"});
    if (::access(dir.c_str(), W_OK | X_OK) != 0) return problem({"the directory ", dir, " may not be written"});
    return {};
}

}  // namespace brontal
