#pragma once
// Inside the device module only: the state-block record and the helpers that turn call
// arguments into trace arguments. Not for other layers.
#include <bitset>
#include <vector>

#include "device/device.h"

namespace brontal {

// What a state block names, and the values it holds for them. Capture re-reads exactly the named
// states; apply sets exactly them.
struct Device::StateBlock {
    struct LightEntry {
        std::uint32_t index = 0;
        bool lightNamed = false;
        D3DLIGHT8 light{};
        bool enableNamed = false;
        bool enabled = false;
    };

    std::bitset<kRenderStateSlots> renderNamed;
    std::array<std::uint32_t, kRenderStateSlots> renderState{};
    std::array<std::bitset<kStageStateSlots>, kTextureStages> stageNamed;
    std::array<std::array<std::uint32_t, kStageStateSlots>, kTextureStages> stageState{};
    std::bitset<kTextureStages> textureNamed;
    std::array<Texture*, kTextureStages> texture{};
    bool worldNamed = false, viewNamed = false, projectionNamed = false;
    Matrix4x4 world{}, view{}, projection{};
    bool materialNamed = false;
    D3DMATERIAL8 material{};
    bool vertexShaderNamed = false;
    std::uint32_t vertexShader = 0;
    bool streamNamed = false;
    VertexBuffer* streamSource = nullptr;
    std::uint32_t streamStride = 0;
    std::vector<LightEntry> lights;  // in the order first named

    LightEntry& Light(std::uint32_t index) {
        for (LightEntry& entry : lights)
            if (entry.index == index) return entry;
        lights.push_back(LightEntry{});
        lights.back().index = index;
        return lights.back();
    }
};

// Lights are numbered from 0; an index above this is refused rather than grow the light table
// without bound.
inline constexpr std::uint32_t kMaxLightIndex = 65535;
// The most primitives one draw may submit (the platform's usual MaxPrimitiveCount).
inline constexpr std::uint32_t kMaxPrimitiveCount = 0xFFFFF;

namespace device_trace {

inline CallArgument Int(std::int64_t value) { return CallArgument(value); }
inline CallArgument Float(double value) { return CallArgument(value); }
inline CallArgument Count(const void* data, std::uint64_t count) {
    return CallArgument(static_cast<std::int64_t>(data ? count : 0));
}
inline CallArgument TextureId(const Texture* texture) {
    return CallArgument(static_cast<std::int64_t>(texture ? texture->Id() : 0));
}

inline void AppendColour(std::vector<CallArgument>& out, const D3DCOLORVALUE& c) {
    out.insert(out.end(), {Float(c.r), Float(c.g), Float(c.b), Float(c.a)});
}

inline void AppendLight(std::vector<CallArgument>& out, const D3DLIGHT8& l) {
    out.push_back(Float(static_cast<double>(l.Type)));
    AppendColour(out, l.Diffuse);
    AppendColour(out, l.Specular);
    AppendColour(out, l.Ambient);
    out.insert(out.end(), {Float(l.Position.x), Float(l.Position.y), Float(l.Position.z), Float(l.Direction.x),
                           Float(l.Direction.y), Float(l.Direction.z), Float(l.Range), Float(l.Falloff),
                           Float(l.Attenuation0), Float(l.Attenuation1), Float(l.Attenuation2), Float(l.Theta),
                           Float(l.Phi)});
}

inline void AppendMaterial(std::vector<CallArgument>& out, const D3DMATERIAL8& m) {
    AppendColour(out, m.Diffuse);
    AppendColour(out, m.Ambient);
    AppendColour(out, m.Specular);
    AppendColour(out, m.Emissive);
    out.push_back(Float(m.Power));
}

}  // namespace device_trace

}  // namespace brontal
