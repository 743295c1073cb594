// Bresenham lines in locked surface memory (layout as in pixels.h).
#pragma once
#include <cstdint>

// No clipping: the caller keeps both ends inside the memory. Always 1.
int draw_line8(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch);
int draw_line16(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch);

// Lines cut to the clip rectangle first (clip_line.h), so any coordinates are safe. Always 1.
int draw_clip_line8(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch);
int draw_clip_line16(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch);
