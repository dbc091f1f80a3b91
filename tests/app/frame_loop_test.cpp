#include "app/frame_loop.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "app/quit_signals.h"

namespace brontal {
namespace {

std::string g_trace;
void Update() { g_trace += 'U'; }
void Render() { g_trace += 'R'; }

// Quits after a given number of frames, through the queue like the game's own quit.
class QuitAfter final : public FrameHooks {
public:
    QuitAfter(MessageQueue& q, std::int64_t n) : queue(q), frames(n) {}
    void BeforeUpdate(std::int64_t) override {}
    void AfterRender(std::int64_t frame) override {
        if (frame + 1 == frames) queue.PostQuitMessage(0);
    }
    MessageQueue& queue;
    std::int64_t frames;
};

TEST(FrameLoop, WaitingMessagesComeBeforeAnyFrame) {
    g_trace.clear();
    LocalMessageQueue queue;
    queue.Push({WM_KEYDOWN, 0x41});  // a key other than Escape does not quit
    queue.Push({0x0200, 0});
    QuitAfter hooks(queue, 3);
    EXPECT_EQ(RunFrameLoop(queue, {Update, Render}, &hooks), 3);
    EXPECT_EQ(g_trace, "URURUR");
}

TEST(FrameLoop, EscapeAndCloseEndTheLoop) {
    for (Message quitBy : {Message{WM_KEYDOWN, 0x1B}, Message{WM_DESTROY, 0}}) {
        g_trace.clear();
        LocalMessageQueue queue;
        queue.Push(quitBy);
        EXPECT_EQ(RunFrameLoop(queue, {Update, Render}, nullptr), 0);
        EXPECT_EQ(g_trace, "");
    }
}

TEST(FrameLoop, QuitSignalsEndTheLoopLikeClosingTheWindow) {
    InstallQuitSignalHandlers();
    for (int signal : {SIGINT, SIGTERM}) {
        g_trace.clear();
        LocalMessageQueue queue;
        // The signal arrives at the end of the second frame: no third one runs.
        struct RaiseOnFrame final : FrameHooks {
            int signal = 0;
            void BeforeUpdate(std::int64_t) override {}
            void AfterRender(std::int64_t frame) override {
                if (frame == 1) std::raise(signal);
            }
        } hooks;
        hooks.signal = signal;
        EXPECT_EQ(RunFrameLoop(queue, {Update, Render}, &hooks), 2) << "signal " << signal;
        EXPECT_EQ(g_trace, "URUR");
        EXPECT_FALSE(TakeQuitSignal()) << "the signal is handed over once";
    }
}

}  // namespace
}  // namespace brontal
