#pragma once
// A device on a backend that keeps a copy of every draw, with the call recorder attached: for
// tests that check call sequences and what reached the device.
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "device/device.h"

namespace brontal::testing {

struct CapturedDraw {
    DrawCall call;
    DeviceState state;
    std::vector<std::uint8_t> vertexBytes;  // call.vertexCount * call.stride bytes
    std::vector<std::uint16_t> indices;

    template <typename T>
    T VertexAt(std::size_t i) const {
        T out{};
        std::memcpy(&out, vertexBytes.data() + i * call.stride, sizeof(T));
        return out;
    }
};

class CapturingBackend final : public Backend {
public:
    explicit CapturingBackend(std::vector<CapturedDraw>& draws) : draws_(draws) {}
    void TextureCreated(Texture&) override {}
    void TextureUpdated(Texture&, std::uint32_t) override {}
    void TextureDestroyed(Texture&) override {}
    void Clear(std::uint32_t, D3DCOLOR, float, std::uint32_t) override {}
    void Draw(const DeviceState& state, const DrawCall& call) override {
        CapturedDraw draw{call, state, {}, {}};
        const auto* bytes = static_cast<const std::uint8_t*>(call.vertices);
        draw.vertexBytes.assign(bytes, bytes + std::size_t{call.vertexCount} * call.stride);
        if (call.indices) draw.indices.assign(call.indices, call.indices + call.indexCount);
        draws_.push_back(std::move(draw));
    }
    void Present() override {}
    bool ReadPixels(std::uint32_t&, std::uint32_t&, std::vector<std::uint8_t>&) override { return false; }
    const char* Description() const override { return "capturing"; }

private:
    std::vector<CapturedDraw>& draws_;
};

struct RecordingDevice {
    explicit RecordingDevice(D3DCAPS8 caps = kDefaultCaps) {
        D3DPRESENT_PARAMETERS parameters{};
        parameters.BackBufferWidth = 640;
        parameters.BackBufferHeight = 480;
        parameters.Windowed = 1;
        parameters.EnableAutoDepthStencil = 1;
        parameters.AutoDepthStencilFormat = D3DFMT_D16;
        device = std::make_unique<Device>(std::make_unique<CapturingBackend>(draws), parameters, caps);
        device->SetRecorder(&recorder);
    }
    Device* operator->() { return device.get(); }
    Device* get() { return device.get(); }

    std::vector<std::string> Lines() const { return recorder.Lines(); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const RecordedCall& call : recorder.calls) names.push_back(call.name);
        return names;
    }
    void Forget() {
        recorder.Clear();
        draws.clear();
    }

    std::vector<CapturedDraw> draws;
    MemoryRecorder recorder;
    std::unique_ptr<Device> device;
};

// A trace line as the recorder writes it.
inline std::string Line(const char* name, std::initializer_list<CallArgument> arguments = {}) {
    return RecordedCall{name, std::vector<CallArgument>(arguments)}.ToLine();
}

inline CallArgument I(std::int64_t value) { return CallArgument(value); }

}  // namespace brontal::testing
