#pragma once
// The SDL window's events as the frame loop's messages.
#include "app/message_queue.h"
#include "platform/window.h"

namespace brontal {

class WindowMessageQueue final : public MessageQueue {
public:
    explicit WindowMessageQueue(Window& window) : window_(window) {}
    bool PeekMessage(Message* message) override {
        if (TakePosted(message)) return true;
        WindowMessage event;
        if (!window_.PeekOneMessage(event)) return false;
        message->message = event.message;
        message->wParam = event.wParam;
        return true;
    }

private:
    Window& window_;
};

}  // namespace brontal
