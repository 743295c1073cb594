// Text onto a surface: a 16-pixel bold sans face, no anti-aliasing, transparent background.
#pragma once
#include <cstdint>
#include "platform/surface.h"

// Draws text with its top-left at (x, y) in colour (red, green, blue), cut to the surface.
// On an 8-bit surface the colour becomes the nearest entry of the surface's palette, or of the
// display's palette when the surface has none. 1; 0 when the surface is null or locked or the
// face cannot be loaded. An empty string draws nothing and returns 1.
int plat_text_draw(SURFACE_TYP* surface, int x, int y, const char* text, uint8_t red,
                   uint8_t green, uint8_t blue);

// Finds and loads the face now rather than at the first draw; opening the display does this,
// so that a missing face is reported (once, on stderr) at start-up. 1, or 0 without a face:
// text then draws nothing.
int plat_text_prepare();

// Width in pixels the string takes, and the height of one line.
int plat_text_width(const char* text);
int plat_text_line_height();
