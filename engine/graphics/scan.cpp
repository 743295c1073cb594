// Scans a screen rectangle for colours. The rectangle is cut to the screen (not the clip
// rectangle), so a caller may ask about an area reaching past the edges.
#include <cstddef>

#include "engine/graphics/display.h"
#include "engine/graphics/scan.h"

static int clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// 0 when there is no screen to scan.
static int cut_to_screen(int* x1, int* y1, int* x2, int* y2) {
  if (screen_width <= 0 || screen_height <= 0) return 0;
  *x1 = clamp(*x1, 0, screen_width - 1);
  *x2 = clamp(*x2, 0, screen_width - 1);
  *y1 = clamp(*y1, 0, screen_height - 1);
  *y2 = clamp(*y2, 0, screen_height - 1);
  return 1;
}

int scan_colors8(int x1, int y1, int x2, int y2, uint8_t low, uint8_t high, uint8_t* memory,
                 int pitch) {
  if (!cut_to_screen(&x1, &y1, &x2, &y2)) return 0;
  for (int y = y1; y <= y2; ++y) {
    const uint8_t* row = memory + static_cast<ptrdiff_t>(y) * pitch;
    for (int x = x1; x <= x2; ++x)
      if (row[x] >= low && row[x] <= high) return 1;
  }
  return 0;
}

int scan_colors16(int x1, int y1, int x2, int y2, uint16_t color1, uint16_t color2,
                  uint8_t* memory, int pitch) {
  if (!cut_to_screen(&x1, &y1, &x2, &y2)) return 0;
  const uint16_t* pixels = reinterpret_cast<const uint16_t*>(memory);
  for (int y = y1; y <= y2; ++y) {
    const uint16_t* row = pixels + static_cast<ptrdiff_t>(y) * (pitch >> 1);
    for (int x = x1; x <= x2; ++x)
      if (row[x] == color1 || row[x] == color2) return 1;
  }
  return 0;
}
