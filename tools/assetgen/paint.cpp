#include "tools/assetgen/paint.h"

#include <algorithm>
#include <cmath>

void paint_create(PAINT_TYP* paint, int width, int height) {
  paint->width = width;
  paint->height = height;
  size_t n = static_cast<size_t>(width) * height;
  paint->color.assign(n, COLOR_TYP{0, 0, 0});
  paint->cover.assign(n, 0.0f);
  paint->depth.assign(n, -1e9f);
}

void paint_fill(PAINT_TYP* paint, COLOR_TYP color) {
  std::fill(paint->color.begin(), paint->color.end(), color);
  std::fill(paint->cover.begin(), paint->cover.end(), 1.0f);
}

void paint_blend(PAINT_TYP* paint, int x, int y, COLOR_TYP color, float alpha) {
  if (x < 0 || y < 0 || x >= paint->width || y >= paint->height || alpha <= 0) return;
  alpha = std::min(alpha, 1.0f);
  size_t i = static_cast<size_t>(y) * paint->width + x;
  COLOR_TYP& c = paint->color[i];
  c = color_mix(c, color, alpha);
  paint->cover[i] = std::max(paint->cover[i], alpha);
}

COLOR_TYP paint_get(const PAINT_TYP* paint, int x, int y) {
  x = std::clamp(x, 0, paint->width - 1);
  y = std::clamp(y, 0, paint->height - 1);
  return paint->color[static_cast<size_t>(y) * paint->width + x];
}

void mask_create(MASK_TYP* mask, int width, int height) {
  mask->width = width;
  mask->height = height;
  mask->value.assign(static_cast<size_t>(width) * height, 0.0f);
}

float mask_get(const MASK_TYP* mask, int x, int y) {
  if (x < 0 || y < 0 || x >= mask->width || y >= mask->height) return 0.0f;
  return mask->value[static_cast<size_t>(y) * mask->width + x];
}

// One horizontal or vertical box pass with a running sum.
static void blur_pass(std::vector<float>& v, int w, int h, int radius, bool horizontal) {
  std::vector<float> out(v.size());
  int lines = horizontal ? h : w;
  int len = horizontal ? w : h;
  float norm = 1.0f / static_cast<float>(2 * radius + 1);
  for (int l = 0; l < lines; ++l) {
    auto at = [&](int k) -> float {
      if (k < 0 || k >= len) return 0.0f;
      return horizontal ? v[static_cast<size_t>(l) * w + k] : v[static_cast<size_t>(k) * w + l];
    };
    float sum = 0;
    for (int k = -radius; k <= radius; ++k) sum += at(k);
    for (int k = 0; k < len; ++k) {
      float r = sum * norm;
      if (horizontal) out[static_cast<size_t>(l) * w + k] = r;
      else out[static_cast<size_t>(k) * w + l] = r;
      sum += at(k + radius + 1) - at(k - radius);
    }
  }
  v.swap(out);
}

void mask_blur(MASK_TYP* mask, int radius, int passes) {
  for (int p = 0; p < passes; ++p) {
    blur_pass(mask->value, mask->width, mask->height, radius, true);
    blur_pass(mask->value, mask->width, mask->height, radius, false);
  }
}

void mask_dilate(MASK_TYP* mask, int radius) {
  std::vector<float> out(mask->value.size(), 0.0f);
  for (int y = 0; y < mask->height; ++y)
    for (int x = 0; x < mask->width; ++x) {
      float m = 0;
      for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
          if (dx * dx + dy * dy <= radius * radius + radius) m = std::max(m, mask_get(mask, x + dx, y + dy));
      out[static_cast<size_t>(y) * mask->width + x] = m;
    }
  mask->value.swap(out);
}

void paint_through_mask(PAINT_TYP* paint, const MASK_TYP* mask, COLOR_TYP color, float strength) {
  for (int y = 0; y < paint->height; ++y)
    for (int x = 0; x < paint->width; ++x) paint_blend(paint, x, y, color, mask_get(mask, x, y) * strength);
}

COLOR_TYP color_rgb(int r, int g, int b) {
  return COLOR_TYP{static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

COLOR_TYP color_mix(COLOR_TYP a, COLOR_TYP b, float t) {
  return COLOR_TYP{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

COLOR_TYP color_scale(COLOR_TYP a, float k) { return COLOR_TYP{a.r * k, a.g * k, a.b * k}; }

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
