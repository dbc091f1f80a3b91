#pragma once
// Headless OpenGL: a surfaceless EGL context on Mesa (llvmpipe where there is no GPU), with no
// window and no X server. The OpenGL backend draws into its own back buffer of the configured
// size and reads it back for screenshots; Present shows nothing.
#include <memory>
#include <string>

#include "device/backend.h"
#include "device/gl/gl_backend.h"
#include "device/gl/gl_context.h"

namespace brontal {

// A current OpenGL 3.3 core context without any surface; null with the reason in error.
std::unique_ptr<GlContext> CreateSurfacelessContext(std::string& error);

// The OpenGL backend on a surfaceless context, for tools and tests that want its extras.
std::unique_ptr<GlBackend> CreateHeadlessGlBackend(const D3DPRESENT_PARAMETERS& parameters, std::string& error,
                                                   bool allowReversedDepth = true);

// The device's backend factory for headless runs: the window is not used. On failure prints
// the reason on stderr and returns null.
std::unique_ptr<Backend> CreateHeadlessBackend(void* window, const D3DPRESENT_PARAMETERS& parameters);

}  // namespace brontal
