// The frame of a PNG file around image data already filtered and deflated: for a writer that
// compresses its rows itself (the desktop icons) as well as for plat_write_png's stored blocks.
#pragma once
#include <cstdint>
#include <vector>

constexpr int PNG_COLOR_RGB = 2;
constexpr int PNG_COLOR_RGBA = 6;

// Writes the signature, the header of a width x height picture of color_type at 8 bits a
// channel, zlib_stream as the one data chunk, and the end chunk. 1, or 0 when the file cannot
// be written whole.
int plat_write_png_stream(const char* path, int width, int height, int color_type,
                          const std::vector<uint8_t>& zlib_stream);
