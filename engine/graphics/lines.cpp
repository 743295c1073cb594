// Bresenham lines walked on the address, and their clipped forms.
#include <cstddef>

#include "engine/graphics/clip_line.h"
#include "engine/graphics/lines.h"

namespace {

// One walk for both depths: Pixel is the stored type, row_step the pitch in pixels.
template <typename Pixel>
void bresenham(int x0, int y0, int x1, int y1, Pixel color, Pixel* start, ptrdiff_t row_step) {
  int dx = x1 - x0;
  int dy = y1 - y0;
  const int x_inc = dx >= 0 ? 1 : -1;
  if (dx < 0) dx = -dx;
  const ptrdiff_t y_inc = dy >= 0 ? row_step : -row_step;
  if (dy < 0) dy = -dy;
  const int dx2 = dx * 2;
  const int dy2 = dy * 2;

  Pixel* p = start + static_cast<ptrdiff_t>(y0) * row_step + x0;
  if (dx > dy) {
    int error = dy2 - dx;
    for (int i = 0; i <= dx; ++i) {
      *p = color;
      if (error >= 0) {
        error -= dx2;
        p += y_inc;
      }
      error += dy2;
      p += x_inc;
    }
  } else {
    int error = dx2 - dy;
    for (int i = 0; i <= dy; ++i) {
      *p = color;
      if (error >= 0) {
        error -= dy2;
        p += x_inc;
      }
      error += dx2;
      p += y_inc;
    }
  }
}

}  // namespace

int draw_line8(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch) {
  bresenham<uint8_t>(x0, y0, x1, y1, static_cast<uint8_t>(color), memory, pitch);
  return 1;
}

int draw_line16(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch) {
  bresenham<uint16_t>(x0, y0, x1, y1, static_cast<uint16_t>(color),
                      reinterpret_cast<uint16_t*>(memory), pitch >> 1);
  return 1;
}

int draw_clip_line8(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch) {
  if (clip_line(&x0, &y0, &x1, &y1)) draw_line8(x0, y0, x1, y1, color, memory, pitch);
  return 1;
}

int draw_clip_line16(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch) {
  if (clip_line(&x0, &y0, &x1, &y1)) draw_line16(x0, y0, x1, y1, color, memory, pitch);
  return 1;
}
