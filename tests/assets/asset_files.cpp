#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

const std::vector<std::string> DATA_FILES = {
    "GRASS.BMP",   "title.BMP",   "controls.BMP", "gameover.BMP", "SKELSP0.BMP",  "SKELSP1.BMP",
    "SKELSP2.BMP", "SKELSP3.BMP", "SKELSP4.BMP",  "SKELSP5.BMP",  "SKELSP6.BMP",  "SKELSP7.BMP",
    "SKELSP8.BMP", "DEDSP0.BMP",  "DEDSP2.BMP",   "DEDSP4.BMP",   "DEDSP6.BMP",   "laser.bmp",
    "PALDATA2.PAL", "bat.WAV",    "HWEAPON0.WAV", "MIDIFILE9.MID",
};

std::string data_path(const std::string& name) { return std::string(ASHFALLOW_DATA_DIR) + "/" + name; }

std::vector<uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

LOADED_BITMAP::LOADED_BITMAP(const std::string& name) {
  ok = bitmap_load_file(&file, data_path(name).c_str()) == 1 && file.pixels != nullptr;
}

LOADED_BITMAP::~LOADED_BITMAP() { bitmap_unload_file(&file); }

int CELL::ink() const {
  int n = 0;
  for (uint8_t p : pixels) n += p != 0;
  return n;
}

CELL cut_cell(const LOADED_BITMAP& sheet, int cx, int cy, int width, int height) {
  CELL cell;
  int64_t x = 0, y = 0;
  bitmap_cell_corner(cx, cy, 0, width, height, &x, &y);
  if (!bitmap_holds(&sheet.file, 1, x, y, width, height)) {
    ADD_FAILURE() << "cell (" << cx << "," << cy << ") does not lie inside the sheet";
    return cell;
  }
  cell.width = width;
  cell.height = height;
  for (int r = 0; r < height; ++r)
    for (int c = 0; c < width; ++c) cell.pixels.push_back(sheet.at(static_cast<int>(x) + c, static_cast<int>(y) + r));
  return cell;
}

double luminance(const PALETTEENTRY& e) { return 0.299 * e.red + 0.587 * e.green + 0.114 * e.blue; }
