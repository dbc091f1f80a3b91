// The OpenGL context on the game's window, and the backend factory that makes it.
#include <SDL2/SDL.h>

#include <cstdio>

#include "device/gl/gl_backend.h"
#include "platform/window.h"

namespace brontal {

namespace {

class WindowContext final : public GlContext {
public:
    WindowContext(SDL_Window* window, SDL_GLContext context) : window_(window), context_(context) {}
    ~WindowContext() override { SDL_GL_DeleteContext(context_); }
    bool MakeCurrent() override { return SDL_GL_MakeCurrent(window_, context_) == 0; }
    bool HasWindow() const override { return true; }
    void DrawableSize(std::uint32_t& width, std::uint32_t& height) const override {
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(window_, &w, &h);
        width = static_cast<std::uint32_t>(w > 0 ? w : 0);
        height = static_cast<std::uint32_t>(h > 0 ? h : 0);
    }
    // Asked at every present: Alt+Enter can switch full screen on and off while the game runs.
    bool KeepsAspect() const override { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0; }
    void SwapBuffers() override { SDL_GL_SwapWindow(window_); }
    const char* Name() const override { return "SDL"; }

private:
    SDL_Window* window_;
    SDL_GLContext context_;
};

}  // namespace

std::unique_ptr<Backend> CreateWindowBackend(void* window, const D3DPRESENT_PARAMETERS& parameters) {
    auto* w = static_cast<Window*>(window);
    if (!w) {
        std::fprintf(stderr, "error: OpenGL: no window to draw in\n");
        return nullptr;
    }
    if (!parameters.Windowed) SDL_SetWindowFullscreen(w->Handle(), SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_GLContext context = SDL_GL_CreateContext(w->Handle());
    if (!context) {
        std::fprintf(stderr, "error: OpenGL: no 3.3 core context on the window: %s\n", SDL_GetError());
        return nullptr;
    }
    const bool vsync = w->Description().vsync;
    if (SDL_GL_SetSwapInterval(vsync ? 1 : 0) != 0 && vsync)
        std::fprintf(stderr, "warning: OpenGL: vsync is not available: %s\n", SDL_GetError());
    std::string error;
    auto backend = GlBackend::Create(std::make_unique<WindowContext>(w->Handle(), context), parameters, error);
    if (!backend) std::fprintf(stderr, "error: OpenGL: %s\n", error.c_str());
    return backend;
}

}  // namespace brontal
