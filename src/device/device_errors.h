#pragma once
// Misuses of the device that it checks at the boundary. Each call that breaks a rule returns
// D3DERR_INVALIDCALL, changes nothing and records the error, so tests assert on the name.
#include <cstdint>

namespace brontal {

#define BRONTAL_DEVICE_ERRORS(X)                                                        \
    X(DrawOutsideScene, "draw outside BeginScene/EndScene")                             \
    X(SceneAlreadyBegun, "BeginScene while a scene is open")                            \
    X(SceneNotBegun, "EndScene without BeginScene")                                     \
    X(UnknownRenderState, "unknown render state")                                       \
    X(UnknownStageState, "unknown texture stage state")                                 \
    X(StageOutOfRange, "texture stage out of range")                                    \
    X(UnknownTransform, "unknown transform state")                                      \
    X(NullArgument, "required pointer argument is null")                                \
    X(ResourceLocked, "resource is already locked")                                     \
    X(ResourceNotLocked, "unlock of a resource that is not locked")                     \
    X(LevelOutOfRange, "mip level out of range")                                        \
    X(DrawWhileLocked, "draw from a locked vertex buffer")                              \
    X(NoStreamSource, "DrawPrimitive without a stream source")                          \
    X(DrawPastBuffer, "draw reads past the end of the vertex buffer")                   \
    X(UnsupportedFormat, "unsupported texture format")                                  \
    X(BadTextureSize, "texture size is zero or above the device maximum")               \
    X(StateBlockAlreadyRecording, "BeginStateBlock while already recording")            \
    X(StateBlockNotRecording, "EndStateBlock without BeginStateBlock")                  \
    X(UnknownStateBlock, "unknown state block handle")                                  \
    X(LightIndexOutOfRange, "light index out of range")                                 \
    X(StreamOutOfRange, "only stream 0 exists")                                         \
    X(UnknownPrimitiveType, "unknown primitive type")                                   \
    X(TooManyPrimitives, "primitive count above the device maximum")                    \
    X(UnsupportedIndexFormat, "index format is not 16-bit")                             \
    X(IndexPastVertexData, "an index lies outside the vertex range of the draw")        \
    X(UnsupportedVertexFormat, "vertex format without a position")                      \
    X(StrideTooSmall, "vertex stride is smaller than the vertex format")                \
    X(LockOutOfBounds, "locked range runs past the end of the resource")                \
    X(BadBufferSize, "vertex buffer length is zero")                                    \
    X(ClearRectsUnsupported, "Clear of rectangles is not supported")

enum class DeviceError : std::uint32_t {
#define BRONTAL_DEVICE_ERROR_ENUM(name, message) name,
    BRONTAL_DEVICE_ERRORS(BRONTAL_DEVICE_ERROR_ENUM)
#undef BRONTAL_DEVICE_ERROR_ENUM
};

const char* DeviceErrorName(DeviceError error);
const char* DeviceErrorMessage(DeviceError error);

}  // namespace brontal
