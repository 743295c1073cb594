// Single pixels and clipped horizontal and vertical spans.
#include <cstddef>
#include <cstring>

#include "engine/graphics/display.h"
#include "engine/graphics/pixels.h"

int plot_pixel8(int x, int y, int color, uint8_t* memory, int pitch) {
  memory[static_cast<ptrdiff_t>(y) * pitch + x] = static_cast<uint8_t>(color);
  return 1;
}

int plot_pixel16(int x, int y, int color, uint8_t* memory, int pitch) {
  uint16_t* pixels = reinterpret_cast<uint16_t*>(memory);
  pixels[static_cast<ptrdiff_t>(y) * (pitch >> 1) + x] = static_cast<uint16_t>(color);
  return 1;
}

// Cuts the span lo..hi (either order) to min..max; 0 when nothing is left, which includes an
// inverted clip range (min above max).
static int cut_span(int* lo, int* hi, int min, int max) {
  if (*lo > *hi) {
    int t = *lo;
    *lo = *hi;
    *hi = t;
  }
  if (min > max || *lo > max || *hi < min) return 0;
  if (*lo < min) *lo = min;
  if (*hi > max) *hi = max;
  return 1;
}

void hline8(int x1, int x2, int y, int color, uint8_t* memory, int pitch) {
  if (y > clip_max_y || y < clip_min_y) return;
  if (!cut_span(&x1, &x2, clip_min_x, clip_max_x)) return;
  memset(memory + static_cast<ptrdiff_t>(y) * pitch + x1, static_cast<uint8_t>(color),
         static_cast<size_t>(static_cast<int64_t>(x2) - x1 + 1));
}

void hline16(int x1, int x2, int y, int color, uint8_t* memory, int pitch) {
  if (y > clip_max_y || y < clip_min_y) return;
  if (!cut_span(&x1, &x2, clip_min_x, clip_max_x)) return;
  uint16_t* row = reinterpret_cast<uint16_t*>(memory) + static_cast<ptrdiff_t>(y) * (pitch >> 1);
  const uint16_t value = static_cast<uint16_t>(color);
  for (int x = x1; x <= x2; ++x) row[x] = value;
}

void vline8(int y1, int y2, int x, int color, uint8_t* memory, int pitch) {
  if (x > clip_max_x || x < clip_min_x) return;
  if (!cut_span(&y1, &y2, clip_min_y, clip_max_y)) return;
  uint8_t* p = memory + static_cast<ptrdiff_t>(y1) * pitch + x;
  for (int y = y1; y <= y2; ++y, p += pitch) *p = static_cast<uint8_t>(color);
}

void vline16(int y1, int y2, int x, int color, uint8_t* memory, int pitch) {
  if (x > clip_max_x || x < clip_min_x) return;
  if (!cut_span(&y1, &y2, clip_min_y, clip_max_y)) return;
  const ptrdiff_t step = pitch >> 1;
  uint16_t* p = reinterpret_cast<uint16_t*>(memory) + y1 * step + x;
  for (int y = y1; y <= y2; ++y, p += step) *p = static_cast<uint16_t>(color);
}
