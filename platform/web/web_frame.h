// Turning the primary surface into the canvas's picture: each pixel to RGBA (red, green, blue,
// alpha 255 in memory order, as canvas image data holds them), and the picture's place in the
// page, scaled as the native full-screen view scales it.
#pragma once
#include <cstdint>
#include "platform/types.h"

// The RGBA word (little-endian memory order) of every 8-bit index through a palette; a null
// palette shows black, as an unset display palette does.
void web_frame_lookup8(const PALETTEENTRY* palette, uint32_t lookup[256]);
// The RGBA word of every 16-bit value: 5.6.5, or 5.5.5 when pixel_format is 15, widened so
// full intensity stays 255.
void web_frame_lookup16(int pixel_format, uint32_t lookup[65536]);

// Converts width x height pixels (bpp 8 or 16, rows pitch bytes apart) through the lookup of
// that depth into width x height RGBA words.
void web_frame_to_rgba(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                       const uint32_t* lookup, uint32_t* rgba);

// The picture's place in a page of target_width x target_height device pixels: as large as
// fits with its shape kept (a whole or fractional scale), centred, the rest black bars.
struct WEB_VIEW_TYP {
  int x;
  int y;
  int width;
  int height;
};
WEB_VIEW_TYP web_view_fit(int width, int height, int target_width, int target_height);
