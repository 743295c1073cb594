// Triangle dispatch: sort by row, reject what lies wholly outside the clip rectangle, and draw
// flat triangles directly or split the general one at its middle vertex's row.
#include <cmath>
#include <utility>

#include "engine/graphics/display.h"
#include "engine/math/triangle.h"

namespace {

using FlatFn = void (*)(int, int, int, int, int, int, int, uint8_t*, int);

// Where the long edge P1-P3 crosses row y2: the offset from x1 plus a half, truncated. The
// result lies between x1 and x3 and is held there against rounding of far-off vertices.
int split_x(int x1, int y1, int y2, int x3, int y3) {
  const double along = (static_cast<double>(y2) - y1) * (static_cast<double>(x3) - x1) /
                       (static_cast<double>(y3) - y1);
  double x = static_cast<double>(x1) + std::trunc(along + 0.5);
  const double lo = x1 < x3 ? x1 : x3;
  const double hi = x1 < x3 ? x3 : x1;
  if (x < lo) x = lo;
  if (x > hi) x = hi;
  return static_cast<int>(x);
}

void dispatch(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
              int pitch, FlatFn flat_top, FlatFn flat_bottom) {
  if ((x1 == x2 && x2 == x3) || (y1 == y2 && y2 == y3)) return;

  if (y2 < y1) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  if (y3 < y1) {
    std::swap(x1, x3);
    std::swap(y1, y3);
  }
  if (y3 < y2) {
    std::swap(x2, x3);
    std::swap(y2, y3);
  }

  if (y3 < clip_min_y || y1 > clip_max_y) return;
  if (x1 < clip_min_x && x2 < clip_min_x && x3 < clip_min_x) return;
  if (x1 > clip_max_x && x2 > clip_max_x && x3 > clip_max_x) return;

  if (y1 == y2) {
    flat_top(x1, y1, x2, y2, x3, y3, color, buffer, pitch);
  } else if (y2 == y3) {
    flat_bottom(x1, y1, x2, y2, x3, y3, color, buffer, pitch);
  } else {
    const int new_x = split_x(x1, y1, y2, x3, y3);
    flat_bottom(x1, y1, new_x, y2, x2, y2, color, buffer, pitch);
    flat_top(x2, y2, new_x, y2, x3, y3, color, buffer, pitch);
  }
}

}  // namespace

void draw_triangle_8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
                     int pitch) {
  dispatch(x1, y1, x2, y2, x3, y3, color, buffer, pitch, draw_flat_top_8, draw_flat_bottom_8);
}

void draw_triangle_16(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
                      int pitch) {
  dispatch(x1, y1, x2, y2, x3, y3, color, buffer, pitch, draw_flat_top_16, draw_flat_bottom_16);
}

void draw_triangle_fixed_8(int x1, int y1, int x2, int y2, int x3, int y3, int color,
                           uint8_t* buffer, int pitch) {
  dispatch(x1, y1, x2, y2, x3, y3, color, buffer, pitch, draw_flat_top_fixed_8,
           draw_flat_bottom_fixed_8);
}
