// Filled convex polygons: two edges walk down from the top vertex, one backward and one
// forward through the vertex list, with Bresenham error terms, and each row is filled between
// them. Not clipped: the caller keeps every vertex inside the buffer.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/math/polygon.h"

namespace {

// Truncation of a float screen position to an int, saturated (NaN gives 0) so it is defined.
int64_t to_pixel(float v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483648.0f) return INT32_MAX;
  if (v < -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(v);
}

struct Edge {
  int vertex;       // index of the vertex the edge runs to
  int direction;    // -1 backward through the list, +1 forward
  int64_t x;        // current column
  int64_t end_x, end_y;
  int64_t error, step, adx, ady, counter;
};

template <typename Pixel>
struct Target {
  Pixel* pixels;
  ptrdiff_t row_pixels;
  Pixel color;
  Pixel* row(int64_t y) const { return pixels + static_cast<ptrdiff_t>(y) * row_pixels; }
};

struct Outline {
  const POLY_TYP* poly;
  int64_t sx(int i) const { return to_pixel(static_cast<float>(poly->x0) + poly->vertices[i].x); }
  int64_t sy(int i) const { return to_pixel(static_cast<float>(poly->y0) + poly->vertices[i].y); }
  int next(int i, int direction) const {
    i += direction;
    if (i < 0) return poly->vertex_count - 1;
    if (i >= poly->vertex_count) return 0;
    return i;
  }
};

void aim(Edge* e, const Outline& o, int vertex) {
  e->vertex = vertex;
  e->end_x = o.sx(vertex);
  e->end_y = o.sy(vertex);
}

// Distances from the edge's current place (x, row) to its end, and a fresh error term.
void measure(Edge* e, int64_t row) {
  const int64_t dx = e->end_x - e->x;
  const int64_t dy = e->end_y - row;
  e->step = dx < 0 ? -1 : 1;
  e->adx = dx < 0 ? -dx : dx;
  e->ady = dy < 0 ? -dy : dy;
  e->counter = e->ady >= e->adx ? e->ady : e->adx;
  e->error = 0;
}

// One row of an edge. A steep edge moves at most one column; a shallow one runs along the row,
// plotting as it goes, until its error term calls for the next row.
template <typename Pixel>
void step_row(Edge* e, const Target<Pixel>& t, int64_t y) {
  if (e->ady >= e->adx) {
    if (e->error + e->adx < e->ady) {
      e->error += e->adx;
    } else {
      e->x += e->step;
      e->error = e->error + e->adx - e->ady;
    }
    --e->counter;
    return;
  }
  while (e->counter > 0) {
    e->error += e->ady;
    e->x += e->step;
    --e->counter;
    if (e->error < e->adx) {
      t.row(y)[e->x] = t.color;
    } else {
      e->error -= e->adx;
      break;
    }
  }
}

template <typename Pixel>
void fill(const POLY_TYP* poly, const Target<Pixel>& t) {
  if (!poly || poly->vertex_count <= 0 || !poly->vertices) return;
  const Outline o = {poly};
  const int n = poly->vertex_count;

  // The top vertex: the first whose y is strictly above the truncated y of the one before.
  int top = 0;
  int64_t top_y = to_pixel(poly->vertices[0].y);
  for (int i = 1; i < n; ++i) {
    if (poly->vertices[i].y < static_cast<float>(top_y)) {
      top = i;
      top_y = to_pixel(poly->vertices[i].y);
    }
  }

  int64_t row = o.sy(top);
  Edge left, right;
  left.x = right.x = o.sx(top);
  left.direction = -1;
  right.direction = 1;
  aim(&left, o, o.next(top, -1));
  aim(&right, o, o.next(top, 1));
  measure(&left, row);
  measure(&right, row);

  int changes = 0;
  for (;;) {
    if (left.counter == 0 || right.counter == 0) {
      if (left.counter == 0) {
        aim(&left, o, o.next(left.vertex, left.direction));
        ++changes;
      }
      if (right.counter == 0) {
        aim(&right, o, o.next(right.vertex, right.direction));
        ++changes;
      }
      if (changes >= n - 1) return;
      measure(&left, row);
      measure(&right, row);
      continue;
    }
    step_row(&left, t, row);
    step_row(&right, t, row);
    const int64_t from = left.x < right.x ? left.x : right.x;
    const int64_t to = left.x < right.x ? right.x : left.x;
    Pixel* line = t.row(row);
    for (int64_t x = from; x <= to; ++x) line[x] = t.color;
    ++row;
  }
}

}  // namespace

void fill_polygon_8(const POLY_TYP* poly, uint8_t* buffer, int pitch) {
  if (!poly) return;
  const Target<uint8_t> t = {buffer, pitch, static_cast<uint8_t>(poly->color)};
  fill(poly, t);
}

void fill_polygon_16(const POLY_TYP* poly, uint8_t* buffer, int pitch) {
  if (!poly) return;
  const Target<uint16_t> t = {reinterpret_cast<uint16_t*>(buffer), pitch >> 1,
                              static_cast<uint16_t>(poly->color)};
  fill(poly, t);
}
