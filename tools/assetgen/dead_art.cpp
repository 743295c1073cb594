#include "tools/assetgen/dead_art.h"

#include <cmath>

#include "tools/assetgen/render3d.h"
#include "tools/assetgen/sprite_finish.h"

namespace {

const float PI = 3.14159265f;
const COLOR_TYP ROBE = {74, 44, 90};
const COLOR_TYP ROBE_DARK = {40, 22, 52};
const COLOR_TYP VOID_BLACK = {18, 10, 22};
const COLOR_TYP EYE = {255, 70, 10};
const COLOR_TYP EYE_HOT = {255, 236, 150};
const COLOR_TYP BONE = {214, 200, 170};
const COLOR_TYP ROPE = {150, 118, 74};
const COLOR_TYP SHAFT = {66, 58, 74};
const COLOR_TYP GLOW = {255, 120, 20};
const COLOR_TYP GLOW_HOT = {255, 246, 200};

// Where the beam leaves the lance, in cell pixels, per facing: the middle of the laser's band
// just outside the cell (beside it at row 23 for east and west, above or below it at column 34
// for north and south).
void lance_tip(int direction, float* x, float* y) {
  const float tips[4][2] = {{69.0f, 23.0f}, {34.0f, 3.0f}, {2.0f, 23.0f}, {34.0f, 76.0f}};  // E, N, W, S
  *x = tips[(direction / 2) & 3][0];
  *y = tips[(direction / 2) & 3][1];
}

}  // namespace

void dead_paint(PAINT_TYP* out, int direction, int frame) {
  RENDER_TYP r;
  float bob = frame == 1 ? -1.5f : (frame == 2 ? 1.0f : 0.0f);
  float sway = frame == 1 ? 1.0f : (frame == 2 ? -1.0f : 0.0f);
  bool firing = frame == 3;
  float a = direction * PI / 4;
  VEC3 fwd = vec3(std::cos(a), 0, -std::sin(a));
  VEC3 right = vec3(-fwd.z, 0, fwd.x);
  float recoil = firing ? -1.5f : 0.0f;
  render_begin(&r, DEAD_WIDTH, DEAD_HEIGHT, 3, 35.5f + recoil * fwd.x, 76.0f + bob + recoil * fwd.z * 0.4f, 22.0f);
  auto at = [&](float rr, float u, float f) {
    return vec_add(vec_mul(right, rr), vec_add(vec3(0, u, 0), vec_mul(fwd, f)));
  };

  // Robe: a tapering body with deep vertical folds and a rope belt.
  auto folds = [&](VEC3 n, COLOR_TYP* c) {
    float around = std::atan2(vec_dot(n, right), vec_dot(n, fwd));
    *c = color_scale(*c, 0.78f + 0.22f * std::sin(around * 7.0f + sway * 0.6f));
    return true;
  };
  render_capsule(&r, at(0, 11.0f, -1.0f), at(0, 50.0f, 0.5f), 13.5f, 9.0f, ROBE, folds);
  for (int i = 0; i < 16; ++i) {
    float t0 = 2 * PI * i / 16, t1 = 2 * PI * (i + 1) / 16;
    render_capsule(&r, at(11.0f * std::cos(t0), 35.0f, 11.0f * std::sin(t0) - 0.3f),
                   at(11.0f * std::cos(t1), 35.0f, 11.0f * std::sin(t1) - 0.3f), 1.0f, 1.0f, ROPE);
  }
  // Tattered hem: strips of cloth hanging below, swaying as it drifts.
  for (int i = 0; i < 12; ++i) {
    float t = 2 * PI * (i + 0.5f) / 12;
    float len = 5.5f + 3.0f * static_cast<float>((i * 7) % 5) / 4.0f;
    VEC3 top = at(12.0f * std::cos(t), 9.0f, -1.0f + 12.0f * std::sin(t));
    VEC3 tip = vec_add(top, vec_add(vec3(0, -len, 0), vec_mul(fwd, -1.5f + sway * ((i % 2) ? 1.5f : -1.0f))));
    render_capsule(&r, top, tip, 2.4f, 0.8f, (i % 3 == 0) ? ROBE_DARK : ROBE);
  }
  // Hood: open on the side it faces, dark inside, a skull within whose sockets burn.
  VEC3 hood = at(0, 64.0f, 0.5f);
  render_sphere(&r, hood, 8.6f, ROBE, [&](VEC3 n, COLOR_TYP*) { return !(vec_dot(n, fwd) > 0.45f && n.y < 0.6f); });
  render_sphere(&r, hood, 7.6f, VOID_BLACK, [&](VEC3, COLOR_TYP* c) {
    *c = VOID_BLACK;
    return true;
  });
  bool bright = firing;
  render_sphere(&r, vec_add(hood, vec_add(vec_mul(fwd, 4.6f), vec3(0, -1.2f, 0))), 4.3f, BONE, [&](VEC3 n, COLOR_TYP* c) {
    float nf = vec_dot(n, fwd), nr = vec_dot(n, right);
    float ex = (std::fabs(nr) - 0.4f) / 0.3f, ey = (n.y - 0.15f) / 0.32f;
    float e = ex * ex + ey * ey;
    if (nf > 0.1f && e < 1) *c = (e < 0.35f || bright) ? EYE_HOT : EYE;
    else *c = color_scale(*c, 0.75f);  // the face sits in the hood's shadow
    return true;
  });
  // The hood's point falls back behind the head.
  render_capsule(&r, at(0, 68.0f, -3.0f), at(0, 63.0f, -11.0f), 5.0f, 1.5f, ROBE_DARK);

  // Lance and arms, placed in the cell so the tip meets the beam.
  float tip_x, tip_y;
  lance_tip(direction, &tip_x, &tip_y);
  float sx, sy, sd;
  render_project(&r, at(0, 50.0f, 0), &sx, &sy, &sd);  // chest
  float butt_x, butt_y, lance_depth;
  switch (direction) {
    case 0: butt_x = 18.0f, butt_y = tip_y + 2.0f, lance_depth = sd + 14.0f; break;
    case 4: butt_x = 53.0f, butt_y = tip_y + 2.0f, lance_depth = sd + 14.0f; break;
    case 2: butt_x = tip_x, butt_y = 46.0f, lance_depth = sd - 14.0f; break;
    default: butt_x = tip_x, butt_y = 30.0f, lance_depth = sd + 14.0f; break;
  }
  // Lance head: the glowing crystal sits a few pixels back from the tip.
  float dx = tip_x - butt_x, dy = tip_y - butt_y, len = std::sqrt(dx * dx + dy * dy);
  float ux = dx / len, uy = dy / len;
  render_capsule_screen(&r, butt_x, butt_y, lance_depth, tip_x - ux * 5, tip_y - uy * 5, lance_depth, 1.3f, SHAFT, false);
  // Prongs around the crystal.
  render_capsule_screen(&r, tip_x - ux * 6 - uy * 2.6f, tip_y - uy * 6 + ux * 2.6f, lance_depth + 0.5f,
                        tip_x - ux * 1.5f - uy * 2.2f, tip_y - uy * 1.5f + ux * 2.2f, lance_depth + 0.5f, 0.8f, SHAFT,
                        false);
  render_capsule_screen(&r, tip_x - ux * 6 + uy * 2.6f, tip_y - uy * 6 - ux * 2.6f, lance_depth + 0.5f,
                        tip_x - ux * 1.5f + uy * 2.2f, tip_y - uy * 1.5f - ux * 2.2f, lance_depth + 0.5f, 0.8f, SHAFT,
                        false);
  float orb = firing ? 3.4f : 2.2f;
  render_capsule_screen(&r, tip_x - ux * 3, tip_y - uy * 3, lance_depth + 1, tip_x - ux * 1.0f, tip_y - uy * 1.0f,
                        lance_depth + 1, orb, GLOW, true);
  render_capsule_screen(&r, tip_x - ux * 2.5f, tip_y - uy * 2.5f, lance_depth + 2, tip_x - ux * 1.5f,
                        tip_y - uy * 1.5f, lance_depth + 2, orb * 0.5f, GLOW_HOT, true);
  if (firing) {
    // Muzzle flash: short rays around the tip.
    for (int k = 0; k < 6; ++k) {
      float t = k * PI / 3 + 0.4f;
      render_capsule_screen(&r, tip_x - ux * 2, tip_y - uy * 2, lance_depth + 3,
                            tip_x - ux * 2 + 5.5f * std::cos(t), tip_y - uy * 2 + 5.5f * std::sin(t), lance_depth + 3,
                            0.7f, GLOW_HOT, true);
    }
  }
  // Sleeves from the shoulders to two bony hands on the shaft.
  for (int side = -1; side <= 1; side += 2) {
    float px, py, pd;
    render_project(&r, at(side * 8.5f, 50.0f, 0.5f), &px, &py, &pd);
    float along = side > 0 ? 0.62f : 0.3f;
    if (direction == 2) along = side > 0 ? 0.12f : 0.22f;  // seen from behind: hands low, hidden by the robe
    if (direction == 6) along = side > 0 ? 0.06f : 0.2f;   // seen from the front: hands high on the shaft
    float hx = butt_x + dx * along, hy = butt_y + dy * along;
    if (direction == 2 || direction == 6) hx += side * 3.0f;
    float hand_depth = direction == 2 ? lance_depth + 1.0f : lance_depth + 1.5f;
    render_capsule_screen(&r, px, py, pd + 1.0f, hx, hy, hand_depth - 0.5f, 3.2f, ROBE, false);
    render_capsule_screen(&r, hx, hy, hand_depth, hx + ux * 0.8f, hy + uy * 0.8f, hand_depth, 1.7f, BONE, false);
  }
  render_end(&r, out);
  sprite_finish(out, 6, VOID_BLACK);
}
