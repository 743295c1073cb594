#include "engine/math/trig.h"

#include <cstdint>

float cos_table[361];
float sin_table[361];

namespace {

// The cosine and sine are worked out here with additions and multiplications alone: every
// build of the game rounds those the same way, while C libraries' cos() and sin() may differ
// in the last bit, which would turn some entry and with it every heading that reads it.

// Pi / 2 in three parts: the first two have their low bits clear, so a few multiples of them are
// exact and an angle keeps its full precision when whole quarter turns are taken off it.
constexpr double HALF_PI_1 = 0x1.921fb54400000p+0;
constexpr double HALF_PI_2 = 0x1.0b4611a600000p-34;
constexpr double HALF_PI_3 = 0x1.3198a2e037073p-69;
constexpr double TWO_OVER_PI = 0x1.45f306dc9c883p-1;

// Taylor series about 0 for |r| <= pi / 4, nested: 1 - r^2 / (2 * 3) * (1 - r^2 / (4 * 5) *
// (...)). Twelve terms reach far below a double's last bit.
double sine_near_zero(double r) {
  const double r2 = r * r;
  double t = 1.0;
  for (int n = 25; n >= 3; n -= 2) t = 1.0 - r2 / (double(n) * double(n - 1)) * t;
  return r * t;
}

double cosine_near_zero(double r) {
  const double r2 = r * r;
  double t = 1.0;
  for (int n = 24; n >= 2; n -= 2) t = 1.0 - r2 / (double(n) * double(n - 1)) * t;
  return t;
}

// The cosine and sine of an angle of 0 to 2 pi.
void cosine_and_sine(double angle, double* cosine, double* sine) {
  const int quarter = static_cast<int>(angle * TWO_OVER_PI + 0.5);
  const double q = quarter;
  const double r = ((angle - q * HALF_PI_1) - q * HALF_PI_2) - q * HALF_PI_3;
  const double c = cosine_near_zero(r), s = sine_near_zero(r);
  switch (quarter & 3) {
    case 0: *cosine = c; *sine = s; break;
    case 1: *cosine = -s; *sine = c; break;
    case 2: *cosine = -c; *sine = -s; break;
    default: *cosine = s; *sine = -c; break;
  }
}

}  // namespace

void build_trig_tables() {
  // The angle goes through single precision, with pi itself rounded to single precision, so
  // that every entry (360 included) comes out exactly as the game has always steered by.
  const double pi_single = static_cast<double>(3.14159265358979323846f);
  for (int i = 0; i <= 360; ++i) {
    const float angle = static_cast<float>(i * pi_single / 180.0);
    double cosine, sine;
    cosine_and_sine(static_cast<double>(angle), &cosine, &sine);
    cos_table[i] = static_cast<float>(cosine);
    sin_table[i] = static_cast<float>(sine);
  }
}
