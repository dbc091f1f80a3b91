#include "device/gl/gl_shaders.h"

#include <algorithm>
#include <string>
#include <utility>
#include <functional>
#include <vector>

#include "device/d3d8_types.h"

namespace brontal {

namespace {

// Both stages are compiled with a prelude of #defines (PRE_TRANSFORMED, LIGHTING, TEXTURED,
// REVERSED_DEPTH as 0 or 1; MATERIAL_SOURCES, COLOUR_OP, ALPHA_OP as ivec3; ALPHA_FUNC; the
// LIGHT_COUNT and the LIGHT_CALLS that add up each light by its type); the compiler folds every
// test on them away.
const char* const kVertexShader = R"(
layout(location = 0) in vec4 aPosition;   // x, y, z (w = 1) or screen x, y, z, rhw
layout(location = 1) in vec4 aDiffuse;    // white when the vertex has no colour
layout(location = 2) in vec2 aTexCoord;

out vec4 vDiffuse;
out vec2 vTexCoord;

#if PRE_TRANSFORMED
uniform vec2 uBackBufferSize;
#else
uniform mat4 uWorldViewProjection;
#endif

#if LIGHTING
uniform mat4 uWorld;
uniform vec3 uMaterialAmbient;
uniform vec3 uMaterialEmissive;
uniform float uMaterialAlpha;
uniform vec3 uGlobalAmbient;
#if LIGHT_COUNT > 0
uniform vec4 uLightPosition[LIGHT_COUNT];     // xyz, range
uniform vec4 uLightAmbient[LIGHT_COUNT];      // rgb
uniform vec4 uLightAttenuation[LIGHT_COUNT];  // a0, a1, a2
uniform vec4 uLightDirection[LIGHT_COUNT];    // unit direction the light shines in
uniform vec4 uLightCone[LIGHT_COUNT];         // cos(theta / 2), cos(phi / 2), falloff

// One light's ambient at p; the light's index is a constant in every call (LIGHT_CALLS), so
// the compiler reads its uniforms directly.
float Attenuation(int i, float d) {
    vec3 a = uLightAttenuation[i].xyz;
    float denominator = a.x + a.y * d + a.z * d * d;
    return denominator > 1e-20 ? 1.0 / denominator : 1.0;
}

vec3 PointLight(vec3 p, int i) {
    float d = length(p - uLightPosition[i].xyz);
    return d > uLightPosition[i].w ? vec3(0.0) : uLightAmbient[i].rgb * Attenuation(i, d);
}

vec3 SpotLight(vec3 p, int i) {
    vec3 toVertex = p - uLightPosition[i].xyz;
    float d = length(toVertex);
    float rho = d > 0.0 ? dot(uLightDirection[i].xyz, toVertex / d) : 1.0;
    vec3 cone = uLightCone[i].xyz;
    float factor = Attenuation(i, d);
    if (rho < cone.x) factor *= pow(max((rho - cone.y) / max(cone.x - cone.y, 1e-6), 0.0), cone.z);
    return d > uLightPosition[i].w || rho <= cone.y ? vec3(0.0) : uLightAmbient[i].rgb * factor;
}

vec3 DirectionalLight(int i) { return uLightAmbient[i].rgb; }
#endif

vec3 LightAmbient(vec3 p) {
    vec3 sum = vec3(0.0);
    LIGHT_CALLS
    return sum;
}
#endif

// Direct3D's depth 0..1 (as clip z 0..w) to what the depth buffer keeps.
vec4 ToDepthBuffer(vec4 clip) {
#if REVERSED_DEPTH
    return vec4(clip.x, clip.y, clip.w - clip.z, clip.w);
#else
    return vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);
#endif
}

void main() {
#if PRE_TRANSFORMED
    float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
    vec2 ndc = vec2((aPosition.x + 0.5) * 2.0 / uBackBufferSize.x - 1.0,
                    1.0 - (aPosition.y + 0.5) * 2.0 / uBackBufferSize.y);
    gl_Position = ToDepthBuffer(vec4(ndc, aPosition.z, 1.0) * w);
#else
    gl_Position = ToDepthBuffer(uWorldViewProjection * vec4(aPosition.xyz, 1.0));
#endif
    vTexCoord = aTexCoord;
#if LIGHTING
    vec3 p = (uWorld * vec4(aPosition.xyz, 1.0)).xyz;
    vec3 ambient = MATERIAL_SOURCES.x != 0 ? aDiffuse.rgb : uMaterialAmbient;
    vec3 emissive = MATERIAL_SOURCES.y != 0 ? aDiffuse.rgb : uMaterialEmissive;
    float alpha = MATERIAL_SOURCES.z != 0 ? aDiffuse.a : uMaterialAlpha;
    vec3 colour = emissive + ambient * (uGlobalAmbient + LightAmbient(p));
    vDiffuse = vec4(clamp(colour, 0.0, 1.0), clamp(alpha, 0.0, 1.0));
#else
    vDiffuse = aDiffuse;
#endif
}
)";

const char* const kFragmentShader = R"(
in vec4 vDiffuse;
in vec2 vTexCoord;

uniform sampler2D uTexture;
uniform vec4 uTextureFactor;
uniform float uAlphaRef;   // 0..255

out vec4 fragColour;

vec4 Argument(int argument, vec4 texel) {
    int source = argument & D3DTA_SELECTMASK;
    vec4 value = vDiffuse;                   // diffuse, and current at stage 0
    if (source == D3DTA_TEXTURE) value = texel;
    else if (source == D3DTA_TFACTOR) value = uTextureFactor;
    if ((argument & D3DTA_COMPLEMENT) != 0) value = vec4(1.0) - value;
    if ((argument & D3DTA_ALPHAREPLICATE) != 0) value = value.aaaa;
    return value;
}

vec4 Combine(ivec3 op, vec4 texel) {
    switch (op.x) {
        case D3DTOP_DISABLE: return vDiffuse;  // the stage passes its input on
        case D3DTOP_SELECTARG1: return Argument(op.y, texel);
        case D3DTOP_SELECTARG2: return Argument(op.z, texel);
        case D3DTOP_MODULATE2X: return clamp(Argument(op.y, texel) * Argument(op.z, texel) * 2.0, 0.0, 1.0);
        case D3DTOP_MODULATE4X: return clamp(Argument(op.y, texel) * Argument(op.z, texel) * 4.0, 0.0, 1.0);
        case D3DTOP_ADD: return clamp(Argument(op.y, texel) + Argument(op.z, texel), 0.0, 1.0);
        case D3DTOP_ADDSIGNED: return clamp(Argument(op.y, texel) + Argument(op.z, texel) - 0.5, 0.0, 1.0);
        case D3DTOP_ADDSIGNED2X:
            return clamp((Argument(op.y, texel) + Argument(op.z, texel) - 0.5) * 2.0, 0.0, 1.0);
        case D3DTOP_SUBTRACT: return clamp(Argument(op.y, texel) - Argument(op.z, texel), 0.0, 1.0);
        default: return Argument(op.y, texel) * Argument(op.z, texel);  // modulate
    }
}

#if ALPHA_FUNC != D3DCMP_ALWAYS
bool AlphaPasses(float alpha) {
    float a = floor(clamp(alpha, 0.0, 1.0) * 255.0 + 0.5);
#if ALPHA_FUNC == D3DCMP_NEVER
    return false;
#elif ALPHA_FUNC == D3DCMP_LESS
    return a < uAlphaRef;
#elif ALPHA_FUNC == D3DCMP_EQUAL
    return a == uAlphaRef;
#elif ALPHA_FUNC == D3DCMP_LESSEQUAL
    return a <= uAlphaRef;
#elif ALPHA_FUNC == D3DCMP_GREATER
    return a > uAlphaRef;
#elif ALPHA_FUNC == D3DCMP_NOTEQUAL
    return a != uAlphaRef;
#elif ALPHA_FUNC == D3DCMP_GREATEREQUAL
    return a >= uAlphaRef;
#else
    return true;
#endif
}
#endif

void main() {
#if TEXTURED
    vec4 texel = texture(uTexture, vTexCoord);
#else
    vec4 texel = vec4(1.0);
#endif
    vec4 colour = vec4(Combine(COLOUR_OP, texel).rgb, Combine(ALPHA_OP, texel).a);
#if ALPHA_FUNC != D3DCMP_ALWAYS
    if (!AlphaPasses(colour.a)) discard;
#endif
    fragColour = colour;
}
)";

std::string Ivec3(const std::array<int, 3>& v) {
    return "ivec3(" + std::to_string(v[0]) + ", " + std::to_string(v[1]) + ", " + std::to_string(v[2]) + ")";
}

int LightsOf(const GlProgramKey& key) {
    return key.lighting && !key.preTransformed ? std::clamp(key.lightCount, 0, kMaxShaderLights) : 0;
}

// The source of one stage for `key`: the version line, the switches, the body.
std::string StageSource(const char* body, const GlProgramKey& key, GlDepthMapping depth) {
    // An alpha comparison outside the device's 1..8 compares always, as the platform does.
    const int never = D3DCMP_NEVER, always = D3DCMP_ALWAYS;
    const int alphaFunc = key.alphaFunc >= never && key.alphaFunc <= always ? key.alphaFunc : always;
    std::string s = "#version 330 core\n";
    // The device's own numbers for what the shaders compare against, by the device's names.
    const std::pair<const char*, std::uint32_t> names[] = {
        {"D3DTA_SELECTMASK", D3DTA_SELECTMASK},     {"D3DTA_TEXTURE", D3DTA_TEXTURE},
        {"D3DTA_TFACTOR", D3DTA_TFACTOR},           {"D3DTA_COMPLEMENT", D3DTA_COMPLEMENT},
        {"D3DTA_ALPHAREPLICATE", D3DTA_ALPHAREPLICATE}, {"D3DTOP_DISABLE", D3DTOP_DISABLE},
        {"D3DTOP_SELECTARG1", D3DTOP_SELECTARG1},   {"D3DTOP_SELECTARG2", D3DTOP_SELECTARG2},
        {"D3DTOP_MODULATE2X", D3DTOP_MODULATE2X},   {"D3DTOP_MODULATE4X", D3DTOP_MODULATE4X},
        {"D3DTOP_ADD", D3DTOP_ADD},                 {"D3DTOP_ADDSIGNED", D3DTOP_ADDSIGNED},
        {"D3DTOP_ADDSIGNED2X", D3DTOP_ADDSIGNED2X}, {"D3DTOP_SUBTRACT", D3DTOP_SUBTRACT},
        {"D3DCMP_NEVER", D3DCMP_NEVER},             {"D3DCMP_LESS", D3DCMP_LESS},
        {"D3DCMP_EQUAL", D3DCMP_EQUAL},             {"D3DCMP_LESSEQUAL", D3DCMP_LESSEQUAL},
        {"D3DCMP_GREATER", D3DCMP_GREATER},         {"D3DCMP_NOTEQUAL", D3DCMP_NOTEQUAL},
        {"D3DCMP_GREATEREQUAL", D3DCMP_GREATEREQUAL}, {"D3DCMP_ALWAYS", D3DCMP_ALWAYS}};
    for (const auto& [name, value] : names) s += std::string("#define ") + name + " " + std::to_string(value) + "\n";
    s += "#define PRE_TRANSFORMED " + std::to_string(key.preTransformed ? 1 : 0) + "\n";
    s += "#define LIGHTING " + std::to_string(key.lighting && !key.preTransformed ? 1 : 0) + "\n";
    s += "#define MATERIAL_SOURCES " + Ivec3(key.materialSources) + "\n";
    s += "#define TEXTURED " + std::to_string(key.textured ? 1 : 0) + "\n";
    s += "#define COLOUR_OP " + Ivec3(key.colourOp) + "\n";
    s += "#define ALPHA_OP " + Ivec3(key.alphaOp) + "\n";
    s += "#define ALPHA_FUNC " + std::to_string(alphaFunc) + "\n";
    s += "#define REVERSED_DEPTH " + std::to_string(depth == GlDepthMapping::kReversed ? 1 : 0) + "\n";
    const int lights = LightsOf(key);
    s += "#define LIGHT_COUNT " + std::to_string(lights) + "\n";
    s += "#define LIGHT_CALLS";
    for (int i = 0; i < lights; ++i) {
        const auto type = static_cast<unsigned>((key.lightTypes >> (2 * i)) & 3u);
        const std::string index = std::to_string(i);
        s += type == D3DLIGHT_DIRECTIONAL ? " sum += DirectionalLight(" + index + ");"
             : type == D3DLIGHT_SPOT      ? " sum += SpotLight(p, " + index + ");"
                                          : " sum += PointLight(p, " + index + ");";
    }
    s += "\n";
    s += body;
    return s;
}

bool CompileStage(GLenum stage, const std::string& source, GLuint& shader, std::string& error) {
    shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return true;
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    error = std::string(stage == GL_VERTEX_SHADER ? "vertex" : "fragment") + " shader: " + log.data();
    glDeleteShader(shader);
    shader = 0;
    return false;
}

}  // namespace

bool BuildFixedFunctionProgram(const GlProgramKey& key, GlDepthMapping depth, GlProgram& p, std::string& error) {
    GLuint vertex = 0, fragment = 0;
    if (!CompileStage(GL_VERTEX_SHADER, StageSource(kVertexShader, key, depth), vertex, error)) return false;
    if (!CompileStage(GL_FRAGMENT_SHADER, StageSource(kFragmentShader, key, depth), fragment, error)) {
        glDeleteShader(vertex);
        return false;
    }
    p.program = glCreateProgram();
    glAttachShader(p.program, vertex);
    glAttachShader(p.program, fragment);
    glLinkProgram(p.program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(p.program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[2048] = {};
        glGetProgramInfoLog(p.program, sizeof log, nullptr, log);
        error = std::string("shader link: ") + log;
        DestroyProgram(p);
        return false;
    }
    const GLuint id = p.program;
    auto at = [id](const char* name) { return glGetUniformLocation(id, name); };
    p.world = at("uWorld");
    p.worldViewProjection = at("uWorldViewProjection");
    p.backBufferSize = at("uBackBufferSize");
    p.materialAmbient = at("uMaterialAmbient");
    p.materialEmissive = at("uMaterialEmissive");
    p.materialAlpha = at("uMaterialAlpha");
    p.globalAmbient = at("uGlobalAmbient");
    p.lightPosition = at("uLightPosition");
    p.lightAmbient = at("uLightAmbient");
    p.lightAttenuation = at("uLightAttenuation");
    p.lightDirection = at("uLightDirection");
    p.lightCone = at("uLightCone");
    p.texture = at("uTexture");
    p.textureFactor = at("uTextureFactor");
    p.alphaRef = at("uAlphaRef");
    return true;
}

void DestroyProgram(GlProgram& p) {
    if (p.program) glDeleteProgram(p.program);
    p = GlProgram{};
}

std::size_t GlProgramCache::KeyHash::operator()(const GlProgramKey& k) const {
    std::size_t h = 0;
    auto mix = [&h](int v) { h ^= static_cast<std::size_t>(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
    mix(k.preTransformed);
    mix(k.lighting);
    for (int v : k.materialSources) mix(v);
    mix(k.textured);
    for (int v : k.colourOp) mix(v);
    for (int v : k.alphaOp) mix(v);
    mix(k.alphaFunc);
    mix(k.lightCount);
    h ^= std::hash<std::uint64_t>{}(k.lightTypes) + (h << 6);
    return h;
}

GlProgramCache::~GlProgramCache() {
    for (auto& [key, slot] : slots_) DestroyProgram(slot->program);
}

GlProgramSlot& GlProgramCache::Get(const GlProgramKey& key, std::string& error) {
    if (last_ && *lastKey_ == key) return *last_;
    auto [it, fresh] = slots_.try_emplace(key);
    if (fresh) {
        it->second = std::make_unique<GlProgramSlot>();
        GlProgramSlot& slot = *it->second;
        if (!BuildFixedFunctionProgram(key, depth_, slot.program, error)) {
            slot.failed = true;
        } else {
            // The uniforms that never change for a program.
            GLint current = 0;
            glGetIntegerv(GL_CURRENT_PROGRAM, &current);
            glUseProgram(slot.program.program);
            glUniform1i(slot.program.texture, 0);
            glUniform2f(slot.program.backBufferSize, width_, height_);
            glUseProgram(static_cast<GLuint>(current));
        }
    }
    lastKey_ = &it->first;
    last_ = it->second.get();
    return *last_;
}

}  // namespace brontal
