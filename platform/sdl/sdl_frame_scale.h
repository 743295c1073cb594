// The three ways the frame is scaled up to a target larger than the mode (the player's choice,
// plat_display_set_scale):
//   SCALE_NEAREST  as large as fits, each target pixel the frame pixel under its centre; at a
//                  broken factor some frame pixels come out one target pixel wide, others two;
//   SCALE_SHARP    the frame blown up by the largest whole factor that fits (every pixel a k x k
//                  block), that picture then filtered linearly to the size that fits: every pixel
//                  keeps the same width and only its edges are blended; at a whole factor it is
//                  exactly nearest;
//   SCALE_INTEGER  whole factors only, centred, with wider bars.
// Pure code, no SDL calls, like the conversion it builds on.
#pragma once
#include "platform/display.h"
#include "platform/sdl/sdl_frame.h"

// The largest whole k with k * width <= target_width and k * height <= target_height; 0 when
// the frame is larger than the target.
int sdl_frame_whole_factor(int width, int height, int target_width, int target_height);

// Where the picture goes in the target for a scale: SCALE_INTEGER takes the whole-factor size,
// centred (the fitted view when the frame is larger than the target); the others fit as large
// as the shape allows (sdl_frame_fit).
FRAME_VIEW_TYP sdl_frame_fit_scaled(int scale, int width, int height, int target_width,
                                    int target_height);

// One target pixel of the sharp path along one axis: frame pixel `from`, blended with frame pixel
// from + 1 by weight / 256 (weight 0: from alone, and from + 1 is not read).
struct FRAME_TAP_TYP {
  int from;
  int weight;
};

// The taps of view_size target pixels showing size frame pixels: the frame blown up `factor`
// (>= 1) times by repeating pixels, then sampled linearly at the centres of the target pixels.
// taps holds view_size entries.
void sdl_frame_sharp_taps(int size, int view_size, int factor, FRAME_TAP_TYP* taps);

// Draws the whole target as sdl_frame_draw does (view and black bars), scaled the given way.
void sdl_frame_draw_scaled(int scale, const uint8_t* pixels, int pitch, int width, int height,
                           const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                           int target_width, int target_height);
// The same for target rows first .. end - 1 alone; the other rows are left as they are.
void sdl_frame_draw_scaled_rows(int scale, const uint8_t* pixels, int pitch, int width, int height,
                                const FRAME_COLOURS_TYP& colours, uint8_t* target,
                                int target_pitch, int target_width, int target_height, int first,
                                int end);
// The same for the rectangle of target rows first .. end - 1 and columns left .. right - 1
// alone: every pixel in it as the whole draw makes it, none outside it written.
void sdl_frame_draw_scaled_rect(int scale, const uint8_t* pixels, int pitch, int width, int height,
                                const FRAME_COLOURS_TYP& colours, uint8_t* target,
                                int target_pitch, int target_width, int target_height, int first,
                                int end, int left, int right);

// The frame rows each of the target_height target rows is drawn from under a scale: low[y] ..
// high[y] (the blended neighbour included), -1 for both where row y holds only bars.
void sdl_frame_rows_read(int scale, int width, int height, int target_width, int target_height,
                         int* low, int* high);
// The same for the target_width target columns: the frame columns each is drawn from.
void sdl_frame_columns_read(int scale, int width, int height, int target_width, int target_height,
                            int* low, int* high);
