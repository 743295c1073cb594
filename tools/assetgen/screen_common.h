// Pieces shared by the title, controls and game-over screens.
#pragma once
#include "tools/assetgen/paint.h"

struct TEXT_STYLE_TYP {
  const char* face;
  int size;
  COLOR_TYP top;      // fill colour at the top of the letters
  COLOR_TYP bottom;   // ... and at the baseline
  COLOR_TYP outline;
  int outline_radius; // 0: none
  COLOR_TYP glow;
  float glow_strength; // 0: none
  int shadow;          // drop-shadow offset in pixels, 0: none
};

// Draws text with its baseline at y; x < 0 centres it on the screen. 1, or 0 without the face.
int screen_text(PAINT_TYP* paint, const TEXT_STYLE_TYP* style, int x, int y, const char* text);
// Dusk sky fading to an ember glow at the horizon, with ash falling through it.
void screen_sky(PAINT_TYP* paint, int horizon, uint32_t seed);
// Black hills along the horizon with graves and a dead tree.
void screen_graveyard(PAINT_TYP* paint, int horizon, uint32_t seed);
// A parchment panel with ragged edges.
void screen_parchment(PAINT_TYP* paint, int left, int top, int right, int bottom, uint32_t seed);
// Copies a sprite painting scaled up by k with its top-left at (x, y); shade darkens it.
void screen_stamp(PAINT_TYP* paint, const PAINT_TYP* sprite, int x, int y, int k, float shade);
