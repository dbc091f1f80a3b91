// Textures and the vertex buffer: owned by the device, their memory on the CPU side; a backend
// learns of new texels through TextureUpdated and reads vertex data at draw time.
#include <algorithm>
#include <cstring>

#include "device/device_internal.h"

namespace brontal {

using namespace device_trace;

namespace {

// What a discard lock leaves in the buffer: the old contents are gone, as on the platform, so a
// writer that relies on reading them back shows up at once.
constexpr std::uint8_t kDiscardedByte = 0xCD;
// Whatever the caps say, a side above this is refused, so a level's pitch and size stay far
// inside 32 bits.
constexpr std::uint32_t kLargestTextureSide = 16384;

std::uint32_t FullChainLength(std::uint32_t width, std::uint32_t height) {
    std::uint32_t largest = width > height ? width : height;
    std::uint32_t levels = 1;
    while (largest > 1) {
        largest >>= 1;
        ++levels;
    }
    return levels;
}

}  // namespace

// ---- Texture ----

std::uint32_t Texture::Width(std::uint32_t level) const { return level < levels_.size() ? levels_[level].width : 0; }
std::uint32_t Texture::Height(std::uint32_t level) const {
    return level < levels_.size() ? levels_[level].height : 0;
}
const std::uint8_t* Texture::Data(std::uint32_t level) const {
    return level < levels_.size() ? levels_[level].texels.data() : nullptr;
}
std::uint32_t Texture::Pitch(std::uint32_t level) const { return level < levels_.size() ? levels_[level].pitch : 0; }

HRESULT Texture::LockRect(std::uint32_t level, D3DLOCKED_RECT* out, const RECT* rect, std::uint32_t flags) {
    if (!device_) return D3DERR_INVALIDCALL;  // not made by a device
    Device& device = *device_;
    HRESULT result = D3D_OK;
    if (!out) {
        result = device.Fail(DeviceError::NullArgument);
    } else if (level >= levels_.size()) {
        result = device.Fail(DeviceError::LevelOutOfRange);
    } else if (levels_[level].locked) {
        result = device.Fail(DeviceError::ResourceLocked);
    } else {
        Level& l = levels_[level];
        std::size_t offset = 0;
        if (rect) {
            const bool inside = rect->left >= 0 && rect->top >= 0 && rect->left < rect->right &&
                                rect->top < rect->bottom && static_cast<std::uint32_t>(rect->right) <= l.width &&
                                static_cast<std::uint32_t>(rect->bottom) <= l.height;
            if (!inside) result = device.Fail(DeviceError::LockOutOfBounds);
            else
                offset = static_cast<std::size_t>(rect->top) * l.pitch +
                         static_cast<std::size_t>(rect->left) * BytesPerTexel(format_);
        }
        if (result == D3D_OK) {
            l.locked = true;
            out->Pitch = static_cast<std::int32_t>(l.pitch);
            out->pBits = l.texels.data() + offset;
        }
    }
    if (device.recorder_) {
        if (result == D3D_OK)
            device.Log("LockRect", {Int(id_), Int(level), Int(out->Pitch), Count(rect, 1), Int(flags)});
        else device.Log("LockRect", {Int(id_), Int(level), Count(rect, 1), Int(flags)});
    }
    return result;
}

HRESULT Texture::UnlockRect(std::uint32_t level) {
    if (!device_) return D3DERR_INVALIDCALL;  // not made by a device
    Device& device = *device_;
    if (device.recorder_) device.Log("UnlockRect", {Int(id_), Int(level)});
    if (level >= levels_.size()) return device.Fail(DeviceError::LevelOutOfRange);
    if (!levels_[level].locked) return device.Fail(DeviceError::ResourceNotLocked);
    levels_[level].locked = false;
    device.backend_->TextureUpdated(*this, level);
    return D3D_OK;
}

// ---- VertexBuffer ----

HRESULT VertexBuffer::Lock(std::uint32_t offset, std::uint32_t size, std::uint8_t** data, std::uint32_t flags) {
    if (!device_) return D3DERR_INVALIDCALL;  // not made by a device
    Device& device = *device_;
    HRESULT result = D3D_OK;
    const std::uint64_t length = bytes_.size();
    // A size of 0 locks everything from the offset on.
    const std::uint64_t locked = size == 0 && offset <= length ? length - offset : size;
    if (!data) result = device.Fail(DeviceError::NullArgument);
    else if (locked_) result = device.Fail(DeviceError::ResourceLocked);
    else if (std::uint64_t{offset} + locked > length) result = device.Fail(DeviceError::LockOutOfBounds);
    if (result == D3D_OK) {
        if (flags & D3DLOCK_DISCARD) std::memset(bytes_.data(), kDiscardedByte, bytes_.size());
        locked_ = true;
        *data = bytes_.data() + offset;
    }
    if (device.recorder_) {
        if (result == D3D_OK)
            device.Log("Lock", {Int(id_), Int(offset), Int(size), Int(static_cast<std::int64_t>(locked)), Int(flags)});
        else device.Log("Lock", {Int(id_), Int(offset), Int(size), Int(flags)});
    }
    return result;
}

HRESULT VertexBuffer::Unlock() {
    if (!device_) return D3DERR_INVALIDCALL;  // not made by a device
    Device& device = *device_;
    if (device.recorder_) device.Log("Unlock", {Int(id_)});
    if (!locked_) return device.Fail(DeviceError::ResourceNotLocked);
    locked_ = false;
    return D3D_OK;
}

// ---- creation ----

HRESULT Device::CreateTexture(std::uint32_t width, std::uint32_t height, std::uint32_t levels, std::uint32_t usage,
                              D3DFORMAT format, D3DPOOL pool, Texture** texture) {
    HRESULT result = D3D_OK;
    const std::uint32_t bytesPerTexel = BytesPerTexel(format);
    if (!texture) result = Fail(DeviceError::NullArgument);
    else if (bytesPerTexel == 0) result = Fail(DeviceError::UnsupportedFormat);
    else if (width == 0 || height == 0 || width > caps_.MaxTextureWidth || height > caps_.MaxTextureHeight ||
             width > kLargestTextureSide || height > kLargestTextureSide)
        result = Fail(DeviceError::BadTextureSize);
    else if (levels > FullChainLength(width, height)) result = Fail(DeviceError::LevelOutOfRange);

    if (result == D3D_OK) {
        auto made = std::make_unique<Texture>();
        made->device_ = this;
        made->id_ = nextResourceId_++;
        made->format_ = format;
        made->pool_ = pool;
        const std::uint32_t count = levels == 0 ? FullChainLength(width, height) : levels;
        made->levels_.resize(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            Texture::Level& level = made->levels_[i];
            level.width = width >> i ? width >> i : 1;
            level.height = height >> i ? height >> i : 1;
            level.pitch = level.width * bytesPerTexel;  // rows follow each other directly
            level.texels.assign(static_cast<std::size_t>(level.pitch) * level.height, 0);
        }
        *texture = made.get();
        textures_.push_back(std::move(made));
        backend_->TextureCreated(**texture);
    } else if (texture) {
        *texture = nullptr;
    }
    if (recorder_) {
        std::vector<CallArgument> arguments{Int(width), Int(height), Int(levels), Int(usage), Int(format), Int(pool)};
        if (result == D3D_OK) arguments.push_back(TextureId(*texture));
        Log("CreateTexture", std::move(arguments));
    }
    return result;
}

HRESULT Device::ReleaseTexture(Texture* texture) {
    auto owned = std::find_if(textures_.begin(), textures_.end(),
                              [&](const std::unique_ptr<Texture>& t) { return texture && t.get() == texture; });
    if (recorder_) Log("ReleaseTexture", {TextureId(texture)});
    if (owned == textures_.end()) return Fail(DeviceError::NullArgument);
    auto forget = [&](DeviceState& state) {
        for (Texture*& bound : state.texture)
            if (bound == texture) bound = nullptr;
    };
    forget(state_);
    for (auto& block : stateBlocks_)
        if (block) forget(block->values);
    backend_->TextureDestroyed(*texture);
    textures_.erase(owned);
    return D3D_OK;
}

HRESULT Device::CreateVertexBuffer(std::uint32_t length, std::uint32_t usage, std::uint32_t fvf, D3DPOOL pool,
                                   VertexBuffer** buffer) {
    HRESULT result = D3D_OK;
    if (!buffer) result = Fail(DeviceError::NullArgument);
    else if (length == 0) result = Fail(DeviceError::BadBufferSize);

    if (result == D3D_OK) {
        auto made = std::make_unique<VertexBuffer>();
        made->device_ = this;
        made->id_ = nextResourceId_++;
        made->bytes_.assign(length, 0);
        *buffer = made.get();
        buffers_.push_back(std::move(made));
    } else if (buffer) {
        *buffer = nullptr;
    }
    if (recorder_) {
        std::vector<CallArgument> arguments{Int(length), Int(usage), Int(fvf), Int(pool)};
        if (result == D3D_OK) arguments.push_back(Int((*buffer)->Id()));
        Log("CreateVertexBuffer", std::move(arguments));
    }
    return result;
}

}  // namespace brontal
