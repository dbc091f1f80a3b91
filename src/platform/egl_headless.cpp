#include "platform/egl_headless.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>

namespace brontal {

namespace {

// Contexts alive on the one surfaceless display; the display is terminated with the last.
int g_surfacelessContexts = 0;

std::string EglError(const char* what) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string("EGL: ") + what + " failed (" + code + ")";
}

bool HasToken(const char* list, const char* token) {
    if (!list) return false;
    const std::size_t n = std::strlen(token);
    for (const char* p = std::strstr(list, token); p; p = std::strstr(p + 1, token))
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}

class SurfacelessContext final : public GlContext {
public:
    SurfacelessContext(EGLDisplay display, EGLContext context) : display_(display), context_(context) {
        ++g_surfacelessContexts;
    }
    ~SurfacelessContext() override {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
        if (--g_surfacelessContexts == 0) {
            eglTerminate(display_);
            eglReleaseThread();
        }
    }
    bool MakeCurrent() override {
        return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE;
    }
    bool HasWindow() const override { return false; }
    void DrawableSize(std::uint32_t& width, std::uint32_t& height) const override { width = height = 0; }
    bool KeepsAspect() const override { return false; }
    void SwapBuffers() override {}
    const char* Name() const override { return "EGL surfaceless"; }

private:
    EGLDisplay display_;
    EGLContext context_;
};

}  // namespace

std::unique_ptr<GlContext> CreateSurfacelessContext(std::string& error) {
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!HasToken(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        error = "EGL: the surfaceless platform (EGL_MESA_platform_surfaceless) is not available";
        return nullptr;
    }
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        error = "EGL: eglGetPlatformDisplayEXT is missing";
        return nullptr;
    }
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) {
        error = EglError("eglGetPlatformDisplayEXT(surfaceless)");
        return nullptr;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        error = EglError("eglInitialize");
        return nullptr;
    }
    auto fail = [&](const char* what) -> std::unique_ptr<GlContext> {
        error = EglError(what);
        if (g_surfacelessContexts == 0) eglTerminate(display);
        return nullptr;
    };
    const char* displayExtensions = eglQueryString(display, EGL_EXTENSIONS);
    if (!HasToken(displayExtensions, "EGL_KHR_surfaceless_context")) {
        error = "EGL: the display cannot make a context current without a surface";
        if (g_surfacelessContexts == 0) eglTerminate(display);
        return nullptr;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) return fail("eglBindAPI(OpenGL)");
    EGLConfig config = EGL_NO_CONFIG_KHR;
    if (!HasToken(displayExtensions, "EGL_KHR_no_config_context")) {
        const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLint found = 0;
        if (!eglChooseConfig(display, wanted, &config, 1, &found) || found == 0) return fail("eglChooseConfig");
    }
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) return fail("eglCreateContext(OpenGL 3.3 core)");
    auto made = std::make_unique<SurfacelessContext>(display, context);
    if (!made->MakeCurrent()) {
        error = EglError("eglMakeCurrent(no surface)");
        return nullptr;
    }
    return made;
}

std::unique_ptr<GlBackend> CreateHeadlessGlBackend(const D3DPRESENT_PARAMETERS& parameters, std::string& error,
                                                   bool allowReversedDepth) {
    auto context = CreateSurfacelessContext(error);
    if (!context) return nullptr;
    return GlBackend::Create(std::move(context), parameters, error, allowReversedDepth);
}

std::unique_ptr<Backend> CreateHeadlessBackend(void*, const D3DPRESENT_PARAMETERS& parameters) {
    std::string error;
    auto backend = CreateHeadlessGlBackend(parameters, error);
    if (!backend) std::fprintf(stderr, "error: headless OpenGL: %s\n", error.c_str());
    return backend;
}

}  // namespace brontal
