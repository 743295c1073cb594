#include "tools/assetgen/skeleton_art.h"

#include <cmath>

#include "tools/assetgen/render3d.h"
#include "tools/assetgen/sprite_finish.h"

namespace {

const float PI = 3.14159265f;

// The figure's own axes in the world: right, up, forward.
struct BODY_TYP {
  VEC3 right;
  VEC3 forward;
  VEC3 base;  // world position of the point between the feet
  float tilt; // forward lean of the upper body (radians)
  float drop; // how far the hips sink
  float sway; // sideways shift of the upper body over the standing leg
};

VEC3 at(const BODY_TYP& b, float r, float u, float f) {
  return vec_add(b.base, vec_add(vec_mul(b.right, r), vec_add(vec3(0, u, 0), vec_mul(b.forward, f))));
}

// Upper-body point: leans forward around the hips by the body's tilt.
VEC3 upper(const BODY_TYP& b, float r, float u, float f) {
  float hip = 29.0f - b.drop;
  float du = u - 29.0f;
  float c = std::cos(b.tilt), s = std::sin(b.tilt);
  return at(b, r + b.sway, hip + du * c - f * s, f * c + du * s);
}

const COLOR_TYP BONE = {228, 216, 188};
const COLOR_TYP DARK_BONE = {150, 136, 112};
const COLOR_TYP HOLLOW = {34, 26, 30};
const COLOR_TYP STEEL = {176, 186, 206};
const COLOR_TYP HILT = {110, 72, 40};
const COLOR_TYP BLOOD = {140, 14, 14};
const COLOR_TYP SMEAR = {236, 242, 252};

// Bone tinted by wear: wounded bones go dirty and blood-spotted.
COLOR_TYP bone_color(int wound) { return color_mix(BONE, DARK_BONE, 0.16f * wound); }

struct SKULL_SHADE_TYP {
  VEC3 right;
  VEC3 forward;
  int wound;
};

// Cracks on the cranium, wider with every wound; a chunk gone at the worst.
bool shade_cranium(const SKULL_SHADE_TYP& s, VEC3 n, COLOR_TYP* c) {
  float nr = vec_dot(n, s.right), nu = n.y;
  if (s.wound >= 1) {
    float crack = std::fabs(nr + 0.25f - 0.12f * std::sin(nu * 14.0f));
    if (nu > -0.1f && crack < 0.1f + 0.04f * s.wound) *c = color_scale(*c, 0.35f);
  }
  if (s.wound >= 3 && nr < -0.3f && nu > 0.3f) return false;
  return true;
}

// Teeth: dark gaps between them on the jaw's front.
bool shade_jaw(const SKULL_SHADE_TYP& s, VEC3 n, COLOR_TYP* c) {
  float nf = vec_dot(n, s.forward), nr = vec_dot(n, s.right);
  if (nf > 0.2f) {
    float phase = nr * 5.0f - std::floor(nr * 5.0f);
    if (phase < 0.25f) *c = color_scale(*c, 0.45f);
  }
  return true;
}

void draw_skull(RENDER_TYP* r, const BODY_TYP& b, int wound, float nod) {
  SKULL_SHADE_TYP s{b.right, b.forward, wound};
  COLOR_TYP bone = bone_color(wound);
  render_sphere(r, upper(b, 0, 60.2f - nod, -1.2f + nod * 0.6f), 6.0f, bone,
                [&](VEC3 n, COLOR_TYP* c) { return shade_cranium(s, n, c); });
  float fu = 56.8f - nod, ff = 2.6f + nod;
  render_sphere(r, upper(b, 0, fu, ff), 4.6f, bone);
  // Sockets and nose hole poke out of the face, so the near eye shows even in profile.
  for (int side = -1; side <= 1; side += 2)
    render_sphere(r, upper(b, side * 2.2f, fu + 1.2f, ff + 2.4f), 1.9f, HOLLOW);
  render_sphere(r, upper(b, 0, fu - 1.2f, ff + 4.1f), 0.8f, HOLLOW);
  VEC3 jaw = upper(b, 0, fu - 4.2f, ff + 0.4f);
  render_capsule(r, vec_add(jaw, vec_mul(b.right, -2.3f)), vec_add(jaw, vec_mul(b.right, 2.3f)), 1.9f, 1.9f, bone,
                 [&](VEC3 n, COLOR_TYP* c) { return shade_jaw(s, n, c); });
}

void draw_torso(RENDER_TYP* r, const BODY_TYP& b, int wound) {
  COLOR_TYP bone = bone_color(wound);
  // The hollow inside the ribs, so gaps between ribs read as shadow.
  render_capsule(r, upper(b, 0, 39.0f, 0.5f), upper(b, 0, 44.0f, 0.5f), 5.0f, 5.6f, HOLLOW);
  // Spine and neck.
  render_capsule(r, upper(b, 0, 29.5f, -1.5f), upper(b, 0, 52.5f, -0.5f), 1.5f, 1.3f, bone);
  // Ribs: rings around the chest, a gap at the breastbone.
  const float heights[4] = {47.0f, 44.2f, 41.4f, 38.6f};
  const float half_width[4] = {7.8f, 8.4f, 8.2f, 7.0f};
  const float half_depth[4] = {5.2f, 5.8f, 5.6f, 5.0f};
  for (int k = 0; k < 4; ++k) {
    const int n = 18;
    for (int i = 0; i < n; ++i) {
      float a0 = 2 * PI * i / n, a1 = 2 * PI * (i + 1) / n;
      if (std::fabs(a0 - PI / 2) < 0.2f) continue;  // breastbone gap
      if (wound >= 2 && k >= 2 && a0 > 0.2f && a0 < 1.4f) continue;  // broken ribs
      VEC3 p0 = upper(b, half_width[k] * std::cos(a0), heights[k] - 1.2f * std::sin(a0), 0.3f + half_depth[k] * std::sin(a0));
      VEC3 p1 = upper(b, half_width[k] * std::cos(a1), heights[k] - 1.2f * std::sin(a1), 0.3f + half_depth[k] * std::sin(a1));
      render_capsule(r, p0, p1, 0.95f, 0.95f, bone);
    }
  }
  // Breastbone, collarbones and pelvis.
  render_capsule(r, upper(b, 0, 47.5f, 5.4f), upper(b, 0, 40.0f, 5.6f), 1.0f, 0.9f, bone);
  render_capsule(r, upper(b, -9.0f, 49.5f, 0), upper(b, 9.0f, 49.5f, 0), 1.2f, 1.2f, bone);
  render_capsule(r, at(b, -4.6f, 30.5f - b.drop, 0.5f), at(b, 4.6f, 30.5f - b.drop, 0.5f), 2.6f, 2.6f, bone);
  render_sphere(r, at(b, 0, 31.5f - b.drop, 1.8f), 2.4f, bone);
}

// A leg from the hip to a foot placed by the swing (radians forward) and lifted off the ground by
// lift; the knee finds its place between them, bending forward.
void draw_leg(RENDER_TYP* r, const BODY_TYP& b, float side, float swing, float lift, int wound, bool kneel) {
  COLOR_TYP bone = bone_color(wound);
  VEC3 hip = at(b, side * 4.4f, 29.0f - b.drop, 0.5f);
  VEC3 knee, ankle;
  if (kneel) {
    knee = at(b, side * 5.0f, 2.5f, 7.0f);
    ankle = at(b, side * 5.0f, 2.0f, -6.0f);
  } else {
    ankle = vec_add(hip, vec_add(vec_mul(b.forward, 24.6f * std::sin(swing) - lift * 0.4f),
                                 vec3(0, -24.6f * std::cos(swing) + lift, 0)));
    VEC3 half = vec_mul(vec_sub(ankle, hip), 0.5f);
    float bulge = std::sqrt(std::max(0.0f, 12.5f * 12.5f - vec_dot(half, half)));
    knee = vec_add(vec_add(hip, half), vec_mul(b.forward, bulge + 0.6f));
  }
  render_capsule(r, hip, knee, 1.7f, 1.4f, bone);
  render_sphere(r, knee, 1.8f, bone);
  render_capsule(r, knee, ankle, 1.4f, 1.2f, bone);
  VEC3 toe = vec_add(ankle, vec_add(vec_mul(b.forward, 4.2f), vec3(0, -1.2f, 0)));
  render_capsule(r, ankle, toe, 1.4f, 1.1f, bone);
}

struct ARM_TYP {
  VEC3 elbow;  // body-relative (r, u, f) before lean
  VEC3 hand;
};

void draw_arm(RENDER_TYP* r, const BODY_TYP& b, float side, ARM_TYP arm, int wound, int missing) {
  COLOR_TYP bone = bone_color(wound);
  VEC3 shoulder = upper(b, side * 9.5f, 49.0f, 0);
  VEC3 elbow = upper(b, arm.elbow.x, arm.elbow.y, arm.elbow.z);
  VEC3 hand = upper(b, arm.hand.x, arm.hand.y, arm.hand.z);
  render_sphere(r, shoulder, 2.1f, bone);
  if (missing >= 2) return;
  if (missing == 1) {  // a stump
    render_capsule(r, shoulder, vec_add(shoulder, vec_mul(vec_sub(elbow, shoulder), 0.5f)), 1.5f, 1.2f, bone);
    return;
  }
  render_capsule(r, shoulder, elbow, 1.5f, 1.3f, bone);
  render_capsule(r, elbow, hand, 1.3f, 1.1f, bone);
  render_sphere(r, hand, 1.9f, bone);
}

// A short sword: blade from the hand along dir (body-relative), crossguard at the hand.
void draw_sword(RENDER_TYP* r, const BODY_TYP& b, VEC3 hand_local, VEC3 dir_local, float length) {
  VEC3 hand = upper(b, hand_local.x, hand_local.y, hand_local.z);
  VEC3 d = vec_norm(vec_sub(upper(b, hand_local.x + dir_local.x, hand_local.y + dir_local.y, hand_local.z + dir_local.z), hand));
  VEC3 across = vec_norm(vec3(-d.z, 0, d.x));
  if (std::fabs(d.x) < 0.05f && std::fabs(d.z) < 0.05f) across = b.right;
  render_capsule(r, vec_add(hand, vec_mul(across, -2.6f)), vec_add(hand, vec_mul(across, 2.6f)), 0.9f, 0.9f, HILT);
  render_capsule(r, vec_add(hand, vec_mul(d, 1.0f)), vec_add(hand, vec_mul(d, length)), 1.25f, 0.55f, STEEL);
  render_capsule(r, vec_add(hand, vec_mul(d, -1.0f)), vec_add(hand, vec_mul(d, -3.2f)), 0.9f, 0.9f, HILT);
}

// The bright trail a swing leaves: a fading arc of capsules in body space.
void draw_smear(RENDER_TYP* r, const BODY_TYP& b, VEC3 center, VEC3 axis_a, VEC3 axis_b, float radius, float from,
                float to) {
  const int n = 10;
  for (int i = 0; i < n; ++i) {
    float t0 = from + (to - from) * i / n, t1 = from + (to - from) * (i + 1) / n;
    auto point = [&](float t) {
      VEC3 p = vec_add(center, vec_add(vec_mul(axis_a, radius * std::cos(t)), vec_mul(axis_b, radius * std::sin(t))));
      return upper(b, p.x, p.y, p.z);
    };
    float x0, y0, d0, x1, y1, d1;
    render_project(r, point(t0), &x0, &y0, &d0);
    render_project(r, point(t1), &x1, &y1, &d1);
    float w = 0.5f + 1.3f * static_cast<float>(i) / n;
    render_capsule_screen(r, x0, y0, d0 - 6, x1, y1, d1 - 6, w, SMEAR, true);
  }
}

}  // namespace

void skeleton_paint(PAINT_TYP* out, int direction, const SKELETON_POSE_TYP* pose) {
  RENDER_TYP r;
  render_begin(&r, SKELETON_WIDTH, SKELETON_HEIGHT, 3, 28.0f, 66.5f, 22.0f);
  float a = direction * PI / 4;
  BODY_TYP b;
  b.forward = vec3(std::cos(a), 0, -std::sin(a));
  b.right = vec3(-b.forward.z, 0, b.forward.x);
  b.base = vec3(0, 0, 0);
  b.tilt = 0;
  b.sway = 0;
  float swing = pose->stride * 0.42f;
  b.drop = 25.0f * (1 - std::cos(swing));
  int wound = pose->wound;
  bool kneel = wound >= 3;
  if (wound == 2) b.tilt = 0.12f;
  if (kneel) {
    b.drop = 12.0f;
    b.tilt = wound == 4 ? 0.42f : 0.2f;
  }
  if (pose->arms == ARMS_CHOP || pose->arms == ARMS_SWEEP) b.tilt += 0.1f;

  // The leg swinging forward is lifted; the body sways over the other one.
  b.sway = kneel ? 0.0f : 1.2f * pose->stride;
  draw_leg(&r, b, -1, swing, 4.5f * std::max(0.0f, pose->stride), wound, kneel);
  draw_leg(&r, b, 1, -swing, 4.5f * std::max(0.0f, -pose->stride), wound, kneel);
  draw_torso(&r, b, wound);
  draw_skull(&r, b, wound, wound >= 3 ? 1.5f : 0.0f);

  // Arms: the right arm (positive r) holds the sword.
  float arm_swing = swing * 1.1f;
  ARM_TYP left{vec3(-10.5f, 39.5f, -9.0f * std::sin(arm_swing)), vec3(-10.8f, 31.0f, -9.0f * std::sin(arm_swing) + 3.0f)};
  ARM_TYP right{vec3(10.5f, 39.5f, 9.0f * std::sin(arm_swing)), vec3(10.5f, 31.5f, 9.0f * std::sin(arm_swing) + 3.5f)};
  VEC3 blade_dir = vec3(0, -0.35f, 1);
  float blade_len = 13.0f;
  switch (pose->arms) {
    case ARMS_WINDUP:
      right = ARM_TYP{vec3(11.0f, 56.5f, -3.0f), vec3(9.5f, 64.0f, -4.5f)};
      blade_dir = vec3(-0.2f, 0.4f, -1);
      break;
    case ARMS_CHOP:
      right = ARM_TYP{vec3(9.0f, 46.0f, 8.0f), vec3(6.0f, 42.0f, 15.0f)};
      blade_dir = vec3(-0.15f, -0.75f, 1);
      blade_len = 15.0f;
      left = ARM_TYP{vec3(-10.5f, 40.0f, -4.0f), vec3(-10.0f, 32.0f, -6.0f)};
      break;
    case ARMS_SWEEP:
      right = ARM_TYP{vec3(7.5f, 44.5f, 9.0f), vec3(-1.0f, 43.5f, 15.0f)};
      blade_dir = vec3(-1, 0.05f, 0.55f);
      blade_len = 15.0f;
      left = ARM_TYP{vec3(-11.5f, 41.0f, -4.0f), vec3(-13.0f, 35.0f, -8.0f)};
      break;
    default:
      break;
  }
  int left_missing = wound >= 2 ? (wound >= 4 ? 2 : 1) : 0;
  int right_missing = wound >= 3 ? 1 : 0;
  if (wound >= 3) {
    right = ARM_TYP{vec3(10.0f, 38.0f, 4.0f), vec3(10.0f, 30.0f, 8.0f)};
  }
  draw_arm(&r, b, -1, left, wound, left_missing);
  draw_arm(&r, b, 1, right, wound, right_missing);
  if (wound >= 3) {
    // The sword lies dropped on the ground beside the wreck.
    render_capsule(&r, at(b, 12.0f, 1.0f, 10.0f), at(b, 20.0f, 1.0f, -2.0f), 1.1f, 0.6f, STEEL);
    render_capsule(&r, at(b, 10.5f, 1.0f, 12.0f), at(b, 13.5f, 1.0f, 8.0f), 0.9f, 0.9f, HILT);
  } else {
    draw_sword(&r, b, right.hand, blade_dir, blade_len);
  }
  if (pose->arms == ARMS_CHOP)
    draw_smear(&r, b, vec3(9.5f, 49.0f, 0), vec3(0, 1, 0), vec3(0, 0, 1), 22.0f, 0.3f, 1.35f);
  if (pose->arms == ARMS_SWEEP)
    draw_smear(&r, b, vec3(9.5f, 44.0f, 0), vec3(1, 0, 0), vec3(0, 0.05f, 1), 22.0f, -0.3f, 2.2f);

  render_end(&r, out);
  if (wound >= 1) {
    // Blood spatter on the lit bones, more with each wound.
    uint32_t h = 12345u + static_cast<uint32_t>(wound) * 77u;
    int wanted = 6 * wound * wound, placed = 0;
    for (int attempt = 0; attempt < wanted * 40 && placed < wanted; ++attempt) {
      h = h * 1103515245u + 12345u;
      int x = static_cast<int>((h >> 8) % SKELETON_WIDTH), y = static_cast<int>((h >> 18) % SKELETON_HEIGHT);
      size_t p = static_cast<size_t>(y) * SKELETON_WIDTH + x;
      if (out->cover[p] < 1 || out->color[p].r < 120) continue;
      out->color[p] = color_mix(out->color[p], BLOOD, 0.8f);
      ++placed;
    }
  }
  sprite_finish(out, 6, HOLLOW);
}
