#pragma once
// The SDL window's events as the frame loop's messages. On the way it notes F12 presses (not
// their repeats) as screenshot requests; the game itself never sees F12.
#include "app/message_queue.h"
#include "platform/window.h"

namespace brontal {

inline constexpr std::uintptr_t VK_F12 = 0x7B;
inline constexpr int kIdleWaitMilliseconds = 100;

class WindowMessageQueue final : public MessageQueue {
public:
    explicit WindowMessageQueue(Window& window) : window_(window) {}
    bool PeekMessage(Message* message) override {
        if (TakePosted(message) || TakeSignal(message)) return true;
        WindowMessage event;
        if (!window_.PeekOneMessage(event)) return false;
        message->message = event.message;
        message->wParam = event.wParam;
        if (event.message == WM_KEYDOWN && event.wParam == VK_F12 && !event.repeat) screenshotRequested_ = true;
        return true;
    }
    bool Idle() override { return window_.IsIdle(); }
    // A quit signal raises no event: the wait is short so that one is still seen promptly.
    void WaitForMessage() override { window_.WaitForEvent(kIdleWaitMilliseconds); }
    // An F12 press waits to be taken: the frame after it is the one to keep.
    bool ScreenshotRequested() const { return screenshotRequested_; }
    // True once per F12 press since the last call.
    bool TakeScreenshotRequest() {
        const bool requested = screenshotRequested_;
        screenshotRequested_ = false;
        return requested;
    }

private:
    Window& window_;
    bool screenshotRequested_ = false;
};

}  // namespace brontal
