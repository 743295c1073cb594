// 2-D polygons: a position, a colour and a caller-owned list of vertices relative to the
// position. Filled (convex, unclipped) and outlined (clipped) in 8 and 16 bits, moved, rotated
// and scaled directly or through 3 x 2 matrices.
#pragma once
#include <cstdint>

struct VERTEX_TYP {
  float x;
  float y;
};

struct POLY_TYP {
  int32_t state;         // 0: inactive, the outline operations draw nothing
  int32_t vertex_count;
  int32_t x0;            // position of the local origin in pixels
  int32_t y0;
  int32_t reserved_1;
  int32_t reserved_2;
  int32_t color;         // low byte in 8 bits, low 16 bits in 16 bits
  VERTEX_TYP* vertices;  // vertex_count entries, owned by the caller
};

// Filled convex polygon. Not clipped: every vertex must lie inside the buffer.
void fill_polygon_8(const POLY_TYP* poly, uint8_t* buffer, int pitch);
void fill_polygon_16(const POLY_TYP* poly, uint8_t* buffer, int pitch);

// Outline of clipped lines, closed from the last vertex back to vertex 0. 0 when the polygon
// is null, inactive or has no vertices, else 1.
int draw_polygon_8(const POLY_TYP* poly, uint8_t* buffer, int pitch);
int draw_polygon_16(const POLY_TYP* poly, uint8_t* buffer, int pitch);

// 0 for a null polygon (or a missing vertex list), else 1. Angles are whole degrees; any int
// is accepted and wrapped into the tables.
int translate_polygon(POLY_TYP* poly, int dx, int dy);
int rotate_polygon(POLY_TYP* poly, int angle);
int scale_polygon(POLY_TYP* poly, float sx, float sy);
int translate_polygon_matrix(POLY_TYP* poly, int dx, int dy);
int rotate_polygon_matrix(POLY_TYP* poly, int angle);
int scale_polygon_matrix(POLY_TYP* poly, float sx, float sy);

// Bounding box of the vertices in local coordinates, always including the local origin. 0 when
// the polygon has no vertices.
int polygon_bounds(const POLY_TYP* poly, float* min_x, float* max_x, float* min_y, float* max_y);

