#include "tools/assetgen/screen_common.h"

#include <cmath>
#include <vector>

#include "tools/assetgen/font.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/prng.h"
#include "tools/assetgen/screens.h"

int screen_text(PAINT_TYP* paint, const TEXT_STYLE_TYP* s, int x, int y, const char* text) {
  int width = font_width(s->face, s->size, text);
  if (width <= 0 && *text) return 0;
  if (x < 0) x = (paint->width - width) / 2;
  // Work in a box around the text only: glow, outline and shadow reach this far.
  int margin = s->outline_radius + s->shadow + (s->glow_strength > 0 ? 3 * (s->size / 8 + 2) + 2 : 0) + 2;
  int left = x - margin, top = y - s->size - margin;
  MASK_TYP mask;
  mask_create(&mask, width + 2 * margin, s->size * 3 / 2 + 2 * margin);
  if (!font_draw(&mask, s->face, s->size, x - left, y - top, text)) return 0;
  auto blend = [&](const MASK_TYP* m, COLOR_TYP color, float strength) {
    for (int py = 0; py < m->height; ++py)
      for (int px = 0; px < m->width; ++px) {
        float v = m->value[static_cast<size_t>(py) * m->width + px];
        if (v > 0) paint_blend(paint, left + px, top + py, color, v * strength);
      }
  };
  if (s->glow_strength > 0) {
    MASK_TYP glow = mask;
    mask_dilate(&glow, 2);
    mask_blur(&glow, s->size / 8 + 2, 3);
    blend(&glow, s->glow, s->glow_strength);
  }
  if (s->shadow > 0) {
    MASK_TYP shadow;
    mask_create(&shadow, mask.width, mask.height);
    font_draw(&shadow, s->face, s->size, x - left + s->shadow, y - top + s->shadow, text);
    if (s->outline_radius > 0) mask_dilate(&shadow, s->outline_radius);
    blend(&shadow, color_rgb(0, 0, 0), 0.7f);
  }
  if (s->outline_radius > 0) {
    MASK_TYP outline = mask;
    mask_dilate(&outline, s->outline_radius);
    blend(&outline, s->outline, 1.0f);
  }
  float fill_top = y - s->size * 0.74f, span = s->size * 0.74f;
  for (int py = 0; py < mask.height; ++py)
    for (int px = 0; px < mask.width; ++px) {
      float m = mask.value[static_cast<size_t>(py) * mask.width + px];
      if (m <= 0) continue;
      int sy = top + py;
      paint_blend(paint, left + px, sy, color_mix(s->top, s->bottom, clamp01((sy - fill_top) / span)), m);
    }
  return 1;
}

void screen_sky(PAINT_TYP* paint, int horizon, uint32_t seed) {
  const COLOR_TYP high = color_rgb(8, 6, 16), mid = color_rgb(44, 26, 54), low = color_rgb(150, 52, 22);
  for (int y = 0; y < paint->height; ++y)
    for (int x = 0; x < paint->width; ++x) {
      float t = clamp01(static_cast<float>(y) / horizon);
      COLOR_TYP c = t < 0.6f ? color_mix(high, mid, t / 0.6f) : color_mix(mid, low, (t - 0.6f) / 0.4f);
      // Drifting smoke.
      float smoke = noise_fbm(x * 0.6f, y * 1.6f, 120, 5, seed);
      c = color_mix(c, color_rgb(70, 56, 66), clamp01((smoke - 0.5f) * 1.4f) * 0.45f);
      paint->color[static_cast<size_t>(y) * paint->width + x] = c;
      paint->cover[static_cast<size_t>(y) * paint->width + x] = 1;
    }
  PRNG_TYP rng;
  prng_seed(&rng, seed);
  for (int i = 0; i < 700; ++i) {
    float x = prng_range(&rng, 0, paint->width), y = prng_range(&rng, 0, paint->height);
    float grey = prng_range(&rng, 90, 200);
    bool ember = prng_unit(&rng) < 0.12f;
    COLOR_TYP c = ember ? color_rgb(255, 140, 40) : color_rgb(static_cast<int>(grey), static_cast<int>(grey * 0.95f), static_cast<int>(grey * 0.92f));
    float len = prng_range(&rng, 1, 3.5f);
    for (int k = 0; k <= static_cast<int>(len); ++k) paint_blend(paint, static_cast<int>(x - k * 0.5f), static_cast<int>(y + k), c, 0.55f);
  }
}

void screen_graveyard(PAINT_TYP* paint, int horizon, uint32_t seed) {
  const COLOR_TYP black = color_rgb(10, 6, 10);
  std::vector<int> ridge(paint->width);
  for (int x = 0; x < paint->width; ++x)
    ridge[x] = horizon - static_cast<int>(36 * noise_fbm(x, 0, 180, 3, seed) + 6 * noise_value(x, 0, 9, seed + 5));
  // Graves and crosses on the ridge.
  PRNG_TYP rng;
  prng_seed(&rng, seed + 1);
  for (int i = 0; i < 16; ++i) {
    int gx = prng_int(&rng, paint->width), w = 8 + prng_int(&rng, 8), h = 12 + prng_int(&rng, 14);
    bool cross = prng_unit(&rng) < 0.4f;
    for (int x = gx; x < gx + w && x < paint->width; ++x) {
      int top = ridge[gx] - h;
      if (!cross) {
        float dx = (x - gx - w / 2.0f) / (w / 2.0f);
        top += static_cast<int>(std::round(4 * dx * dx));
        for (int y = top; y < ridge[x] + 2; ++y) paint_blend(paint, x, y, black, 1);
      } else {
        bool stem = std::abs(x - gx - w / 2) <= 1;
        if (stem) for (int y = top; y < ridge[x] + 2; ++y) paint_blend(paint, x, y, black, 1);
        for (int y = top + 4; y < top + 7; ++y) paint_blend(paint, x, y, black, 1);
      }
    }
  }
  // A dead tree: recursive branches.
  struct BRANCH {
    float x, y, angle, length, width;
    int depth;
  };
  std::vector<BRANCH> todo = {{95.0f, static_cast<float>(ridge[95] + 2), -1.57f, 70, 7, 0}};
  while (!todo.empty()) {
    BRANCH b = todo.back();
    todo.pop_back();
    float ex = b.x + std::cos(b.angle) * b.length, ey = b.y + std::sin(b.angle) * b.length;
    for (int s = 0; s <= static_cast<int>(b.length); ++s) {
      float t = s / b.length, px = b.x + (ex - b.x) * t, py = b.y + (ey - b.y) * t;
      float w = b.width * (1 - 0.45f * t);
      for (int dy = -static_cast<int>(w); dy <= static_cast<int>(w); ++dy)
        for (int dx = -static_cast<int>(w); dx <= static_cast<int>(w); ++dx)
          if (dx * dx + dy * dy <= w * w / 2 + 0.5f) paint_blend(paint, static_cast<int>(px) + dx, static_cast<int>(py) + dy, black, 1);
    }
    if (b.depth < 5) {
      int n = 2 + (b.depth < 2 ? 1 : 0);
      for (int k = 0; k < n; ++k)
        todo.push_back({ex, ey, b.angle + prng_range(&rng, -0.75f, 0.75f), b.length * prng_range(&rng, 0.55f, 0.75f),
                        b.width * 0.62f, b.depth + 1});
    }
  }
  for (int x = 0; x < paint->width; ++x)
    for (int y = ridge[x]; y < paint->height; ++y) paint_blend(paint, x, y, black, 1);
}

void screen_parchment(PAINT_TYP* paint, int left, int top, int right, int bottom, uint32_t seed) {
  const COLOR_TYP paper = color_rgb(226, 212, 176), stain = color_rgb(176, 150, 108), rim = color_rgb(96, 70, 44);
  for (int y = top - 6; y < bottom + 6; ++y)
    for (int x = left - 6; x < right + 6; ++x) {
      // Ragged edge: distance inside the rectangle, disturbed by noise.
      float inside = std::min(std::min(x - left, right - 1 - x), std::min(y - top, bottom - 1 - y));
      inside += 6 * (noise_value(x, y, 7, seed) - 0.5f);
      if (inside < 0) continue;
      float grain = noise_fbm(x, y, 48, 5, seed + 3);
      COLOR_TYP c = color_mix(paper, stain, clamp01((grain - 0.45f) * 1.8f));
      c = color_mix(rim, c, clamp01(inside / 14.0f));
      paint_blend(paint, x, y, c, 1);
    }
}

void screen_stamp(PAINT_TYP* paint, const PAINT_TYP* sprite, int x, int y, int k, float shade) {
  for (int sy = 0; sy < sprite->height * k; ++sy)
    for (int sx = 0; sx < sprite->width * k; ++sx) {
      size_t i = static_cast<size_t>(sy / k) * sprite->width + sx / k;
      if (sprite->cover[i] < 0.5f) continue;
      paint_blend(paint, x + sx, y + sy, color_scale(sprite->color[i], shade), 1);
    }
}
