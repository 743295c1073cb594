// Cuts a segment to the clip rectangle by region codes. The coordinates may be anything an int
// holds: the edge products are formed in 128 bits, so no far-off endpoint can wrap round into
// the rectangle.
#include "engine/graphics/display.h"
#include "engine/graphics/clip_line.h"

namespace {

constexpr int CODE_LEFT = 1;
constexpr int CODE_RIGHT = 2;
constexpr int CODE_BOTTOM = 4;
constexpr int CODE_TOP = 8;

int region_code(int x, int y) {
  int code = 0;
  if (y < clip_min_y)
    code |= CODE_TOP;
  else if (y > clip_max_y)
    code |= CODE_BOTTOM;
  if (x < clip_min_x)
    code |= CODE_LEFT;
  else if (x > clip_max_x)
    code |= CODE_RIGHT;
  return code;
}

// (boundary - a) * (other_b - b) / (other_a - a), truncated toward zero. The caller only asks
// when the boundary lies between a and other_a, so the quotient fits between b and other_b.
long long edge_offset(int boundary, int a, int other_a, int b, int other_b) {
  const __int128 num = static_cast<__int128>(static_cast<long long>(boundary) - a) *
                       (static_cast<long long>(other_b) - b);
  return static_cast<long long>(num / (static_cast<long long>(other_a) - a));
}

// The coordinate plus the offset, either as a plain integer sum or with the half added before
// truncation (which rounds a result just below zero up by one).
long long moved(int coordinate, long long offset, bool half) {
  if (!half) return coordinate + offset;
  return static_cast<long long>(static_cast<double>(coordinate) + 0.5 + static_cast<double>(offset));
}

bool inside(long long x, long long y) {
  return x >= clip_min_x && x <= clip_max_x && y >= clip_min_y && y <= clip_max_y;
}

// Moves (x, y) along the segment towards (ox, oy) onto the edge its code names. half: the
// rounded form, which the first endpoint always takes and the second only at corners.
void clip_end(int code, int x, int y, int ox, int oy, bool first, long long* cx, long long* cy) {
  const bool corner = code == (CODE_TOP | CODE_LEFT) || code == (CODE_TOP | CODE_RIGHT) ||
                      code == (CODE_BOTTOM | CODE_LEFT) || code == (CODE_BOTTOM | CODE_RIGHT);
  const bool half = first || corner;
  *cx = x;
  *cy = y;
  if (code == 0) return;
  if (code & (CODE_TOP | CODE_BOTTOM)) {
    const int edge_y = (code & CODE_TOP) ? clip_min_y : clip_max_y;
    *cy = edge_y;
    *cx = moved(x, edge_offset(edge_y, y, oy, x, ox), half);
    // A corner point whose cut along the horizontal edge misses the rectangle is cut along
    // the vertical edge instead.
    if (!corner || (*cx >= clip_min_x && *cx <= clip_max_x)) return;
  }
  const int edge_x = (code & CODE_LEFT) ? clip_min_x : clip_max_x;
  *cx = edge_x;
  *cy = moved(y, edge_offset(edge_x, x, ox, y, oy), half);
}

}  // namespace

int clip_line(int* x0, int* y0, int* x1, int* y1) {
  const int cxs = *x0, cys = *y0, cxe = *x1, cye = *y1;
  const int code0 = region_code(cxs, cys);
  const int code1 = region_code(cxe, cye);
  if (code0 & code1) return 0;
  if (code0 == 0 && code1 == 0) return 1;

  long long nx0, ny0, nx1, ny1;
  clip_end(code0, cxs, cys, cxe, cye, true, &nx0, &ny0);
  clip_end(code1, cxe, cye, cxs, cys, false, &nx1, &ny1);
  if (!inside(nx0, ny0) || !inside(nx1, ny1)) return 0;

  *x0 = static_cast<int>(nx0);
  *y0 = static_cast<int>(ny0);
  *x1 = static_cast<int>(nx1);
  *y1 = static_cast<int>(ny1);
  return 1;
}
