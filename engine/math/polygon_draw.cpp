// Polygon outlines from clipped lines.
#include <cmath>

#include "engine/graphics/lines.h"
#include "engine/math/polygon.h"

namespace {

using LineFn = int (*)(int, int, int, int, int, uint8_t*, int);

// Truncation of a float screen position to an int, saturated so that a far-off vertex still
// gives a defined point for the clipper to cut. false for NaN (no point at all).
bool to_point(float v, int* out) {
  if (std::isnan(v)) return false;
  if (v >= 2147483648.0f)
    *out = 2147483647;
  else if (v < -2147483648.0f)
    *out = -2147483647 - 1;
  else
    *out = static_cast<int>(v);
  return true;
}

void edge(const POLY_TYP* poly, int a, int b, LineFn line, uint8_t* buffer, int pitch) {
  const float ox = static_cast<float>(poly->x0);
  const float oy = static_cast<float>(poly->y0);
  int x1, y1, x2, y2;
  if (!to_point(ox + poly->vertices[a].x, &x1) || !to_point(oy + poly->vertices[a].y, &y1) ||
      !to_point(ox + poly->vertices[b].x, &x2) || !to_point(oy + poly->vertices[b].y, &y2))
    return;
  line(x1, y1, x2, y2, poly->color, buffer, pitch);
}

int outline(const POLY_TYP* poly, LineFn line, uint8_t* buffer, int pitch) {
  if (!poly || poly->state == 0) return 0;
  if (poly->vertex_count <= 0 || !poly->vertices) return 0;
  for (int i = 0; i < poly->vertex_count - 1; ++i) edge(poly, i, i + 1, line, buffer, pitch);
  edge(poly, 0, poly->vertex_count - 1, line, buffer, pitch);
  return 1;
}

}  // namespace

int draw_polygon_8(const POLY_TYP* poly, uint8_t* buffer, int pitch) {
  return outline(poly, draw_clip_line8, buffer, pitch);
}

int draw_polygon_16(const POLY_TYP* poly, uint8_t* buffer, int pitch) {
  return outline(poly, draw_clip_line16, buffer, pitch);
}
