// Frame and draws. A draw is checked against the data it names before the backend sees it, so
// a backend never reads past the caller's vertex or index data or past the vertex buffer.
#include <optional>

#include "device/device_internal.h"
#include "device/vertex_format.h"

namespace brontal {

using namespace device_trace;

namespace {

// Vertices (or indices) a primitive list of this type and count reads; 0 for an unknown type.
std::uint64_t ElementsFor(D3DPRIMITIVETYPE type, std::uint32_t primitives) {
    const std::uint64_t n = primitives;
    if (n == 0) return 0;
    switch (type) {
        case D3DPT_POINTLIST: return n;
        case D3DPT_LINELIST: return 2 * n;
        case D3DPT_LINESTRIP: return n + 1;
        case D3DPT_TRIANGLELIST: return 3 * n;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: return n + 2;
    }
    return 0;
}

bool KnownPrimitiveType(D3DPRIMITIVETYPE type) { return type >= D3DPT_POINTLIST && type <= D3DPT_TRIANGLEFAN; }

// Bytes of one vertex of a format; 0 when it has no position and cannot be drawn.
std::uint32_t VertexSize(std::uint32_t fvf) { return DecodeVertexFormat(fvf).size; }

}  // namespace

// ---- frame ----

HRESULT Device::Clear(std::uint32_t count, const D3DRECT* rects, std::uint32_t flags, D3DCOLOR colour, float z,
                      std::uint32_t stencil) {
    if (recorder_) Log("Clear", {Int(count), Count(rects, count), Int(flags), Int(colour), Float(z), Int(stencil)});
    if (count > 0 && !rects) return Fail(DeviceError::NullArgument);
    // The backends clear whole targets only; clearing the whole for a list of rectangles would
    // be a wrong picture.
    if (count > 0) return Fail(DeviceError::ClearRectsUnsupported);
    backend_->Clear(flags, colour, z, stencil);
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    if (recorder_) Log("BeginScene", {});
    if (inScene_) return Fail(DeviceError::SceneAlreadyBegun);
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (recorder_) Log("EndScene", {});
    if (!inScene_) return Fail(DeviceError::SceneNotBegun);
    inScene_ = false;
    return D3D_OK;
}

HRESULT Device::Present(const RECT* source, const RECT* dest, void* overrideWindow, const void* dirtyRegion) {
    if (recorder_)
        Log("Present", {Count(source, 1), Count(dest, 1), Count(overrideWindow, 1), Count(dirtyRegion, 1)});
    backend_->Present();
    return D3D_OK;
}

// ---- draws ----

namespace {

// What is wrong with an indexed draw from user memory, if anything. On success `call` is the
// draw as the backend sees it (primitiveCount 0: nothing to draw).
struct Problem {
    std::optional<DeviceError> error;
};

Problem CheckIndexedDraw(D3DPRIMITIVETYPE type, std::uint32_t minVertexIndex, std::uint32_t vertexCount,
                         std::uint32_t primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                         const void* vertexData, std::uint32_t stride, std::uint32_t vertexSize, DrawCall& call) {
    const std::uint64_t indexCount = ElementsFor(type, primitiveCount);
    if (!KnownPrimitiveType(type)) return {DeviceError::UnknownPrimitiveType};
    if (primitiveCount > kMaxPrimitiveCount) return {DeviceError::TooManyPrimitives};
    if (indexFormat != D3DFMT_INDEX16) return {DeviceError::UnsupportedIndexFormat};
    if (vertexSize == 0) return {DeviceError::UnsupportedVertexFormat};
    if (stride < vertexSize) return {DeviceError::StrideTooSmall};
    if (primitiveCount == 0) return {};
    if (!indexData || !vertexData) return {DeviceError::NullArgument};

    // The caller's vertex range bounds every index: a vertex outside it may lie past the
    // caller's array. The level reader guarantees this for the world's surfaces; anything else
    // is refused whole rather than drawn in part.
    const std::uint64_t end = std::uint64_t{minVertexIndex} + vertexCount;
    if (end > 0xFFFFFFFFu) return {DeviceError::IndexPastVertexData};
    const auto* indices = static_cast<const std::uint16_t*>(indexData);
    for (std::uint64_t i = 0; i < indexCount; ++i) {
        if (indices[i] < minVertexIndex || indices[i] >= end) return {DeviceError::IndexPastVertexData};
    }

    call.primitiveType = type;
    call.primitiveCount = primitiveCount;
    call.vertices = vertexData;
    call.vertexCount = static_cast<std::uint32_t>(end);  // vertices [minVertexIndex, end) are readable
    call.stride = stride;
    call.indices = indices;
    call.indexCount = static_cast<std::uint32_t>(indexCount);
    call.minVertexIndex = minVertexIndex;
    return {};
}

}  // namespace

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, std::uint32_t minVertexIndex, std::uint32_t vertexCount,
                                       std::uint32_t primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                       const void* vertexData, std::uint32_t stride) {
    const std::uint64_t indexCount = ElementsFor(type, primitiveCount);
    if (recorder_)
        Log("DrawIndexedPrimitiveUP", {Int(type), Int(minVertexIndex), Int(vertexCount), Int(primitiveCount),
                                       Count(indexData, indexCount), Int(indexFormat), Count(vertexData, vertexCount),
                                       Int(stride)});
    DrawCall call;
    call.fvf = state_.vertexShader;
    const Problem problem = CheckIndexedDraw(type, minVertexIndex, vertexCount, primitiveCount, indexData,
                                             indexFormat, vertexData, stride, VertexSize(state_.vertexShader), call);
    if (!inScene_ && warmingUp_) {
        // Nothing is drawn: the backend gets the geometry ready for the frames to come.
        if (problem.error) return Fail(*problem.error);
        if (call.primitiveCount != 0) backend_->Prepare(call);
        return D3D_OK;
    }
    if (!inScene_) return Fail(DeviceError::DrawOutsideScene);
    if (problem.error) return Fail(*problem.error);
    if (call.primitiveCount == 0) return D3D_OK;  // nothing to draw
    backend_->Draw(state_, call);
    return D3D_OK;
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, std::uint32_t primitiveCount, const void* vertexData,
                                std::uint32_t stride) {
    const std::uint64_t vertexCount = ElementsFor(type, primitiveCount);
    if (recorder_)
        Log("DrawPrimitiveUP", {Int(type), Int(primitiveCount), Count(vertexData, vertexCount), Int(stride)});
    if (!inScene_) return Fail(DeviceError::DrawOutsideScene);
    if (!KnownPrimitiveType(type)) return Fail(DeviceError::UnknownPrimitiveType);
    if (primitiveCount > kMaxPrimitiveCount) return Fail(DeviceError::TooManyPrimitives);
    const std::uint32_t vertexSize = VertexSize(state_.vertexShader);
    if (vertexSize == 0) return Fail(DeviceError::UnsupportedVertexFormat);
    if (stride < vertexSize) return Fail(DeviceError::StrideTooSmall);
    if (primitiveCount == 0) return D3D_OK;
    if (!vertexData) return Fail(DeviceError::NullArgument);

    DrawCall call;
    call.primitiveType = type;
    call.primitiveCount = primitiveCount;
    call.fvf = state_.vertexShader;
    call.vertices = vertexData;
    call.vertexCount = static_cast<std::uint32_t>(vertexCount);
    call.stride = stride;
    backend_->Draw(state_, call);
    return D3D_OK;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, std::uint32_t startVertex, std::uint32_t primitiveCount) {
    if (recorder_) Log("DrawPrimitive", {Int(type), Int(startVertex), Int(primitiveCount)});
    if (!inScene_) return Fail(DeviceError::DrawOutsideScene);
    if (!KnownPrimitiveType(type)) return Fail(DeviceError::UnknownPrimitiveType);
    if (primitiveCount > kMaxPrimitiveCount) return Fail(DeviceError::TooManyPrimitives);
    if (!streamSource_) return Fail(DeviceError::NoStreamSource);
    if (streamSource_->Locked()) return Fail(DeviceError::DrawWhileLocked);
    const std::uint32_t vertexSize = VertexSize(state_.vertexShader);
    if (vertexSize == 0) return Fail(DeviceError::UnsupportedVertexFormat);
    if (streamStride_ < vertexSize) return Fail(DeviceError::StrideTooSmall);
    if (primitiveCount == 0) return D3D_OK;

    const std::uint64_t vertexCount = ElementsFor(type, primitiveCount);
    // The last vertex needs only its own size, but the stride is what a backend steps by; ask
    // for whole strides so any backend reading stride-sized records stays inside.
    const std::uint64_t first = std::uint64_t{startVertex} * streamStride_;
    if (first + vertexCount * streamStride_ > streamSource_->Length()) return Fail(DeviceError::DrawPastBuffer);

    DrawCall call;
    call.primitiveType = type;
    call.primitiveCount = primitiveCount;
    call.fvf = state_.vertexShader;
    call.vertices = streamSource_->Data() + first;
    call.vertexCount = static_cast<std::uint32_t>(vertexCount);
    call.stride = streamStride_;
    backend_->Draw(state_, call);
    return D3D_OK;
}

}  // namespace brontal
