#include "app/run_hooks.h"

#include "app/state_log.h"
#include "device/call_recorder.h"
#include "geometry/camera.h"
#include "player/player.h"
#include "render/room_draw.h"
#include "shell/frame_timer.h"

namespace brontal {

void RunHooks::BeforeUpdate(std::int64_t frame) {
    if (keys_) keys_->SetFrame(frame);
    if (trace_) {
        marker_ = "Frame " + std::to_string(frame);
        trace_->Marker(marker_);
    }
    frameDt_ = g_frameTimer->GetSecondsPerFrame();
}

void RunHooks::AfterRender(std::int64_t frame) {
    if (stateLog_) {
        FrameStateRecord record;
        record.frame = frame;
        record.dt = frameDt_;
        record.position = g_player.position;
        record.heading = g_player.heading;
        record.lean = g_player.lean;
        record.animFrame = g_player.animFrame;
        record.currentRoom = g_currentRoom;
        record.currentRoomName = g_currentRoomName;
        record.visibleRooms = g_visibleRoomList.data();
        record.visibleRoomCount = g_visibleRoomCount;
        record.trianglesDrawn = trianglesDrawn;
        record.framesPerSecond = g_frameTimer->GetFramesPerSecond();
        const Matrix4x4& camera = g_chaseCamera.cameraMatrix;
        record.camera = {camera.m[3][0], camera.m[3][1], camera.m[3][2]};
        line_.clear();
        FormatStateLine(record, line_);
        std::fwrite(line_.data(), 1, line_.size(), stateLog_);
    }
    const bool scriptQuits = keys_ && keys_->QuitAfterFrame(frame);
    const bool limitReached = frameLimit_ && frame + 1 >= *frameLimit_;
    if (scriptQuits || limitReached) queue_.PostQuitMessage(0);
}

}  // namespace brontal
