#pragma once
// A small RGBA canvas with float colours for painting the procedural textures.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "platform/image.h"

namespace brontal::sample {

struct Colour {
    float r, g, b;
};

inline Colour Lerp(const Colour& a, const Colour& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour Scale(const Colour& c, float s) { return {c.r * s, c.g * s, c.b * s}; }

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float SmoothStep(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

class Canvas {
public:
    explicit Canvas(std::uint32_t size) {
        image_.width = size;
        image_.height = size;
        image_.rgba.assign(std::size_t{size} * size * 4, 255);
    }
    std::uint32_t Size() const { return image_.width; }
    void Set(std::uint32_t x, std::uint32_t y, const Colour& c, float alpha = 1.0f) {
        std::uint8_t* p = &image_.rgba[(std::size_t{y} * image_.width + x) * 4];
        p[0] = ToByte(c.r);
        p[1] = ToByte(c.g);
        p[2] = ToByte(c.b);
        p[3] = ToByte(alpha);
        if (p[3] != 255) image_.hasAlpha = true;
    }
    // Fills every texel from a function of the texel centre in [0, 1) x [0, 1).
    template <typename Paint>
    void Fill(Paint paint) {
        const float n = static_cast<float>(image_.width);
        for (std::uint32_t y = 0; y < image_.height; ++y)
            for (std::uint32_t x = 0; x < image_.width; ++x)
                paint(x, y, (static_cast<float>(x) + 0.5f) / n, (static_cast<float>(y) + 0.5f) / n);
    }
    Image Take() { return std::move(image_); }

private:
    static std::uint8_t ToByte(float v) { return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0f)); }
    Image image_;
};

}  // namespace brontal::sample
