// Moving, turning and scaling polygons, directly and through 3 x 2 matrices, and their bounds.
#include <cmath>
#include <cstdint>

#include "engine/math/matrix.h"
#include "engine/math/polygon.h"
#include "engine/math/trig.h"

namespace {

// The table entry for an angle. -360..360 reads as it always has (a negative angle adds 360);
// angles beyond are first taken round by whole turns so no read leaves the tables.
int angle_index(int angle) {
  if (angle > 360 || angle < -360) angle %= 360;
  if (angle < 0) angle += 360;
  return angle;
}

bool has_vertices(const POLY_TYP* poly) { return poly->vertex_count <= 0 || poly->vertices; }

// The position moved by whole pixels, held at the ends of the int range.
int32_t moved(int32_t v, int d) {
  const int64_t r = static_cast<int64_t>(v) + d;
  if (r > INT32_MAX) return INT32_MAX;
  if (r < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(r);
}

// Truncation of a float position to an int, saturated (NaN gives 0) so it is always defined.
int32_t to_position(float v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483648.0f) return INT32_MAX;
  if (v < -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(v);
}

void apply(POLY_TYP* poly, const MATRIX_3X2_TYP* m) {
  for (int i = 0; i < poly->vertex_count; ++i) {
    MATRIX_1X2_TYP p0 = {{poly->vertices[i].x, poly->vertices[i].y}};
    MATRIX_1X2_TYP p1 = {{0.0f, 0.0f}};
    matrix_mul_1x2_3x2(&p0, m, &p1);
    poly->vertices[i].x = p1.M[0];
    poly->vertices[i].y = p1.M[1];
  }
}

}  // namespace

int translate_polygon(POLY_TYP* poly, int dx, int dy) {
  if (!poly) return 0;
  poly->x0 = moved(poly->x0, dx);
  poly->y0 = moved(poly->y0, dy);
  return 1;
}

int rotate_polygon(POLY_TYP* poly, int angle) {
  if (!poly || !has_vertices(poly)) return 0;
  const int index = angle_index(angle);
  const float cs = cos_table[index];
  const float sn = sin_table[index];
  for (int i = 0; i < poly->vertex_count; ++i) {
    const float x = poly->vertices[i].x;
    const float y = poly->vertices[i].y;
    poly->vertices[i].x = x * cs - y * sn;
    poly->vertices[i].y = x * sn + y * cs;
  }
  return 1;
}

int scale_polygon(POLY_TYP* poly, float sx, float sy) {
  if (!poly || !has_vertices(poly)) return 0;
  for (int i = 0; i < poly->vertex_count; ++i) {
    poly->vertices[i].x *= sx;
    poly->vertices[i].y *= sy;
  }
  return 1;
}

int translate_polygon_matrix(POLY_TYP* poly, int dx, int dy) {
  if (!poly) return 0;
  MATRIX_3X2_TYP mt;
  matrix_init_3x2(&mt, 1, 0, 0, 1, static_cast<float>(dx), static_cast<float>(dy));
  MATRIX_1X2_TYP p0 = {{static_cast<float>(poly->x0), static_cast<float>(poly->y0)}};
  MATRIX_1X2_TYP p1 = {{0.0f, 0.0f}};
  matrix_mul_1x2_3x2(&p0, &mt, &p1);
  poly->x0 = to_position(p1.M[0]);
  poly->y0 = to_position(p1.M[1]);
  return 1;
}

int rotate_polygon_matrix(POLY_TYP* poly, int angle) {
  if (!poly || !has_vertices(poly)) return 0;
  const int index = angle_index(angle);
  const float cs = cos_table[index];
  const float sn = sin_table[index];
  MATRIX_3X2_TYP mr;
  matrix_init_3x2(&mr, cs, sn, -sn, cs, 0, 0);
  apply(poly, &mr);
  return 1;
}

int scale_polygon_matrix(POLY_TYP* poly, float sx, float sy) {
  if (!poly || !has_vertices(poly)) return 0;
  MATRIX_3X2_TYP ms;
  matrix_init_3x2(&ms, sx, 0, 0, sy, 0, 0);
  apply(poly, &ms);
  return 1;
}

int polygon_bounds(const POLY_TYP* poly, float* min_x, float* max_x, float* min_y, float* max_y) {
  if (!poly || poly->vertex_count <= 0 || !poly->vertices) return 0;
  if (!min_x || !max_x || !min_y || !max_y) return 0;
  *min_x = *max_x = *min_y = *max_y = 0.0f;
  for (int i = 0; i < poly->vertex_count; ++i) {
    const float x = poly->vertices[i].x;
    const float y = poly->vertices[i].y;
    if (x < *min_x) *min_x = x;
    if (x > *max_x) *max_x = x;
    if (y < *min_y) *min_y = y;
    if (y > *max_y) *max_y = y;
  }
  return 1;
}
