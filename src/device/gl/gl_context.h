#pragma once
// What the OpenGL backend needs of the platform: a context it can make current, a way to show
// a finished frame, and the size of the window's drawable. The platform makes these (an SDL
// window's context, or a surfaceless EGL one) without this layer ever seeing SDL or EGL.
#include <cstdint>

namespace brontal {

class GlContext {
public:
    virtual ~GlContext() = default;
    virtual bool MakeCurrent() = 0;
    // True when the context has a window to show frames in; headless contexts have none and
    // the backend's own framebuffer is all there is.
    virtual bool HasWindow() const = 0;
    // The window's drawable in pixels (may differ from the back buffer, for example in desktop
    // full screen); only asked when HasWindow().
    virtual void DrawableSize(std::uint32_t& width, std::uint32_t& height) const = 0;
    // True in desktop full screen: the back buffer is shown at its own aspect, with black bars,
    // as a full-screen mode of the configured size would show it. A window's client area is
    // filled, stretched if need be, as the platform does for a windowed device.
    virtual bool KeepsAspect() const = 0;
    virtual void SwapBuffers() = 0;
    virtual const char* Name() const = 0;  // "SDL", "EGL surfaceless"
};

}  // namespace brontal
