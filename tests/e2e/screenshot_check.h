#pragma once
// Looking at screenshots: pixel regions and the comparison with a stored reference.
//
// References live in tests/e2e/golden/<name>.png. After a deliberate change in what the game
// draws, regenerate them with
//     BRONTAL_REGENERATE_GOLDEN=1 ctest --test-dir <build> -R E2eGameRun
// and look at every changed PNG before committing it. A failing comparison writes the frame to
// <build>/golden_actual/<name>.png.
#include <cstdint>
#include <string>

#include "platform/image.h"

namespace brontal::e2e {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

bool LoadPng(const std::string& path, Image& out, std::string& error);
// Mean colour of the pixels [x0, x1) x [y0, y1), clipped to the image.
Rgb MeanColour(const Image& image, std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1);
// Pixels of the region whose three channels are all at least `floor` (white text) ...
int CountBright(const Image& image, std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1, int floor);
// ... and the share of the whole image whose channels are all at most `ceiling`.
double DarkShare(const Image& image, int ceiling);

// At most 0.5 % of the pixels may differ by more than 24 in a channel and the mean difference
// must stay under 2. Returns "" on success, else why not.
std::string CompareWithGolden(const std::string& name, const Image& frame);

}  // namespace brontal::e2e
