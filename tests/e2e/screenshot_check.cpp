#include "e2e/screenshot_check.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "e2e/e2e_paths.h"

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
    const std::string path = SourceDir() + "/tests/e2e/golden/" + name + ".png";
    std::string error;
    const char* regenerate = std::getenv("BRONTAL_REGENERATE_GOLDEN");
    if (regenerate && std::string(regenerate) == "1") {
        if (!WriteWholeFile(path, EncodePng(frame), error)) return "cannot write " + path + ": " + error;
        std::printf("regenerated %s\n", path.c_str());
        return "";
    }
    Image golden;
    if (!LoadPng(path, golden, error))
        return "no reference " + path + " (" + error + "); regenerate with BRONTAL_REGENERATE_GOLDEN=1";
    if (golden.width != frame.width || golden.height != frame.height)
        return path + " is " + std::to_string(golden.width) + " x " + std::to_string(golden.height) + ", the frame " +
               std::to_string(frame.width) + " x " + std::to_string(frame.height);
    std::size_t far = 0;
    double sum = 0;
    const std::size_t pixels = std::size_t{frame.width} * frame.height;
    for (std::size_t i = 0; i < pixels; ++i) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = std::abs(int{frame.rgba[i * 4 + c]} - int{golden.rgba[i * 4 + c]});
            worst = std::max(worst, d);
            sum += d;
        }
        far += worst > 24;
    }
    const double mean = sum / (3.0 * static_cast<double>(pixels));
    if (far * 200 <= pixels && mean < 2.0) return "";
    const std::string out = BinaryDir() + "/golden_actual";
    std::filesystem::create_directories(out);
    WriteWholeFile(out + "/" + name + ".png", EncodePng(frame), error);
    return name + ": " + std::to_string(far) + " of " + std::to_string(pixels) + " pixels differ by more than 24, mean " +
           std::to_string(mean) + "; the frame is in " + out;
}

}  // namespace brontal::e2e
