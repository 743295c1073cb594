#include "tools/assetgen/render3d.h"

#include <algorithm>
#include <cmath>

VEC3 vec3(float x, float y, float z) { return VEC3{x, y, z}; }
VEC3 vec_add(VEC3 a, VEC3 b) { return VEC3{a.x + b.x, a.y + b.y, a.z + b.z}; }
VEC3 vec_sub(VEC3 a, VEC3 b) { return VEC3{a.x - b.x, a.y - b.y, a.z - b.z}; }
VEC3 vec_mul(VEC3 a, float k) { return VEC3{a.x * k, a.y * k, a.z * k}; }
float vec_dot(VEC3 a, VEC3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
VEC3 vec_norm(VEC3 a) {
  float l = std::sqrt(vec_dot(a, a));
  return l > 0 ? vec_mul(a, 1.0f / l) : a;
}

void render_begin(RENDER_TYP* r, int width, int height, int scale, float origin_x, float ground_y, float elevation_deg) {
  paint_create(&r->hi, width * scale, height * scale);
  r->scale = scale;
  float e = elevation_deg * 3.14159265f / 180.0f;
  r->elev_cos = std::cos(e);
  r->elev_sin = std::sin(e);
  r->origin_x = origin_x;
  r->ground_y = ground_y;
  r->outline = color_rgb(16, 13, 18);
}

void render_project(const RENDER_TYP* r, VEC3 p, float* sx, float* sy, float* depth) {
  *sx = r->origin_x + p.x;
  *sy = r->ground_y - (p.y * r->elev_cos - p.z * r->elev_sin);
  *depth = p.z * r->elev_cos + p.y * r->elev_sin;
}

namespace {

// Screen-space normal (right, up, toward viewer) to world space.
VEC3 world_normal(const RENDER_TYP* r, float nx, float nup, float nv) {
  VEC3 up = vec3(0, r->elev_cos, -r->elev_sin), view = vec3(0, r->elev_sin, r->elev_cos);
  return vec_add(vec3(nx, 0, 0), vec_add(vec_mul(up, nup), vec_mul(view, nv)));
}

COLOR_TYP light(COLOR_TYP base, float nx, float nup, float nv) {
  // Light from the upper left, in front.
  const float lx = -0.45f, ly = 0.65f, lz = 0.62f;
  float lambert = std::max(0.0f, nx * lx + nup * ly + nv * lz);
  float k = 0.42f + 0.72f * lambert;
  COLOR_TYP c = color_scale(base, k);
  float shine = std::pow(std::max(0.0f, lambert), 12.0f) * 40.0f;
  return COLOR_TYP{c.r + shine, c.g + shine, c.b + shine};
}

void plot(RENDER_TYP* r, int x, int y, float depth, COLOR_TYP c) {
  PAINT_TYP& p = r->hi;
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
  size_t i = static_cast<size_t>(y) * p.width + x;
  if (depth <= p.depth[i]) return;
  p.depth[i] = depth;
  p.color[i] = c;
  p.cover[i] = 1.0f;
}

}  // namespace

void render_sphere(RENDER_TYP* r, VEC3 center, float radius, COLOR_TYP color, const SHADER_FN& shader) {
  float cx, cy, cd;
  render_project(r, center, &cx, &cy, &cd);
  float s = static_cast<float>(r->scale);
  float hx = cx * s, hy = cy * s, hr = radius * s;
  for (int y = static_cast<int>(hy - hr) - 1; y <= static_cast<int>(hy + hr) + 1; ++y)
    for (int x = static_cast<int>(hx - hr) - 1; x <= static_cast<int>(hx + hr) + 1; ++x) {
      float dx = (x + 0.5f - hx) / hr, dy = (y + 0.5f - hy) / hr;
      float d2 = dx * dx + dy * dy;
      if (d2 > 1) continue;
      float nv = std::sqrt(1 - d2);
      COLOR_TYP c = light(color, dx, -dy, nv);
      if (shader && !shader(world_normal(r, dx, -dy, nv), &c)) continue;
      plot(r, x, y, cd + nv * radius, c);
    }
}

static void capsule_hi(RENDER_TYP* r, float x0, float y0, float d0, float x1, float y1, float d1, float ra, float rb,
                       COLOR_TYP color, bool glow, const SHADER_FN& shader) {
  float s = static_cast<float>(r->scale);
  x0 *= s, y0 *= s, x1 *= s, y1 *= s;
  float hra = ra * s, hrb = rb * s, rmax = std::max(hra, hrb);
  int xa = static_cast<int>(std::min(x0, x1) - rmax) - 1, xb = static_cast<int>(std::max(x0, x1) + rmax) + 1;
  int ya = static_cast<int>(std::min(y0, y1) - rmax) - 1, yb = static_cast<int>(std::max(y0, y1) + rmax) + 1;
  float vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
  for (int y = ya; y <= yb; ++y)
    for (int x = xa; x <= xb; ++x) {
      float px = x + 0.5f - x0, py = y + 0.5f - y0;
      float t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0f, 1.0f) : 0.0f;
      float ox = px - vx * t, oy = py - vy * t;
      float rr = hra + (hrb - hra) * t;
      float dist = std::sqrt(ox * ox + oy * oy);
      if (dist > rr || rr <= 0) continue;
      float nx = ox / rr, ny = oy / rr, nv = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
      COLOR_TYP c = glow ? color : light(color, nx, -ny, nv);
      if (shader && !shader(world_normal(r, nx, -ny, nv), &c)) continue;
      plot(r, x, y, d0 + (d1 - d0) * t + nv * rr / s, c);
    }
}

void render_capsule(RENDER_TYP* r, VEC3 a, VEC3 b, float radius_a, float radius_b, COLOR_TYP color,
                    const SHADER_FN& shader) {
  float x0, y0, d0, x1, y1, d1;
  render_project(r, a, &x0, &y0, &d0);
  render_project(r, b, &x1, &y1, &d1);
  capsule_hi(r, x0, y0, d0, x1, y1, d1, radius_a, radius_b, color, false, shader);
}

void render_capsule_screen(RENDER_TYP* r, float x0, float y0, float d0, float x1, float y1, float d1, float radius,
                           COLOR_TYP color, bool glow) {
  capsule_hi(r, x0, y0, d0, x1, y1, d1, radius, radius, color, glow, nullptr);
}

void render_end(RENDER_TYP* r, PAINT_TYP* out) {
  const PAINT_TYP& hi = r->hi;
  int s = r->scale, w = hi.width / s, h = hi.height / s;
  paint_create(out, w, h);
  std::vector<float> depth(static_cast<size_t>(w) * h, -1e9f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      COLOR_TYP sum{0, 0, 0};
      int n = 0;
      float near = -1e9f, far = 1e9f;
      for (int sy = 0; sy < s; ++sy)
        for (int sx = 0; sx < s; ++sx) {
          size_t i = static_cast<size_t>(y * s + sy) * hi.width + x * s + sx;
          if (hi.cover[i] <= 0) continue;
          sum = COLOR_TYP{sum.r + hi.color[i].r, sum.g + hi.color[i].g, sum.b + hi.color[i].b};
          near = std::max(near, hi.depth[i]);
          far = std::min(far, hi.depth[i]);
          ++n;
        }
      size_t o = static_cast<size_t>(y) * w + x;
      if (n * 2 < s * s) continue;
      out->color[o] = color_scale(sum, 1.0f / n);
      out->cover[o] = 1;
      depth[o] = near;
      // Two parts meeting in one pixel at very different depths: an edge worth drawing.
      if (near - far > 2.5f) out->color[o] = color_scale(out->color[o], 0.6f);
    }
  // Farther pixels next to a clearly nearer one get darkened, so crossing limbs stay apart.
  std::vector<COLOR_TYP> shaded = out->color;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      size_t o = static_cast<size_t>(y) * w + x;
      if (out->cover[o] <= 0) continue;
      const int nb[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (auto& d : nb) {
        int nx = x + d[0], ny = y + d[1];
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        size_t q = static_cast<size_t>(ny) * w + nx;
        if (out->cover[q] > 0 && depth[q] - depth[o] > 3.0f) {
          shaded[o] = color_scale(out->color[o], 0.5f);
          break;
        }
      }
    }
  out->color = shaded;
  out->depth = depth;
  // Outline: key pixels touching ink become the outline colour.
  std::vector<float> cover = out->cover;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      size_t o = static_cast<size_t>(y) * w + x;
      if (cover[o] > 0) continue;
      bool touch = false;
      const int nb[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (auto& d : nb) {
        int nx = x + d[0], ny = y + d[1];
        if (nx >= 0 && ny >= 0 && nx < w && ny < h && cover[static_cast<size_t>(ny) * w + nx] > 0) touch = true;
      }
      if (touch) {
        out->color[o] = r->outline;
        out->cover[o] = 1;
      }
    }
}
