// Row spans for the triangle rasterisers: every span is cut to the clip rectangle's columns at
// the last moment, so that no rounding of an edge, however far off its vertices lie, can write
// outside it.
#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/graphics/display.h"

namespace raster {

// Truncation toward zero of an edge position, saturated far beyond any clip rectangle so that
// the conversion is always defined. NaN (a slope of a direct call with a zero height) is
// reported through ok.
inline int64_t trunc_to_int(float v, bool* ok) {
  if (std::isnan(v)) {
    *ok = false;
    return 0;
  }
  constexpr float limit = 4.0e18f;
  if (v > limit) return static_cast<int64_t>(limit);
  if (v < -limit) return -static_cast<int64_t>(limit);
  return static_cast<int64_t>(v);
}

// Start of a row in pixels of type Pixel; pitch is in bytes.
template <typename Pixel>
Pixel* row_start(uint8_t* buffer, int pitch, int y) {
  return reinterpret_cast<Pixel*>(buffer + static_cast<ptrdiff_t>(y) *
                                               (pitch / static_cast<int>(sizeof(Pixel))) *
                                               static_cast<ptrdiff_t>(sizeof(Pixel)));
}

// Fills columns left..right of a row, cut to the clip rectangle; nothing when empty.
template <typename Pixel>
void fill_span(Pixel* row, int64_t left, int64_t right, Pixel color) {
  if (left < clip_min_x) left = clip_min_x;
  if (right > clip_max_x) right = clip_max_x;
  if (left > right) return;
  if constexpr (sizeof(Pixel) == 1) {
    memset(row + left, color, static_cast<size_t>(right - left + 1));
  } else {
    for (int64_t x = left; x <= right; ++x) row[x] = color;
  }
}

// First and last rows of an edge pair running from top to bottom, cut to the clip rectangle.
// false when none is left.
inline bool row_range(int top, int bottom, int* first, int* last) {
  *first = top < clip_min_y ? clip_min_y : top;
  *last = bottom > clip_max_y ? clip_max_y : bottom;
  return *first <= *last;
}

inline bool any_outside_columns(int x1, int x2, int x3) {
  return x1 < clip_min_x || x1 > clip_max_x || x2 < clip_min_x || x2 > clip_max_x ||
         x3 < clip_min_x || x3 > clip_max_x;
}

}  // namespace raster
