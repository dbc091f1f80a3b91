#pragma once
// The fixed-function emulation as shader programs, one per combination of the switches that
// decide what runs per vertex and per pixel (GlProgramKey), each compiled from the same source
// with those switches as constants. A switch the draw does not use costs nothing per pixel: in
// particular only alpha-tested draws can discard, so every other draw keeps the rasteriser's
// early depth test. Values (matrices, lights, colours, the alpha reference) stay uniforms.
//
// The vertex stage transforms with the game's row-vector matrices (uploaded as stored, which
// GLSL's column-major reading turns into the transpose, so M * v in GLSL is v * M in the game)
// and maps Direct3D's clip depth 0..w onto the depth buffer (GlDepthMapping); pre-transformed
// vertices are pixels with Direct3D's pixel centres at integer coordinates. Lighting is per
// vertex: emissive plus ambient times (global ambient plus each enabled light's ambient,
// attenuated by 1 / (a0 + a1*d + a2*d^2) and nothing past its range). The fragment stage runs
// texture stage 0 (select/modulate/add of texture, diffuse, factor) and the alpha test on the
// 8-bit alpha.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "device/d3d8_types.h"
#include "device/gl/gl_api.h"

namespace brontal {

// Lights the shader takes at once; more enabled lights than this are dropped with a warning.
inline constexpr int kMaxShaderLights = 32;

// How Direct3D's depth (0 at the near plane, 1 at the far one) reaches the depth buffer.
// Reversed: 1 - depth into a floating-point buffer (OpenGL 4.5's clip control, or its
// extension), whose precision is nearly the same relative to the distance everywhere, as good
// as a w-buffer's for the game's scenes. Standard: the depth itself into a 24-bit buffer.
enum class GlDepthMapping { kStandard, kReversed };

// The switches a program is compiled for, with the device's numbers.
struct GlProgramKey {
    int preTransformed = 0;
    int lighting = 0;
    std::array<int, 3> materialSources{};  // ambient, emissive, alpha: 1 = from the vertex colour
    int textured = 0;
    std::array<int, 3> colourOp{};         // operation, argument 1, argument 2
    std::array<int, 3> alphaOp{};
    int alphaFunc = D3DCMP_ALWAYS;         // the alpha test's comparison; always when it is off
    // With lighting: the enabled lights, and their types (2 bits each, light 0 lowest), which
    // the program adds up one by one.
    int lightCount = 0;
    std::uint64_t lightTypes = 0;
    bool operator==(const GlProgramKey&) const = default;
};

struct GlProgram {
    GLuint program = 0;
    // Uniform locations; -1 where the program does not use it.
    GLint world = -1, worldViewProjection = -1, backBufferSize = -1;
    GLint materialAmbient = -1, materialEmissive = -1, materialAlpha = -1;
    GLint globalAmbient = -1;
    GLint lightPosition = -1, lightAmbient = -1, lightAttenuation = -1, lightDirection = -1, lightCone = -1;
    GLint texture = -1, textureFactor = -1, alphaRef = -1;
};

// Compiles and links the program for `key`; on failure returns false with the driver's log
// in error.
bool BuildFixedFunctionProgram(const GlProgramKey& key, GlDepthMapping depth, GlProgram& program,
                               std::string& error);
void DestroyProgram(GlProgram& program);

// A built program and which versions of the backend's uniform groups it holds (0: none yet).
struct GlProgramSlot {
    GlProgram program;
    bool failed = false;  // it would not build; its draws are refused
    std::uint64_t valuesVersion = 0, lightingVersion = 0, transformVersion = 0;
};

// Programs by key, built on first use and kept for the backend's life.
class GlProgramCache {
public:
    GlProgramCache(GlDepthMapping depth, float backBufferWidth, float backBufferHeight)
        : depth_(depth), width_(backBufferWidth), height_(backBufferHeight) {}
    ~GlProgramCache();
    GlProgramCache(const GlProgramCache&) = delete;
    GlProgramCache& operator=(const GlProgramCache&) = delete;

    // The slot for `key`, built now if it is new; a slot that failed says so (failed), with
    // the reason in error the first time.
    GlProgramSlot& Get(const GlProgramKey& key, std::string& error);
    std::size_t Built() const { return slots_.size(); }

private:
    struct KeyHash {
        std::size_t operator()(const GlProgramKey& k) const;
    };
    GlDepthMapping depth_;
    float width_, height_;
    std::unordered_map<GlProgramKey, std::unique_ptr<GlProgramSlot>, KeyHash> slots_;
    const GlProgramKey* lastKey_ = nullptr;  // the last key asked for and its slot
    GlProgramSlot* last_ = nullptr;
};

}  // namespace brontal
