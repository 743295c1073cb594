// Flat-topped and flat-bottomed triangles with 16.16 fixed-point edges, 8 bits. Positions and
// slopes are held in 64 bits: a slope of a wide, short triangle no longer overflows, and
// results for on-screen triangles are those of 32-bit arithmetic.
#include <utility>

#include "engine/math/triangle.h"
#include "engine/math/span.h"

namespace {

constexpr int FIXP_SHIFT = 16;
constexpr int64_t FIXP_ROUND = 1 << (FIXP_SHIFT - 1);

struct FixedEdges {
  int64_t xs, xe;
  int64_t dx_left, dx_right;
  int top, bottom;
  bool clipped;
};

int64_t fixed(int x) { return static_cast<int64_t>(x) * (int64_t{1} << FIXP_SHIFT); }

// Truncating signed division, as the 32-bit form did.
int64_t slope(int from_x, int to_x, int64_t height) {
  return ((static_cast<int64_t>(to_x) - from_x) * (int64_t{1} << FIXP_SHIFT)) / height;
}

int64_t round_to_pixel(int64_t position) { return (position + FIXP_ROUND) >> FIXP_SHIFT; }

void walk(FixedEdges e, int color, uint8_t* buffer, int pitch) {
  int first, last;
  if (!raster::row_range(e.top, e.bottom, &first, &last)) return;
  // first <= bottom, so the rows skipped never exceed the height: the products stay within
  // the edges' horizontal extent.
  if (e.top < clip_min_y) {
    const int64_t skipped = static_cast<int64_t>(clip_min_y) - e.top;
    e.xs += e.dx_left * skipped;
    e.xe += e.dx_right * skipped;
  }
  const uint8_t value = static_cast<uint8_t>(color);
  for (int64_t y = first; y <= last; ++y) {
    uint8_t* row = raster::row_start<uint8_t>(buffer, pitch, static_cast<int>(y));
    if (e.clipped) {
      raster::fill_span(row, round_to_pixel(e.xs), round_to_pixel(e.xe), value);
    } else {
      const int64_t left = round_to_pixel(e.xs);
      const int64_t width = ((e.xe - e.xs + FIXP_ROUND) >> FIXP_SHIFT) + 1;
      raster::fill_span(row, left, left + width - 1, value);
    }
    e.xs += e.dx_left;
    e.xe += e.dx_right;
  }
}

}  // namespace

void draw_flat_top_fixed_8(int x1, int y1, int x2, int y2, int x3, int y3, int color,
                           uint8_t* buffer, int pitch) {
  if (y1 == y3 || y2 == y3) return;
  if (x2 < x1) std::swap(x1, x2);
  const int64_t height = static_cast<int64_t>(y3) - y1;
  FixedEdges e;
  e.xs = fixed(x1);
  e.xe = fixed(x2);
  e.dx_left = slope(x1, x3, height);
  e.dx_right = slope(x2, x3, height);
  e.top = y1;
  e.bottom = y3;
  e.clipped = raster::any_outside_columns(x1, x2, x3);
  walk(e, color, buffer, pitch);
}

void draw_flat_bottom_fixed_8(int x1, int y1, int x2, int y2, int x3, int y3, int color,
                              uint8_t* buffer, int pitch) {
  if (y1 == y2 || y1 == y3) return;
  if (x3 < x2) std::swap(x2, x3);
  const int64_t height = static_cast<int64_t>(y3) - y1;
  FixedEdges e;
  e.xs = fixed(x1);
  e.xe = fixed(x1);
  e.dx_left = slope(x1, x2, height);
  e.dx_right = slope(x1, x3, height);
  e.top = y1;
  e.bottom = y3;
  e.clipped = raster::any_outside_columns(x1, x2, x3);
  walk(e, color, buffer, pitch);
}
