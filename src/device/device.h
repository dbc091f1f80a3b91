#pragma once
// The one graphics device. It keeps all device state and implements its semantics once:
// every Get returns the last Set; state blocks record without changing the device, capture
// re-reads exactly the states they name, apply sets them; textures and the dynamic vertex
// buffer are owned by the device and live until it is destroyed. Draws go to the backend with a
// snapshot of the state. Misuse (see device_errors.h) returns D3DERR_INVALIDCALL, changes
// nothing and is recorded. With a recorder attached every call is logged with its arguments.
#include <cstdint>
#include <memory>
#include <vector>

#include "device/backend.h"
#include "device/call_recorder.h"
#include "device/d3d8_types.h"
#include "device/device_errors.h"

namespace brontal {

class Device;

class Texture {
public:
    std::uint32_t Width(std::uint32_t level = 0) const;
    std::uint32_t Height(std::uint32_t level = 0) const;
    std::uint32_t LevelCount() const { return static_cast<std::uint32_t>(levels_.size()); }
    D3DFORMAT Format() const { return format_; }
    D3DPOOL Pool() const { return pool_; }
    std::uint32_t Id() const { return id_; }  // unique per device, for traces and backends
    // Texels of one level, rows Pitch(level) bytes apart, top row first.
    const std::uint8_t* Data(std::uint32_t level) const;
    std::uint32_t Pitch(std::uint32_t level) const;

    HRESULT LockRect(std::uint32_t level, D3DLOCKED_RECT* out, const RECT* rect, std::uint32_t flags);
    HRESULT UnlockRect(std::uint32_t level);

    // Backend-private data (a GL texture name).
    std::uintptr_t backendHandle = 0;

private:
    friend class Device;
    struct Level {
        std::uint32_t width = 0, height = 0, pitch = 0;
        std::vector<std::uint8_t> texels;
        bool locked = false;
    };
    Device* device_ = nullptr;
    std::uint32_t id_ = 0;
    D3DFORMAT format_ = D3DFMT_UNKNOWN;
    D3DPOOL pool_ = D3DPOOL_MANAGED;
    std::vector<Level> levels_;
};

class VertexBuffer {
public:
    std::uint32_t Length() const { return static_cast<std::uint32_t>(bytes_.size()); }
    std::uint32_t Id() const { return id_; }
    HRESULT Lock(std::uint32_t offset, std::uint32_t size, std::uint8_t** data, std::uint32_t flags);
    HRESULT Unlock();
    bool Locked() const { return locked_; }
    const std::uint8_t* Data() const { return bytes_.data(); }

private:
    friend class Device;
    Device* device_ = nullptr;
    std::uint32_t id_ = 0;
    std::vector<std::uint8_t> bytes_;
    bool locked_ = false;
};

inline constexpr std::size_t kMaxKeptDeviceErrors = 4096;

class Device {
public:
    Device(std::unique_ptr<Backend> backend, const D3DPRESENT_PARAMETERS& parameters, D3DCAPS8 caps);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Render and texture-stage states.
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, std::uint32_t value);
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, std::uint32_t* value);
    HRESULT SetTextureStageState(std::uint32_t stage, D3DTEXTURESTAGESTATETYPE type, std::uint32_t value);
    HRESULT GetTextureStageState(std::uint32_t stage, D3DTEXTURESTAGESTATETYPE type, std::uint32_t* value);

    // Transforms, viewport, material, lights.
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const Matrix4x4* matrix);
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, Matrix4x4* matrix);
    HRESULT GetViewport(D3DVIEWPORT8* viewport);
    HRESULT SetMaterial(const D3DMATERIAL8* material);
    HRESULT GetMaterial(D3DMATERIAL8* material);
    HRESULT SetLight(std::uint32_t index, const D3DLIGHT8* light);
    HRESULT GetLight(std::uint32_t index, D3DLIGHT8* light);
    HRESULT LightEnable(std::uint32_t index, bool enable);
    HRESULT GetLightEnable(std::uint32_t index, bool* enabled);

    // Textures, vertex format, stream source.
    HRESULT SetTexture(std::uint32_t stage, Texture* texture);
    HRESULT GetTexture(std::uint32_t stage, Texture** texture);
    HRESULT SetVertexShader(std::uint32_t fvf);
    HRESULT GetVertexShader(std::uint32_t* fvf);
    HRESULT SetStreamSource(std::uint32_t stream, VertexBuffer* buffer, std::uint32_t stride);

    // Resources, owned by the device. levels 0 means a full mip chain down to 1 x 1.
    HRESULT CreateTexture(std::uint32_t width, std::uint32_t height, std::uint32_t levels, std::uint32_t usage,
                          D3DFORMAT format, D3DPOOL pool, Texture** texture);
    HRESULT CreateVertexBuffer(std::uint32_t length, std::uint32_t usage, std::uint32_t fvf, D3DPOOL pool,
                               VertexBuffer** buffer);
    // Destroys a texture this device made (the level's and the sky's when the preview reloads
    // them); a stage or state block that held it then holds no texture. A texture that is not
    // the device's is refused (NullArgument).
    HRESULT ReleaseTexture(Texture* texture);

    // Frame.
    HRESULT Clear(std::uint32_t count, const D3DRECT* rects, std::uint32_t flags, D3DCOLOR colour, float z,
                  std::uint32_t stencil);
    HRESULT BeginScene();
    HRESULT EndScene();
    HRESULT Present(const RECT* source, const RECT* dest, void* overrideWindow, const void* dirtyRegion);

    // Draws.
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, std::uint32_t minVertexIndex, std::uint32_t vertexCount,
                                   std::uint32_t primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                   const void* vertexData, std::uint32_t stride);
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, std::uint32_t primitiveCount, const void* vertexData,
                            std::uint32_t stride);
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, std::uint32_t startVertex, std::uint32_t primitiveCount);

    // State blocks. Handles start at 1; 0 is never a block.
    HRESULT BeginStateBlock();
    HRESULT EndStateBlock(std::uint32_t* token);
    HRESULT CaptureStateBlock(std::uint32_t token);
    HRESULT ApplyStateBlock(std::uint32_t token);
    HRESULT DeleteStateBlock(std::uint32_t token);

    HRESULT GetDeviceCaps(D3DCAPS8* caps);

    // Not part of the platform's vocabulary: for the game's tools and tests.
    const DeviceState& State() const { return state_; }
    Backend& GetBackend() { return *backend_; }
    void SetRecorder(CallRecorder* recorder) { recorder_ = recorder; }
    CallRecorder* Recorder() const { return recorder_; }
    // The first kMaxKeptDeviceErrors misuses, in order.
    const std::vector<DeviceError>& Errors() const { return errors_; }
    void ClearErrors() { errors_.clear(); }
    bool InScene() const { return inScene_; }
    // The start-up pass over every room: between these, an indexed draw outside a scene draws
    // nothing and is no error, and the backend gets its geometry ready (Backend::Prepare). Not
    // calls of the device's vocabulary: a trace does not show them.
    void BeginWarmUp() { warmingUp_ = true; }
    void EndWarmUp() { warmingUp_ = false; }
    const D3DPRESENT_PARAMETERS& PresentParameters() const { return parameters_; }
    // The geometry drawn so far will not be drawn again (the level was replaced): the backend
    // lets go of what it keeps of it. Not in a trace either.
    void ForgetStaticGeometry() { backend_->ForgetStaticGeometry(); }
    std::size_t TextureCount() const { return textures_.size(); }

private:
    friend class Texture;
    friend class VertexBuffer;
    struct StateBlock;
    // Where a Set* writes: the block being recorded, else the device's own state.
    DeviceState& StateBeingSet();
    HRESULT Fail(DeviceError error);
    void Log(const char* name, std::vector<CallArgument> arguments);

    std::unique_ptr<Backend> backend_;
    D3DPRESENT_PARAMETERS parameters_;
    D3DCAPS8 caps_;
    DeviceState state_;
    std::vector<std::unique_ptr<Texture>> textures_;
    std::vector<std::unique_ptr<VertexBuffer>> buffers_;
    std::vector<std::unique_ptr<StateBlock>> stateBlocks_;  // handle = index + 1; null once deleted
    StateBlock* recording_ = nullptr;
    VertexBuffer* streamSource_ = nullptr;
    std::uint32_t streamStride_ = 0;
    bool inScene_ = false;
    bool warmingUp_ = false;
    std::uint32_t nextResourceId_ = 1;
    CallRecorder* recorder_ = nullptr;
    std::vector<DeviceError> errors_;
};

// Stands in for the Direct3D 8 object: knows the display and makes devices on a backend.
class Direct3D8 {
public:
    // Makes the backend for a device: the OpenGL one in the game, the null one in tests.
    // Returns null when no backend can be had (no display, no OpenGL 3.3).
    using BackendFactory = std::unique_ptr<Backend> (*)(void* window, const D3DPRESENT_PARAMETERS& parameters);
    Direct3D8(BackendFactory factory, D3DDISPLAYMODE displayMode, D3DCAPS8 caps);
    HRESULT GetAdapterDisplayMode(std::uint32_t adapter, D3DDISPLAYMODE* mode);
    HRESULT CreateDevice(std::uint32_t adapter, D3DDEVTYPE type, void* focusWindow, std::uint32_t behaviourFlags,
                         D3DPRESENT_PARAMETERS* parameters, Device** device);

private:
    BackendFactory factory_;
    D3DDISPLAYMODE displayMode_;
    D3DCAPS8 caps_;
};

// The device defaults a new Device starts from (Direct3D 8's).
DeviceState DefaultDeviceState(bool autoDepthStencil);
// Software vertex processing lights as many lights as the OpenGL backend takes at once.
inline constexpr D3DCAPS8 kDefaultCaps{4096, 4096, 32, 16};

// Created by the start-up sequence, released at shutdown.
extern Direct3D8* g_direct3d;
extern Device* g_device;

}  // namespace brontal
