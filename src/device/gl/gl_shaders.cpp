#include "device/gl/gl_shaders.h"

#include <vector>

namespace brontal {

namespace {

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec4 aPosition;   // x, y, z (w = 1) or screen x, y, z, rhw
layout(location = 1) in vec4 aDiffuse;    // white when the vertex has no colour
layout(location = 2) in vec2 aTexCoord;

const int kMaxLights = MAX_LIGHTS;
const int kPoint = 1, kSpot = 2, kDirectional = 3;

uniform mat4 uWorld;
uniform mat4 uWorldViewProjection;
uniform bool uPreTransformed;
uniform vec2 uBackBufferSize;

uniform bool uLighting;
uniform ivec3 uMaterialSources;  // ambient, emissive, alpha: 1 = the vertex colour, 0 = the material
uniform vec3 uMaterialAmbient;
uniform vec3 uMaterialEmissive;
uniform float uMaterialAlpha;
uniform vec3 uGlobalAmbient;
uniform int uLightCount;
uniform vec4 uLightPosition[kMaxLights];     // xyz, range
uniform vec4 uLightAmbient[kMaxLights];      // rgb, type
uniform vec4 uLightAttenuation[kMaxLights];  // a0, a1, a2
uniform vec4 uLightDirection[kMaxLights];    // unit direction the light shines in
uniform vec4 uLightCone[kMaxLights];         // cos(theta / 2), cos(phi / 2), falloff

out vec4 vDiffuse;
out vec2 vTexCoord;

vec3 LightAmbient(vec3 p) {
    vec3 sum = vec3(0.0);
    for (int i = 0; i < uLightCount; ++i) {
        int type = int(uLightAmbient[i].w);
        float factor = 1.0;
        if (type != kDirectional) {
            vec3 toVertex = p - uLightPosition[i].xyz;
            float d = length(toVertex);
            if (d > uLightPosition[i].w) continue;
            vec3 a = uLightAttenuation[i].xyz;
            float denominator = a.x + a.y * d + a.z * d * d;
            factor = denominator > 1e-20 ? 1.0 / denominator : 1.0;
            if (type == kSpot) {
                float rho = d > 0.0 ? dot(uLightDirection[i].xyz, toVertex / d) : 1.0;
                vec3 cone = uLightCone[i].xyz;
                if (rho <= cone.y) continue;
                if (rho < cone.x) factor *= pow((rho - cone.y) / max(cone.x - cone.y, 1e-6), cone.z);
            }
        }
        sum += uLightAmbient[i].rgb * factor;
    }
    return sum;
}

void main() {
    if (uPreTransformed) {
        float w = aPosition.w != 0.0 ? 1.0 / aPosition.w : 1.0;
        vec2 ndc = vec2((aPosition.x + 0.5) * 2.0 / uBackBufferSize.x - 1.0,
                        1.0 - (aPosition.y + 0.5) * 2.0 / uBackBufferSize.y);
        gl_Position = vec4(ndc, aPosition.z * 2.0 - 1.0, 1.0) * w;
    } else {
        vec4 clip = uWorldViewProjection * vec4(aPosition.xyz, 1.0);
        gl_Position = vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);
    }
    vTexCoord = aTexCoord;
    if (uLighting && !uPreTransformed) {
        vec3 p = (uWorld * vec4(aPosition.xyz, 1.0)).xyz;
        vec3 ambient = uMaterialSources.x != 0 ? aDiffuse.rgb : uMaterialAmbient;
        vec3 emissive = uMaterialSources.y != 0 ? aDiffuse.rgb : uMaterialEmissive;
        float alpha = uMaterialSources.z != 0 ? aDiffuse.a : uMaterialAlpha;
        vec3 colour = emissive + ambient * (uGlobalAmbient + LightAmbient(p));
        vDiffuse = vec4(clamp(colour, 0.0, 1.0), clamp(alpha, 0.0, 1.0));
    } else {
        vDiffuse = aDiffuse;
    }
}
)";

const char* const kFragmentShader = R"(#version 330 core
in vec4 vDiffuse;
in vec2 vTexCoord;

uniform sampler2D uTexture;
uniform bool uTextured;
uniform ivec3 uColourOp;   // operation, argument 1, argument 2 (the device's numbers)
uniform ivec3 uAlphaOp;
uniform vec4 uTextureFactor;
uniform int uAlphaFunc;    // the device's comparison; 8 (always) when the test is off
uniform float uAlphaRef;   // 0..255
uniform bool uWDepth;
uniform vec2 uWRange;      // near w, 1 / (far w - near w)

out vec4 fragColour;

vec4 Argument(int argument, vec4 texel) {
    int source = argument & 15;
    vec4 value = vDiffuse;                   // diffuse, and current at stage 0
    if (source == 2) value = texel;
    else if (source == 3) value = uTextureFactor;
    if ((argument & 16) != 0) value = vec4(1.0) - value;  // complement
    if ((argument & 32) != 0) value = value.aaaa;         // alpha replicate
    return value;
}

vec4 Combine(ivec3 op, vec4 texel) {
    vec4 a = Argument(op.y, texel);
    vec4 b = Argument(op.z, texel);
    switch (op.x) {
        case 1: return vDiffuse;            // disabled: the stage passes its input on
        case 2: return a;
        case 3: return b;
        case 5: return clamp(a * b * 2.0, 0.0, 1.0);
        case 6: return clamp(a * b * 4.0, 0.0, 1.0);
        case 7: return clamp(a + b, 0.0, 1.0);
        case 8: return clamp(a + b - 0.5, 0.0, 1.0);
        case 9: return clamp((a + b - 0.5) * 2.0, 0.0, 1.0);
        case 10: return clamp(a - b, 0.0, 1.0);
        default: return a * b;              // 4, modulate
    }
}

bool AlphaPasses(float alpha) {
    float a = floor(clamp(alpha, 0.0, 1.0) * 255.0 + 0.5);
    switch (uAlphaFunc) {
        case 1: return false;
        case 2: return a < uAlphaRef;
        case 3: return a == uAlphaRef;
        case 4: return a <= uAlphaRef;
        case 5: return a > uAlphaRef;
        case 6: return a != uAlphaRef;
        case 7: return a >= uAlphaRef;
        default: return true;
    }
}

void main() {
    vec4 texel = uTextured ? texture(uTexture, vTexCoord) : vec4(1.0);
    vec4 colour = vec4(Combine(uColourOp, texel).rgb, Combine(uAlphaOp, texel).a);
    if (!AlphaPasses(colour.a)) discard;
    fragColour = colour;
    gl_FragDepth = uWDepth ? clamp((1.0 / gl_FragCoord.w - uWRange.x) * uWRange.y, 0.0, 1.0) : gl_FragCoord.z;
}
)";

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

std::string WithLightCount(const char* source) {
    std::string text = source;
    const std::string key = "MAX_LIGHTS";
    text.replace(text.find(key), key.size(), std::to_string(kMaxShaderLights));
    return text;
}

}  // namespace

bool BuildFixedFunctionProgram(GlProgram& p, std::string& error) {
    GLuint vertex = 0, fragment = 0;
    if (!CompileStage(GL_VERTEX_SHADER, WithLightCount(kVertexShader), vertex, error)) return false;
    if (!CompileStage(GL_FRAGMENT_SHADER, kFragmentShader, fragment, error)) {
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
    p.preTransformed = at("uPreTransformed");
    p.backBufferSize = at("uBackBufferSize");
    p.lighting = at("uLighting");
    p.materialSources = at("uMaterialSources");
    p.materialAmbient = at("uMaterialAmbient");
    p.materialEmissive = at("uMaterialEmissive");
    p.materialAlpha = at("uMaterialAlpha");
    p.globalAmbient = at("uGlobalAmbient");
    p.lightCount = at("uLightCount");
    p.lightPosition = at("uLightPosition");
    p.lightAmbient = at("uLightAmbient");
    p.lightAttenuation = at("uLightAttenuation");
    p.lightDirection = at("uLightDirection");
    p.lightCone = at("uLightCone");
    p.texture = at("uTexture");
    p.textured = at("uTextured");
    p.colourOp = at("uColourOp");
    p.alphaOp = at("uAlphaOp");
    p.textureFactor = at("uTextureFactor");
    p.alphaFunc = at("uAlphaFunc");
    p.alphaRef = at("uAlphaRef");
    p.wDepth = at("uWDepth");
    p.wRange = at("uWRange");
    return true;
}

void DestroyProgram(GlProgram& p) {
    if (p.program) glDeleteProgram(p.program);
    p = GlProgram{};
}

}  // namespace brontal
