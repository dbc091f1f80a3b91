#include "shell/settings.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "files/file_io.h"

namespace brontal {

namespace {

struct ScreenSize {
    std::uint16_t width, height;
};
constexpr ScreenSize kScreenSizes[] = {{640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 768}, {1280, 1024}};

constexpr std::uint16_t kDefaultWidth = 1024;
constexpr std::uint16_t kDefaultHeight = 768;

}  // namespace

std::uint16_t screenWidth = kDefaultWidth;
std::uint16_t screenHeight = kDefaultHeight;
std::int8_t depthBits = 16;
std::uint8_t readSettingsAtStart = 1;
std::uint8_t showOverlay = 1;
std::uint8_t windowed = 0;

void ResetSettings() {
    screenWidth = kDefaultWidth;
    screenHeight = kDefaultHeight;
    depthBits = 16;
    readSettingsAtStart = 1;
    showOverlay = 1;
    windowed = 0;
}

void ReadConfig() { ReadConfig(kConfigPath); }

void ReadConfig(const std::string& path) {
    // Only a regular file is read (a FIFO or a device would block or never end), and only its
    // first seven bytes; one that cannot be read is ignored like a missing one.
    std::vector<std::uint8_t> head;
    std::string ignored;
    if (!ReadRegularFile(path, 7, head, ignored, LongerFile::ReadPrefix)) return;
    int bytes[7];
    for (std::size_t i = 0; i < 7; ++i) bytes[i] = i < head.size() ? head[i] : EOF;  // EOF: a byte the file does not have

    // Once the file is open the two flags take its values; a short file leaves the flags it
    // does not reach at their defaults rather than reading bytes that are not there.
    if (bytes[6] != EOF) windowed = bytes[6] != 0 ? 1 : 0;
    if (bytes[5] != EOF) showOverlay = bytes[5] != 0 ? 1 : 0;
    if (bytes[0] != EOF) {
        const auto index = static_cast<std::int8_t>(static_cast<std::uint8_t>(bytes[0]));
        if (index >= 0 && index <= 5) {
            screenWidth = kScreenSizes[index].width;
            screenHeight = kScreenSizes[index].height;
        }
    }
}

}  // namespace brontal
