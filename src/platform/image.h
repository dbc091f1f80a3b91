#pragma once
// Images in memory: decoded from a complete BMP, PNG or JPEG file (the format recognised from
// the data), encoded back for tools and screenshots. Pixels are 8-bit RGBA, top row first.
#include <cstdint>
#include <string>
#include <vector>

namespace brontal {

struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes
    bool hasAlpha = false;           // false: every alpha is 255
};

inline constexpr std::uint32_t kMaxImageDimension = 16384;

// Decodes a complete image file held in memory. On failure returns false and says why in
// error (for example "PNG: IHDR width 0").
bool DecodeImage(const std::uint8_t* data, std::size_t size, Image& out, std::string& error);

std::vector<std::uint8_t> EncodeBmp(const Image& image, int bitsPerPixel = 24);  // 24 or 32
std::vector<std::uint8_t> EncodePng(const Image& image);                          // RGBA, or RGB when !hasAlpha
std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality = 90);       // RGB

// The largest image file read: the largest image the decoders accept stored uncompressed at four
// bytes a pixel (256 MiB), with room for headers and metadata. A larger file is refused unread.
inline constexpr std::uint64_t kMaxImageFileSize = (std::uint64_t{1} << 28) + (std::uint64_t{16} << 20);

// An image file, or any file of at most kMaxImageFileSize bytes, read whole; only a regular file
// is read. The written file replaces an old one only once it is complete. Messages leave out the path.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::string& error);
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace brontal
