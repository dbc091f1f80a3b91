#pragma once
// Inside the device module only: the state-block record and the helpers that turn call
// arguments into trace arguments. Not for other layers.
#include <bitset>
#include <vector>

#include "device/device.h"

namespace brontal {

// Which of the device's states a state block names. Lights are named one by one, their
// description and their enable flag apart.
struct StateNames {
    struct Light {
        std::uint32_t index = 0;
        bool light = false;
        bool enable = false;
    };
    std::bitset<kRenderStateSlots> render;
    std::array<std::bitset<kStageStateSlots>, kTextureStages> stage;
    std::bitset<kTextureStages> texture;
    bool world = false, view = false, projection = false;
    bool material = false;
    bool vertexShader = false;
    bool stream = false;
    std::vector<Light> lights;  // in the order first named

    Light& NameLight(std::uint32_t index) {
        for (Light& entry : lights)
            if (entry.index == index) return entry;
        lights.push_back(Light{index});
        return lights.back();
    }
};

// The transform a transform state names, in a state and in the names; null for an unknown one.
Matrix4x4* TransformSlot(DeviceState& state, D3DTRANSFORMSTATETYPE which);
bool* TransformSlot(StateNames& names, D3DTRANSFORMSTATETYPE which);

// Copies the named states from one state to another: a capture copies the device's values into
// a block, an apply a block's values into the device. A light named but never set reads as the
// default light, switched off.
void CopyNamedStates(const StateNames& named, const DeviceState& from, DeviceState& to);

// A state block: the states it names and its values for them (the same record the device
// keeps; only the named entries mean anything), and the stream source, which the device keeps
// beside its state.
struct Device::StateBlock {
    StateNames named;
    DeviceState values;
    VertexBuffer* streamSource = nullptr;
    std::uint32_t streamStride = 0;
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
