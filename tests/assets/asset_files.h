// Shared by the data-file tests: where the files are, their bytes, and sheets loaded through the
// engine's own bitmap loader.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/graphics/bitmap.h"

// Every file the game reads, by the name it reads it under.
extern const std::vector<std::string> DATA_FILES;

std::string data_path(const std::string& name);
std::vector<uint8_t> read_bytes(const std::string& path);
uint32_t le32(const std::vector<uint8_t>& bytes, size_t at);
uint16_t le16(const std::vector<uint8_t>& bytes, size_t at);

// A bitmap loaded with bitmap_load_file and released again at the end of the test.
struct LOADED_BITMAP {
  BMP_FILE_TYP file{};
  bool ok = false;
  explicit LOADED_BITMAP(const std::string& name);
  ~LOADED_BITMAP();
  LOADED_BITMAP(const LOADED_BITMAP&) = delete;
  LOADED_BITMAP& operator=(const LOADED_BITMAP&) = delete;
  int width() const { return file.info_header.biWidth; }
  int height() const { return file.info_header.biHeight; }
  uint8_t at(int x, int y) const { return file.pixels[static_cast<size_t>(y) * width() + x]; }
};

// One cell of a sheet as the game cuts it (cell mode): width x height indices, rows top-down.
struct CELL {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int ink() const;  // pixels other than the key
};
CELL cut_cell(const LOADED_BITMAP& sheet, int cx, int cy, int width, int height);

// Perceived brightness 0..255 of a palette entry.
double luminance(const PALETTEENTRY& entry);
