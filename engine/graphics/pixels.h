// Single pixels and clipped horizontal and vertical spans in locked surface memory.
//
// Memory is a start address and a pitch in bytes, as the lock operations return them. Pixel
// (x, y) of 8-bit memory is the byte at memory + y * pitch + x; of 16-bit memory the 16-bit
// value at memory + y * (pitch >> 1) * 2 + x * 2. The same layout holds for every drawing
// header of this folder (lines.h, transition.h, scan.h).
#pragma once
#include <cstdint>

// Single pixels, no clipping: the caller stays inside the memory. Always 1.
int plot_pixel8(int x, int y, int color, uint8_t* memory, int pitch);
int plot_pixel16(int x, int y, int color, uint8_t* memory, int pitch);

// Horizontal span x1..x2 of row y and vertical span y1..y2 of column x, ends in either order,
// cut to the clip rectangle (clip_min_x .. clip_max_y) whatever the coordinates.
void hline8(int x1, int x2, int y, int color, uint8_t* memory, int pitch);
void hline16(int x1, int x2, int y, int color, uint8_t* memory, int pitch);
void vline8(int y1, int y2, int x, int color, uint8_t* memory, int pitch);
void vline16(int y1, int y2, int x, int color, uint8_t* memory, int pitch);
