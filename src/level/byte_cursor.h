#pragma once
// The one way the level reader touches file bytes: a cursor over a span that knows how many
// bytes remain. A read that does not fit reads nothing, yields zero and marks the cursor failed;
// the position then stays where the short read began, so offset() names the byte that ran out.
// Later reads on a failed cursor fail too. Values are little-endian.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "math/types.h"

namespace brontal {

static_assert(std::endian::native == std::endian::little, "the level format is read by copying little-endian bytes");

class ByteCursor {
public:
    ByteCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t offset() const { return pos_; }
    std::size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ >= size_; }
    bool failed() const { return failed_; }

    std::uint8_t U8() { return Scalar<std::uint8_t>(); }
    std::uint16_t U16() { return Scalar<std::uint16_t>(); }
    std::uint32_t U32() { return Scalar<std::uint32_t>(); }
    float F32() { return Scalar<float>(); }
    Vector3 Vec3() { return Scalar<Vector3>(); }
    Quaternion Quat() { return Scalar<Quaternion>(); }

    // Copies size bytes into out.
    bool Bytes(void* out, std::size_t size) {
        if (!Has(size)) return false;
        if (size != 0) std::memcpy(out, data_ + pos_, size);
        pos_ += size;
        return true;
    }
    // Replaces out with the next count records.
    template <typename T>
    bool Records(std::vector<T>& out, std::size_t count) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (count > remaining() / sizeof(T) || !Has(count * sizeof(T))) {
            failed_ = true;
            return false;
        }
        // Sized first, then one block copy: clearing a list that is in the cache is cheap, and a
        // block copy is several times faster than copying record by record.
        out.resize(count);
        if (count != 0) std::memcpy(out.data(), data_ + pos_, count * sizeof(T));
        pos_ += count * sizeof(T);
        return true;
    }
    // The next size bytes in place, or null when they are not all there.
    const std::uint8_t* Take(std::size_t size) {
        if (!Has(size)) return nullptr;
        const std::uint8_t* at = data_ + pos_;
        pos_ += size;
        return at;
    }

private:
    bool Has(std::size_t size) {
        if (failed_ || size > size_ - pos_) {
            failed_ = true;
            return false;
        }
        return true;
    }
    template <typename T>
    T Scalar() {
        T value{};
        Bytes(&value, sizeof(T));
        return value;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace brontal
