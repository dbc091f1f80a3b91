#include "app/frame_loop.h"

namespace brontal {

void WindowProc(MessageQueue& queue, const Message& message) {
    if (message.message == WM_DESTROY) {
        queue.PostQuitMessage(0);
    } else if (message.message == WM_KEYDOWN && message.wParam == 0x1B) {  // VK_ESCAPE
        queue.PostQuitMessage(0);
    }
}

std::int64_t RunFrameLoop(MessageQueue& queue, FrameSteps steps, FrameHooks* hooks) {
    Message message{};  // zeroed, so the first test sees message 0
    std::int64_t frame = 0;
    while (message.message != WM_QUIT) {
        if (queue.PeekMessage(&message)) {
            WindowProc(queue, message);  // the pass that takes WM_QUIT still dispatches it
            continue;
        }
        if (queue.Idle()) {
            queue.WaitForMessage();
            continue;
        }
        if (hooks) hooks->BeforeUpdate(frame);
        steps.update();
        steps.render();
        if (hooks) hooks->AfterRender(frame);
        ++frame;
    }
    return frame;
}

}  // namespace brontal
