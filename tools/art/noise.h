// Integer-hashed gradient noise and its fractal sum, periodic so that pictures can tile.
#pragma once
#include <cstdint>

namespace kelvorin::art {

uint32_t Hash(int x, int y, uint32_t seed);

// Gradient noise on a lattice that repeats every periodX by periodY cells; roughly -0.7 to 0.7.
float GradientNoise(float x, float y, int periodX, int periodY, uint32_t seed);

// Fractal noise over the unit square: u and v in [0, 1) cover it once and it repeats beyond, so
// a picture sampled this way tiles seamlessly. The first octave has periodX by periodY cells.
float FractalNoise(float u, float v, int periodX, int periodY, int octaves, uint32_t seed);

}  // namespace kelvorin::art
