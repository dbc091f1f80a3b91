#include "device/gl/gl_state.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "device/vertex_format.h"

namespace brontal {

namespace {

GLenum CompareFunction(std::uint32_t f) {
    switch (f) {
        case D3DCMP_NEVER: return GL_NEVER;
        case D3DCMP_LESS: return GL_LESS;
        case D3DCMP_EQUAL: return GL_EQUAL;
        case D3DCMP_LESSEQUAL: return GL_LEQUAL;
        case D3DCMP_GREATER: return GL_GREATER;
        case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
        default: return GL_ALWAYS;
    }
}

// The comparison that gives the same answer on 1 - depth.
GLenum Reversed(GLenum compare) {
    switch (compare) {
        case GL_LESS: return GL_GREATER;
        case GL_LEQUAL: return GL_GEQUAL;
        case GL_GREATER: return GL_LESS;
        case GL_GEQUAL: return GL_LEQUAL;
        default: return compare;  // never, equal, not equal, always
    }
}

GLenum BlendFactor(std::uint32_t b, bool source) {
    switch (b) {
        case D3DBLEND_ZERO: return GL_ZERO;
        case D3DBLEND_ONE: return GL_ONE;
        case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
        case D3DBLEND_BOTHSRCALPHA: return source ? GL_SRC_ALPHA : GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_BOTHINVSRCALPHA: return source ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
        default: return source ? GL_ONE : GL_ZERO;
    }
}

GLenum BlendEquation(std::uint32_t op) {
    switch (op) {
        case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
        case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
        case D3DBLENDOP_MIN: return GL_MIN;
        case D3DBLENDOP_MAX: return GL_MAX;
        case D3DBLENDOP_ADD:
        default: return GL_FUNC_ADD;
    }
}

GLenum Wrap(std::uint32_t address) {
    switch (address) {
        case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
        case D3DTADDRESS_MIRRORONCE: return GL_CLAMP_TO_EDGE;  // mirror-once is 4.4; the game never asks
        default: return GL_REPEAT;
    }
}

std::array<float, 4> ColourToFloats(std::uint32_t argb) {
    return {static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24) / 255.0f};
}

void Multiply(Matrix4x4& out, const Matrix4x4& a, const Matrix4x4& b) {
    Matrix4x4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    out = r;
}

}  // namespace

bool GlLightingState::operator==(const GlLightingState& o) const {
    if (materialAmbient != o.materialAmbient || materialEmissive != o.materialEmissive ||
        materialAlpha != o.materialAlpha || globalAmbient != o.globalAmbient || lightCount != o.lightCount ||
        lightTypes != o.lightTypes)
        return false;
    const std::size_t used = static_cast<std::size_t>(lightCount) * 4 * sizeof(float);
    return std::memcmp(position.data(), o.position.data(), used) == 0 &&
           std::memcmp(ambient.data(), o.ambient.data(), used) == 0 &&
           std::memcmp(attenuation.data(), o.attenuation.data(), used) == 0 &&
           std::memcmp(direction.data(), o.direction.data(), used) == 0 &&
           std::memcmp(cone.data(), o.cone.data(), used) == 0;
}

bool GlTransformState::operator==(const GlTransformState& o) const {
    return std::memcmp(this, &o, sizeof *this) == 0;
}

GlRasterState DeriveRasterState(const DeviceState& state, bool hasDepthBuffer, GlDepthMapping depth,
                                std::uint8_t lowestAlpha) {
    const auto& rs = state.renderState;
    GlRasterState r;
    r.cull = rs[D3DRS_CULLMODE] == D3DCULL_CCW || rs[D3DRS_CULLMODE] == D3DCULL_CW;
    // CCW culls what turns counter-clockwise on screen: the kept front faces are clockwise.
    r.frontFace = rs[D3DRS_CULLMODE] == D3DCULL_CW ? GL_CCW : GL_CW;
    switch (rs[D3DRS_FILLMODE]) {
        case D3DFILL_POINT: r.polygonMode = GL_POINT; break;
        case D3DFILL_WIREFRAME: r.polygonMode = GL_LINE; break;
        default: r.polygonMode = GL_FILL; break;
    }
    r.depthTest = hasDepthBuffer && rs[D3DRS_ZENABLE] != D3DZB_FALSE;
    r.depthWrite = rs[D3DRS_ZWRITEENABLE] != 0;
    r.depthFunc = CompareFunction(rs[D3DRS_ZFUNC]);
    if (depth == GlDepthMapping::kReversed) r.depthFunc = Reversed(r.depthFunc);
    const bool writeOnly = lowestAlpha == 255 && rs[D3DRS_SRCBLEND] == D3DBLEND_SRCALPHA &&
                           rs[D3DRS_DESTBLEND] == D3DBLEND_INVSRCALPHA && rs[D3DRS_BLENDOP] == D3DBLENDOP_ADD;
    r.blend = rs[D3DRS_ALPHABLENDENABLE] != 0 && !writeOnly;
    if (r.blend) {
        r.sourceBlend = BlendFactor(rs[D3DRS_SRCBLEND], true);
        r.destinationBlend = BlendFactor(rs[D3DRS_DESTBLEND], false);
        r.blendEquation = BlendEquation(rs[D3DRS_BLENDOP]);
    }
    r.colourMask = rs[D3DRS_COLORWRITEENABLE] & 0xF;
    return r;
}

GlSamplerKey DeriveSamplerKey(const DeviceState& state, float maxAnisotropy) {
    const auto& ts = state.stageState[0];
    GlSamplerKey k;
    k.wrapS = Wrap(ts[D3DTSS_ADDRESSU]);
    k.wrapT = Wrap(ts[D3DTSS_ADDRESSV]);
    const bool magPoint = ts[D3DTSS_MAGFILTER] == D3DTEXF_POINT || ts[D3DTSS_MAGFILTER] == D3DTEXF_NONE;
    k.magFilter = magPoint ? GL_NEAREST : GL_LINEAR;
    const bool minPoint = ts[D3DTSS_MINFILTER] == D3DTEXF_POINT || ts[D3DTSS_MINFILTER] == D3DTEXF_NONE;
    switch (ts[D3DTSS_MIPFILTER]) {
        case D3DTEXF_POINT: k.minFilter = minPoint ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_NEAREST; break;
        case D3DTEXF_LINEAR:
        case D3DTEXF_ANISOTROPIC: k.minFilter = minPoint ? GL_NEAREST_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_LINEAR; break;
        default: k.minFilter = minPoint ? GL_NEAREST : GL_LINEAR; break;  // none: the top level only
    }
    // Anisotropy is the stage's maximum anisotropy when either filter asks for it, as on the
    // platform: with the default maximum of 1 an anisotropic filter samples like a linear one.
    const bool anisotropic =
        ts[D3DTSS_MINFILTER] == D3DTEXF_ANISOTROPIC || ts[D3DTSS_MAGFILTER] == D3DTEXF_ANISOTROPIC;
    if (anisotropic && maxAnisotropy > 1.0f)
        k.anisotropy = std::clamp(static_cast<float>(ts[D3DTSS_MAXANISOTROPY]), 1.0f, maxAnisotropy);
    if (ts[D3DTSS_ADDRESSU] == D3DTADDRESS_BORDER || ts[D3DTSS_ADDRESSV] == D3DTADDRESS_BORDER)
        k.borderColour = ts[D3DTSS_BORDERCOLOR];
    return k;
}

std::uint8_t LowestFragmentAlpha(const DeviceState& state, bool textured, std::uint8_t textureMinAlpha) {
    const auto& ts = state.stageState[0];
    const bool alphaIsTexture = (ts[D3DTSS_ALPHAOP] == D3DTOP_SELECTARG1 && ts[D3DTSS_ALPHAARG1] == D3DTA_TEXTURE) ||
                                (ts[D3DTSS_ALPHAOP] == D3DTOP_SELECTARG2 && ts[D3DTSS_ALPHAARG2] == D3DTA_TEXTURE);
    if (!textured || !alphaIsTexture || ts[D3DTSS_ADDRESSU] == D3DTADDRESS_BORDER ||
        ts[D3DTSS_ADDRESSV] == D3DTADDRESS_BORDER)
        return 0;
    return textureMinAlpha;
}

namespace {

// True when every alpha from lowestAlpha up passes the alpha test.
bool AlphaTestPassesEveryFragment(const DeviceState& state, std::uint8_t lowestAlpha) {
    const std::uint32_t ref = state.renderState[D3DRS_ALPHAREF] & 0xFF;
    switch (state.renderState[D3DRS_ALPHAFUNC]) {
        case D3DCMP_GREATER: return lowestAlpha > ref;
        case D3DCMP_GREATEREQUAL: return lowestAlpha >= ref;
        case D3DCMP_ALWAYS: return true;
        default: return false;
    }
}

}  // namespace

GlProgramKey DeriveProgramKey(const DeviceState& state, std::uint32_t fvf, bool textured,
                              std::uint8_t lowestAlpha) {
    const auto& rs = state.renderState;
    const auto& ts = state.stageState[0];
    GlProgramKey k;
    k.preTransformed = DecodeVertexFormat(fvf).preTransformed ? 1 : 0;
    k.lighting = (rs[D3DRS_LIGHTING] != 0 && !k.preTransformed) ? 1 : 0;
    if (k.lighting) {
        // With colour vertex on, a material source naming the vertex's first colour takes it,
        // when the vertex has one.
        const bool fromVertex = rs[D3DRS_COLORVERTEX] != 0 && (fvf & D3DFVF_DIFFUSE) != 0;
        k.materialSources = {fromVertex && rs[D3DRS_AMBIENTMATERIALSOURCE] == D3DMCS_COLOR1,
                             fromVertex && rs[D3DRS_EMISSIVEMATERIALSOURCE] == D3DMCS_COLOR1,
                             fromVertex && rs[D3DRS_DIFFUSEMATERIALSOURCE] == D3DMCS_COLOR1};
    }
    // With no texture bound a texture argument reads opaque white.
    k.textured = textured ? 1 : 0;
    k.colourOp = {static_cast<int>(ts[D3DTSS_COLOROP]), static_cast<int>(ts[D3DTSS_COLORARG1]),
                  static_cast<int>(ts[D3DTSS_COLORARG2])};
    k.alphaOp = {static_cast<int>(ts[D3DTSS_ALPHAOP]), static_cast<int>(ts[D3DTSS_ALPHAARG1]),
                 static_cast<int>(ts[D3DTSS_ALPHAARG2])};
    if (rs[D3DRS_ALPHATESTENABLE] != 0 && !AlphaTestPassesEveryFragment(state, lowestAlpha))
        k.alphaFunc = static_cast<int>(rs[D3DRS_ALPHAFUNC]);
    return k;
}

GlShadingValues DeriveShadingValues(const DeviceState& state) {
    const auto& rs = state.renderState;
    const auto& ts = state.stageState[0];
    GlShadingValues v;
    const auto factor = [](std::uint32_t argument) { return (argument & D3DTA_SELECTMASK) == D3DTA_TFACTOR; };
    const bool usesFactor = factor(ts[D3DTSS_COLORARG1]) || factor(ts[D3DTSS_COLORARG2]) ||
                            factor(ts[D3DTSS_ALPHAARG1]) || factor(ts[D3DTSS_ALPHAARG2]);
    if (usesFactor) v.textureFactor = ColourToFloats(rs[D3DRS_TEXTUREFACTOR]);
    if (rs[D3DRS_ALPHATESTENABLE] != 0) v.alphaRef = static_cast<float>(rs[D3DRS_ALPHAREF] & 0xFF);
    return v;
}

void DeriveLightingState(const DeviceState& state, GlLightingState& out) {
    const D3DMATERIAL8& m = state.material;
    out.materialAmbient = {m.Ambient.r, m.Ambient.g, m.Ambient.b};
    out.materialEmissive = {m.Emissive.r, m.Emissive.g, m.Emissive.b};
    out.materialAlpha = m.Diffuse.a;
    const auto global = ColourToFloats(state.renderState[D3DRS_AMBIENT]);
    out.globalAmbient = {global[0], global[1], global[2]};
    int n = 0;
    out.droppedLights = false;
    out.lightTypes = 0;
    for (const LightSlot& slot : state.lights) {
        if (!slot.enabled) continue;
        if (n == kMaxShaderLights) {
            out.droppedLights = true;
            break;
        }
        const D3DLIGHT8& l = slot.light;
        const std::size_t i = static_cast<std::size_t>(n) * 4;
        out.position[i] = l.Position.x;
        out.position[i + 1] = l.Position.y;
        out.position[i + 2] = l.Position.z;
        out.position[i + 3] = l.Range;
        out.ambient[i] = l.Ambient.r;
        out.ambient[i + 1] = l.Ambient.g;
        out.ambient[i + 2] = l.Ambient.b;
        out.ambient[i + 3] = 0.0f;
        out.lightTypes |= std::uint64_t{static_cast<std::uint32_t>(l.Type) & 3u} << (2 * n);
        out.attenuation[i] = l.Attenuation0;
        out.attenuation[i + 1] = l.Attenuation1;
        out.attenuation[i + 2] = l.Attenuation2;
        out.attenuation[i + 3] = 0.0f;
        const float length = std::sqrt(l.Direction.x * l.Direction.x + l.Direction.y * l.Direction.y +
                                       l.Direction.z * l.Direction.z);
        const float inverse = length > 0.0f ? 1.0f / length : 0.0f;
        out.direction[i] = l.Direction.x * inverse;
        out.direction[i + 1] = l.Direction.y * inverse;
        out.direction[i + 2] = l.Direction.z * inverse;
        out.direction[i + 3] = 0.0f;
        out.cone[i] = std::cos(l.Theta * 0.5f);
        out.cone[i + 1] = std::cos(l.Phi * 0.5f);
        out.cone[i + 2] = l.Falloff;
        out.cone[i + 3] = 0.0f;
        ++n;
    }
    out.lightCount = n;
}

GlTransformState DeriveTransformState(const DeviceState& state) {
    GlTransformState t;
    t.world = state.world;
    t.view = state.view;
    t.projection = state.projection;
    return t;
}

void ApplyRasterState(const GlRasterState& r) {
    if (r.cull) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(r.frontFace);
    } else {
        glDisable(GL_CULL_FACE);
    }
    glPolygonMode(GL_FRONT_AND_BACK, r.polygonMode);
    if (r.depthTest) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(r.depthFunc);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(r.depthWrite ? GL_TRUE : GL_FALSE);
    if (r.blend) {
        glEnable(GL_BLEND);
        glBlendFunc(r.sourceBlend, r.destinationBlend);
        glBlendEquation(r.blendEquation);
    } else {
        glDisable(GL_BLEND);
    }
    glColorMask((r.colourMask & 1) != 0, (r.colourMask & 2) != 0, (r.colourMask & 4) != 0, (r.colourMask & 8) != 0);
}

void ApplyShadingValues(const GlProgram& p, const GlShadingValues& v) {
    glUniform4fv(p.textureFactor, 1, v.textureFactor.data());
    glUniform1f(p.alphaRef, v.alphaRef);
}

void ApplyLightingState(const GlProgram& p, const GlLightingState& l) {
    glUniform3fv(p.materialAmbient, 1, l.materialAmbient.data());
    glUniform3fv(p.materialEmissive, 1, l.materialEmissive.data());
    glUniform1f(p.materialAlpha, l.materialAlpha);
    glUniform3fv(p.globalAmbient, 1, l.globalAmbient.data());
    if (l.lightCount == 0) return;
    glUniform4fv(p.lightPosition, l.lightCount, l.position.data());
    glUniform4fv(p.lightAmbient, l.lightCount, l.ambient.data());
    glUniform4fv(p.lightAttenuation, l.lightCount, l.attenuation.data());
    glUniform4fv(p.lightDirection, l.lightCount, l.direction.data());
    glUniform4fv(p.lightCone, l.lightCount, l.cone.data());
}

void ApplyTransformState(const GlProgram& p, const GlTransformState& t) {
    Matrix4x4 worldView, worldViewProjection;
    Multiply(worldView, t.world, t.view);
    Multiply(worldViewProjection, worldView, t.projection);
    // Row-major storage read as column-major is the transpose: M * v in GLSL is v * M here.
    glUniformMatrix4fv(p.world, 1, GL_FALSE, &t.world.m[0][0]);
    glUniformMatrix4fv(p.worldViewProjection, 1, GL_FALSE, &worldViewProjection.m[0][0]);
}

}  // namespace brontal
