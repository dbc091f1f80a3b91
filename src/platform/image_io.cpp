// DecodeImage picks the decoder from the first bytes of the file; whole-file reading and writing.
#include "files/file_io.h"
#include "platform/image.h"
#include "platform/image_codecs.h"

namespace brontal {

std::string CheckImageSize(std::uint64_t width, std::uint64_t height) {
    if (width == 0 || height == 0)
        return "size " + std::to_string(width) + "x" + std::to_string(height) + " is empty";
    if (width > kMaxImageDimension || height > kMaxImageDimension)
        return "size " + std::to_string(width) + "x" + std::to_string(height) + " exceeds " +
               std::to_string(kMaxImageDimension) + " on a side";
    if (width * height > kMaxImagePixels)
        return "size " + std::to_string(width) + "x" + std::to_string(height) + " exceeds " +
               std::to_string(kMaxImagePixels) + " pixels";
    return {};
}

bool DecodeImage(const std::uint8_t* data, std::size_t size, Image& out, std::string& error) {
    out = Image{};
    if (data == nullptr || size == 0) {
        error = "empty image data";
        return false;
    }
    bool ok = false;
    if (LooksLikePng(data, size)) ok = DecodePng(data, size, out, error);
    else if (LooksLikeJpeg(data, size)) ok = DecodeJpeg(data, size, out, error);
    else if (LooksLikeBmp(data, size)) ok = DecodeBmp(data, size, out, error);
    else error = "not a BMP, PNG or JPEG file (" + std::to_string(size) + " bytes)";
    if (!ok) out = Image{};
    return ok;
}

static_assert(kMaxImageFileSize >= kMaxImagePixels * 4, "the largest image stored uncompressed must be readable");

namespace {
// The messages of the file layer start with the path; these functions' callers name it themselves.
std::string WithoutPath(const std::string& path, std::string error) {
    if (error.rfind(path + ": ", 0) == 0) error.erase(0, path.size() + 2);
    return error;
}
}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::string& error) {
    if (ReadRegularFile(path, kMaxImageFileSize, out, error)) return true;
    error = WithoutPath(path, error);
    return false;
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    if (WriteFileAtomically(path, bytes, error)) return true;
    error = WithoutPath(path, error);
    return false;
}

}  // namespace brontal
