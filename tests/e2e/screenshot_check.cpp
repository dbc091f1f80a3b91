#include "e2e/screenshot_check.h"

#include <algorithm>

#include "e2e/e2e_paths.h"
#include "support/golden_image.h"

namespace brontal::e2e {

namespace {

struct Region {
    std::uint32_t x0, y0, x1, y1;
};

Region Clip(const Image& image, std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1) {
    return {std::min(x0, image.width), std::min(y0, image.height), std::min(x1, image.width),
            std::min(y1, image.height)};
}

const std::uint8_t* Pixel(const Image& image, std::uint32_t x, std::uint32_t y) {
    return image.rgba.data() + (std::size_t{y} * image.width + x) * 4;
}

}  // namespace

bool LoadPng(const std::string& path, Image& out, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, error)) return false;
    if (!DecodeImage(bytes.data(), bytes.size(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

Rgb MeanColour(const Image& image, std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1) {
    const Region r = Clip(image, x0, y0, x1, y1);
    Rgb sum;
    double count = 0;
    for (std::uint32_t y = r.y0; y < r.y1; ++y)
        for (std::uint32_t x = r.x0; x < r.x1; ++x) {
            const std::uint8_t* p = Pixel(image, x, y);
            sum.r += p[0];
            sum.g += p[1];
            sum.b += p[2];
            ++count;
        }
    if (count > 0) sum = {sum.r / count, sum.g / count, sum.b / count};
    return sum;
}

int CountBright(const Image& image, std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1, int floor) {
    const Region r = Clip(image, x0, y0, x1, y1);
    int count = 0;
    for (std::uint32_t y = r.y0; y < r.y1; ++y)
        for (std::uint32_t x = r.x0; x < r.x1; ++x) {
            const std::uint8_t* p = Pixel(image, x, y);
            count += p[0] >= floor && p[1] >= floor && p[2] >= floor;
        }
    return count;
}

double DarkShare(const Image& image, int ceiling) {
    const std::size_t pixels = std::size_t{image.width} * image.height;
    if (pixels == 0) return 0;
    std::size_t dark = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* p = image.rgba.data() + i * 4;
        dark += p[0] <= ceiling && p[1] <= ceiling && p[2] <= ceiling;
    }
    return static_cast<double>(dark) / static_cast<double>(pixels);
}

std::string CompareWithGolden(const std::string& name, const Image& frame) {
    return test::CompareWithGoldenFile(SourceDir() + "/tests/e2e/golden/" + name + ".png", frame, {1.0 / 200.0, 2.0},
                                       BinaryDir() + "/golden_actual", name);
}

}  // namespace brontal::e2e
