#include "engine/math/trig.h"

#include <cmath>

float cos_table[361];
float sin_table[361];

void build_trig_tables() {
  // The angle goes through single precision, with pi itself rounded to single precision, so
  // that every entry (360 included) comes out exactly as the game has always steered by.
  const double pi_single = static_cast<double>(3.14159265358979323846f);
  for (int i = 0; i <= 360; ++i) {
    float angle = static_cast<float>(i * pi_single / 180.0);
    cos_table[i] = static_cast<float>(std::cos(static_cast<double>(angle)));
    sin_table[i] = static_cast<float>(std::sin(static_cast<double>(angle)));
  }
}
