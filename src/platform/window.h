#pragma once
// The game's one window, on SDL2, and its message queue. The window is made hidden with the
// class name (X11 WM_CLASS), title, position and outer size it is given, without a sizing
// border and with the cursor hidden, ready for an OpenGL 3.3 core context; Show maps it.
//
// Messages carry the platform's numbers, one SDL event each, so that the frame loop handles
// exactly one per pass: closing the window arrives as kMessageDestroy, a key press as
// kMessageKeyDown with the key's virtual-key code (repeats included), a release as
// kMessageKeyUp, typed text as kMessageChar; events without a counterpart arrive as
// kMessageNull. Posting the quit message on close or Escape is the window procedure's job.
//
// Two things the window does itself, as a desktop window is expected to: Alt+Enter (not its
// key repeats) switches between the window and desktop full screen, and when the window loses
// the keyboard focus every held key is released, so the game sees no key held until it is
// pressed again. SDL's own SIGINT/SIGTERM handlers are off: the game has its own.
//
// With input bindings, a key message carries the game key the key is bound to (so the key bound
// to quit arrives as Escape) and gamepads are opened and closed as they come and go; the quit
// button of a gamepad arrives as an Escape key press.
//
// Outer size: SDL sizes the client area. Once shown, the window manager's frame extents (when
// it reports any) are taken off the client so the outer size is the one asked for; without a
// window manager (Xvfb) client and outer size are the same. The back buffer keeps the size the
// device asked for and is scaled onto the client area, as the platform does with a window
// smaller than its back buffer.
#include <cstdint>
#include <memory>
#include <string>

#include "device/backend.h"

struct SDL_Window;

namespace brontal {

struct InputBindings;
class Gamepads;

inline constexpr std::uint32_t kMessageNull = 0x0000;
inline constexpr std::uint32_t kMessageDestroy = 0x0002;
inline constexpr std::uint32_t kMessageKeyDown = 0x0100;
inline constexpr std::uint32_t kMessageKeyUp = 0x0101;
inline constexpr std::uint32_t kMessageChar = 0x0102;
inline constexpr std::uint32_t kMessageMouseMove = 0x0200;

struct WindowMessage {
    std::uint32_t message = kMessageNull;
    std::uintptr_t wParam = 0;
    bool repeat = false;  // a key-down the keyboard sent because the key is still held
};

struct WindowDescription {
    std::string className = "VRM";
    std::string title = "Brontal v0.1";
    int x = 100, y = 100;
    int width = 1024, height = 768;  // outer size
    bool vsync = false;              // present waits for the screen's refresh
};

class Window {
public:
    // Initialises SDL's video on first use. Null with the reason when there is no display.
    static std::unique_ptr<Window> Create(const WindowDescription& description, std::string& error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void Show();
    // Desktop full screen on or off; the back buffer keeps its size and is scaled to fit.
    void SetFullScreen(bool fullScreen);
    bool IsFullScreen() const;
    // Takes the next waiting event as a message (PeekMessage with PM_REMOVE); false when the
    // queue is empty.
    bool PeekOneMessage(WindowMessage& message);
    // Key messages by these bindings and gamepad events to these pads (either may be null).
    void SetInput(const InputBindings* bindings, Gamepads* gamepads);
    // Minimised or hidden: nobody sees the frames.
    bool IsIdle() const;
    // Sleeps until an event waits (it stays queued) or timeoutMs pass; with a gamepad plugged in,
    // sleeps timeoutMs.
    void WaitForEvent(int timeoutMs);

    SDL_Window* Handle() const { return window_; }
    const WindowDescription& Description() const { return description_; }
    void ClientSize(int& width, int& height) const;
    void Position(int& x, int& y) const;
    std::string Title() const;

private:
    Window(SDL_Window* window, WindowDescription description) : window_(window), description_(std::move(description)) {}
    SDL_Window* window_;
    WindowDescription description_;
    const InputBindings* bindings_ = nullptr;
    Gamepads* gamepads_ = nullptr;
};

// Alt+Enter: Return or keypad Enter with either Alt, not a repeat.
bool IsFullScreenToggle(int scancode, std::uint16_t modifiers, bool repeat);

// An error box where a display can be had (also without a window); false when none could be
// shown. Blocks until the player closes it.
bool ShowErrorBox(const std::string& title, const std::string& text);

// The device's backend factory for the game: `window` is the Window. Makes the OpenGL 3.3 core
// context on it, switches to desktop full screen when the parameters are not windowed, and
// turns vertical sync on or off as the window's description asks (off unless the player asked:
// the frame loop has no cap). Prints the reason and returns null on
// failure.
std::unique_ptr<Backend> CreateWindowBackend(void* window, const D3DPRESENT_PARAMETERS& parameters);

}  // namespace brontal
