// Distance approximations by shifts: the larger component plus a fixed share of the smaller.
// Components are taken in 64 bits, so the extremes of the input range neither overflow nor
// lose their sign.
#include "engine/math/fast_distance.h"

#include <climits>
#include <cmath>
#include <cstdint>

int fast_distance_2d(int dx, int dy) {
  int64_t x = dx < 0 ? -static_cast<int64_t>(dx) : dx;
  int64_t y = dy < 0 ? -static_cast<int64_t>(dy) : dy;
  const int64_t m = x < y ? x : y;
  const int64_t d = x + y - (m >> 1) - (m >> 2) + (m >> 4);
  return d > INT_MAX ? INT_MAX : static_cast<int>(d);
}

// |v| in 1/1024 steps, truncated; saturated far above any sum below, NaN counted as 0.
static int64_t scaled(float v) {
  const double s = std::fabs(static_cast<double>(v)) * 1024.0;
  if (!(s == s)) return 0;
  constexpr double limit = 1.0e18;
  return s > limit ? static_cast<int64_t>(limit) : static_cast<int64_t>(s);
}

float fast_distance_3d(float dx, float dy, float dz) {
  int64_t a = scaled(dx), b = scaled(dy), c = scaled(dz);
  int64_t t;
  if (b < a) { t = a; a = b; b = t; }
  if (c < b) { t = b; b = c; c = t; }
  if (b < a) { t = a; a = b; b = t; }
  return static_cast<float>((c + 11 * (b >> 5) + (a >> 2)) >> 10);
}
