// Writes seed images for the image decoder fuzzer into the directory named on the command line:
// BMP (24 and 32 bit), PNG (RGB and RGBA) and JPEG, small and with some variety in the pixels.
#include <cstdio>
#include <string>

#include "platform/image.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    int written = 0;
    for (std::uint32_t side : {1u, 3u, 8u, 17u}) {
        brontal::Image image;
        image.width = side;
        image.height = side + 1;
        for (std::uint32_t i = 0; i < image.width * image.height; ++i)
            image.rgba.insert(image.rgba.end(), {static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i * 11),
                                                 static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 5)});
        const std::string stem = dir + "/seed_" + std::to_string(side);
        std::string error;
        bool ok = brontal::WriteWholeFile(stem + "_24.bmp", brontal::EncodeBmp(image, 24), error) &&
                  brontal::WriteWholeFile(stem + "_32.bmp", brontal::EncodeBmp(image, 32), error) &&
                  brontal::WriteWholeFile(stem + ".jpg", brontal::EncodeJpeg(image, 75), error);
        image.hasAlpha = true;
        ok = ok && brontal::WriteWholeFile(stem + "_rgba.png", brontal::EncodePng(image), error);
        image.hasAlpha = false;
        ok = ok && brontal::WriteWholeFile(stem + "_rgb.png", brontal::EncodePng(image), error);
        if (!ok) {
            std::fprintf(stderr, "%s: %s\n", stem.c_str(), error.c_str());
            return 1;
        }
        written += 5;
    }
    std::printf("%d seeds in %s\n", written, dir.c_str());
    return 0;
}
