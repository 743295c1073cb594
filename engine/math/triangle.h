// Filled triangles into locked surface memory, cut to the clip rectangle. Vertices come in any
// order; buffer is the top-left pixel and pitch the bytes from one row to the next. The float
// forms walk their edges in single precision, the fixed forms in 16.16 fixed point.
//
// The draw_triangle_* operations sort the vertices and split the triangle at its middle vertex
// into a flat-bottom and a flat-top part. The flat operations may also be called directly:
// flat top means vertices 1 and 2 share the top row and vertex 3 lies below; flat bottom means
// vertex 1 is the apex and vertices 2 and 3 share the bottom row.
#pragma once
#include <cstdint>

void draw_triangle_8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
                     int pitch);
void draw_triangle_16(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
                      int pitch);
void draw_triangle_fixed_8(int x1, int y1, int x2, int y2, int x3, int y3, int color,
                           uint8_t* buffer, int pitch);

void draw_flat_top_8(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
                     int pitch);
void draw_flat_bottom_8(int x1, int y1, int x2, int y2, int x3, int y3, int color,
                        uint8_t* buffer, int pitch);
void draw_flat_top_16(int x1, int y1, int x2, int y2, int x3, int y3, int color, uint8_t* buffer,
                      int pitch);
void draw_flat_bottom_16(int x1, int y1, int x2, int y2, int x3, int y3, int color,
                         uint8_t* buffer, int pitch);
void draw_flat_top_fixed_8(int x1, int y1, int x2, int y2, int x3, int y3, int color,
                           uint8_t* buffer, int pitch);
void draw_flat_bottom_fixed_8(int x1, int y1, int x2, int y2, int x3, int y3, int color,
                              uint8_t* buffer, int pitch);
