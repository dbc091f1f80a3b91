// State blocks: recording puts the Set* calls into the block instead of the device; capture
// re-reads the device's current values of exactly the states the block names; apply sets them.
#include "device/device_internal.h"

namespace brontal {

using namespace device_trace;

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

    for (std::uint32_t s = 0; s < kRenderStateSlots; ++s)
        if (block.renderNamed.test(s)) block.renderState[s] = state_.renderState[s];
    for (std::uint32_t stage = 0; stage < kTextureStages; ++stage) {
        if (block.stageNamed[stage].none()) continue;
        for (std::uint32_t t = 0; t < kStageStateSlots; ++t)
            if (block.stageNamed[stage].test(t)) block.stageState[stage][t] = state_.stageState[stage][t];
    }
    for (std::uint32_t stage = 0; stage < kTextureStages; ++stage)
        if (block.textureNamed.test(stage)) block.texture[stage] = state_.texture[stage];
    if (block.worldNamed) block.world = state_.world;
    if (block.viewNamed) block.view = state_.view;
    if (block.projectionNamed) block.projection = state_.projection;
    if (block.materialNamed) block.material = state_.material;
    if (block.vertexShaderNamed) block.vertexShader = state_.vertexShader;
    if (block.streamNamed) {
        block.streamSource = streamSource_;
        block.streamStride = streamStride_;
    }
    for (StateBlock::LightEntry& entry : block.lights) {
        const bool known = entry.index < state_.lights.size();
        if (entry.lightNamed) entry.light = known ? state_.lights[entry.index].light : D3DLIGHT8{};
        if (entry.enableNamed) entry.enabled = known && state_.lights[entry.index].enabled;
    }
    return D3D_OK;
}

HRESULT Device::ApplyStateBlock(std::uint32_t token) {
    if (recorder_) Log("ApplyStateBlock", {Int(token)});
    if (recording_) return Fail(DeviceError::StateBlockAlreadyRecording);
    if (token == 0 || token > stateBlocks_.size() || !stateBlocks_[token - 1]) return Fail(DeviceError::UnknownStateBlock);
    const StateBlock& block = *stateBlocks_[token - 1];

    for (std::uint32_t s = 0; s < kRenderStateSlots; ++s)
        if (block.renderNamed.test(s)) state_.renderState[s] = block.renderState[s];
    for (std::uint32_t stage = 0; stage < kTextureStages; ++stage) {
        if (block.stageNamed[stage].none()) continue;
        for (std::uint32_t t = 0; t < kStageStateSlots; ++t)
            if (block.stageNamed[stage].test(t)) state_.stageState[stage][t] = block.stageState[stage][t];
    }
    for (std::uint32_t stage = 0; stage < kTextureStages; ++stage)
        if (block.textureNamed.test(stage)) state_.texture[stage] = block.texture[stage];
    if (block.worldNamed) state_.world = block.world;
    if (block.viewNamed) state_.view = block.view;
    if (block.projectionNamed) state_.projection = block.projection;
    if (block.materialNamed) state_.material = block.material;
    if (block.vertexShaderNamed) state_.vertexShader = block.vertexShader;
    if (block.streamNamed) {
        streamSource_ = block.streamSource;
        streamStride_ = block.streamStride;
    }
    for (const StateBlock::LightEntry& entry : block.lights) {
        if (entry.index >= state_.lights.size()) state_.lights.resize(entry.index + 1);
        if (entry.lightNamed) state_.lights[entry.index].light = entry.light;
        if (entry.enableNamed) state_.lights[entry.index].enabled = entry.enabled;
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
