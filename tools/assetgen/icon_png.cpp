#include "tools/assetgen/icon_png.h"

#include <zlib.h>

#include "platform/image/png_frame.h"

int png_write_rgba(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height) {
  if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4) return 0;
  const size_t row = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> raw;
  raw.reserve((row + 1) * height);
  for (int y = 0; y < height; ++y) {
    // Each row as its difference from the row above ("up"): the smooth shading packs far better.
    raw.push_back(y == 0 ? 0 : 2);
    for (size_t i = 0; i < row; ++i) {
      const size_t at = row * y + i;
      raw.push_back(static_cast<uint8_t>(rgba[at] - (y == 0 ? 0 : rgba[at - row])));
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packed_size);
  if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return 0;
  packed.resize(packed_size);

  return plat_write_png_stream(path.c_str(), width, height, PNG_COLOR_RGBA, packed);
}
