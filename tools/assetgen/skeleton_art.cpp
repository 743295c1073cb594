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
  float roll; // sideways lean of the upper body toward its right (radians)
};

VEC3 at(const BODY_TYP& b, float r, float u, float f) {
  return vec_add(b.base, vec_add(vec_mul(b.right, r), vec_add(vec3(0, u, 0), vec_mul(b.forward, f))));
}

// Upper-body point: leans forward around the hips by the body's tilt and sideways by its roll.
VEC3 upper(const BODY_TYP& b, float r, float u, float f) {
  float hip = 29.0f - b.drop;
  float du = u - 29.0f;
  float c = std::cos(b.tilt), s = std::sin(b.tilt);
  float up = du * c - f * s, fwd = f * c + du * s;
  float cr = std::cos(b.roll), sr = std::sin(b.roll);
  return at(b, r * cr + up * sr + b.sway, hip + up * cr - r * sr, fwd);
}

const COLOR_TYP BONE = {228, 216, 188};
const COLOR_TYP DARK_BONE = {150, 136, 112};
const COLOR_TYP HOLLOW = {34, 26, 30};
const COLOR_TYP STEEL = {176, 186, 206};
const COLOR_TYP HILT = {110, 72, 40};
const COLOR_TYP SOOT = {58, 50, 48};
const COLOR_TYP SMEAR = {236, 242, 252};

// Bone tinted by wear: wounded bones go grey with ash and soot.
COLOR_TYP bone_color(int wound) { return color_mix(BONE, DARK_BONE, 0.16f * wound); }

struct SKULL_SHADE_TYP {
  VEC3 right;
  VEC3 forward;
  int wound;
};

// The cranium: a seam over the crown and the hollow of each temple, so it is a skull from every
// side, not a ball; wounds split it open down to the eye, and at the worst a chunk is gone.
bool shade_cranium(const SKULL_SHADE_TYP& s, VEC3 n, COLOR_TYP* c) {
  float nr = vec_dot(n, s.right), nf = vec_dot(n, s.forward), nu = n.y;
  if (nf < 0.3f && std::fabs(nr) < 0.09f && nu > -0.2f) *c = color_scale(*c, 0.55f);  // seam
  // Temples: a hollow behind each eye, dark enough to read at 1x in profile.
  if (std::fabs(nr) > 0.6f && nf > -0.05f && nf < 0.6f && nu < 0.15f && nu > -0.4f) *c = color_mix(*c, HOLLOW, 0.6f);
  if (nf < -0.2f && nu < -0.35f) *c = color_scale(*c, 0.6f);  // the skull's underside above the neck
  if (s.wound >= 1) {
    // The split: a jagged dark cleft from the crown down the left brow.
    float crack = std::fabs(nr + 0.3f - 0.1f * std::sin(nu * 16.0f));
    if (nu > 0.05f && crack < 0.05f + 0.03f * s.wound) *c = HOLLOW;
  }
  if (s.wound >= 3 && nr < -0.25f && nu > 0.35f) return false;  // a chunk knocked out
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
  // The face: from the side a hollow temple behind the eye and the line where the jaw meets it.
  render_sphere(r, upper(b, 0, fu, ff), 4.6f, bone, [&](VEC3 n, COLOR_TYP* c) {
    float nr = std::fabs(vec_dot(n, b.right)), nf = vec_dot(n, b.forward), nu = n.y;
    if (nr > 0.55f && nf < 0.35f && nu > -0.15f && nu < 0.45f) *c = color_mix(*c, HOLLOW, 0.55f);
    if (nr > 0.45f && std::fabs(nu + 0.45f) < 0.12f) *c = color_mix(*c, HOLLOW, 0.7f);
    return true;
  });
  // Sockets and nose hole poke out of the face, so the near eye shows even in profile.
  for (int side = -1; side <= 1; side += 2)
    render_sphere(r, upper(b, side * 2.2f, fu + 1.2f, ff + 2.4f), 1.9f, HOLLOW);
  render_sphere(r, upper(b, 0, fu - 1.2f, ff + 4.1f), 0.8f, HOLLOW);
  // Seen from the side or behind: the jaw's hinge rising to the cranium and the ear hole.
  for (int side = -1; side <= 1; side += 2) {
    render_capsule(r, upper(b, side * 3.4f, fu - 4.0f, ff - 0.6f), upper(b, side * 5.4f, fu + 0.6f, ff - 4.2f), 1.0f, 0.9f,
                   bone);
    render_sphere(r, upper(b, side * 5.6f, 59.0f - nod, -2.4f + nod * 0.6f), 1.3f, HOLLOW);
  }
  // The jaw hangs under the face; a skull that has lost it shows a row of upper teeth only.
  VEC3 jaw = upper(b, 0, fu - (wound >= 2 ? 3.2f : 4.2f), ff + 0.4f);
  float jaw_radius = wound >= 2 ? 1.1f : 1.9f;
  render_capsule(r, vec_add(jaw, vec_mul(b.right, -2.3f)), vec_add(jaw, vec_mul(b.right, 2.3f)), jaw_radius, jaw_radius,
                 bone, [&](VEC3 n, COLOR_TYP* c) { return shade_jaw(s, n, c); });
}

// Ribs stove in: the figure's left front first (angles past the breastbone), then more each wound.
bool rib_broken(int wound, int k, float a) {
  bool left_front = a > PI / 2 + 0.2f && a < PI + 0.3f, right_front = a > 0.3f && a < PI / 2 - 0.2f;
  switch (wound) {
    case 0: return false;
    case 1: return k == 3 && left_front;
    case 2: return k >= 2 && left_front;
    case 3: return (k >= 1 && left_front) || (k == 3 && right_front);
    default: return (k >= 1 && (left_front || a > PI)) || (k >= 2 && right_front);
  }
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
      if (rib_broken(wound, k, a0)) continue;
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

enum LEG_MODE { LEG_STEP, LEG_KNEEL, LEG_DRAG, LEG_BRACE };

// A leg from the hip to a foot placed by the swing (radians forward) and lifted off the ground by
// lift; the knee finds its place between them, bending forward. A kneeling leg folds under the
// hips; a dragged one buckles inward at the knee, its foot trailing splayed out on the ground.
void draw_leg(RENDER_TYP* r, const BODY_TYP& b, float side, float swing, float lift, int wound, LEG_MODE mode) {
  COLOR_TYP bone = bone_color(wound);
  VEC3 hip = at(b, side * 4.4f, 29.0f - b.drop, 0.5f);
  VEC3 knee, ankle, toe_dir = b.forward;
  if (mode == LEG_KNEEL) {
    knee = at(b, side * 5.0f, 2.5f, 7.0f);
    ankle = at(b, side * 5.0f, 2.0f, -6.0f);
  } else if (mode == LEG_DRAG) {
    knee = at(b, side * 1.5f, 13.5f - b.drop * 0.3f, 1.5f);
    ankle = at(b, side * 10.0f, 1.5f, -6.0f);
    toe_dir = vec_norm(vec_add(vec_mul(b.right, side), vec_mul(b.forward, -0.2f)));
  } else if (mode == LEG_BRACE) {
    // The lunge's front leg: planted wide and ahead, the knee bent out over the foot.
    ankle = at(b, side * 12.0f, 1.0f, 7.0f);
    knee = at(b, side * 11.0f, 14.0f - b.drop * 0.4f, 6.5f);
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
  VEC3 toe = vec_add(ankle, vec_add(vec_mul(toe_dir, 4.2f), vec3(0, -1.2f, 0)));
  render_capsule(r, ankle, toe, 1.4f, 1.1f, bone);
}

struct ARM_TYP {
  VEC3 elbow;  // body-relative (r, u, f) before lean
  VEC3 hand;
};

// missing: 0 whole, 1 forearm gone (broken at the elbow), 2 a stump of upper arm, 3 torn off.
void draw_arm(RENDER_TYP* r, const BODY_TYP& b, float side, ARM_TYP arm, int wound, int missing) {
  COLOR_TYP bone = bone_color(wound);
  VEC3 shoulder = upper(b, side * 9.5f, 49.0f, 0);
  VEC3 elbow = upper(b, arm.elbow.x, arm.elbow.y, arm.elbow.z);
  VEC3 hand = upper(b, arm.hand.x, arm.hand.y, arm.hand.z);
  render_sphere(r, shoulder, 2.1f, bone);
  if (missing >= 3) return;
  if (missing == 2) {
    render_capsule(r, shoulder, vec_add(shoulder, vec_mul(vec_sub(elbow, shoulder), 0.45f)), 1.5f, 1.1f, bone);
    return;
  }
  render_capsule(r, shoulder, elbow, 1.5f, 1.3f, bone);
  if (missing == 1) {
    // A jagged splinter where the forearm snapped off.
    render_capsule(r, elbow, vec_add(elbow, vec_mul(vec_sub(hand, elbow), 0.3f)), 1.3f, 0.5f, bone);
    return;
  }
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

// The bright trail a swing leaves: a curve through three body-space points (a quadratic
// Bezier), thin where the swing began and broad where the blade is now.
void draw_smear(RENDER_TYP* r, const BODY_TYP& b, VEC3 from, VEC3 via, VEC3 to, float width) {
  const int n = 14;
  auto point = [&](float t) {
    float u = 1 - t;
    VEC3 p = vec_add(vec_mul(from, u * u), vec_add(vec_mul(via, 2 * u * t), vec_mul(to, t * t)));
    return upper(b, p.x, p.y, p.z);
  };
  for (int i = 0; i < n; ++i) {
    float x0, y0, d0, x1, y1, d1;
    render_project(r, point(static_cast<float>(i) / n), &x0, &y0, &d0);
    render_project(r, point(static_cast<float>(i + 1) / n), &x1, &y1, &d1);
    float w = width * (0.3f + 0.7f * static_cast<float>(i + 1) / n);
    render_capsule_screen(r, x0, y0, d0 + 2, x1, y1, d1 + 2, w, SMEAR, true);
  }
}

// The player's sweep: a flat arc around the body from the right to the far left.
void draw_sweep_smear(RENDER_TYP* r, const BODY_TYP& b) {
  const int n = 10;
  const float radius = 22.0f, from = -0.3f, to = 2.2f;
  for (int i = 0; i < n; ++i) {
    float t0 = from + (to - from) * i / n, t1 = from + (to - from) * (i + 1) / n;
    auto point = [&](float t) { return upper(b, 9.5f + radius * std::cos(t), 44.0f + 0.05f * radius * std::sin(t), radius * std::sin(t)); };
    float x0, y0, d0, x1, y1, d1;
    render_project(r, point(t0), &x0, &y0, &d0);
    render_project(r, point(t1), &x1, &y1, &d1);
    float w = 0.5f + 1.3f * static_cast<float>(i) / n;
    render_capsule_screen(r, x0, y0, d0 - 6, x1, y1, d1 - 6, w, SMEAR, true);
  }
}

// Soot and grime on the lit bones of a wounded skeleton, more with each wound.
void dirty(PAINT_TYP* out, int wound) {
  uint32_t h = 12345u + static_cast<uint32_t>(wound) * 77u;
  int wanted = 3 * wound * wound, placed = 0;
  for (int attempt = 0; attempt < wanted * 40 && placed < wanted; ++attempt) {
    h = h * 1103515245u + 12345u;
    int x = static_cast<int>((h >> 8) % SKELETON_WIDTH), y = static_cast<int>((h >> 18) % SKELETON_HEIGHT);
    size_t p = static_cast<size_t>(y) * SKELETON_WIDTH + x;
    if (out->cover[p] < 1 || out->color[p].r < 120) continue;
    out->color[p] = color_mix(out->color[p], SOOT, 0.55f);
    ++placed;
  }
}

// Standing upright at the origin, facing direction 0..7.
BODY_TYP body_facing(int direction) {
  float a = direction * PI / 4;
  BODY_TYP b;
  b.forward = vec3(std::cos(a), 0, -std::sin(a));
  b.right = vec3(-b.forward.z, 0, b.forward.x);
  b.base = vec3(0, 0, 0);
  b.tilt = 0;
  b.drop = 0;
  b.sway = 0;
  b.roll = 0;
  return b;
}

}  // namespace

void skeleton_draw_head(RENDER_TYP* r, int direction, int wound) {
  draw_skull(r, body_facing(direction), wound, 0.0f);
}

void skeleton_paint(PAINT_TYP* out, int direction, const SKELETON_POSE_TYP* pose) {
  RENDER_TYP r;
  render_begin(&r, SKELETON_WIDTH, SKELETON_HEIGHT, 3, 28.0f, 66.5f, 22.0f);
  BODY_TYP b = body_facing(direction);
  float swing = pose->stride * 0.42f;
  b.drop = 25.0f * (1 - std::cos(swing));
  int wound = pose->wound;
  bool fallen = pose->arms == ARMS_FALLEN, lunge = pose->arms == ARMS_LUNGE;
  // How the wounds bend the figure: a slump, then a list toward the good leg as the other drags.
  LEG_MODE left_leg = LEG_STEP, right_leg = LEG_STEP;
  if (wound == 1) b.tilt = 0.06f;
  if (wound == 2) b.tilt = 0.16f, b.roll = 0.1f;
  if (wound >= 3) {
    left_leg = LEG_DRAG;
    b.drop = 3.5f;
    b.tilt = 0.26f;
    b.roll = 0.16f;
    swing = 0.12f;
  }
  if (lunge) {
    b.drop = 6.0f;
    b.tilt = 0.5f;
    b.roll = 0.1f;
    swing = 0.45f;
  }
  if (fallen) {
    left_leg = right_leg = LEG_KNEEL;
    b.drop = 12.0f;
    b.tilt = 0.42f;
    b.roll = 0;
  }
  if (pose->arms == ARMS_CHOP || pose->arms == ARMS_SWEEP) b.tilt += 0.1f;

  // The leg swinging forward is lifted; the body sways over the other one.
  b.sway = left_leg == LEG_STEP ? 1.2f * pose->stride : 1.5f;
  if (fallen) b.sway = 0;
  draw_leg(&r, b, -1, swing, 4.5f * std::max(0.0f, pose->stride), wound, left_leg);
  if (lunge) right_leg = LEG_BRACE;
  draw_leg(&r, b, 1, wound >= 3 ? swing : -swing, 4.5f * std::max(0.0f, -pose->stride), wound, right_leg);
  draw_torso(&r, b, wound);
  draw_skull(&r, b, wound, fallen ? 1.5f : (wound >= 3 ? 0.8f : 0.0f));

  // Arms: the right arm (positive r) holds the sword. Walking, the blade points down, forward and
  // out, so it shows beside the figure from behind as well as from the front.
  float arm_swing = swing * 1.1f;
  // The chop's side in body terms (r in x, forward in z): along the screen's x axis, toward the
  // front or the sword side.
  float screen_side = b.forward.x + 0.5f * b.right.x >= 0 ? 1.0f : -1.0f;
  VEC3 chop_side = vec3(screen_side * b.right.x, 0, screen_side * b.forward.x);
  ARM_TYP left{vec3(-10.5f, 39.5f, -9.0f * std::sin(arm_swing)), vec3(-10.8f, 31.0f, -9.0f * std::sin(arm_swing) + 3.0f)};
  ARM_TYP right{vec3(10.5f, 39.5f, 9.0f * std::sin(arm_swing)), vec3(11.5f, 31.5f, 9.0f * std::sin(arm_swing) + 3.5f)};
  VEC3 blade_dir = vec3(0.9f, -0.55f, 0.4f);
  float blade_len = 13.0f;
  switch (pose->arms) {
    case ARMS_WINDUP:
      right = ARM_TYP{vec3(11.0f, 56.5f, -3.0f), vec3(9.5f, 64.0f, -4.5f)};
      blade_dir = vec3(-0.2f, 0.4f, -1);
      break;
    case ARMS_CHOP: {
      // The blow has come down past the body: arm out, blade low, the trail arcing from high on
      // one side out wide to the blade's tip. The arc swings toward the side the viewer sees
      // broadest (the sword side from front and back, ahead in profile), so from every facing
      // it lies outside the figure and clear of the skull.
      right = ARM_TYP{vec3(9.5f + 7 * chop_side.x + 2, 46.0f, 7 * chop_side.z + 2),
                      vec3(3 + 9 * chop_side.x, 38.0f, 5 + 9 * chop_side.z)};
      blade_dir = vec_add(vec_mul(chop_side, 0.6f), vec3(0, -0.8f, 0.2f));
      blade_len = 15.0f;
      left = ARM_TYP{vec3(-10.5f, 40.0f, -4.0f), vec3(-10.0f, 32.0f, -6.0f)};
      break;
    }
    case ARMS_SWEEP:
      right = ARM_TYP{vec3(7.5f, 44.5f, 9.0f), vec3(-1.0f, 43.5f, 15.0f)};
      blade_dir = vec3(-1, 0.05f, 0.55f);
      blade_len = 15.0f;
      left = ARM_TYP{vec3(-11.5f, 41.0f, -4.0f), vec3(-13.0f, 35.0f, -8.0f)};
      break;
    case ARMS_LUNGE:
      // Thrust low across the front, the trail cutting down from the sword side to the far one.
      right = ARM_TYP{vec3(10.0f, 42.0f, 9.0f), vec3(2.0f, 38.0f, 18.0f)};
      blade_dir = vec3(-1, -0.5f, 0.2f);
      blade_len = 15.0f;
      break;
    default:
      // Walking away from the viewer the body would hide a lowered blade: it is carried up and
      // out at the ready instead, showing beside the ribs.
      if (wound == 0 && b.forward.z < -0.5f) blade_dir = vec3(1.0f, 0.8f, -0.35f);
      if (wound >= 2) {
        // The sword arm hangs; the blade drags, its tip near the ground beside the feet.
        right = ARM_TYP{vec3(11.0f, 38.0f, 2.0f), vec3(12.0f, 30.0f, 4.0f)};
        blade_dir = wound >= 3 ? vec3(0.55f, -1.0f, 0.35f) : vec3(0.5f, -0.8f, 0.7f);
        blade_len = 14.0f;
      }
      break;
  }
  int left_missing = wound >= 3 ? 3 : wound;
  draw_arm(&r, b, -1, left, wound, left_missing);
  draw_arm(&r, b, 1, right, wound, fallen ? 2 : 0);
  if (fallen) {
    // The sword lies dropped on the ground beside the wreck.
    render_capsule(&r, at(b, 12.0f, 1.0f, 10.0f), at(b, 20.0f, 1.0f, -2.0f), 1.1f, 0.6f, STEEL);
    render_capsule(&r, at(b, 10.5f, 1.0f, 12.0f), at(b, 13.5f, 1.0f, 8.0f), 0.9f, 0.9f, HILT);
  } else {
    draw_sword(&r, b, right.hand, blade_dir, blade_len);
  }
  VEC3 tip = vec_add(right.hand, vec_mul(vec_norm(blade_dir), blade_len));
  if (pose->arms == ARMS_CHOP)
    draw_smear(&r, b, vec3(12 * chop_side.x, 64.0f, 12 * chop_side.z), vec3(20 * chop_side.x, 50.0f, 20 * chop_side.z),
               tip, 2.3f);
  if (pose->arms == ARMS_LUNGE) draw_smear(&r, b, vec3(17.0f, 60.0f, 8.0f), vec3(4.0f, 44.0f, 30.0f), tip, 2.3f);
  if (pose->arms == ARMS_SWEEP) draw_sweep_smear(&r, b);

  render_end(&r, out);
  if (wound >= 1) dirty(out, wound);
  sprite_finish(out, 6, HOLLOW);
}
