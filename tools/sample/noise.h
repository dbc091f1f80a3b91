#pragma once
// Deterministic noise for the procedural textures and the sky: integer hashing with fixed seeds,
// so every run of the generator makes the same bytes.
#include <cstdint>

namespace brontal::sample {

// A well-mixed 32-bit hash of up to three lattice coordinates and a seed.
std::uint32_t Hash(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed);
// The hash as a float in [0, 1).
float HashUnit(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed);

// Smooth value noise in [0, 1]. With a period p > 0 the 2D noise repeats every p lattice cells,
// which makes tileable textures.
float ValueNoise2(float x, float y, std::uint32_t seed, std::int32_t period = 0);
float ValueNoise3(float x, float y, float z, std::uint32_t seed);

// Sums of octaves (each twice the frequency, half the weight), normalised to [0, 1].
float Fractal2(float x, float y, int octaves, std::uint32_t seed, std::int32_t period = 0);
float Fractal3(float x, float y, float z, int octaves, std::uint32_t seed);

}  // namespace brontal::sample
