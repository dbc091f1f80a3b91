#include "app/frame_loop.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "app/frame_pacer.h"
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

// Hidden for the first two passes, then shown again; then one frame and quit.
TEST(FrameLoop, WaitsInsteadOfDrawingWhileNobodySeesTheFrames) {
    struct HiddenQueue final : MessageQueue {
        int hiddenPasses = 2;
        bool PeekMessage(Message* message) override { return TakePosted(message); }
        bool Idle() override { return hiddenPasses > 0; }
        void WaitForMessage() override {
            g_trace += 'w';
            --hiddenPasses;
        }
    } queue;
    g_trace.clear();
    QuitAfter hooks(queue, 1);
    EXPECT_EQ(RunFrameLoop(queue, {Update, Render}, &hooks), 1);
    EXPECT_EQ(g_trace, "wwUR");
}

TEST(FrameLoop, TheFrameCapKeepsStepsAndDoesNotHurryAfterALateFrame) {
    using std::chrono::milliseconds;
    const PaceClock::time_point t0{};
    const milliseconds step(10);
    EXPECT_EQ(NextFrameDeadline(t0, t0 + milliseconds(3), step), t0 + step) << "a quick frame waits";
    const PaceClock::time_point late = NextFrameDeadline(t0, t0 + milliseconds(50), step);
    EXPECT_EQ(late, t0 + milliseconds(50)) << "a late frame does not wait";
    EXPECT_EQ(NextFrameDeadline(late, late + milliseconds(1), step), late + step) << "nor the next one less";
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
