#include "tools/assetgen/palettes.h"
#include "tools/assetgen/screens.h"

void screen_quantize(const PAINT_TYP* paint, const PALETTEENTRY palette[256], float dither, PICTURE_TYP* out) {
  static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  picture_create(out, paint->width, paint->height);
  for (int y = 0; y < paint->height; ++y)
    for (int x = 0; x < paint->width; ++x) {
      float d = ((bayer[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f) * dither;
      COLOR_TYP c = paint->color[static_cast<size_t>(y) * paint->width + x];
      c = COLOR_TYP{c.r + d, c.g + d, c.b + d};
      out->pixels[static_cast<size_t>(y) * paint->width + x] = static_cast<uint8_t>(palette_nearest(palette, c, 1));
    }
}
