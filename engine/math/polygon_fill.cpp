// Filled convex polygons: two edges walk down from the top vertex, one backward and one
// forward through the vertex list, with Bresenham error terms, and each row is filled between
// them. Not clipped: the caller keeps every vertex inside the buffer.
//
// Outlines that are not cleanly convex must still never write outside their own bounding box:
// a vertex that repeats the one before, or carries an edge on along the same straight line, is
// passed over (the run is walked as one edge); an edge whose end lies above the row being
// walked means the outline has turned back up, and the fill ends there; and every write is
// kept inside the box besides.
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

// The outline's screen bounding box, inclusive.
struct Box {
  int64_t min_x, max_x, min_y, max_y;
};

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
  Box box;
  Pixel* row(int64_t y) const { return pixels + static_cast<ptrdiff_t>(y) * row_pixels; }
  void plot(int64_t x, int64_t y) const {
    if (x >= box.min_x && x <= box.max_x && y >= box.min_y && y <= box.max_y) row(y)[x] = color;
  }
  void span(int64_t from, int64_t to, int64_t y) const {
    if (y < box.min_y || y > box.max_y) return;
    if (from < box.min_x) from = box.min_x;
    if (to > box.max_x) to = box.max_x;
    Pixel* line = row(y);
    for (int64_t x = from; x <= to; ++x) line[x] = color;
  }
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

Box bounds(const Outline& o) {
  Box b = {o.sx(0), o.sx(0), o.sy(0), o.sy(0)};
  for (int i = 1; i < o.poly->vertex_count; ++i) {
    const int64_t x = o.sx(i), y = o.sy(i);
    if (x < b.min_x) b.min_x = x;
    if (x > b.max_x) b.max_x = x;
    if (y < b.min_y) b.min_y = y;
    if (y > b.max_y) b.max_y = y;
  }
  return b;
}

// true when going on from v to w keeps to the line from `from` through v, the same way (or
// either step has no length), so that v is no corner of the outline.
bool runs_on(const Outline& o, int from, int v, int w) {
  const int64_t ax = o.sx(v) - o.sx(from), ay = o.sy(v) - o.sy(from);
  const int64_t bx = o.sx(w) - o.sx(v), by = o.sy(w) - o.sy(v);
  if ((ax == 0 && ay == 0) || (bx == 0 && by == 0)) return true;
  const __int128 cross = static_cast<__int128>(ax) * by - static_cast<__int128>(ay) * bx;
  const __int128 dot = static_cast<__int128>(ax) * bx + static_cast<__int128>(ay) * by;
  return cross == 0 && dot > 0;
}

// Aims the edge, leaving vertex `from`, at the next corner in its direction. Every vertex passed
// on the way counts as a change of end, up to `limit` changes in all.
void aim(Edge* e, const Outline& o, int from, int* changes, int limit) {
  int v = o.next(from, e->direction);
  for (int w = o.next(v, e->direction); *changes < limit && runs_on(o, from, v, w);
       w = o.next(v, e->direction)) {
    v = w;
    ++*changes;
  }
  e->vertex = v;
  e->end_x = o.sx(v);
  e->end_y = o.sy(v);
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
      t.plot(e->x, y);
    } else {
      e->error -= e->adx;
      break;
    }
  }
}

template <typename Pixel>
void fill(const POLY_TYP* poly, Target<Pixel> t) {
  if (!poly || poly->vertex_count <= 0 || !poly->vertices) return;
  const Outline o = {poly};
  const int n = poly->vertex_count;
  t.box = bounds(o);

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
  int changes = 0;
  aim(&left, o, top, &changes, n - 1);
  aim(&right, o, top, &changes, n - 1);
  measure(&left, row);
  measure(&right, row);

  for (;;) {
    if (left.counter == 0 || right.counter == 0) {
      if (left.counter == 0 && changes < n - 1) {
        ++changes;
        aim(&left, o, left.vertex, &changes, n - 1);
      }
      if (right.counter == 0 && changes < n - 1) {
        ++changes;
        aim(&right, o, right.vertex, &changes, n - 1);
      }
      if (changes >= n - 1) return;
      // An end above the row: the outline turns back up (it is not convex, or its top vertex
      // is not on its top row), so nothing below belongs to it.
      if (left.end_y < row || right.end_y < row) return;
      measure(&left, row);
      measure(&right, row);
      continue;
    }
    step_row(&left, t, row);
    step_row(&right, t, row);
    t.span(left.x < right.x ? left.x : right.x, left.x < right.x ? right.x : left.x, row);
    ++row;
  }
}

}  // namespace

void fill_polygon_8(const POLY_TYP* poly, uint8_t* buffer, int pitch) {
  if (!poly) return;
  const Target<uint8_t> t = {buffer, pitch, static_cast<uint8_t>(poly->color), {}};
  fill(poly, t);
}

void fill_polygon_16(const POLY_TYP* poly, uint8_t* buffer, int pitch) {
  if (!poly) return;
  const Target<uint16_t> t = {reinterpret_cast<uint16_t*>(buffer), pitch >> 1,
                              static_cast<uint16_t>(poly->color), {}};
  fill(poly, t);
}
