// The window as the game asks for it (title, class, position, size), its one-event-per-pass
// messages, the keyboard's virtual-key mapping, and the OpenGL backend on its context. Runs
// on the X server in DISPLAY, or on an Xvfb the test starts itself.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "device/gl/gl_backend.h"
#include "platform/sdl_keyboard.h"
#include "platform/window.h"
#include "support/present_parameters.h"
#include "support/xvfb_server.h"

// The leak check at exit is off for this program (AddressSanitizer and UBSan stay on): llvmpipe
// keeps pointers to its allocations in the memory of its JIT-compiled shaders, and SDL in its
// D-Bus connection, which the leak checker does not scan, so each context seems to leak a few
// kilobytes from "<unknown module>". The hook is read by the sanitizer runtime only.
extern "C" int __lsan_is_turned_off() { return 1; }

namespace brontal {
namespace {

const auto* const g_xserver = ::testing::AddGlobalTestEnvironment(new test::XServer);

std::unique_ptr<Window> MakeWindow(int width, int height, std::string& error) {
    WindowDescription d;
    d.width = width;
    d.height = height;
    return Window::Create(d, error);
}

// The X server sends what showing a window brings in its own time, and an event that becomes no
// message still ends a peek: take events until none has come for 50 ms.
void Drain(Window& w) {
    WindowMessage m;
    for (int quiet = 0, round = 0; quiet < 5 && round < 500; ++round) {
        SDL_PumpEvents();
        if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
            quiet = 0;
            w.PeekOneMessage(m);
        } else {
            ++quiet;
            SDL_Delay(10);
        }
    }
}

#define REQUIRE_WINDOW(w, error)                                                  \
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display and no Xvfb to start"; \
    if (!(w)) FAIL() << "no window on the X display: " << (error)

TEST(Window, HasTheGamesTitleClassPositionAndSize) {
    std::string error;
    auto w = MakeWindow(640, 480, error);
    REQUIRE_WINDOW(w, error);
    w->Show();
    Drain(*w);
    EXPECT_EQ(w->Title(), "Brontal v0.1");
    int x = 0, y = 0, width = 0, height = 0;
    w->Position(x, y);
    w->ClientSize(width, height);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 100);
    EXPECT_EQ(width, 640) << "without a window manager the outer size is the client size";
    EXPECT_EQ(height, 480);
    EXPECT_EQ(SDL_GetWindowFlags(w->Handle()) & SDL_WINDOW_RESIZABLE, 0u) << "no sizing border";
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(w->Handle(), &info));
    ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
    XClassHint hint{};
    ASSERT_NE(XGetClassHint(info.info.x11.display, info.info.x11.window, &hint), 0);
    EXPECT_STREQ(hint.res_class, "VRM");
    XFree(hint.res_name);
    XFree(hint.res_class);
}

TEST(Window, HandsOutOneMessagePerEvent) {
    std::string error;
    auto w = MakeWindow(320, 240, error);
    REQUIRE_WINDOW(w, error);
    w->Show();
    Drain(*w);
    WindowMessage m;
    EXPECT_FALSE(w->PeekOneMessage(m)) << "an empty queue gives nothing";

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = SDL_GetWindowID(w->Handle());
    key.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    SDL_PushEvent(&key);
    key.key.keysym.scancode = SDL_SCANCODE_M;
    SDL_PushEvent(&key);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(w->Handle());
    SDL_PushEvent(&close);

    ASSERT_TRUE(w->PeekOneMessage(m));
    EXPECT_EQ(m.message, kMessageKeyDown);
    EXPECT_EQ(m.wParam, static_cast<std::uintptr_t>(VK_ESCAPE));
    ASSERT_TRUE(w->PeekOneMessage(m));
    EXPECT_EQ(m.message, kMessageKeyDown);
    EXPECT_EQ(m.wParam, static_cast<std::uintptr_t>(VK_M));
    ASSERT_TRUE(w->PeekOneMessage(m));
    EXPECT_EQ(m.message, kMessageDestroy) << "closing the window";
}

TEST(Window, IsIdleWhileNobodySeesIt) {
    std::string error;
    auto w = MakeWindow(320, 240, error);
    REQUIRE_WINDOW(w, error);
    EXPECT_TRUE(w->IsIdle()) << "made hidden";
    w->Show();
    Drain(*w);
    EXPECT_FALSE(w->IsIdle());
    SDL_HideWindow(w->Handle());
    Drain(*w);
    EXPECT_TRUE(w->IsIdle());
}

TEST(Window, CarriesAnOpenGlBackendThatPresentsItsBackBuffer) {
    std::string error;
    auto w = MakeWindow(320, 240, error);
    REQUIRE_WINDOW(w, error);
    const D3DPRESENT_PARAMETERS p = test::TestParameters(320, 240);
    auto backend = CreateWindowBackend(w.get(), p);
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(std::string(backend->Description()).rfind("OpenGL ", 0), 0u);
    w->Show();
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    // The window stands in for the back buffer (llvmpipe's windows have a 32-bit depth buffer):
    // a frame goes straight into it and is readable only while it is being drawn.
    auto* gl = dynamic_cast<GlBackend*>(backend.get());
    ASSERT_NE(gl, nullptr);
    EXPECT_TRUE(gl->DrawingIntoWindow());
    backend->Clear(D3DCLEAR_TARGET, 0xFF112233, 1.0f, 0);
    ASSERT_TRUE(backend->ReadPixels(width, height, rgba));
    EXPECT_EQ(rgba[2], 0x33);
    backend->Present();
    EXPECT_FALSE(backend->ReadPixels(width, height, rgba)) << "the swap took the frame";
    // A frame asked to be kept is readable after it is presented, and until the next one is.
    backend->KeepNextFrameReadable();
    EXPECT_FALSE(gl->DrawingIntoWindow());
    backend->Clear(D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0);
    backend->Present();
    ASSERT_TRUE(backend->ReadPixels(width, height, rgba));
    ASSERT_EQ(width, 320u);
    EXPECT_EQ(rgba[0], 0x33);
    EXPECT_EQ(rgba[1], 0x66);
    EXPECT_EQ(rgba[2], 0x99);
}

TEST(Window, GoesDesktopFullScreenWhenNotWindowed) {
    std::string error;
    auto w = MakeWindow(320, 240, error);
    REQUIRE_WINDOW(w, error);
    D3DPRESENT_PARAMETERS p = test::TestParameters(320, 240);
    p.Windowed = 0;
    auto backend = CreateWindowBackend(w.get(), p);
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(SDL_GetWindowFlags(w->Handle()) & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
    w->Show();
    backend->KeepNextFrameReadable();
    backend->Clear(D3DCLEAR_TARGET, 0xFF204080, 1.0f, 0);
    backend->Present();  // 4:3 onto the screen's drawable, with bars where the aspects differ
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    ASSERT_TRUE(backend->ReadPixels(width, height, rgba));
    EXPECT_EQ(width, 320u) << "the back buffer keeps the configured size";
    EXPECT_EQ(rgba[2], 0x80);
}

TEST(Keyboard, EveryGameKeyHasAScancodeAndComesBack) {
    for (int vk : {VK_ESCAPE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_1, VK_M, VK_P, VK_W, VK_X, VK_NUMPAD0, VK_PRIOR,
                   VK_NEXT, VK_F5}) {
        const int scancode = ScancodeForVirtualKey(vk);
        EXPECT_NE(scancode, SDL_SCANCODE_UNKNOWN) << "virtual key " << vk;
        EXPECT_EQ(VirtualKeyForScancode(scancode), vk) << "virtual key " << vk;
    }
    EXPECT_EQ(ScancodeForVirtualKey(VK_NUMPAD0), SDL_SCANCODE_KP_0) << "Numpad 0, not the top-row 0";
    EXPECT_EQ(ScancodeForVirtualKey('0'), SDL_SCANCODE_0);
    EXPECT_EQ(ScancodeForVirtualKey(VK_PRIOR), SDL_SCANCODE_PAGEUP);
    EXPECT_EQ(ScancodeForVirtualKey(VK_F5), SDL_SCANCODE_F5);
    EXPECT_EQ(ScancodeForVirtualKey(VK_1), SDL_SCANCODE_1);
    EXPECT_EQ(ScancodeForVirtualKey('A'), SDL_SCANCODE_A);
    EXPECT_EQ(ScancodeForVirtualKey('Z'), SDL_SCANCODE_Z);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_RSHIFT), 0x10) << "either shift is VK_SHIFT";
    EXPECT_EQ(ScancodeForVirtualKey(0xFF), SDL_SCANCODE_UNKNOWN);
    EXPECT_EQ(ScancodeForVirtualKey(-1), SDL_SCANCODE_UNKNOWN);
}

TEST(Keyboard, NoKeyIsHeldWhenNothingWasPressed) {
    SdlKeyboard keyboard;
    for (int vk = 0; vk < 256; ++vk) EXPECT_EQ(keyboard.GetAsyncKeyState(vk), 0) << "virtual key " << vk;
}

}  // namespace
}  // namespace brontal
