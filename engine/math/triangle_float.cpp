// Flat-topped and flat-bottomed triangles with single-precision edges, 8 and 16 bits.
#include <utility>

#include "engine/math/triangle.h"
#include "engine/math/span.h"

namespace {

struct FloatEdges {
  float xs, xe;              // left and right edge positions on the top row
  float dx_left, dx_right;   // their steps per row
  int top, bottom;           // first and last row of the triangle
  bool clipped;              // a vertex lies outside the clip rectangle's columns
};

// Edge step per row; a direct call with no height draws its one row and never steps.
float slope(int from_x, int to_x, float height) {
  if (height == 0.0f) return 0.0f;
  return static_cast<float>(static_cast<int64_t>(to_x) - from_x) / height;
}

float height_of(int top, int bottom) {
  return static_cast<float>(static_cast<int64_t>(bottom) - top);
}

template <typename Pixel>
void walk(FloatEdges e, int color, uint8_t* buffer, int pitch) {
  int first, last;
  if (!raster::row_range(e.top, e.bottom, &first, &last)) return;
  if (e.top < clip_min_y) {
    const float skipped = static_cast<float>(static_cast<int64_t>(clip_min_y) - e.top);
    e.xs = e.xs + e.dx_left * skipped;
    e.xe = e.xe + e.dx_right * skipped;
  }
  const Pixel value = static_cast<Pixel>(color);
  for (int64_t y = first; y <= last; ++y) {
    Pixel* row = raster::row_start<Pixel>(buffer, pitch, static_cast<int>(y));
    bool ok = true;
    if (e.clipped) {
      const int64_t left = raster::trunc_to_int(e.xs, &ok);
      const int64_t right = raster::trunc_to_int(e.xe, &ok);
      if (ok) raster::fill_span(row, left, right, value);
    } else {
      const int64_t left = raster::trunc_to_int(e.xs, &ok);
      const int64_t width = raster::trunc_to_int(e.xe - e.xs + 1, &ok);
      if (ok) raster::fill_span(row, left, left + width - 1, value);
    }
    e.xs += e.dx_left;
    e.xe += e.dx_right;
  }
}

// The right edge starts half a pixel right of the top-right vertex, so that truncation rounds
// it to the nearest pixel.
template <typename Pixel>
void flat_top(int x1, int y1, int x2, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  if (x2 < x1) std::swap(x1, x2);
  const float height = height_of(y1, y3);
  FloatEdges e;
  e.xs = static_cast<float>(x1);
  e.xe = static_cast<float>(x2) + 0.5f;
  e.dx_left = slope(x1, x3, height);
  e.dx_right = slope(x2, x3, height);
  e.top = y1;
  e.bottom = y3;
  e.clipped = raster::any_outside_columns(x1, x2, x3);
  walk<Pixel>(e, color, buffer, pitch);
}

template <typename Pixel>
void flat_bottom(int x1, int y1, int x2, int x3, int y3, int color, uint8_t* buffer, int pitch) {
  if (x3 < x2) std::swap(x2, x3);
  const float height = height_of(y1, y3);
  FloatEdges e;
  e.xs = static_cast<float>(x1);
  e.xe = static_cast<float>(x1);
  e.dx_left = slope(x1, x2, height);
  e.dx_right = slope(x1, x3, height);
  e.top = y1;
  e.bottom = y3;
  e.clipped = raster::any_outside_columns(x1, x2, x3);
  walk<Pixel>(e, color, buffer, pitch);
}

}  // namespace

void draw_flat_top_8(int x1, int y1, int x2, int, int x3, int y3, int color, uint8_t* buffer,
                     int pitch) {
  flat_top<uint8_t>(x1, y1, x2, x3, y3, color, buffer, pitch);
}

void draw_flat_bottom_8(int x1, int y1, int x2, int, int x3, int y3, int color,
                        uint8_t* buffer, int pitch) {
  flat_bottom<uint8_t>(x1, y1, x2, x3, y3, color, buffer, pitch);
}

void draw_flat_top_16(int x1, int y1, int x2, int, int x3, int y3, int color, uint8_t* buffer,
                      int pitch) {
  flat_top<uint16_t>(x1, y1, x2, x3, y3, color, buffer, pitch);
}

void draw_flat_bottom_16(int x1, int y1, int x2, int, int x3, int y3, int color,
                         uint8_t* buffer, int pitch) {
  flat_bottom<uint16_t>(x1, y1, x2, x3, y3, color, buffer, pitch);
}
