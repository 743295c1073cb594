#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/prng.h"
#include "tools/assetgen/screens.h"

namespace {

// The heads-up lines sit in the top-left corner ("Health" and "Score" on row 0, "Spawn CD" on
// row 20, in black, reaching about x 200 and y 36): a pale drift of ash lies there so they read.
const float HUD_RX = 256, HUD_RY = 60;

// How far inside the ash drift a point is (negative outside): an oval around the corner with a
// ragged edge.
float hud_inside(int x, int y) {
  float d = std::sqrt((x / HUD_RX) * (x / HUD_RX) + (y / HUD_RY) * (y / HUD_RY));
  return (1 - d) * HUD_RY + 14 * (noise_fbm(x, y, 26, 3, 61) - 0.5f);
}

}  // namespace

void screen_paint_grass(PAINT_TYP* out) {
  paint_create(out, SCREEN_WIDTH, SCREEN_HEIGHT);
  // An ashen field: dim, grey-green turf, cold in places, worn to ash-grey earth; dark enough that
  // bone-white figures and the red "YOU" stand out by brightness, not hue alone. Painted in the
  // day's colours: the play-field palette shows its entries by moonlight.
  const COLOR_TYP deep = color_rgb(26, 34, 28), mid = color_rgb(50, 64, 46), light = color_rgb(84, 100, 68);
  const COLOR_TYP cold = color_rgb(50, 58, 62), dirt = color_rgb(84, 76, 66), ash = color_rgb(118, 116, 110);
  for (int y = 0; y < SCREEN_HEIGHT; ++y)
    for (int x = 0; x < SCREEN_WIDTH; ++x) {
      float n = noise_fbm(x, y, 96, 6, 11);
      float hue = noise_fbm(x, y, 160, 3, 23);
      float worn = noise_fbm(x, y, 70, 4, 37);
      float drift = noise_fbm(x, y, 120, 4, 53);
      COLOR_TYP c = n < 0.5f ? color_mix(deep, mid, clamp01(n * 2)) : color_mix(mid, light, clamp01(n * 2 - 1));
      c = color_mix(c, color_mix(c, cold, 0.7f), clamp01((hue - 0.45f) * 3));
      float bare = clamp01((worn - 0.68f) * 6);
      c = color_mix(c, color_mix(dirt, c, 0.3f), bare * 0.85f);
      // Ash settled in drifts.
      c = color_mix(c, ash, clamp01((drift - 0.58f) * 4) * 0.45f);
      // The light fails toward the edges, framing the arena.
      float ex = (x - 320.0f) / 320.0f, ey = (y - 240.0f) / 240.0f;
      float v = 1.0f - 0.3f * clamp01(ex * ex + ey * ey - 0.3f);
      out->color[static_cast<size_t>(y) * SCREEN_WIDTH + x] = color_scale(c, v);
      out->cover[static_cast<size_t>(y) * SCREEN_WIDTH + x] = 1;
    }
  // Blades: short strokes leaning with the wind, dark at the root and lighter at the tip; some
  // withered to straw.
  PRNG_TYP rng;
  prng_seed(&rng, 2024);
  for (int i = 0; i < 42000; ++i) {
    float x = prng_range(&rng, -4, SCREEN_WIDTH + 4), y = prng_range(&rng, -4, SCREEN_HEIGHT + 8);
    float wind = (noise_value(x, y, 120, 5) - 0.5f) * 1.6f;
    float len = prng_range(&rng, 3, 7.5f);
    float lean = wind + prng_range(&rng, -0.35f, 0.35f);
    float shade = prng_range(&rng, -0.25f, 0.35f);
    bool withered = prng_unit(&rng) < 0.18f;
    if (hud_inside(static_cast<int>(x), static_cast<int>(y)) > 6) continue;
    COLOR_TYP base = paint_get(out, static_cast<int>(x), static_cast<int>(y));
    COLOR_TYP tint = withered ? color_rgb(112, 100, 78) : color_rgb(116, 130, 92);
    COLOR_TYP tip = color_mix(base, tint, 0.35f + shade * 0.5f);
    COLOR_TYP root = color_scale(base, 0.62f);
    int steps = static_cast<int>(len * 2);
    for (int s = 0; s <= steps; ++s) {
      float t = static_cast<float>(s) / steps;
      float px = x + std::sin(lean) * len * t, py = y - std::cos(lean) * len * t;
      paint_blend(out, static_cast<int>(px), static_cast<int>(py), color_mix(root, tip, t), 0.75f);
    }
  }
  // The drift of ash under the heads-up lines: pale and nearly flat, fading out at its edge.
  const COLOR_TYP slab = color_rgb(168, 164, 156);
  for (int y = 0; y < HUD_RY + 12; ++y)
    for (int x = 0; x < HUD_RX + 12; ++x) {
      float inside = hud_inside(x, y);
      if (inside < 0) continue;
      COLOR_TYP c = color_scale(slab, 0.95f + 0.08f * noise_fbm(x, y, 12, 2, 67));
      paint_blend(out, x, y, c, clamp01(inside / 10 + 0.1f));
    }
  // Pale pebbles on the worn earth; here and there a dead grey flower head.
  for (int i = 0; i < 260; ++i) {
    int x = prng_int(&rng, SCREEN_WIDTH), y = prng_int(&rng, SCREEN_HEIGHT);
    if (hud_inside(x, y) > -4 || prng_unit(&rng) < 0.6f) continue;
    COLOR_TYP petal = color_rgb(150, 146, 150);
    paint_blend(out, x, y, petal, 0.6f);
    paint_blend(out, x + 1, y, petal, 0.35f);
    paint_blend(out, x, y - 1, petal, 0.35f);
  }
  for (int i = 0; i < 900; ++i) {
    int x = prng_int(&rng, SCREEN_WIDTH), y = prng_int(&rng, SCREEN_HEIGHT);
    if (noise_fbm(x, y, 70, 4, 37) < 0.66f || hud_inside(x, y) > -4) continue;
    COLOR_TYP stone = color_scale(color_rgb(130, 124, 116), prng_range(&rng, 0.7f, 1.05f));
    paint_blend(out, x, y, stone, 0.9f);
    if (prng_unit(&rng) < 0.5f) paint_blend(out, x + 1, y, stone, 0.8f);
    paint_blend(out, x, y + 1, color_scale(stone, 0.55f), 0.7f);
  }
}
