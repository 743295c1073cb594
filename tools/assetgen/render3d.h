// A tiny depth-buffered renderer for sprite figures: spheres and tapered capsules seen from a
// camera raised above the arena, shaded, supersampled and cut down to a pixel-art cell with a
// dark outline. Small figures read better drawn from 3-D parts than by hand per facing.
#pragma once
#include <functional>
#include "tools/assetgen/paint.h"

struct VEC3 {
  float x;  // east (screen right)
  float y;  // up
  float z;  // south (toward the viewer)
};

// Shades one surface point: the unit normal in world space and the lit colour in, the final colour
// out. Returning false leaves the point unpainted (a hole, e.g. an eye socket of the far side).
using SHADER_FN = std::function<bool(VEC3 normal, COLOR_TYP* color)>;

struct RENDER_TYP {
  PAINT_TYP hi;  // supersampled canvas
  int scale;
  float elev_cos;
  float elev_sin;
  float origin_x;  // cell x of world x = 0
  float ground_y;  // cell y of world y = 0, z = 0
  COLOR_TYP outline;
};

VEC3 vec3(float x, float y, float z);
VEC3 vec_add(VEC3 a, VEC3 b);
VEC3 vec_sub(VEC3 a, VEC3 b);
VEC3 vec_mul(VEC3 a, float k);
float vec_dot(VEC3 a, VEC3 b);
VEC3 vec_norm(VEC3 a);

void render_begin(RENDER_TYP* r, int width, int height, int scale, float origin_x, float ground_y, float elevation_deg);
// Cell-pixel position and depth of a world point.
void render_project(const RENDER_TYP* r, VEC3 p, float* sx, float* sy, float* depth);
void render_sphere(RENDER_TYP* r, VEC3 center, float radius, COLOR_TYP color, const SHADER_FN& shader = nullptr);
void render_capsule(RENDER_TYP* r, VEC3 a, VEC3 b, float radius_a, float radius_b, COLOR_TYP color,
                    const SHADER_FN& shader = nullptr);
// A capsule given in cell pixels with explicit depths; glow skips the lighting (lit from within).
void render_capsule_screen(RENDER_TYP* r, float x0, float y0, float d0, float x1, float y1, float d1, float radius,
                           COLOR_TYP color, bool glow);
// Down-samples into a cell-sized painting (cover 1 where ink), draws the outline around the ink and
// darkens pixels where a nearer part overlaps a farther one.
void render_end(RENDER_TYP* r, PAINT_TYP* out);
