// Text on surfaces: the heads-up display and the final score, drawn straight onto a surface in a
// 16-pixel bold sans face with a transparent background. Refused (0) while the surface is locked.
#pragma once
#include <cstdint>

struct SURFACE_TYP;

// A colour as red | green << 8 | blue << 16.
using COLORREF = uint32_t;

constexpr COLORREF RGB(int red, int green, int blue) {
  return COLORREF(red & 0xFF) | COLORREF(green & 0xFF) << 8 | COLORREF(blue & 0xFF) << 16;
}

// Draws text with its top-left at (x, y). On an 8-bit surface the colour becomes the nearest
// palette entry. 1; 0 for a null text or surface, or when the surface cannot be drawn on (locked).
int text_draw_gdi(const char* text, int x, int y, COLORREF color, SURFACE_TYP* surface);
// The same in the colour of palette_shadow[index]; 0 for an index outside 0..255.
int text_draw_gdi_index(const char* text, int x, int y, int index, SURFACE_TYP* surface);
