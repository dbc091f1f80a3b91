#include "device/gl/gl_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "device/device.h"
#include "device/gl/gl_draw_order.h"
#include "device/vertex_format.h"

namespace brontal {

namespace {

constexpr GLuint kUnknown = ~0u;  // a binding the backend no longer knows

bool HasExtension(const char* name) {
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i) {
        const auto* e = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
        if (e && std::strcmp(e, name) == 0) return true;
    }
    return false;
}

bool FormatHasAlpha(D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_A4R4G4B4 || format == D3DFMT_A1R5G5B5; }

}  // namespace

std::unique_ptr<GlBackend> GlBackend::Create(std::unique_ptr<GlContext> context,
                                             const D3DPRESENT_PARAMETERS& parameters, std::string& error,
                                             bool allowReversedDepth) {
    if (!context) {
        error = "no OpenGL context";
        return nullptr;
    }
    if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0 || parameters.BackBufferWidth > 16384 ||
        parameters.BackBufferHeight > 16384) {
        error = "back buffer size " + std::to_string(parameters.BackBufferWidth) + " x " +
                std::to_string(parameters.BackBufferHeight) + " is not one OpenGL can make";
        return nullptr;
    }
    std::unique_ptr<GlBackend> backend(
        new GlBackend(std::move(context), parameters.BackBufferWidth, parameters.BackBufferHeight));
    if (!backend->Initialise(parameters, allowReversedDepth, error)) return nullptr;
    return backend;
}

GlBackend::GlBackend(std::unique_ptr<GlContext> context, std::uint32_t width, std::uint32_t height)
    : context_(std::move(context)), width_(width), height_(height) {}

bool GlBackend::Initialise(const D3DPRESENT_PARAMETERS& parameters, bool allowReversedDepth, std::string& error) {
    if (!context_->MakeCurrent()) {
        error = std::string(context_->Name()) + ": cannot make the OpenGL context current";
        return false;
    }
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (major * 10 + minor < 33) {
        error = "OpenGL 3.3 core is needed; the context offers " + std::to_string(major) + "." + std::to_string(minor);
        return false;
    }
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    description_ = std::string("OpenGL ") + (version ? version : "?") + ", " + (renderer ? renderer : "?");

    if (HasExtension("GL_ARB_texture_filter_anisotropic") || HasExtension("GL_EXT_texture_filter_anisotropic"))
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY, &maxAnisotropy_);

    // Clip control makes the depth range 0..1 and so lets a floating-point buffer hold the
    // reversed depth at full precision.
    if (allowReversedDepth && (major * 10 + minor >= 45 || HasExtension("GL_ARB_clip_control"))) {
        glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
        depthMapping_ = GlDepthMapping::kReversed;
    }

    // The back buffer: two colour targets that trade places at Present, one depth buffer.
    hasDepth_ = parameters.EnableAutoDepthStencil != 0;
    alphaWanted_ = FormatHasAlpha(parameters.BackBufferFormat);
    if (context_->HasWindow()) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        GLint type = GL_NONE, bits = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
        if (type != GL_NONE)
            glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &bits);
        windowHasDepth_ = bits >= 32;
    }
    const GLenum colourFormat = alphaWanted_ ? GL_RGBA8 : GL_RGB8;
    const auto w = static_cast<GLsizei>(width_), h = static_cast<GLsizei>(height_);
    glGenRenderbuffers(2, colour_);
    glGenFramebuffers(2, framebuffer_);
    if (hasDepth_) {
        glGenRenderbuffers(1, &depth_);
        glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        glRenderbufferStorage(GL_RENDERBUFFER,
                              depthMapping_ == GlDepthMapping::kReversed ? GL_DEPTH_COMPONENT32F : GL_DEPTH_COMPONENT24,
                              w, h);
    }
    for (int i = 0; i < 2; ++i) {
        glBindRenderbuffer(GL_RENDERBUFFER, colour_[i]);
        glRenderbufferStorage(GL_RENDERBUFFER, colourFormat, w, h);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_[i]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_[i]);
        if (hasDepth_) glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            error = "the " + std::to_string(width_) + " x " + std::to_string(height_) + " back buffer is incomplete";
            return false;
        }
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    BindFrameTarget();
    glViewport(0, 0, w, h);

    programs_ = std::make_unique<GlProgramCache>(depthMapping_, static_cast<float>(width_), static_cast<float>(height_));
    // One program (lit, textured, alpha-tested, under the device's default stage states) is
    // built now, so that a driver that cannot build them fails here with its reason, rather
    // than drawing nothing later.
    GlProgramKey scene;
    scene.lighting = 1;
    scene.textured = 1;
    scene.colourOp = {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT};
    scene.alphaOp = {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT};
    scene.alphaFunc = D3DCMP_GREATEREQUAL;
    if (programs_->Get(scene, error).failed) return false;
    glActiveTexture(GL_TEXTURE0);
    // A vertex without colour is opaque white; without texture coordinates it reads (0, 0).
    glVertexAttrib4f(1, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexAttrib4f(2, 0.0f, 0.0f, 0.0f, 1.0f);
    geometry_ = std::make_unique<GlGeometry>();
    samplers_ = std::make_unique<GlSamplerCache>();
    if (const GLenum e = glGetError(); e != GL_NO_ERROR) {
        error = "OpenGL error " + std::to_string(e) + " while setting up the backend";
        return false;
    }
    return true;
}

GlBackend::~GlBackend() {
    if (!context_ || !context_->MakeCurrent()) return;
    geometry_.reset();
    samplers_.reset();
    programs_.reset();
    glDeleteFramebuffers(2, framebuffer_);
    glDeleteRenderbuffers(2, colour_);
    if (depth_) glDeleteRenderbuffers(1, &depth_);
}

void GlBackend::NoteMinAlpha(const Texture& texture) {
    const auto name = static_cast<GLuint>(texture.backendHandle);
    if (name == 0) return;
    if (name >= minAlpha_.size()) minAlpha_.resize(name + 1, 0);
    minAlpha_[name] = GlTextureMinAlpha(texture);
}

void GlBackend::TextureCreated(Texture& texture) {
    SendHeldDraws();
    texture.backendHandle = CreateGlTexture(texture);
    NoteMinAlpha(texture);
    texture_ = kUnknown;
}

void GlBackend::TextureUpdated(Texture& texture, std::uint32_t level) {
    SendHeldDraws();
    UploadGlTextureLevel(texture, static_cast<GLuint>(texture.backendHandle), level);
    NoteMinAlpha(texture);
    texture_ = kUnknown;
}

void GlBackend::TextureDestroyed(Texture& texture) {
    SendHeldDraws();
    auto name = static_cast<GLuint>(texture.backendHandle);
    if (name) glDeleteTextures(1, &name);
    texture.backendHandle = 0;
    texture_ = kUnknown;
}

void GlBackend::ForgetStaticGeometry() {
    SendHeldDraws();
    geometry_->ForgetStatic();
    vertexArray_ = kUnknown;  // the vertex array bound last may be gone
}

void GlBackend::Clear(std::uint32_t flags, D3DCOLOR colour, float z, std::uint32_t) {
    SendHeldDraws();
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        glClearColor(static_cast<float>((colour >> 16) & 0xFF) / 255.0f, static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                     static_cast<float>(colour & 0xFF) / 255.0f, static_cast<float>(colour >> 24) / 255.0f);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if ((flags & D3DCLEAR_ZBUFFER) && hasDepth_) {
        const double depth = z < 0.0f ? 0.0 : z > 1.0f ? 1.0 : static_cast<double>(z);
        glClearDepth(depthMapping_ == GlDepthMapping::kReversed ? 1.0 - depth : depth);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (mask == 0) return;
    glClear(mask);
    rasterStale_ = true;  // the write masks changed under the raster state
}

void GlBackend::BindTexture(const DeviceState& state) {
    const Texture* texture = state.texture[0];
    const GLuint name = texture ? static_cast<GLuint>(texture->backendHandle) : 0;
    if (name != texture_ || forceFullApply_) {
        glBindTexture(GL_TEXTURE_2D, name);
        texture_ = name;
        ++stats_.textureBinds;
    }
}

std::uint8_t GlBackend::LowestAlpha(const DeviceState& state) const {
    const GLuint textureName = state.texture[0] ? static_cast<GLuint>(state.texture[0]->backendHandle) : 0;
    return LowestFragmentAlpha(state, textureName != 0,
                               textureName < minAlpha_.size() ? minAlpha_[textureName] : std::uint8_t{0});
}

bool GlBackend::ApplyState(const DeviceState& state, const PlacedDraw& draw) {
    const bool all = forceFullApply_ || !applied_;
    const bool textured = state.texture[0] && state.texture[0]->backendHandle != 0;
    if (all || rasterStale_ || !(draw.raster == raster_)) {
        ApplyRasterState(draw.raster);
        raster_ = draw.raster;
        rasterStale_ = false;
        ++stats_.rasterApplies;
    }

    GlProgramKey key = DeriveProgramKey(state, draw.fvf, textured, draw.lowestAlpha);
    if (key.lighting) {
        DeriveLightingState(state, nextLighting_);
        if (nextLighting_.droppedLights && !warnedLights_) {
            std::fprintf(stderr, "warning: OpenGL backend: more than %d lights are enabled; the rest are not drawn\n",
                         kMaxShaderLights);
            warnedLights_ = true;
        }
        key.lightCount = nextLighting_.lightCount;
        key.lightTypes = nextLighting_.lightTypes;
    }
    std::string error;
    GlProgramSlot& slot = programs_->Get(key, error);
    if (slot.failed) {
        if (!error.empty() && !warnedProgram_) {
            std::fprintf(stderr, "warning: OpenGL backend: a draw's shader program would not build; not drawn: %s\n",
                         error.c_str());
            warnedProgram_ = true;
        }
        return false;
    }
    if (all || &slot != program_) {
        glUseProgram(slot.program.program);
        program_ = &slot;
        ++stats_.programSwitches;
    }

    // Each group gets a new version when it differs from the last derived, and is sent when
    // the program holds an older one.
    auto send = [&](std::uint64_t& held, std::uint64_t version, std::uint64_t& applies, auto apply) {
        if (!all && held == version) return;
        apply();
        held = version;
        ++applies;
    };
    GlShadingValues values = DeriveShadingValues(state);
    values_.Offer(values);
    send(slot.valuesVersion, values_.version, stats_.shadingApplies,
         [&] { ApplyShadingValues(slot.program, values_.value); });
    if (key.lighting) {
        lighting_.Offer(nextLighting_);
        send(slot.lightingVersion, lighting_.version, stats_.lightingApplies,
             [&] { ApplyLightingState(slot.program, lighting_.value); });
    }
    if (!key.preTransformed) {
        GlTransformState transform = DeriveTransformState(state);
        transform_.Offer(transform);
        send(slot.transformVersion, transform_.version, stats_.transformApplies,
             [&] { ApplyTransformState(slot.program, transform_.value); });
    }
    if (textured) {
        const GLuint sampler = samplers_->Get(DeriveSamplerKey(state, maxAnisotropy_));
        if (all || sampler != sampler_) {
            glBindSampler(0, sampler);
            sampler_ = sampler;
            ++stats_.samplerBinds;
        }
    }
    BindTexture(state);
    applied_ = true;
    return true;
}

void GlBackend::Draw(const DeviceState& state, const DrawCall& call) {
    if (call.primitiveCount == 0 || !call.vertices || call.vertexCount == 0) return;
    // Placing may start the stream buffers afresh, which the held draws' data must outlive.
    if (heldCount_ > 0 && !geometry_->StreamHasRoomFor(call)) SendHeldDraws();
    PlacedDraw draw;
    const std::uint64_t hits = geometry_->Stats().staticHits;
    if (!geometry_->Place(call, draw.placement)) {
        vertexArray_ = kUnknown;  // it may have bound one before refusing
        ++stats_.refusedDraws;
        return;
    }
    // A draw found in the static buffers binds nothing; any other placing leaves its vertex array bound.
    if (geometry_->Stats().staticHits == hits) vertexArray_ = draw.placement.vao;
    draw.fvf = call.fvf;
    draw.primitiveType = call.primitiveType;
    draw.indexCount = call.indices ? call.indexCount : 0;
    draw.arrayCount = call.vertexCount - call.minVertexIndex;
    draw.lowestAlpha = LowestAlpha(state);
    draw.raster = DeriveRasterState(state, hasDepth_, depthMapping_, draw.lowestAlpha);
    if (ordering_ && KeepsNearestOnly(draw.raster, DecodeVertexFormat(call.fvf), call.primitiveType)) {
        if (heldCount_ == held_.size()) held_.emplace_back();
        HeldDraw& held = held_[heldCount_++];
        held.state = state;  // into the slot's own storage: no allocation once the slots exist
        held.draw = draw;
        held.distance = EyeDistanceSquared(state.world, state.view, draw.placement.boxMin, draw.placement.boxMax);
        return;
    }
    SendHeldDraws();
    Send(state, draw);
}

void GlBackend::Send(const DeviceState& state, const PlacedDraw& draw) {
    if (draw.placement.vao != vertexArray_ || forceFullApply_) {
        glBindVertexArray(draw.placement.vao);
        vertexArray_ = draw.placement.vao;
        ++stats_.vertexArrayBinds;
    }
    if (!ApplyState(state, draw)) {
        ++stats_.refusedDraws;
        return;
    }
    const GLenum mode = GlPrimitiveMode(draw.primitiveType);
    if (draw.indexCount > 0) {
        glDrawElementsBaseVertex(mode, static_cast<GLsizei>(draw.indexCount), GL_UNSIGNED_SHORT,
                                 reinterpret_cast<const void*>(draw.placement.indexOffset), draw.placement.baseVertex);
    } else {
        glDrawArrays(mode, draw.placement.first, static_cast<GLsizei>(draw.arrayCount));
    }
    ++stats_.draws;
}

void GlBackend::SendHeldDraws() {
    if (heldCount_ == 0) return;
    heldOrder_.resize(heldCount_);
    for (std::uint32_t i = 0; i < heldCount_; ++i) heldOrder_[i] = i;
    // Draws at one distance keep the order they came in (a stable sort would allocate).
    std::sort(heldOrder_.begin(), heldOrder_.end(), [this](std::uint32_t a, std::uint32_t b) {
        return held_[a].distance < held_[b].distance || (held_[a].distance == held_[b].distance && a < b);
    });
    heldCount_ = 0;  // first: a draw sent below must not send the held ones again
    for (const std::uint32_t i : heldOrder_) Send(held_[i].state, held_[i].draw);
}

void GlBackend::SetDrawOrdering(bool on) {
    SendHeldDraws();
    ordering_ = on;
}

void GlBackend::Prepare(const DrawCall& call) {
    if (call.primitiveCount == 0 || !call.vertices || call.vertexCount == 0) return;
    SendHeldDraws();
    geometry_->Prime(call);
    vertexArray_ = 0;  // priming binds the static buffers' vertex arrays: the next draw rebinds
}

bool GlBackend::WindowCanStandIn() const {
    if (!context_->HasWindow() || alphaWanted_ || (hasDepth_ && !windowHasDepth_)) return false;
    std::uint32_t dw = 0, dh = 0;
    context_->DrawableSize(dw, dh);
    return dw == width_ && dh == height_;
}

void GlBackend::BindFrameTarget() {
    drawingIntoWindow_ = !keepNext_ && WindowCanStandIn();
    glBindFramebuffer(GL_FRAMEBUFFER, drawingIntoWindow_ ? 0 : framebuffer_[back_]);
}

void GlBackend::KeepNextFrameReadable() {
    SendHeldDraws();
    keepNext_ = true;
    if (drawingIntoWindow_) BindFrameTarget();
}

void GlBackend::Present() {
    SendHeldDraws();
    const int shown = back_;
    if (drawingIntoWindow_) {
        context_->SwapBuffers();
        shownReadable_ = false;
    } else if (context_->HasWindow()) {
        std::uint32_t dw = 0, dh = 0;
        context_->DrawableSize(dw, dh);
        // Where the frame goes on the drawable: all of it, or the largest rectangle of the
        // back buffer's aspect, centred.
        std::uint64_t x0 = 0, y0 = 0, w = dw, h = dh;
        if (context_->KeepsAspect() && dw > 0 && dh > 0) {
            if (std::uint64_t{dw} * height_ > std::uint64_t{dh} * width_) w = std::uint64_t{dh} * width_ / height_;
            else h = std::uint64_t{dw} * height_ / width_;
            x0 = (dw - w) / 2;
            y0 = (dh - h) / 2;
        }
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        if (w != dw || h != dh) {
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            glClearColor(0, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            rasterStale_ = true;
        }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_[shown]);
        const bool same = w == width_ && h == height_;
        glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), static_cast<GLint>(x0),
                          static_cast<GLint>(y0), static_cast<GLint>(x0 + w), static_cast<GLint>(y0 + h),
                          GL_COLOR_BUFFER_BIT, same ? GL_NEAREST : GL_LINEAR);
        context_->SwapBuffers();
        shownReadable_ = true;
        back_ = 1 - back_;
    } else {
        glFlush();
        shownReadable_ = true;
        back_ = 1 - back_;
    }
    presented_ = true;
    keepNext_ = false;
    BindFrameTarget();
}

bool GlBackend::ReadPixels(std::uint32_t& width, std::uint32_t& height, std::vector<std::uint8_t>& rgba) {
    SendHeldDraws();
    if (presented_ && !shownReadable_) return false;
    // Nothing presented yet: the frame being drawn, wherever it is being drawn.
    const GLuint source = presented_ ? framebuffer_[1 - back_] : drawingIntoWindow_ ? 0 : framebuffer_[back_];
    width = width_;
    height = height_;
    const std::size_t row = std::size_t{width_} * 4;
    std::vector<std::uint8_t> bottomUp(row * height_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_RGBA, GL_UNSIGNED_BYTE,
                 bottomUp.data());
    glBindFramebuffer(GL_FRAMEBUFFER, drawingIntoWindow_ ? 0 : framebuffer_[back_]);
    rgba.resize(bottomUp.size());
    for (std::uint32_t y = 0; y < height_; ++y)
        std::memcpy(rgba.data() + std::size_t{y} * row, bottomUp.data() + std::size_t{height_ - 1 - y} * row, row);
    return true;
}

void GlBackend::Finish() {
    SendHeldDraws();
    glFinish();
}

std::uint32_t GlBackend::TakeGlError() {
    SendHeldDraws();
    const GLenum first = glGetError();
    while (glGetError() != GL_NO_ERROR) {
    }
    return first;
}

}  // namespace brontal
