// Any bytes into DecodeImage: it must refuse or decode, never crash or read past the buffer,
// and a decoded image must be as large as it says.
#include <cstdlib>
#include <string>

#include "platform/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brontal::Image image;
    std::string error;
    if (brontal::DecodeImage(data, size, image, error)) {
        if (image.width == 0 || image.height == 0 || image.width > brontal::kMaxImageDimension ||
            image.height > brontal::kMaxImageDimension ||
            image.rgba.size() != std::size_t{image.width} * image.height * 4)
            std::abort();
        if (!image.hasAlpha)
            for (std::size_t i = 3; i < image.rgba.size(); i += 4)
                if (image.rgba[i] != 255) std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
