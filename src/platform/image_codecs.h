#pragma once
// The decoders behind DecodeImage, one per file format, and the size checks they share.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/image.h"

namespace brontal {

// Largest image, in pixels, that a decoder accepts (64 Mpixel: 256 MiB of RGBA).
inline constexpr std::uint64_t kMaxImagePixels = std::uint64_t{1} << 26;

// Empty when width x height is a size the decoders accept, else the reason.
std::string CheckImageSize(std::uint64_t width, std::uint64_t height);

bool LooksLikeBmp(const std::uint8_t* data, std::size_t size);
bool LooksLikePng(const std::uint8_t* data, std::size_t size);
bool LooksLikeJpeg(const std::uint8_t* data, std::size_t size);

bool DecodeBmp(const std::uint8_t* data, std::size_t size, Image& out, std::string& error);
bool DecodePng(const std::uint8_t* data, std::size_t size, Image& out, std::string& error);
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, Image& out, std::string& error);

}  // namespace brontal
