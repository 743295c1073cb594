// Uncompressed 24-bit BMP output: bottom-up rows of blue, green, red, padded to 4 bytes.
#include <cstdio>
#include <vector>

#include "platform/image_file.h"

namespace {
void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
}  // namespace

int plat_write_bmp24(const char* path, const uint8_t* rgb, int width, int height) {
  if (!path || !rgb || width <= 0 || height <= 0 || width > 65536 || height > 65536) return 0;
  const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t image = row * static_cast<size_t>(height);
  if (image > 0x7FFFFFFF - 54) return 0;
  std::vector<uint8_t> file;
  file.reserve(54 + image);
  file.push_back('B');
  file.push_back('M');
  put32(file, static_cast<uint32_t>(54 + image));
  put32(file, 0);
  put32(file, 54);
  put32(file, 40);
  put32(file, static_cast<uint32_t>(width));
  put32(file, static_cast<uint32_t>(height));
  put16(file, 1);
  put16(file, 24);
  put32(file, 0);  // no compression
  put32(file, static_cast<uint32_t>(image));
  put32(file, 2835);  // 72 dots per inch
  put32(file, 2835);
  put32(file, 0);
  put32(file, 0);
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* line = rgb + static_cast<size_t>(width) * 3 * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) {
      file.push_back(line[3 * x + 2]);
      file.push_back(line[3 * x + 1]);
      file.push_back(line[3 * x]);
    }
    for (size_t pad = static_cast<size_t>(width) * 3; pad < row; ++pad) file.push_back(0);
  }
  FILE* f = std::fopen(path, "wb");
  if (!f) return 0;
  bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  ok = std::fclose(f) == 0 && ok;
  return ok ? 1 : 0;
}
