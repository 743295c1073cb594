// PNG with an alpha channel and real compression, for the icons an install ships.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// width x height straight RGBA pixels, rows top-down, as an 8-bit RGBA PNG. 1 or 0.
int png_write_rgba(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height);
