// Turning the primary surface's pixels into the ARGB8888 picture SDL shows. SDL cannot make
// palettised textures, so 8-bit frames go through a 256-entry lookup.
#pragma once
#include <cstdint>
#include "platform/types.h"

struct SDL_Renderer;
struct SDL_Texture;

// The lookup of a palette: 0xAARRGGBB with alpha always 255 (the flags byte is no alpha).
void sdl_frame_build_lookup(const PALETTEENTRY palette[256], uint32_t lookup[256]);

// Converts width x height pixels into ARGB8888 rows at dst, dst_pitch bytes apart.
// bpp 8 uses the lookup; bpp 16 unpacks 5.6.5, or 5.5.5 when pixel_format is 15.
void sdl_frame_convert(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                       int pixel_format, const uint32_t lookup[256], uint8_t* dst, int dst_pitch);

// Converts straight into the locked streaming texture (which must be width x height) and shows
// it scaled to the renderer's logical size. 1, or 0 when SDL refuses a step.
int sdl_frame_present(SDL_Renderer* renderer, SDL_Texture* texture, const uint8_t* pixels,
                      int pitch, int width, int height, int bpp, int pixel_format,
                      const uint32_t lookup[256]);
