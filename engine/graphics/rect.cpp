// Colour-filled rectangles through the surface fill, and the integer box-overlap test.
#include <cstdint>
#include <cstdlib>

#include "engine/graphics/rect.h"

int fill_rect(int left, int top, int right, int bottom, int color, SURFACE_TYP* surface) {
  if (!surface) return 0;
  const RECT fill_area = {left, top, right, bottom};
  // The fill itself may refuse (a locked surface); callers ignore the result, so 1 regardless.
  plat_surface_fill(surface, &fill_area, static_cast<uint32_t>(color));
  return 1;
}

// Half the size less an eighth: the boxes are shrunk so that sprites touch before their
// transparent corners do.
static int64_t half_size(int size) { return (size >> 1) - (size >> 3); }

int rect_overlap(int x1, int y1, int width1, int height1, int x2, int y2, int width2,
                 int height2) {
  const int64_t hw1 = half_size(width1), hh1 = half_size(height1);
  const int64_t hw2 = half_size(width2), hh2 = half_size(height2);
  const int64_t dx = (x1 + hw1) - (x2 + hw2);
  const int64_t dy = (y1 + hh1) - (y2 + hh2);
  return (std::llabs(dx) < hw1 + hw2 && std::llabs(dy) < hh1 + hh2) ? 1 : 0;
}
