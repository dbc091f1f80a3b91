#pragma once
// The device's state as OpenGL needs it, in comparable groups: the fixed raster state, the
// sampler of stage 0, the program's switches, and the uniform groups (shading values, lights,
// transforms). A draw derives all groups from the device's snapshot and applies only the groups
// that differ from what the last draw applied (or every group, when a full apply is forced).
//
// Conventions kept here: with D3DCULL_CCW the triangles that run counter-clockwise on screen
// are culled. The backend draws in OpenGL's own orientation (window y up) and reads back
// flipped, so a triangle's turning sense on screen is the same in both and CCW culling is
// "front faces are clockwise, cull the back ones".
#include <array>
#include <cstdint>

#include "device/backend.h"
#include "device/gl/gl_api.h"
#include "device/gl/gl_shaders.h"

namespace brontal {

struct GlRasterState {
    bool cull = false;
    GLenum frontFace = GL_CW;        // the face that is kept when culling
    GLenum polygonMode = GL_FILL;
    bool depthTest = false;
    bool depthWrite = true;
    GLenum depthFunc = GL_LEQUAL;
    bool blend = false;
    GLenum sourceBlend = GL_ONE;
    GLenum destinationBlend = GL_ZERO;
    GLenum blendEquation = GL_FUNC_ADD;
    std::uint32_t colourMask = 0xF;  // bit 0 red, 1 green, 2 blue, 3 alpha
    bool operator==(const GlRasterState&) const = default;
};

struct GlSamplerKey {
    GLenum wrapS = GL_REPEAT;
    GLenum wrapT = GL_REPEAT;
    GLenum minFilter = GL_NEAREST;
    GLenum magFilter = GL_NEAREST;
    float anisotropy = 1.0f;
    std::uint32_t borderColour = 0;  // ARGB
    bool operator==(const GlSamplerKey&) const = default;
};

// The per-draw values of the fixed-function switches (the switches themselves pick the program).
struct GlShadingValues {
    std::array<float, 4> textureFactor{};
    float alphaRef = 0.0f;
    bool operator==(const GlShadingValues&) const = default;
};

struct GlLightingState {
    std::array<float, 3> materialAmbient{};
    std::array<float, 3> materialEmissive{};
    float materialAlpha = 1.0f;
    std::array<float, 3> globalAmbient{};
    int lightCount = 0;
    std::uint64_t lightTypes = 0;  // 2 bits a light, as in GlProgramKey
    std::array<float, 4 * kMaxShaderLights> position{};
    std::array<float, 4 * kMaxShaderLights> ambient{};
    std::array<float, 4 * kMaxShaderLights> attenuation{};
    std::array<float, 4 * kMaxShaderLights> direction{};
    std::array<float, 4 * kMaxShaderLights> cone{};
    bool droppedLights = false;  // more lights were enabled than the shader takes
    bool operator==(const GlLightingState&) const;
};

struct GlTransformState {
    Matrix4x4 world{};
    Matrix4x4 view{};
    Matrix4x4 projection{};
    bool operator==(const GlTransformState&) const;
};

// Derivations from the device's snapshot; pure, no GL calls. `fvf` is the draw's vertex format.
// With the reversed depth mapping the depth comparison is turned round.
// `lowestAlpha` is the lowest alpha a fragment of the draw can have (LowestFragmentAlpha): a
// draw whose fragments are all opaque blends with source alpha as a plain write, so blending
// (a read of the frame buffer for every fragment) is left off; the pixels are the same.
GlRasterState DeriveRasterState(const DeviceState& state, bool hasDepthBuffer, GlDepthMapping depth,
                                std::uint8_t lowestAlpha = 0);
GlSamplerKey DeriveSamplerKey(const DeviceState& state, float maxAnisotropy);
// The lowest alpha a fragment can have: that of the texture bound to stage 0 (`textureMinAlpha`,
// GlTextureMinAlpha) when the stage takes its alpha from the texture alone and samples inside
// it (no border colour); 0, anything, otherwise.
std::uint8_t LowestFragmentAlpha(const DeviceState& state, bool textured, std::uint8_t textureMinAlpha);
// `textured`: a texture with backend storage is bound to stage 0. An alpha test that no
// fragment can fail (`lowestAlpha`, as above) is left out of the program: a program that may
// discard makes the rasteriser shade every fragment before its depth test, one that cannot lets
// the depth test come first.
GlProgramKey DeriveProgramKey(const DeviceState& state, std::uint32_t fvf, bool textured,
                              std::uint8_t lowestAlpha = 0);
GlShadingValues DeriveShadingValues(const DeviceState& state);
// Fills `out` in place (it is large); lighting off leaves it untouched but for nothing.
void DeriveLightingState(const DeviceState& state, GlLightingState& out);
GlTransformState DeriveTransformState(const DeviceState& state);

// Applying a group to the current context.
void ApplyRasterState(const GlRasterState& state);
void ApplyShadingValues(const GlProgram& program, const GlShadingValues& values);
void ApplyLightingState(const GlProgram& program, const GlLightingState& state);
void ApplyTransformState(const GlProgram& program, const GlTransformState& state);

}  // namespace brontal
