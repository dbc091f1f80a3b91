#pragma once
// The window's message queue as the frame loop sees it: one message taken per pass. The SDL
// window feeds it with the events it turns into messages; a headless run has only the quit
// messages posted by the game itself.
// SIGINT and SIGTERM come through either as WM_DESTROY.
#include <cstdint>
#include <deque>

#include "app/quit_signals.h"

namespace brontal {

inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;

struct Message {
    std::uint32_t message = WM_NULL;
    std::uintptr_t wParam = 0;
};

class MessageQueue {
public:
    virtual ~MessageQueue() = default;
    // Takes the next waiting message, if any (PeekMessage with PM_REMOVE).
    virtual bool PeekMessage(Message* message) = 0;
    void PostQuitMessage(int exitCode) { posted_.push_back({WM_QUIT, static_cast<std::uintptr_t>(exitCode)}); }
    // True while nobody sees the frames (the window is minimised or hidden).
    virtual bool Idle() { return false; }
    // Sleeps until a message may be waiting; called only while Idle().
    virtual void WaitForMessage() {}

protected:
    // Messages the game posted itself come before the platform's next event.
    bool TakePosted(Message* message) {
        if (posted_.empty()) return false;
        *message = posted_.front();
        posted_.pop_front();
        return true;
    }
    // A SIGINT or SIGTERM arrives as the window's closing.
    static bool TakeSignal(Message* message) {
        if (!TakeQuitSignal()) return false;
        *message = {WM_DESTROY, 0};
        return true;
    }

private:
    std::deque<Message> posted_;
};

// A queue with no window behind it (headless runs, tests): only posted messages arrive, plus
// those a test pushes.
class LocalMessageQueue final : public MessageQueue {
public:
    bool PeekMessage(Message* message) override {
        if (TakePosted(message) || TakeSignal(message)) return true;
        if (pending_.empty()) return false;
        *message = pending_.front();
        pending_.pop_front();
        return true;
    }
    void Push(Message message) { pending_.push_back(message); }

private:
    std::deque<Message> pending_;
};

// The window procedure: closing the window and Escape key-down post the quit message; every
// other message gets the default handling, which does nothing the game sees.
void WindowProc(MessageQueue& queue, const Message& message);

}  // namespace brontal
