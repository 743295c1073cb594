// Surface pixels to packed RGB, for presentation and captures.
#include <cstddef>
#include <cstring>

#include "platform/image_file.h"

namespace {
// Widens a 5- or 6-bit channel to 8 bits so full intensity stays 255.
uint8_t widen5(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
uint8_t widen6(unsigned v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }
}  // namespace

void plat_pixels_to_rgb(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                        int pixel_format, const uint8_t* palette_rgbx, uint8_t* rgb_out) {
  if (!pixels || !rgb_out || width <= 0 || height <= 0) return;
  uint8_t* out = rgb_out;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<std::ptrdiff_t>(pitch) * y;
    for (int x = 0; x < width; ++x, out += 3) {
      if (bpp == 8) {
        // Without a palette an index shows as its grey level.
        const uint8_t index = row[x];
        if (palette_rgbx) {
          std::memcpy(out, palette_rgbx + 4 * index, 3);
        } else {
          out[0] = out[1] = out[2] = index;
        }
      } else {
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        if (pixel_format == 15) {
          out[0] = widen5((v >> 10) & 0x1F);
          out[1] = widen5((v >> 5) & 0x1F);
        } else {
          out[0] = widen5(v >> 11);
          out[1] = widen6((v >> 5) & 0x3F);
        }
        out[2] = widen5(v & 0x1F);
      }
    }
  }
}
