// State blocks: recording puts the Set* calls into the block instead of the device; capture
// re-reads the device's current values of exactly the states the block names; apply sets them.
#include "device/device_internal.h"

namespace brontal {

using namespace device_trace;

Matrix4x4* TransformSlot(DeviceState& state, D3DTRANSFORMSTATETYPE which) {
    switch (which) {
        case D3DTS_WORLD: return &state.world;
        case D3DTS_VIEW: return &state.view;
        case D3DTS_PROJECTION: return &state.projection;
    }
    return nullptr;
}

bool* TransformSlot(StateNames& names, D3DTRANSFORMSTATETYPE which) {
    switch (which) {
        case D3DTS_WORLD: return &names.world;
        case D3DTS_VIEW: return &names.view;
        case D3DTS_PROJECTION: return &names.projection;
    }
    return nullptr;
}

void CopyNamedStates(const StateNames& named, const DeviceState& from, DeviceState& to) {
    for (std::uint32_t s = 0; s < kRenderStateSlots; ++s)
        if (named.render.test(s)) to.renderState[s] = from.renderState[s];
    for (std::uint32_t stage = 0; stage < kTextureStages; ++stage) {
        for (std::uint32_t t = 0; named.stage[stage].any() && t < kStageStateSlots; ++t)
            if (named.stage[stage].test(t)) to.stageState[stage][t] = from.stageState[stage][t];
        if (named.texture.test(stage)) to.texture[stage] = from.texture[stage];
    }
    if (named.world) to.world = from.world;
    if (named.view) to.view = from.view;
    if (named.projection) to.projection = from.projection;
    if (named.material) to.material = from.material;
    if (named.vertexShader) to.vertexShader = from.vertexShader;
    for (const StateNames::Light& entry : named.lights) {
        const LightSlot source = entry.index < from.lights.size() ? from.lights[entry.index] : LightSlot{};
        if (entry.index >= to.lights.size()) to.lights.resize(entry.index + 1);
        if (entry.light) to.lights[entry.index].light = source.light;
        if (entry.enable) to.lights[entry.index].enabled = source.enabled;
    }
}

HRESULT Device::BeginStateBlock() {
    if (recorder_) Log("BeginStateBlock", {});
    if (recording_) return Fail(DeviceError::StateBlockAlreadyRecording);
    stateBlocks_.push_back(std::make_unique<StateBlock>());
    recording_ = stateBlocks_.back().get();
    return D3D_OK;
}

HRESULT Device::EndStateBlock(std::uint32_t* token) {
    HRESULT result = D3D_OK;
    if (!recording_) {
        result = Fail(DeviceError::StateBlockNotRecording);
    } else if (!token) {
        result = Fail(DeviceError::NullArgument);
    } else {
        // The block being recorded is always the last one made.
        *token = static_cast<std::uint32_t>(stateBlocks_.size());
        recording_ = nullptr;
    }
    if (recorder_) {
        if (result == D3D_OK) Log("EndStateBlock", {Int(*token)});
        else Log("EndStateBlock", {});
    }
    return result;
}

HRESULT Device::CaptureStateBlock(std::uint32_t token) {
    if (recorder_) Log("CaptureStateBlock", {Int(token)});
    if (recording_) return Fail(DeviceError::StateBlockAlreadyRecording);
    if (token == 0 || token > stateBlocks_.size() || !stateBlocks_[token - 1]) return Fail(DeviceError::UnknownStateBlock);
    StateBlock& block = *stateBlocks_[token - 1];
    CopyNamedStates(block.named, state_, block.values);
    if (block.named.stream) {
        block.streamSource = streamSource_;
        block.streamStride = streamStride_;
    }
    return D3D_OK;
}

HRESULT Device::ApplyStateBlock(std::uint32_t token) {
    if (recorder_) Log("ApplyStateBlock", {Int(token)});
    if (recording_) return Fail(DeviceError::StateBlockAlreadyRecording);
    if (token == 0 || token > stateBlocks_.size() || !stateBlocks_[token - 1]) return Fail(DeviceError::UnknownStateBlock);
    const StateBlock& block = *stateBlocks_[token - 1];
    CopyNamedStates(block.named, block.values, state_);
    if (block.named.stream) {
        streamSource_ = block.streamSource;
        streamStride_ = block.streamStride;
    }
    return D3D_OK;
}

HRESULT Device::DeleteStateBlock(std::uint32_t token) {
    if (recorder_) Log("DeleteStateBlock", {Int(token)});
    if (token == 0 || token > stateBlocks_.size() || !stateBlocks_[token - 1]) return Fail(DeviceError::UnknownStateBlock);
    if (stateBlocks_[token - 1].get() == recording_) return Fail(DeviceError::StateBlockAlreadyRecording);
    stateBlocks_[token - 1].reset();
    return D3D_OK;
}

}  // namespace brontal
