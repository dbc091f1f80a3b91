#pragma once
// A device on a backend that remembers what it was handed, for the device tests.
#include <memory>
#include <utility>
#include <vector>

#include "device/device.h"
#include "support/present_parameters.h"

namespace brontal::test {

struct SeenDraw {
    DrawCall call;
    std::vector<std::uint8_t> vertexBytes;  // copied at draw time: what the backend could read
    std::uint32_t cullMode = 0;
    Texture* texture0 = nullptr;
};

class RememberingBackend final : public Backend {
public:
    void TextureCreated(Texture& texture) override { created.push_back(texture.Id()); }
    void TextureUpdated(Texture& texture, std::uint32_t level) override { updated.emplace_back(texture.Id(), level); }
    void TextureDestroyed(Texture& texture) override { destroyed.push_back(texture.Id()); }
    void Clear(std::uint32_t flags, D3DCOLOR, float, std::uint32_t) override { clears.push_back(flags); }
    void Draw(const DeviceState& state, const DrawCall& call) override {
        SeenDraw seen;
        seen.call = call;
        const auto* bytes = static_cast<const std::uint8_t*>(call.vertices);
        seen.vertexBytes.assign(bytes, bytes + std::size_t{call.vertexCount} * call.stride);
        seen.cullMode = state.renderState[D3DRS_CULLMODE];
        seen.texture0 = state.texture[0];
        draws.push_back(std::move(seen));
    }
    void Prepare(const DrawCall&) override { ++prepared; }
    void Present() override { ++presents; }
    bool ReadPixels(std::uint32_t&, std::uint32_t&, std::vector<std::uint8_t>&) override { return false; }
    const char* Description() const override { return "remembering"; }

    std::vector<std::uint32_t> created, destroyed, clears;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> updated;
    std::vector<SeenDraw> draws;
    int presents = 0;
    std::uint32_t prepared = 0;
};

struct DeviceOnRememberingBackend {
    explicit DeviceOnRememberingBackend(D3DCAPS8 caps = kDefaultCaps) {
        auto made = std::make_unique<RememberingBackend>();
        backend = made.get();
        device = std::make_unique<Device>(std::move(made), TestParameters(), caps);
    }
    bool LastErrorIs(DeviceError error) const {
        return !device->Errors().empty() && device->Errors().back() == error;
    }
    RememberingBackend* backend;
    std::unique_ptr<Device> device;
};

inline Matrix4x4 NumberedMatrix(float first) {
    Matrix4x4 m{};
    for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = first + static_cast<float>(i);
    return m;
}

}  // namespace brontal::test
