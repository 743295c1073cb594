// Smooth value noise for textures (grass, skies, worn patches), deterministic per seed.
#pragma once
#include <cstdint>

// Value noise in [0, 1] at (x, y) with lattice spacing `scale` pixels.
float noise_value(float x, float y, float scale, uint32_t seed);
// Sum of octaves from `scale` down, each half the size and weight; result in [0, 1].
float noise_fbm(float x, float y, float scale, int octaves, uint32_t seed);
