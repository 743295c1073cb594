#include "tools/assetgen/noise.h"

#include <cmath>

static float lattice(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

static float smooth(float t) { return t * t * (3 - 2 * t); }

float noise_value(float x, float y, float scale, uint32_t seed) {
  float fx = x / scale, fy = y / scale;
  int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  float tx = smooth(fx - ix), ty = smooth(fy - iy);
  float a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
  float c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
  float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

float noise_fbm(float x, float y, float scale, int octaves, uint32_t seed) {
  float sum = 0, weight = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += weight * noise_value(x, y, scale, seed + static_cast<uint32_t>(o) * 101u);
    total += weight;
    weight *= 0.5f;
    scale *= 0.5f;
    if (scale < 1) break;
  }
  return sum / total;
}
