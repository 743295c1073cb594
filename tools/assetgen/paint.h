// Float RGB canvases with coverage and depth: everything is painted here in full colour and only
// mapped to a palette when a file is written, so shading and anti-aliased text stay smooth.
#pragma once
#include <cstdint>
#include <vector>

struct COLOR_TYP {
  float r;
  float g;
  float b;
};

struct PAINT_TYP {
  int width;
  int height;
  std::vector<COLOR_TYP> color;
  std::vector<float> cover;  // 0 = nothing painted (sprite key), 1 = ink
  std::vector<float> depth;  // larger = nearer the viewer
};

// A single-channel float picture: glyph coverage, glows, masks.
struct MASK_TYP {
  int width;
  int height;
  std::vector<float> value;
};

void paint_create(PAINT_TYP* paint, int width, int height);
void paint_fill(PAINT_TYP* paint, COLOR_TYP color);
// Blends color over the pixel with weight alpha (0..1); marks it inked.
void paint_blend(PAINT_TYP* paint, int x, int y, COLOR_TYP color, float alpha);
COLOR_TYP paint_get(const PAINT_TYP* paint, int x, int y);

void mask_create(MASK_TYP* mask, int width, int height);
float mask_get(const MASK_TYP* mask, int x, int y);
// Box blur of the given radius, repeated passes times (three passes look Gaussian).
void mask_blur(MASK_TYP* mask, int radius, int passes);
// Max of the neighbourhood within radius (a round brush): grows shapes for outlines.
void mask_dilate(MASK_TYP* mask, int radius);
// Paints color over the canvas through the mask scaled by strength.
void paint_through_mask(PAINT_TYP* paint, const MASK_TYP* mask, COLOR_TYP color, float strength);

COLOR_TYP color_rgb(int r, int g, int b);
COLOR_TYP color_mix(COLOR_TYP a, COLOR_TYP b, float t);
COLOR_TYP color_scale(COLOR_TYP a, float k);
float clamp01(float v);
