#pragma once
// The one place OpenGL is included. Functions come straight from glvnd's libOpenGL, which
// exports every core entry point and dispatches to whichever vendor owns the current context
// (GLX under SDL, EGL when headless), so no loader or per-context function table is needed.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

// Anisotropic filtering (core in 4.6, an extension everywhere before).
#ifndef GL_TEXTURE_MAX_ANISOTROPY
#define GL_TEXTURE_MAX_ANISOTROPY 0x84FE
#endif
#ifndef GL_MAX_TEXTURE_MAX_ANISOTROPY
#define GL_MAX_TEXTURE_MAX_ANISOTROPY 0x84FF
#endif
