#include "tools/assetgen/laser_art.h"

#include <cmath>

void laser_paint(PAINT_TYP* out, bool vertical) {
  paint_create(out, LASER_SIZE, LASER_SIZE);
  for (int along = 0; along < LASER_SIZE; ++along) {
    // A hot core with a pulse running along it, red-orange edges.
    float pulse = 0.5f + 0.5f * std::sin(along * 0.55f) * std::sin(along * 0.13f + 1.0f);
    COLOR_TYP core = color_mix(color_rgb(255, 200, 60), color_rgb(255, 252, 236), pulse);
    COLOR_TYP edge_a = color_mix(color_rgb(220, 24, 8), color_rgb(255, 100, 10), pulse);
    COLOR_TYP edge_b = color_mix(color_rgb(160, 8, 4), color_rgb(235, 50, 8), 1 - pulse);
    const COLOR_TYP band[3] = {edge_a, core, edge_b};
    for (int k = 0; k < 3; ++k) {
      int across = LASER_BAND_FIRST + k;
      int x = vertical ? across : along, y = vertical ? along : across;
      paint_blend(out, x, y, band[k], 1.0f);
    }
  }
}
