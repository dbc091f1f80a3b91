// What the window does for a desktop player: Alt+Enter switches full screen (not on key
// repeats), losing the focus releases every held key, and F12 presses (not repeats) become
// screenshot requests. Runs on the X server in DISPLAY, or on an Xvfb the test starts itself.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "app/window_queue.h"
#include "platform/sdl_keyboard.h"
#include "platform/window.h"
#include "support/xvfb_server.h"

// llvmpipe and SDL's D-Bus connection keep memory the leak checker cannot see (see the
// platform window test); AddressSanitizer and UBSan stay on.
extern "C" int __lsan_is_turned_off() { return 1; }

namespace brontal {
namespace {

const auto* const g_xserver = ::testing::AddGlobalTestEnvironment(new test::XServer);

class ShownWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display and no Xvfb to start";
        WindowDescription d;
        d.width = 320;
        d.height = 240;
        std::string error;
        window_ = Window::Create(d, error);
        ASSERT_TRUE(window_) << error;
        window_->Show();
        Drain();
    }
    void Drain() {
        SDL_PumpEvents();
        WindowMessage m;
        for (int i = 0; i < 1000 && window_->PeekOneMessage(m); ++i) {
        }
    }
    void PushKey(SDL_Scancode scancode, std::uint16_t modifiers, bool repeat) {
        SDL_Event key{};
        key.type = SDL_KEYDOWN;
        key.key.windowID = SDL_GetWindowID(window_->Handle());
        key.key.state = SDL_PRESSED;
        key.key.repeat = repeat ? 1 : 0;
        key.key.keysym.scancode = scancode;
        key.key.keysym.mod = modifiers;
        SDL_PushEvent(&key);
    }
    std::unique_ptr<Window> window_;
};

TEST(FullScreenToggle, IsAltWithEitherEnterAndNoRepeat) {
    EXPECT_TRUE(IsFullScreenToggle(SDL_SCANCODE_RETURN, KMOD_LALT, false));
    EXPECT_TRUE(IsFullScreenToggle(SDL_SCANCODE_KP_ENTER, KMOD_RALT, false));
    EXPECT_TRUE(IsFullScreenToggle(SDL_SCANCODE_RETURN, KMOD_LALT | KMOD_NUM, false));
    EXPECT_FALSE(IsFullScreenToggle(SDL_SCANCODE_RETURN, KMOD_LALT, true)) << "a key repeat";
    EXPECT_FALSE(IsFullScreenToggle(SDL_SCANCODE_RETURN, KMOD_NONE, false));
    EXPECT_FALSE(IsFullScreenToggle(SDL_SCANCODE_RETURN, KMOD_LCTRL, false));
    EXPECT_FALSE(IsFullScreenToggle(SDL_SCANCODE_SPACE, KMOD_LALT, false));
}

TEST_F(ShownWindow, AltEnterSwitchesFullScreenAndRepeatsDoNot) {
    ASSERT_FALSE(window_->IsFullScreen());
    PushKey(SDL_SCANCODE_RETURN, KMOD_NONE, false);
    Drain();
    EXPECT_FALSE(window_->IsFullScreen()) << "Enter alone";
    PushKey(SDL_SCANCODE_RETURN, KMOD_LALT, false);
    Drain();
    EXPECT_TRUE(window_->IsFullScreen());
    EXPECT_EQ(SDL_GetWindowFlags(window_->Handle()) & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
    PushKey(SDL_SCANCODE_RETURN, KMOD_LALT, true);
    PushKey(SDL_SCANCODE_RETURN, KMOD_LALT, true);
    Drain();
    EXPECT_TRUE(window_->IsFullScreen()) << "holding the keys does not flicker";
    PushKey(SDL_SCANCODE_KP_ENTER, KMOD_RALT, false);
    Drain();
    EXPECT_FALSE(window_->IsFullScreen()) << "and back to the window";
}

TEST_F(ShownWindow, LosingTheFocusReleasesHeldKeys) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(window_->Handle(), &info));
    Display* display = info.info.x11.display;
    const ::Window xwindow = info.info.x11.window;
    XSetInputFocus(display, xwindow, RevertToParent, CurrentTime);
    XSync(display, False);
    SDL_Delay(50);
    Drain();

    // Up pressed on the window, as the X server would deliver it.
    XEvent press{};
    press.xkey.type = KeyPress;
    press.xkey.display = display;
    press.xkey.window = xwindow;
    press.xkey.root = DefaultRootWindow(display);
    press.xkey.same_screen = True;
    press.xkey.keycode = XKeysymToKeycode(display, XK_Up);
    XSendEvent(display, xwindow, True, KeyPressMask, &press);
    XSync(display, False);
    SDL_Delay(50);
    Drain();
    SdlKeyboard keyboard;
    ASSERT_EQ(keyboard.GetAsyncKeyState(VK_UP), kKeyHeldBit) << "the key did not arrive";

    // The focus goes while the key is still down: no key-up will ever come.
    SDL_Event lost{};
    lost.type = SDL_WINDOWEVENT;
    lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    lost.window.windowID = SDL_GetWindowID(window_->Handle());
    SDL_PushEvent(&lost);
    WindowMessage m;
    ASSERT_TRUE(window_->PeekOneMessage(m));
    EXPECT_EQ(keyboard.GetAsyncKeyState(VK_UP), 0) << "released with the focus";
}

TEST_F(ShownWindow, F12PressesBecomeScreenshotRequests) {
    WindowMessageQueue queue(*window_);
    Message m;
    PushKey(SDL_SCANCODE_F11, KMOD_NONE, false);
    PushKey(SDL_SCANCODE_F12, KMOD_NONE, false);
    PushKey(SDL_SCANCODE_F12, KMOD_NONE, true);
    ASSERT_TRUE(queue.PeekMessage(&m));
    EXPECT_FALSE(queue.TakeScreenshotRequest()) << "F11";
    ASSERT_TRUE(queue.PeekMessage(&m));
    EXPECT_EQ(m.message, WM_KEYDOWN);
    EXPECT_TRUE(queue.TakeScreenshotRequest());
    EXPECT_FALSE(queue.TakeScreenshotRequest()) << "one request per press";
    ASSERT_TRUE(queue.PeekMessage(&m));
    EXPECT_FALSE(queue.TakeScreenshotRequest()) << "a key repeat";
}

}  // namespace
}  // namespace brontal
