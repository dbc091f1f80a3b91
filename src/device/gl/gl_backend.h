#pragma once
// The OpenGL 3.3 core backend: draws what the device hands it with the fixed-function
// emulation of gl_shaders.h, into its own back buffer of the configured size (two colour
// targets that trade places at Present, as a flip chain does, and one depth buffer). With a
// window, Present copies the presented frame onto the window's drawable, scaled when the
// drawable has another size (desktop full screen), and swaps; headless, the frames stay in the
// backend and ReadPixels reads them back.
//
// Straight into the window: when the window's own framebuffer can stand in for the back buffer
// (the same size, no alpha wanted, a depth buffer of at least 32 bits), a frame is drawn into
// it and Present only swaps. The copy it saves is a full-screen shaded draw on a software
// rasteriser. Such a frame cannot be read back after the swap, so a frame asked to be kept
// (KeepNextFrameReadable) is drawn into the back buffer as before.
//
// Render state is compared per group (gl_state.h) and only what changed since the last draw is
// applied; SetForceFullApply(true) applies everything on every draw, so tests can check that
// the diffing changes no pixel. Each program holds its own uniforms, so a uniform group is
// versioned: a group is re-sent to a program only when the program holds an older version.
// Geometry placement and its content check: gl_geometry.h; the programs: gl_shaders.h.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device/backend.h"
#include "device/gl/gl_context.h"
#include "device/gl/gl_geometry.h"
#include "device/gl/gl_shaders.h"
#include "device/gl/gl_state.h"
#include "device/gl/gl_textures.h"

namespace brontal {

struct GlBackendStats {
    std::uint64_t draws = 0;
    std::uint64_t refusedDraws = 0;
    // Groups applied to OpenGL (a group not applied was the same as for the last draw).
    std::uint64_t rasterApplies = 0;
    std::uint64_t programSwitches = 0;
    std::uint64_t shadingApplies = 0;
    std::uint64_t lightingApplies = 0;
    std::uint64_t transformApplies = 0;
    std::uint64_t samplerBinds = 0;
    std::uint64_t textureBinds = 0;
    std::uint64_t vertexArrayBinds = 0;
};

class GlBackend final : public Backend {
public:
    // The context must be current. Returns null with a reason when OpenGL 3.3 core is not
    // there or the back buffer cannot be made.
    // `allowReversedDepth` false keeps the standard depth mapping even where the reversed one
    // could be had (tests of the fallback).
    static std::unique_ptr<GlBackend> Create(std::unique_ptr<GlContext> context,
                                             const D3DPRESENT_PARAMETERS& parameters, std::string& error,
                                             bool allowReversedDepth = true);
    ~GlBackend() override;
    GlBackend(const GlBackend&) = delete;
    GlBackend& operator=(const GlBackend&) = delete;

    void TextureCreated(Texture& texture) override;
    void TextureUpdated(Texture& texture, std::uint32_t level) override;
    void TextureDestroyed(Texture& texture) override;
    void Clear(std::uint32_t flags, D3DCOLOR colour, float z, std::uint32_t stencil) override;
    void Draw(const DeviceState& state, const DrawCall& call) override;
    void Prepare(const DrawCall& call) override;
    void ForgetStaticGeometry() override;
    void Present() override;
    bool ReadPixels(std::uint32_t& width, std::uint32_t& height, std::vector<std::uint8_t>& rgba) override;
    void KeepNextFrameReadable() override;
    const char* Description() const override { return description_.c_str(); }
    // True while the frame being drawn goes straight into the window (tests, benchmarks).
    bool DrawingIntoWindow() const { return drawingIntoWindow_; }

    void SetForceFullApply(bool on) { forceFullApply_ = on; }
    // When off, every draw goes to OpenGL as it comes (for measuring what the order saves).
    void SetDrawOrdering(bool on);
    void SetStaticCaching(bool on) { geometry_->SetStaticCaching(on); }
    const GlBackendStats& Stats() const { return stats_; }
    const GlGeometryStats& GeometryStats() const { return geometry_->Stats(); }
    std::size_t ProgramsBuilt() const { return programs_->Built(); }
    GlDepthMapping DepthMapping() const { return depthMapping_; }
    // Waits until every queued command has run (benchmarks).
    void Finish();
    // The first OpenGL error raised since the last call, 0 when none (tests).
    std::uint32_t TakeGlError();

private:
    GlBackend(std::unique_ptr<GlContext> context, std::uint32_t width, std::uint32_t height);
    bool Initialise(const D3DPRESENT_PARAMETERS& parameters, bool allowReversedDepth, std::string& error);
    // A draw on its way to OpenGL: where its data went, and what it draws from there.
    struct PlacedDraw {
        std::uint32_t fvf = 0;
        D3DPRIMITIVETYPE primitiveType = D3DPT_TRIANGLELIST;
        std::uint32_t indexCount = 0;  // 0: not indexed
        std::uint32_t arrayCount = 0;  // vertices of a draw that is not indexed
        GlPlacement placement;
        std::uint8_t lowestAlpha = 0;  // LowestFragmentAlpha
        GlRasterState raster;         // derived once: nothing it depends on changes while a draw is held
    };
    // A draw held back to be sent nearest first (gl_draw_order.h), with the state it was made in.
    struct HeldDraw {
        DeviceState state;
        PlacedDraw draw;
        float distance = 0.0f;  // squared, from the eye to the draw's box
    };
    void Send(const DeviceState& state, const PlacedDraw& draw);
    // Sends the held draws, nearest first; called before anything that depends on the order.
    void SendHeldDraws();
    // False when the draw's program cannot be had.
    bool ApplyState(const DeviceState& state, const PlacedDraw& draw);
    // The lowest alpha the draw's fragments can have (LowestFragmentAlpha).
    std::uint8_t LowestAlpha(const DeviceState& state) const;
    void BindTexture(const DeviceState& state);
    void NoteMinAlpha(const Texture& texture);
    // Binds where the next frame is drawn: the window's framebuffer or the back buffer.
    void BindFrameTarget();
    bool WindowCanStandIn() const;

    std::unique_ptr<GlContext> context_;
    std::uint32_t width_, height_;
    std::string description_;
    GLuint colour_[2] = {0, 0};
    GLuint framebuffer_[2] = {0, 0};
    GLuint depth_ = 0;
    int back_ = 0;            // index of the target being drawn
    bool presented_ = false;  // a frame has been presented: the other target holds it
    bool hasDepth_ = false;
    bool windowHasDepth_ = false;     // the window's framebuffer has a depth buffer of 32 bits or more
    bool alphaWanted_ = false;        // the back buffer format has alpha
    bool drawingIntoWindow_ = false;  // the frame being drawn goes straight into the window
    bool keepNext_ = false;           // the next frame is to stay readable
    bool shownReadable_ = true;       // the last presented frame is in a target ReadPixels reads
    float maxAnisotropy_ = 1.0f;
    GlDepthMapping depthMapping_ = GlDepthMapping::kStandard;
    std::unique_ptr<GlProgramCache> programs_;
    std::unique_ptr<GlGeometry> geometry_;
    std::unique_ptr<GlSamplerCache> samplers_;

    // What the last draw applied.
    bool forceFullApply_ = false;
    bool applied_ = false;      // false until the first draw
    bool rasterStale_ = false;  // a clear changed the write masks
    GlRasterState raster_;
    GlProgramSlot* program_ = nullptr;
    // The uniform groups as last derived, each with a version that grows when it changes.
    template <class T>
    struct Versioned {
        T value{};
        std::uint64_t version = 0;  // 0: never derived
        // `next` becomes the value (by swapping: the lights are large), with a new version
        // when it differs.
        void Offer(T& next) {
            if (version != 0 && next == value) return;
            std::swap(value, next);
            ++version;
        }
    };
    Versioned<GlShadingValues> values_;
    Versioned<GlLightingState> lighting_;
    GlLightingState nextLighting_;
    Versioned<GlTransformState> transform_;
    GLuint sampler_ = 0;
    GLuint texture_ = 0;
    std::vector<std::uint8_t> minAlpha_;  // by OpenGL texture name: the texture's lowest alpha
    GLuint vertexArray_ = 0;
    bool ordering_ = true;
    std::vector<HeldDraw> held_;  // the first heldCount_ are held; the rest keep their storage
    std::size_t heldCount_ = 0;
    std::vector<std::uint32_t> heldOrder_;
    bool warnedLights_ = false;
    bool warnedProgram_ = false;
    GlBackendStats stats_;
};

}  // namespace brontal
