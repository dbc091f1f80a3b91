#include "sample/sample_command.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/image.h"
#include "sample/sample_level.h"

namespace brontal {

namespace {

bool MakeDirectory(const std::filesystem::path& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "sample: %s: cannot make directory: %s\n", dir.string().c_str(), error.message().c_str());
        return false;
    }
    return true;
}

bool Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::string error;
    if (!WriteWholeFile(path.string(), bytes, error)) {
        std::fprintf(stderr, "sample: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int SampleCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brontal-level sample DIR\n"
                             "  writes DIR/LEVELS/LEVEL_001.VRM and DIR/SKY/*.bmp\n");
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    const sample::SampleFiles files = sample::MakeSampleFiles();
    if (!MakeDirectory(dir / "LEVELS") || !MakeDirectory(dir / "SKY")) return 1;
    if (!Write(dir / "LEVELS" / "LEVEL_001.VRM", files.levelFile)) return 1;
    for (const auto& [name, bytes] : files.skyFiles)
        if (!Write(dir / "SKY" / name, bytes)) return 1;
    std::printf("sample: wrote %s (%zu bytes) and %zu sky images\n", (dir / "LEVELS" / "LEVEL_001.VRM").string().c_str(),
                files.levelFile.size(), files.skyFiles.size());
    return 0;
}

}  // namespace brontal
