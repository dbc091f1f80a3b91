#pragma once
// Comparing a frame with a stored reference image (a PNG under tests/), with a tolerance, or
// writing the reference anew when BRONTAL_REGENERATE_GOLDEN=1.
#include <string>

#include "platform/image.h"

namespace brontal::test {

// The frame matches when at most `farShare` of its pixels differ from the reference by more
// than 24 in a channel and the mean difference stays under `meanLimit`.
struct GoldenTolerance {
    double farShare;
    double meanLimit;
};

// "" when `frame` matches the reference at `path` (or it was regenerated); otherwise why not,
// with the frame written as <actualDir>/<name>.png for a look.
std::string CompareWithGoldenFile(const std::string& path, const Image& frame, GoldenTolerance tolerance,
                                  const std::string& actualDir, const std::string& name);

}  // namespace brontal::test
