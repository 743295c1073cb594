// Uncompressed BMP output: the 24-bit form for captures, the 8-bit palettised form the game's
// picture files use. Rows are bottom-up and padded to 4 bytes.
#include <cstddef>
#include <vector>

#include "platform/image/byte_out.h"
#include "platform/image_file.h"

namespace {

// File header and information header for `colors` table entries and `image` bytes of rows.
void put_headers(std::vector<uint8_t>& file, int width, int height, int bits, int colors,
                 size_t image) {
  const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(colors);
  file.push_back('B');
  file.push_back('M');
  plat_put_le32(file, static_cast<uint32_t>(offset + image));
  plat_put_le32(file, 0);
  plat_put_le32(file, offset);
  plat_put_le32(file, 40);
  plat_put_le32(file, static_cast<uint32_t>(width));
  plat_put_le32(file, static_cast<uint32_t>(height));
  plat_put_le16(file, 1);
  plat_put_le16(file, static_cast<uint32_t>(bits));
  plat_put_le32(file, 0);  // no compression
  plat_put_le32(file, static_cast<uint32_t>(image));
  plat_put_le32(file, 2835);  // 72 dots per inch
  plat_put_le32(file, 2835);
  plat_put_le32(file, static_cast<uint32_t>(colors));
  plat_put_le32(file, static_cast<uint32_t>(colors));
}

// Bytes of one stored row, or 0 when the picture cannot be a BMP file of at most 2 GB.
size_t row_bytes(int width, int height, int bytes_per_pixel, int colors) {
  if (width <= 0 || height <= 0 || width > 65536 || height > 65536) return 0;
  const size_t row = (static_cast<size_t>(width) * bytes_per_pixel + 3) & ~size_t{3};
  if (row * static_cast<size_t>(height) > 0x7FFFFFFF - 54 - 4 * static_cast<size_t>(colors))
    return 0;
  return row;
}

}  // namespace

int plat_write_bmp24(const char* path, const uint8_t* rgb, int width, int height) {
  if (!path || !rgb) return 0;
  const size_t row = row_bytes(width, height, 3, 0);
  if (!row) return 0;
  const size_t image = row * static_cast<size_t>(height);
  std::vector<uint8_t> file;
  file.reserve(54 + image);
  put_headers(file, width, height, 24, 0, image);
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* line = rgb + static_cast<size_t>(width) * 3 * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) {
      file.push_back(line[3 * x + 2]);
      file.push_back(line[3 * x + 1]);
      file.push_back(line[3 * x]);
    }
    for (size_t pad = static_cast<size_t>(width) * 3; pad < row; ++pad) file.push_back(0);
  }
  return plat_write_file(path, file.data(), file.size());
}

int plat_write_bmp8(const char* path, const uint8_t* indices, int width, int height,
                    const PALETTEENTRY palette[256]) {
  if (!path || !indices || !palette) return 0;
  const size_t row = row_bytes(width, height, 1, 256);
  if (!row) return 0;
  const size_t image = row * static_cast<size_t>(height);
  std::vector<uint8_t> file;
  file.reserve(54 + 1024 + image);
  put_headers(file, width, height, 8, 256, image);
  for (int i = 0; i < 256; ++i) {
    file.push_back(palette[i].blue);
    file.push_back(palette[i].green);
    file.push_back(palette[i].red);
    file.push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* line = indices + static_cast<size_t>(width) * static_cast<size_t>(y);
    file.insert(file.end(), line, line + width);
    for (size_t pad = static_cast<size_t>(width); pad < row; ++pad) file.push_back(0);
  }
  return plat_write_file(path, file.data(), file.size());
}
