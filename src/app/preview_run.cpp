#include "app/preview_run.h"

#include <cinttypes>
#include <cstdio>

#include "app/level_reload.h"
#include "device/device.h"
#include "level/reader.h"
#include "platform/image.h"
#include "player/player.h"
#include "shell/keys.h"

namespace brontal {

std::string SeriesShotPath(const std::string& directory, std::int64_t frame) {
    char name[40];
    std::snprintf(name, sizeof name, "shot_%06" PRId64 ".png", frame);
    return directory + "/" + name;
}

bool WriteLastFrame(const std::string& path, std::string& error) {
    Image image;
    if (!g_device->GetBackend().ReadPixels(image.width, image.height, image.rgba)) {
        error = path + ": this backend has no pixels to write";
        return false;
    }
    if (WriteWholeFile(path, EncodePng(image), error)) return true;
    error = path + ": " + error;
    return false;
}

void PreviewRun::BeforeUpdate() {
    if (!reload_) return;
    const bool down = IsKeyDown(VK_F5);
    const bool pressed = down && !reloadKeyWasDown_;
    reloadKeyWasDown_ = down;
    if (!pressed) return;
    std::string error;
    if (ReloadLevel(levelPath_, start_, error))
        std::fprintf(stderr, "brontal: level reloaded from %s\n", LevelPathForOpening(levelPath_).c_str());
    else
        std::fprintf(stderr, "brontal: level not reloaded, the old one stays: %s\n", error.c_str());
}

void PreviewRun::AfterRender(std::int64_t frame) {
    if (!KeepsFrame(frame)) return;
    std::string error;
    if (WriteLastFrame(SeriesShotPath(series_->directory, frame), error)) return;
    std::fprintf(stderr, "brontal: %s\n", error.c_str());
    shotFailed_ = true;
}

}  // namespace brontal
