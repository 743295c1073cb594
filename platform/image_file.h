// Writing pictures for people to look at: captured frames, contact sheets.
#pragma once
#include <cstdint>

// Writes width x height pixels of packed 8-bit red, green, blue as a PNG file. 1 or 0.
int plat_write_png(const char* path, const uint8_t* rgb, int width, int height);
// The same as an uncompressed 24-bit BMP file. 1 or 0.
int plat_write_bmp24(const char* path, const uint8_t* rgb, int width, int height);

// Converts a surface-sized block of pixels to packed RGB: 8-bit indices through a palette of
// 256 entries (red, green, blue, flags), or 16-bit 5.6.5 / 5.5.5 values (pixel_format 16 or 15).
void plat_pixels_to_rgb(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                        int pixel_format, const uint8_t* palette_rgbx, uint8_t* rgb_out);
