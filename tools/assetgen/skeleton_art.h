// The skeleton: eight facings (0 east, then counter-clockwise in 45-degree steps), walk, strike
// and wounded frames, painted from 3-D bones.
#pragma once
#include "tools/assetgen/paint.h"

constexpr int SKELETON_WIDTH = 56;
constexpr int SKELETON_HEIGHT = 72;

// ARMS_LUNGE is the broken skeleton's strike; ARMS_FALLEN kneels with the sword dropped.
enum SKELETON_ARMS { ARMS_WALK, ARMS_WINDUP, ARMS_CHOP, ARMS_SWEEP, ARMS_LUNGE, ARMS_FALLEN };

struct SKELETON_POSE_TYP {
  float stride;  // -1..1; positive puts the left leg forward
  int arms;      // SKELETON_ARMS
  int wound;     // 0 whole, 1..4 ever more broken
};

// The skull alone, drawn into a renderer set up by the caller (the desktop icon), in the
// world's units: it sits around (0, 58.5, 1), about 14 wide and 16 high, facing direction 0..7.
struct RENDER_TYP;
void skeleton_draw_head(RENDER_TYP* r, int direction, int wound);

// Paints one cell (SKELETON_WIDTH x SKELETON_HEIGHT) of the skeleton facing direction 0..7.
void skeleton_paint(PAINT_TYP* out, int direction, const SKELETON_POSE_TYP* pose);
