// Writing pictures: captured frames and contact sheets for people to look at, and the
// palettised BMP files the game reads. No backend is needed: the asset generator uses these too.
#pragma once
#include <cstdint>

#include "platform/types.h"

// Writes width x height pixels of packed 8-bit red, green, blue as a PNG file. 1 or 0.
int plat_write_png(const char* path, const uint8_t* rgb, int width, int height);
// The same as an uncompressed 24-bit BMP file. 1 or 0.
int plat_write_bmp24(const char* path, const uint8_t* rgb, int width, int height);
// width x height palette indices (rows top-down, width bytes each) as an 8-bit BMP file with
// the whole 256-entry table (flags written as 0), rows padded to 4 bytes. 1 or 0.
int plat_write_bmp8(const char* path, const uint8_t* indices, int width, int height,
                    const PALETTEENTRY palette[256]);

// Converts a surface-sized block of pixels to packed RGB: 8-bit indices through a palette of
// 256 entries (red, green, blue, flags), or 16-bit 5.6.5 / 5.5.5 values (pixel_format 16 or 15).
void plat_pixels_to_rgb(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                        int pixel_format, const uint8_t* palette_rgbx, uint8_t* rgb_out);
