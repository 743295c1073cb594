// Software drawing into locked surface memory: pixels, spans and lines clipped to the clip
// rectangle, Bresenham lines, colour-filled rectangles, whole-screen transitions, colour scans
// and a box-overlap test on integers.
//
// Memory is a start address and a pitch in bytes, as the lock operations return them. Pixel
// (x, y) of 8-bit memory is the byte at memory + y * pitch + x; of 16-bit memory the 16-bit
// value at memory + y * (pitch >> 1) * 2 + x * 2.
//
// The unclipped operations (plot_pixel*, draw_line*, the transitions' writes) trust the caller
// to stay inside the memory. Everything else keeps to clip_min_x .. clip_max_y whatever the
// coordinates.
#pragma once
#include <cstdint>

#include "platform/surface.h"

constexpr int TRANSITION_FADE_BLACK = 0;
constexpr int TRANSITION_FADE_WHITE = 1;
constexpr int TRANSITION_CLOSE_SIDES = 2;
constexpr int TRANSITION_CLOSE_TOP_BOTTOM = 3;
constexpr int TRANSITION_DISSOLVE = 4;
constexpr int TRANSITION_CLOSE_ALL = 5;
constexpr int TRANSITION_TINT_BLUE = 6;
constexpr int TRANSITION_TINT_RED = 7;
constexpr int TRANSITION_TINT_GREEN = 8;

// Single pixels, no clipping. Always 1.
int plot_pixel8(int x, int y, int color, uint8_t* memory, int pitch);
int plot_pixel16(int x, int y, int color, uint8_t* memory, int pitch);

// Horizontal span x1..x2 of row y and vertical span y1..y2 of column x, ends in either order,
// cut to the clip rectangle.
void hline8(int x1, int x2, int y, int color, uint8_t* memory, int pitch);
void hline16(int x1, int x2, int y, int color, uint8_t* memory, int pitch);
void vline8(int y1, int y2, int x, int color, uint8_t* memory, int pitch);
void vline16(int y1, int y2, int x, int color, uint8_t* memory, int pitch);

// Cuts the segment to the clip rectangle: 1 with the four values replaced by the visible part,
// or 0 with them unchanged when nothing of it is visible.
int clip_line(int* x0, int* y0, int* x1, int* y1);

// Bresenham lines, no clipping. Always 1.
int draw_line8(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch);
int draw_line16(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch);

// Lines cut to the clip rectangle first. Always 1.
int draw_clip_line8(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch);
int draw_clip_line16(int x0, int y0, int x1, int y1, int color, uint8_t* memory, int pitch);

// Fills left..right-1 x top..bottom-1 of an unlocked surface through the surface fill (cut to
// the surface and its clipper). 1, or 0 for a null surface.
int fill_rect(int left, int top, int right, int bottom, int color, SURFACE_TYP* surface);

// One of the TRANSITION_ effects on the screen memory (palette fades and tints, closing wipes,
// a random dissolve to colour 0). Blocks for the whole effect, paced by the frame clock.
void screen_transition(int effect, uint8_t* memory, int pitch);

// What step `step` (from 0) of a palette effect (fades and tints) does to the working copy of
// the palette. 1, or 0 with the palette untouched for any other effect.
int transition_palette_step(int effect, int step, PALETTEENTRY* work_palette);

// 1 when a pixel of the rectangle x1..x2 x y1..y2 (cut to the screen) holds an index in
// low..high (8 bits) or equals either colour (16 bits), else 0.
int scan_colors8(int x1, int y1, int x2, int y2, uint8_t low, uint8_t high, uint8_t* memory,
                 int pitch);
int scan_colors16(int x1, int y1, int x2, int y2, uint16_t color1, uint16_t color2,
                  uint8_t* memory, int pitch);

// 1 when the two boxes overlap by the sprites' shrunken-box rule, else 0.
int rect_overlap(int x1, int y1, int width1, int height1, int x2, int y2, int width2,
                 int height2);
