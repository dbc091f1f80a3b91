#include "platform/window.h"

#include <SDL2/SDL.h>

#include <cstdlib>

#include "platform/input_bindings.h"
#include "platform/sdl_gamepad.h"
#include "platform/sdl_keyboard.h"

namespace brontal {

namespace {

int g_videoUsers = 0;  // windows alive; SDL's video is shut down with the last

WindowMessage MessageFor(const SDL_Event& e, std::uint32_t windowId, const InputBindings* bindings) {
    WindowMessage m;
    switch (e.type) {
        case SDL_QUIT: m.message = kMessageDestroy; break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE && e.window.windowID == windowId) m.message = kMessageDestroy;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            m.message = e.type == SDL_KEYDOWN ? kMessageKeyDown : kMessageKeyUp;
            m.wParam = static_cast<std::uintptr_t>(bindings ? MessageVirtualKey(*bindings, e.key.keysym.scancode)
                                                            : VirtualKeyForScancode(e.key.keysym.scancode));
            m.repeat = e.key.repeat != 0;
            break;
        case SDL_TEXTINPUT:
            m.message = kMessageChar;
            m.wParam = static_cast<unsigned char>(e.text.text[0]);
            break;
        case SDL_MOUSEMOTION: m.message = kMessageMouseMove; break;
        default: break;
    }
    return m;
}

}  // namespace

std::unique_ptr<Window> Window::Create(const WindowDescription& d, std::string& error) {
    // X11 takes the window's class from this at creation.
    setenv("SDL_VIDEO_X11_WMCLASS", d.className.c_str(), 1);
    SDL_SetHint("SDL_VIDEO_X11_WMCLASS", d.className.c_str());
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("SDL: cannot start video: ") + SDL_GetError();
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // A 32-bit depth buffer lets the backend draw straight into the window instead of copying
    // each frame from its own back buffer; without one the window has none (the backend keeps
    // its own).
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 32);
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    SDL_Window* w = SDL_CreateWindow(d.title.c_str(), d.x, d.y, d.width, d.height, flags);
    if (!w) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
        w = SDL_CreateWindow(d.title.c_str(), d.x, d.y, d.width, d.height, flags);
    }
    if (!w) {
        error = std::string("SDL: cannot create the window: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    ++g_videoUsers;
    SDL_ShowCursor(SDL_DISABLE);
    return std::unique_ptr<Window>(new Window(w, d));
}

Window::~Window() {
    SDL_DestroyWindow(window_);
    if (--g_videoUsers == 0) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void Window::Show() {
    SDL_ShowWindow(window_);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0 && (top | left | bottom | right) != 0) {
        SDL_SetWindowSize(window_, description_.width - left - right, description_.height - top - bottom);
        SDL_SetWindowPosition(window_, description_.x + left, description_.y + top);
    }
}

void Window::SetFullScreen(bool fullScreen) {
    SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool Window::IsFullScreen() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0; }

bool Window::PeekOneMessage(WindowMessage& message) {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    message = MessageFor(e, SDL_GetWindowID(window_), bindings_);
    if (gamepads_ && gamepads_->HandleEvent(e)) {
        message.message = kMessageKeyDown;
        message.wParam = VK_ESCAPE;
    }
    if (e.type == SDL_KEYDOWN && IsFullScreenToggle(e.key.keysym.scancode, e.key.keysym.mod, e.key.repeat != 0))
        SetFullScreen(!IsFullScreen());
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) SDL_ResetKeyboard();
    return true;
}

void Window::SetInput(const InputBindings* bindings, Gamepads* gamepads) {
    bindings_ = bindings;
    gamepads_ = gamepads;
}

bool Window::IsIdle() const {
    return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

void Window::WaitForEvent(int timeoutMs) {
    // With a joystick plugged in, SDL's wait wakes every millisecond to poll it (about 3 % of a
    // core); one plain sleep costs next to nothing, at the price of seeing the next event up to
    // one wait late.
    if (SDL_NumJoysticks() > 0)
        SDL_Delay(static_cast<Uint32>(timeoutMs));
    else
        SDL_WaitEventTimeout(nullptr, timeoutMs);
}

bool IsFullScreenToggle(int scancode, std::uint16_t modifiers, bool repeat) {
    const bool enter = scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER;
    return enter && (modifiers & KMOD_ALT) != 0 && !repeat;
}

bool ShowErrorBox(const std::string& title, const std::string& text) {
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) == 0;
}

void Window::ClientSize(int& width, int& height) const { SDL_GetWindowSize(window_, &width, &height); }
void Window::Position(int& x, int& y) const { SDL_GetWindowPosition(window_, &x, &y); }
std::string Window::Title() const { return SDL_GetWindowTitle(window_); }

}  // namespace brontal
