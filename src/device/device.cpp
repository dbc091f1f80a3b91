// Device state: render and stage states, transforms, viewport, material, lights, bound
// textures, vertex format and stream source. While a state block is recording, every Set*
// goes into the block (its values and its names) and leaves the device as it was.
//
// Trace lines: an input is logged as passed; data passed by pointer as its element count (0 for
// none); an output (Get*, Create*, EndStateBlock) as the value the call wrote, omitted when the
// call was refused.
#include <utility>

#include "device/device_internal.h"

namespace brontal {

using namespace device_trace;

Direct3D8* g_direct3d = nullptr;
Device* g_device = nullptr;

Device::Device(std::unique_ptr<Backend> backend, const D3DPRESENT_PARAMETERS& parameters, D3DCAPS8 caps)
    : backend_(backend ? std::move(backend) : std::make_unique<NullBackend>()),
      parameters_(parameters),
      caps_(caps),
      state_(DefaultDeviceState(parameters.EnableAutoDepthStencil != 0)) {
    errors_.reserve(64);
}

Device::~Device() {
    for (auto& texture : textures_) backend_->TextureDestroyed(*texture);
}

HRESULT Device::Fail(DeviceError error) {
    // A game that misused the device every frame must not grow this list without end.
    if (errors_.size() < kMaxKeptDeviceErrors) errors_.push_back(error);
    return D3DERR_INVALIDCALL;
}

void Device::Log(const char* name, std::vector<CallArgument> arguments) {
    if (recorder_) recorder_->Record(RecordedCall{name, std::move(arguments)});
}

DeviceState& Device::StateBeingSet() { return recording_ ? recording_->values : state_; }

// ---- render and texture-stage states ----

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, std::uint32_t value) {
    if (recorder_) Log("SetRenderState", {Int(state), Int(value)});
    if (!RenderStateName(state)) return Fail(DeviceError::UnknownRenderState);
    StateBeingSet().renderState[state] = value;
    if (recording_) recording_->named.render.set(state);
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, std::uint32_t* value) {
    HRESULT result = D3D_OK;
    if (!value) result = Fail(DeviceError::NullArgument);
    else if (!RenderStateName(state)) result = Fail(DeviceError::UnknownRenderState);
    else *value = state_.renderState[state];
    if (recorder_) {
        if (result == D3D_OK) Log("GetRenderState", {Int(state), Int(*value)});
        else Log("GetRenderState", {Int(state)});
    }
    return result;
}

HRESULT Device::SetTextureStageState(std::uint32_t stage, D3DTEXTURESTAGESTATETYPE type, std::uint32_t value) {
    if (recorder_) Log("SetTextureStageState", {Int(stage), Int(type), Int(value)});
    if (stage >= kTextureStages) return Fail(DeviceError::StageOutOfRange);
    if (!StageStateName(type)) return Fail(DeviceError::UnknownStageState);
    StateBeingSet().stageState[stage][type] = value;
    if (recording_) recording_->named.stage[stage].set(type);
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(std::uint32_t stage, D3DTEXTURESTAGESTATETYPE type, std::uint32_t* value) {
    HRESULT result = D3D_OK;
    if (!value) result = Fail(DeviceError::NullArgument);
    else if (stage >= kTextureStages) result = Fail(DeviceError::StageOutOfRange);
    else if (!StageStateName(type)) result = Fail(DeviceError::UnknownStageState);
    else *value = state_.stageState[stage][type];
    if (recorder_) {
        if (result == D3D_OK) Log("GetTextureStageState", {Int(stage), Int(type), Int(*value)});
        else Log("GetTextureStageState", {Int(stage), Int(type)});
    }
    return result;
}

// ---- transforms, viewport, material, lights ----


HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const Matrix4x4* matrix) {
    if (recorder_) {
        if (matrix) Log("SetTransform", {Int(state), CallArgument(*matrix)});
        else Log("SetTransform", {Int(state), Count(nullptr, 0)});
    }
    if (!matrix) return Fail(DeviceError::NullArgument);
    Matrix4x4* slot = TransformSlot(StateBeingSet(), state);
    if (!slot) return Fail(DeviceError::UnknownTransform);
    *slot = *matrix;
    if (recording_) *TransformSlot(recording_->named, state) = true;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, Matrix4x4* matrix) {
    HRESULT result = D3D_OK;
    const Matrix4x4* slot = TransformSlot(state_, state);
    if (!matrix) result = Fail(DeviceError::NullArgument);
    else if (!slot) result = Fail(DeviceError::UnknownTransform);
    else *matrix = *slot;
    if (recorder_) {
        if (result == D3D_OK) Log("GetTransform", {Int(state), CallArgument(*matrix)});
        else Log("GetTransform", {Int(state)});
    }
    return result;
}

HRESULT Device::GetViewport(D3DVIEWPORT8* viewport) {
    if (!viewport) {
        if (recorder_) Log("GetViewport", {});
        return Fail(DeviceError::NullArgument);
    }
    *viewport = D3DVIEWPORT8{0, 0, parameters_.BackBufferWidth, parameters_.BackBufferHeight, 0.0f, 1.0f};
    if (recorder_)
        Log("GetViewport", {Int(viewport->X), Int(viewport->Y), Int(viewport->Width), Int(viewport->Height),
                            Float(viewport->MinZ), Float(viewport->MaxZ)});
    return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL8* material) {
    if (recorder_) {
        std::vector<CallArgument> arguments;
        if (material) AppendMaterial(arguments, *material);
        else arguments.push_back(Count(nullptr, 0));
        Log("SetMaterial", std::move(arguments));
    }
    if (!material) return Fail(DeviceError::NullArgument);
    StateBeingSet().material = *material;
    if (recording_) recording_->named.material = true;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL8* material) {
    HRESULT result = D3D_OK;
    if (!material) result = Fail(DeviceError::NullArgument);
    else *material = state_.material;
    if (recorder_) {
        std::vector<CallArgument> arguments;
        if (result == D3D_OK) AppendMaterial(arguments, *material);
        Log("GetMaterial", std::move(arguments));
    }
    return result;
}

HRESULT Device::SetLight(std::uint32_t index, const D3DLIGHT8* light) {
    if (recorder_) {
        std::vector<CallArgument> arguments{Int(index)};
        if (light) AppendLight(arguments, *light);
        else arguments.push_back(Count(nullptr, 0));
        Log("SetLight", std::move(arguments));
    }
    if (!light) return Fail(DeviceError::NullArgument);
    if (index > kMaxLightIndex) return Fail(DeviceError::LightIndexOutOfRange);
    DeviceState& target = StateBeingSet();
    if (index >= target.lights.size()) target.lights.resize(index + 1);
    target.lights[index].light = *light;
    if (recording_) recording_->named.NameLight(index).light = true;
    return D3D_OK;
}

HRESULT Device::GetLight(std::uint32_t index, D3DLIGHT8* light) {
    HRESULT result = D3D_OK;
    if (!light) result = Fail(DeviceError::NullArgument);
    else if (index >= state_.lights.size()) result = Fail(DeviceError::LightIndexOutOfRange);
    else *light = state_.lights[index].light;
    if (recorder_) {
        std::vector<CallArgument> arguments{Int(index)};
        if (result == D3D_OK) AppendLight(arguments, *light);
        Log("GetLight", std::move(arguments));
    }
    return result;
}

HRESULT Device::LightEnable(std::uint32_t index, bool enable) {
    if (recorder_) Log("LightEnable", {Int(index), Int(enable ? 1 : 0)});
    if (index > kMaxLightIndex) return Fail(DeviceError::LightIndexOutOfRange);
    // Enabling a light that was never set enables a default light, as the platform does.
    DeviceState& target = StateBeingSet();
    if (index >= target.lights.size()) target.lights.resize(index + 1);
    target.lights[index].enabled = enable;
    if (recording_) recording_->named.NameLight(index).enable = true;
    return D3D_OK;
}

HRESULT Device::GetLightEnable(std::uint32_t index, bool* enabled) {
    HRESULT result = D3D_OK;
    if (!enabled) result = Fail(DeviceError::NullArgument);
    else if (index >= state_.lights.size()) result = Fail(DeviceError::LightIndexOutOfRange);
    else *enabled = state_.lights[index].enabled;
    if (recorder_) {
        if (result == D3D_OK) Log("GetLightEnable", {Int(index), Int(*enabled ? 1 : 0)});
        else Log("GetLightEnable", {Int(index)});
    }
    return result;
}

// ---- textures, vertex format, stream source ----

HRESULT Device::SetTexture(std::uint32_t stage, Texture* texture) {
    if (recorder_) Log("SetTexture", {Int(stage), TextureId(texture)});
    if (stage >= kTextureStages) return Fail(DeviceError::StageOutOfRange);
    StateBeingSet().texture[stage] = texture;
    if (recording_) recording_->named.texture.set(stage);
    return D3D_OK;
}

HRESULT Device::GetTexture(std::uint32_t stage, Texture** texture) {
    HRESULT result = D3D_OK;
    if (!texture) result = Fail(DeviceError::NullArgument);
    else if (stage >= kTextureStages) result = Fail(DeviceError::StageOutOfRange);
    else *texture = state_.texture[stage];
    if (recorder_) {
        if (result == D3D_OK) Log("GetTexture", {Int(stage), TextureId(*texture)});
        else Log("GetTexture", {Int(stage)});
    }
    return result;
}

HRESULT Device::SetVertexShader(std::uint32_t fvf) {
    if (recorder_) Log("SetVertexShader", {Int(fvf)});
    StateBeingSet().vertexShader = fvf;
    if (recording_) recording_->named.vertexShader = true;
    return D3D_OK;
}

HRESULT Device::GetVertexShader(std::uint32_t* fvf) {
    HRESULT result = D3D_OK;
    if (!fvf) result = Fail(DeviceError::NullArgument);
    else *fvf = state_.vertexShader;
    if (recorder_) {
        if (result == D3D_OK) Log("GetVertexShader", {Int(*fvf)});
        else Log("GetVertexShader", {});
    }
    return result;
}

HRESULT Device::SetStreamSource(std::uint32_t stream, VertexBuffer* buffer, std::uint32_t stride) {
    if (recorder_) Log("SetStreamSource", {Int(stream), Int(buffer ? buffer->Id() : 0), Int(stride)});
    if (stream != 0) return Fail(DeviceError::StreamOutOfRange);
    (recording_ ? recording_->streamSource : streamSource_) = buffer;
    (recording_ ? recording_->streamStride : streamStride_) = stride;
    if (recording_) recording_->named.stream = true;
    return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS8* caps) {
    HRESULT result = D3D_OK;
    if (!caps) result = Fail(DeviceError::NullArgument);
    else *caps = caps_;
    if (recorder_) {
        if (result == D3D_OK)
            Log("GetDeviceCaps", {Int(caps->MaxTextureWidth), Int(caps->MaxTextureHeight), Int(caps->MaxActiveLights),
                                  Int(caps->MaxAnisotropy)});
        else Log("GetDeviceCaps", {});
    }
    return result;
}

// ---- the Direct3D object ----

Direct3D8::Direct3D8(BackendFactory factory, D3DDISPLAYMODE displayMode, D3DCAPS8 caps)
    : factory_(factory), displayMode_(displayMode), caps_(caps) {}

HRESULT Direct3D8::GetAdapterDisplayMode(std::uint32_t adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    *mode = displayMode_;
    return D3D_OK;
}

HRESULT Direct3D8::CreateDevice(std::uint32_t adapter, D3DDEVTYPE, void* focusWindow, std::uint32_t,
                                D3DPRESENT_PARAMETERS* parameters, Device** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || !parameters) return D3DERR_INVALIDCALL;
    if (parameters->BackBufferFormat == D3DFMT_UNKNOWN) parameters->BackBufferFormat = displayMode_.Format;
    // Without a factory the device draws nothing (tests and tools).
    std::unique_ptr<Backend> backend =
        factory_ ? factory_(focusWindow, *parameters) : std::make_unique<NullBackend>();
    if (!backend) return D3DERR_NOTAVAILABLE;
    *device = new Device(std::move(backend), *parameters, caps_);
    return D3D_OK;
}

}  // namespace brontal
