#include "support/golden_image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace brontal::test {

std::string CompareWithGoldenFile(const std::string& path, const Image& frame, GoldenTolerance tolerance,
                                  const std::string& actualDir, const std::string& name) {
    std::string error;
    const char* regenerate = std::getenv("BRONTAL_REGENERATE_GOLDEN");
    if (regenerate && std::string(regenerate) == "1") {
        if (!WriteWholeFile(path, EncodePng(frame), error)) return "cannot write " + path + ": " + error;
        std::printf("regenerated %s\n", path.c_str());
        return "";
    }
    std::vector<std::uint8_t> bytes;
    Image golden;
    if (!ReadWholeFile(path, bytes, error))
        return "no reference " + path + " (" + error + "); regenerate with BRONTAL_REGENERATE_GOLDEN=1";
    if (!DecodeImage(bytes.data(), bytes.size(), golden, error)) return path + ": " + error;
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
    if (static_cast<double>(far) <= tolerance.farShare * static_cast<double>(pixels) && mean < tolerance.meanLimit)
        return "";
    std::filesystem::create_directories(actualDir);
    WriteWholeFile(actualDir + "/" + name + ".png", EncodePng(frame), error);
    return name + ": " + std::to_string(far) + " of " + std::to_string(pixels) + " pixels differ by more than 24, mean " +
           std::to_string(mean) + "; the frame is in " + actualDir;
}

}  // namespace brontal::test
