#include "app/data_directory.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace brontal {

std::vector<std::string> DataDirectoryCandidates(const DataSearch& search) {
    if (search.explicitDir) return {AbsolutePathFrom(search.workingDir, *search.explicitDir)};
    std::vector<std::string> candidates;
    auto add = [&](const std::string& dir) {
        if (dir.empty()) return;
        if (std::find(candidates.begin(), candidates.end(), dir) == candidates.end()) candidates.push_back(dir);
    };
    add(search.workingDir);
    if (!search.executableDir.empty() && !search.installedFromExecutable.empty())
        add(AbsolutePathFrom(search.executableDir, search.installedFromExecutable));
    add(search.buildDataDir);
    return candidates;
}

std::optional<std::string> FindDataDirectory(const std::vector<std::string>& candidates,
                                             bool (*holdsData)(const std::string& dir)) {
    for (const std::string& dir : candidates)
        if (holdsData(dir)) return dir;
    return std::nullopt;
}

bool HoldsGameData(const std::string& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::path(dir) / "LEVELS", ec);
}

bool IsDirectory(const std::string& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec);
}

std::string DataNotFoundMessage(const std::vector<std::string>& candidates) {
    std::string text = "cannot find the game data (a directory holding LEVELS/); looked in:";
    if (candidates.empty()) text += " nowhere (the working directory cannot be read)";
    for (const std::string& dir : candidates) text += "\n  " + dir;
    text += "\nName the directory with --data DIR.";
    return text;
}

std::string AbsolutePathFrom(const std::string& base, const std::string& path) {
    std::filesystem::path p(path);
    if (p.is_relative()) p = std::filesystem::path(base) / p;
    std::string out = p.lexically_normal().string();
    if (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

std::string ExecutableDirectory() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string();
}

std::string WorkingDirectory() {
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    return ec ? std::string() : cwd.string();
}

}  // namespace brontal
