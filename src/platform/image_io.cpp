// DecodeImage picks the decoder from the first bytes of the file; whole-file reading and writing.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::string& error) {
    out.clear();
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    std::uint8_t buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        out.insert(out.end(), buffer, buffer + got);
        if (got < sizeof buffer) break;
    }
    if (std::ferror(file.get())) {
        error = std::string("cannot read: ") + std::strerror(errno);
        out.clear();
        return false;
    }
    return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = std::string("cannot create: ") + std::strerror(errno);
        return false;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        error = std::string("cannot write: ") + std::strerror(errno);
        return false;
    }
    if (std::fclose(file.release()) != 0) {
        error = std::string("cannot write: ") + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace brontal
