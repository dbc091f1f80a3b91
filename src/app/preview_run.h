#pragma once
// What a preview run adds around each frame: F5 reloads the level and the sky (when the run
// was asked for a preview), and --screenshot-every writes frames 0, N, 2N... as numbered PNG
// files. Nothing here runs in a plain run.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "app/command_line.h"

namespace brontal {

// "DIR/shot_000042.png": the frame number, at least six digits.
std::string SeriesShotPath(const std::string& directory, std::int64_t frame);

// The frame on the device's backend as a PNG file; false with error naming the path.
bool WriteLastFrame(const std::string& path, std::string& error);

class PreviewRun {
public:
    // reload: F5 reloads levelPath (start replacing its start point as at start-up).
    PreviewRun(bool reload, std::string levelPath, std::optional<Vector3> start,
               std::optional<ScreenshotSeries> series)
        : reload_(reload), levelPath_(std::move(levelPath)), start_(start), series_(std::move(series)) {}

    // Before the frame's update, with the frame's keys in place: F5 newly held reloads.
    void BeforeUpdate();
    // Whether the frame is one the series keeps (it must then be drawn readable).
    bool KeepsFrame(std::int64_t frame) const { return series_ && frame % series_->every == 0; }
    // After the frame's render: its screenshot when the series keeps it. A shot that cannot be
    // written is named on stderr and the run goes on.
    void AfterRender(std::int64_t frame);
    bool ShotFailed() const { return shotFailed_; }

private:
    bool reload_;
    std::string levelPath_;
    std::optional<Vector3> start_;
    std::optional<ScreenshotSeries> series_;
    bool reloadKeyWasDown_ = false;
    bool shotFailed_ = false;
};

}  // namespace brontal
