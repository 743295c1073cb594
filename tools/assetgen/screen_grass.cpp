#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/prng.h"
#include "tools/assetgen/screens.h"

void screen_paint_grass(PAINT_TYP* out) {
  paint_create(out, SCREEN_WIDTH, SCREEN_HEIGHT);
  const COLOR_TYP deep = color_rgb(38, 72, 24), mid = color_rgb(78, 124, 44), light = color_rgb(128, 170, 70);
  const COLOR_TYP blue_mid = color_rgb(58, 108, 52), dirt = color_rgb(112, 88, 54);
  // Ground: large soft patches of lighter and darker turf, a cooler tint in places, bare earth
  // where the turf is worn.
  for (int y = 0; y < SCREEN_HEIGHT; ++y)
    for (int x = 0; x < SCREEN_WIDTH; ++x) {
      float n = noise_fbm(x, y, 96, 6, 11);
      float hue = noise_fbm(x, y, 160, 3, 23);
      float worn = noise_fbm(x, y, 70, 4, 37);
      COLOR_TYP c = n < 0.5f ? color_mix(deep, mid, clamp01(n * 2)) : color_mix(mid, light, clamp01(n * 2 - 1));
      c = color_mix(c, color_mix(c, blue_mid, 0.7f), clamp01((hue - 0.45f) * 3));
      float bare = clamp01((worn - 0.68f) * 6);
      c = color_mix(c, color_mix(dirt, c, 0.35f), bare * 0.85f);
      // A gentle darkening toward the edges frames the arena.
      float ex = (x - 320.0f) / 320.0f, ey = (y - 240.0f) / 240.0f;
      float v = 1.0f - 0.16f * clamp01(ex * ex + ey * ey - 0.35f);
      out->color[static_cast<size_t>(y) * SCREEN_WIDTH + x] = color_scale(c, v);
      out->cover[static_cast<size_t>(y) * SCREEN_WIDTH + x] = 1;
    }
  // Blades: short strokes leaning with the wind, dark at the root and light at the tip.
  PRNG_TYP rng;
  prng_seed(&rng, 2024);
  for (int i = 0; i < 42000; ++i) {
    float x = prng_range(&rng, -4, SCREEN_WIDTH + 4), y = prng_range(&rng, -4, SCREEN_HEIGHT + 8);
    float wind = (noise_value(x, y, 120, 5) - 0.5f) * 1.6f;
    float len = prng_range(&rng, 3, 7.5f);
    float lean = wind + prng_range(&rng, -0.35f, 0.35f);
    float shade = prng_range(&rng, -0.25f, 0.35f);
    COLOR_TYP base = paint_get(out, static_cast<int>(x), static_cast<int>(y));
    COLOR_TYP tip = color_scale(color_mix(base, color_rgb(190, 220, 110), 0.35f + shade * 0.5f), 1.0f);
    COLOR_TYP root = color_scale(base, 0.62f);
    int steps = static_cast<int>(len * 2);
    for (int s = 0; s <= steps; ++s) {
      float t = static_cast<float>(s) / steps;
      float px = x + std::sin(lean) * len * t, py = y - std::cos(lean) * len * t;
      paint_blend(out, static_cast<int>(px), static_cast<int>(py), color_mix(root, tip, t), 0.75f);
    }
  }
  // Clover and a few small flowers; pale pebbles on the worn earth.
  for (int i = 0; i < 260; ++i) {
    int x = prng_int(&rng, SCREEN_WIDTH), y = prng_int(&rng, SCREEN_HEIGHT);
    float kind = prng_unit(&rng);
    COLOR_TYP petal = kind < 0.55f ? color_rgb(240, 236, 250) : (kind < 0.85f ? color_rgb(250, 210, 60) : color_rgb(200, 120, 220));
    if (x < 230 && y < 44) continue;  // keep the heads-up lines clear
    paint_blend(out, x, y, petal, 0.9f);
    paint_blend(out, x + 1, y, petal, 0.6f);
    paint_blend(out, x, y + 1, petal, 0.6f);
    paint_blend(out, x - 1, y, petal, 0.6f);
    paint_blend(out, x, y - 1, petal, 0.6f);
    paint_blend(out, x, y, color_rgb(250, 220, 90), 0.5f);
  }
  for (int i = 0; i < 900; ++i) {
    int x = prng_int(&rng, SCREEN_WIDTH), y = prng_int(&rng, SCREEN_HEIGHT);
    if (noise_fbm(x, y, 70, 4, 37) < 0.66f) continue;
    COLOR_TYP stone = color_scale(color_rgb(170, 160, 140), prng_range(&rng, 0.7f, 1.05f));
    paint_blend(out, x, y, stone, 0.9f);
    if (prng_unit(&rng) < 0.5f) paint_blend(out, x + 1, y, stone, 0.8f);
    paint_blend(out, x, y + 1, color_scale(stone, 0.55f), 0.7f);
  }
}
