// Turning the primary surface's pixels into the picture SDL shows, in one pass: each pixel is
// converted to the target's 32-bit format and, when the target is larger than the mode, scaled
// up with nearest sampling into its letterboxed place, with black bars around it.
#pragma once
#include <cstdint>
#include "platform/types.h"

struct SDL_Renderer;
struct SDL_Texture;

// Where the three 8-bit channels sit in a 32-bit target pixel, and the bits every pixel carries
// besides (full alpha where the format has alpha).
struct FRAME_FORMAT_TYP {
  int red_shift;
  int green_shift;
  int blue_shift;
  uint32_t fixed;
};
constexpr FRAME_FORMAT_TYP FRAME_ARGB8888 = {16, 8, 0, 0xFF000000u};

// A frame's colours in the target's format. An 8-bit pixel v shows as low[v] (also kept as four
// byte planes for the wide converter); a 16-bit pixel v as low[v & 255] | high[v >> 8], which
// holds because widening a channel only copies its bits.
struct FRAME_COLOURS_TYP {
  int bpp;
  uint32_t black;
  uint32_t low[256];
  uint32_t high[256];
  alignas(64) uint8_t planes[4][256];
  int plane_constant[4];  // 1 where every colour has the same byte there (alpha, an unused byte)
};

// An 8-bit frame's colours from its palette (the flags byte is no alpha).
void sdl_frame_colours8(const FRAME_FORMAT_TYP& format, const PALETTEENTRY palette[256],
                        FRAME_COLOURS_TYP* colours);
// A 16-bit frame's colours: 5.6.5, or 5.5.5 when pixel_format is 15. Full intensity stays
// full (31 -> 255).
void sdl_frame_colours16(const FRAME_FORMAT_TYP& format, int pixel_format,
                         FRAME_COLOURS_TYP* colours);

// The picture's place in a target: as large as fits with its shape kept, centred.
struct FRAME_VIEW_TYP {
  int x;
  int y;
  int width;
  int height;
};
FRAME_VIEW_TYP sdl_frame_fit(int width, int height, int target_width, int target_height);

// Draws the whole target (target_width x target_height 32-bit pixels, rows target_pitch bytes
// apart): the width x height frame scaled into its fitted place, black everywhere else. Target
// pixel i of the view samples frame pixel (2i + 1) * width / (2 * view width), the frame pixel
// under its centre, in each direction.
void sdl_frame_draw(const uint8_t* pixels, int pitch, int width, int height,
                    const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                    int target_width, int target_height);

// The same for target rows first .. end - 1 alone; the other rows are left as they are.
void sdl_frame_draw_rows(const uint8_t* pixels, int pitch, int width, int height,
                         const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                         int target_width, int target_height, int first, int end);

// The same for the rectangle of target rows first .. end - 1 and columns left .. right - 1
// alone: every pixel in it as the whole draw makes it, none outside it written.
void sdl_frame_draw_rect(const uint8_t* pixels, int pitch, int width, int height,
                         const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                         int target_width, int target_height, int first, int end, int left,
                         int right);

// 1 to let the wide (AVX-512) converter run where the processor has it (the default), 0 for
// the portable one; tests compare the two.
void sdl_frame_allow_wide(int allow);
int sdl_frame_wide_in_use();

// One frame row of width pixels into out in the colours' target format (the wide converter where
// allowed).
void sdl_frame_convert_row(const uint8_t* from, int width, const FRAME_COLOURS_TYP& colours,
                           uint32_t* out);

// The ARGB8888 lookup of a palette and a width x height conversion into ARGB8888 rows at dst,
// dst_pitch bytes apart (bpp 8 through the lookup; bpp 16 as 5.6.5, or 5.5.5 when pixel_format
// is 15). Kept for tools and tests that want plain ARGB pictures.
void sdl_frame_build_lookup(const PALETTEENTRY palette[256], uint32_t lookup[256]);
void sdl_frame_convert(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                       int pixel_format, const uint32_t lookup[256], uint8_t* dst, int dst_pitch);

// 1 when dev_root (the system's is "/dev") holds a GPU device node (dri/card*, dri/renderD* or
// nvidia0): only then may an accelerated renderer be more than a software rasteriser.
int sdl_gpu_device_present(const char* dev_root);
