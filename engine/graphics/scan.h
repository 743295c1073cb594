// Colour scans of a screen rectangle in locked memory (layout as in pixels.h).
#pragma once
#include <cstdint>

// 1 when a pixel of the rectangle x1..x2 x y1..y2 (cut to the screen, not the clip rectangle)
// holds an index in low..high (8 bits) or equals either colour (16 bits), else 0.
int scan_colors8(int x1, int y1, int x2, int y2, uint8_t low, uint8_t high, uint8_t* memory,
                 int pitch);
int scan_colors16(int x1, int y1, int x2, int y2, uint16_t color1, uint16_t color2,
                  uint8_t* memory, int pitch);
