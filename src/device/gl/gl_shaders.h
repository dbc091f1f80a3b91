#pragma once
// The fixed-function emulation in one shader pair. The vertex stage transforms with the
// game's row-vector matrices (uploaded as stored, which GLSL's column-major reading turns into
// the transpose, so M * v in GLSL is v * M in the game) and maps Direct3D's clip depth 0..w onto
// OpenGL's -w..w; pre-transformed vertices are pixels with Direct3D's pixel centres at integer
// coordinates. Lighting is per vertex: emissive plus ambient times (global ambient plus each
// enabled light's ambient, attenuated by 1 / (a0 + a1*d + a2*d^2) and nothing past its range).
// The fragment stage runs texture stage 0 (select/modulate/add of texture, diffuse, factor),
// the alpha test on the 8-bit alpha, and linear w depth when w-buffering is on.
#include <cstdint>
#include <string>

#include "device/gl/gl_api.h"

namespace brontal {

// Lights the shader takes at once; more enabled lights than this are dropped with a warning.
inline constexpr int kMaxShaderLights = 32;

struct GlProgram {
    GLuint program = 0;
    // Uniform locations.
    GLint world = -1, worldViewProjection = -1, preTransformed = -1, backBufferSize = -1;
    GLint lighting = -1, materialSources = -1, materialAmbient = -1, materialEmissive = -1, materialAlpha = -1;
    GLint globalAmbient = -1, lightCount = -1;
    GLint lightPosition = -1, lightAmbient = -1, lightAttenuation = -1, lightDirection = -1, lightCone = -1;
    GLint texture = -1, textured = -1, colourOp = -1, alphaOp = -1, textureFactor = -1;
    GLint alphaFunc = -1, alphaRef = -1, wDepth = -1, wRange = -1;
};

// Compiles and links the pair; on failure returns false with the driver's log in error.
bool BuildFixedFunctionProgram(GlProgram& program, std::string& error);
void DestroyProgram(GlProgram& program);

}  // namespace brontal
