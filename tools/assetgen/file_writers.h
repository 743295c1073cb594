// Writers for every file format the game reads, plus PNG for people. Each returns 1 or 0.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/types.h"

// An 8-bit picture: palette indices, rows top-down, exactly width bytes a row.
struct PICTURE_TYP {
  int width;
  int height;
  std::vector<uint8_t> pixels;
};

void picture_create(PICTURE_TYP* picture, int width, int height);

// Windows BMP, 8 bits, full 256-entry table, pixel data straight after the table, rows
// bottom-up with no padding (so the width must be a multiple of 4), biSizeImage filled in.
int bmp_write_8bit(const std::string& path, const PICTURE_TYP* picture, const PALETTEENTRY palette[256]);
// 256 entries as "\n%d %d %d %d" (red, green, blue, flags).
int palette_write_text(const std::string& path, const PALETTEENTRY palette[256]);
// RIFF WAVE, PCM 8-bit unsigned mono at 11025 Hz, with an 18-byte format chunk.
int wav_write_8bit(const std::string& path, const std::vector<uint8_t>& samples);
// Packed 8-bit RGB as a PNG (stored deflate blocks: large but simple).
int png_write_rgb(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height);
// Writes raw bytes.
int file_write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
