// A kept frame to packed RGB, made when a capture or a test first looks at it.
#include <cstddef>
#include <cstring>

#include "platform/headless/headless_state.h"
#include "platform/image_file.h"

namespace {

// Index to RGB (the fourth byte spare), for the palette it was made from. A game changes its
// palette a few times a run, so it is rarely made again.
uint32_t lookup[256];
uint8_t lookup_from[256 * 4];
int lookup_kind = -1;  // -1 not made, 0 grey levels, 1 from lookup_from

void make_lookup(const uint8_t* palette_rgbx) {
  const int kind = palette_rgbx ? 1 : 0;
  if (kind == lookup_kind && (!kind || std::memcmp(lookup_from, palette_rgbx, sizeof lookup_from) == 0))
    return;
  for (int i = 0; i < 256; ++i) {
    uint8_t rgbx[4] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    if (palette_rgbx) std::memcpy(rgbx, palette_rgbx + 4 * i, 3);
    std::memcpy(&lookup[i], rgbx, 4);
  }
  if (palette_rgbx) std::memcpy(lookup_from, palette_rgbx, sizeof lookup_from);
  lookup_kind = kind;
}

// Each pixel is one 4-byte store whose spare byte the next pixel overwrites; only the very last
// pixel of the picture is stored as 3 bytes, so nothing is written past the end.
void indices_to_rgb(const uint8_t* pixels, int pitch, int width, int height, uint8_t* rgb) {
  uint8_t* out = rgb;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<std::ptrdiff_t>(pitch) * y;
    const int stores = y == height - 1 ? width - 1 : width;
    for (int x = 0; x < stores; ++x, out += 3) std::memcpy(out, &lookup[row[x]], 4);
  }
  std::memcpy(out, &lookup[pixels[static_cast<std::ptrdiff_t>(pitch) * (height - 1) + width - 1]], 3);
}

}  // namespace

void headless_pixels_to_rgb(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                            int pixel_format, const uint8_t* palette_rgbx, uint8_t* rgb_out) {
  if (!pixels || !rgb_out || width <= 0 || height <= 0) return;
  if (bpp != 8) {
    plat_pixels_to_rgb(pixels, pitch, width, height, bpp, pixel_format, palette_rgbx, rgb_out);
    return;
  }
  make_lookup(palette_rgbx);
  indices_to_rgb(pixels, pitch, width, height, rgb_out);
}
