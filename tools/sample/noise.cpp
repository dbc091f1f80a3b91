#include "sample/noise.h"

#include <cmath>

namespace brontal::sample {

namespace {

float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }
float Mix(float a, float b, float t) { return a + (b - a) * t; }

std::int32_t Wrap(std::int32_t v, std::int32_t period) {
    if (period <= 0) return v;
    const std::int32_t m = v % period;
    return m < 0 ? m + period : m;
}

}  // namespace

std::uint32_t Hash(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h = (h << 17) | (h >> 15);
    h ^= static_cast<std::uint32_t>(z) * 0x27D4EB2Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float HashUnit(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
    return static_cast<float>(Hash(x, y, z, seed) >> 8) / 16777216.0f;
}

float ValueNoise2(float x, float y, std::uint32_t seed, std::int32_t period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
    const float tx = Smooth(x - fx), ty = Smooth(y - fy);
    auto at = [&](std::int32_t dx, std::int32_t dy) {
        return HashUnit(Wrap(ix + dx, period), Wrap(iy + dy, period), 0, seed);
    };
    return Mix(Mix(at(0, 0), at(1, 0), tx), Mix(at(0, 1), at(1, 1), tx), ty);
}

float ValueNoise3(float x, float y, float z, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy), iz = static_cast<std::int32_t>(fz);
    const float tx = Smooth(x - fx), ty = Smooth(y - fy), tz = Smooth(z - fz);
    auto at = [&](std::int32_t dx, std::int32_t dy, std::int32_t dz) { return HashUnit(ix + dx, iy + dy, iz + dz, seed); };
    const float z0 = Mix(Mix(at(0, 0, 0), at(1, 0, 0), tx), Mix(at(0, 1, 0), at(1, 1, 0), tx), ty);
    const float z1 = Mix(Mix(at(0, 0, 1), at(1, 0, 1), tx), Mix(at(0, 1, 1), at(1, 1, 1), tx), ty);
    return Mix(z0, z1, tz);
}

float Fractal2(float x, float y, int octaves, std::uint32_t seed, std::int32_t period) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f, scale = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        const std::int32_t p = period > 0 ? period * static_cast<std::int32_t>(scale) : 0;
        sum += weight * ValueNoise2(x * scale, y * scale, seed + static_cast<std::uint32_t>(o) * 101u, p);
        total += weight;
        weight *= 0.5f;
        scale *= 2.0f;
    }
    return sum / total;
}

float Fractal3(float x, float y, float z, int octaves, std::uint32_t seed) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f, scale = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * ValueNoise3(x * scale, y * scale, z * scale, seed + static_cast<std::uint32_t>(o) * 101u);
        total += weight;
        weight *= 0.5f;
        scale *= 2.0f;
    }
    return sum / total;
}

}  // namespace brontal::sample
