#include "e2e/e2e_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace brontal::e2e {

std::string BinaryDir() {
    const char* fromEnvironment = std::getenv("BRONTAL_BINARY_DIR");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : BRONTAL_TEST_BINARY_DIR;
}

std::string SourceDir() { return BRONTAL_TEST_SOURCE_DIR; }
std::string GameBinary() { return BinaryDir() + "/src/app/brontal"; }
std::string DataDir() { return BinaryDir() + "/data"; }

std::string ScratchPath(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "e2e_runs";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

bool ReadText(const std::string& path, std::string& out) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream text;
    text << file.rdbuf();
    out = text.str();
    return true;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file);
}

}  // namespace brontal::e2e
