// Pure conversion, no SDL calls: tests and benchmarks compile it on its own.
#include "platform/sdl/sdl_frame.h"

#include <cstddef>
#include <cstring>

void sdl_frame_build_lookup(const PALETTEENTRY palette[256], uint32_t lookup[256]) {
  for (int i = 0; i < 256; ++i) {
    lookup[i] = 0xFF000000u | (uint32_t(palette[i].red) << 16) | (uint32_t(palette[i].green) << 8) |
                uint32_t(palette[i].blue);
  }
}

// Widens a 5- or 6-bit channel to 8 bits so that full intensity stays full (31 -> 255).
static inline uint32_t widen5(uint32_t v) { return (v << 3) | (v >> 2); }
static inline uint32_t widen6(uint32_t v) { return (v << 2) | (v >> 4); }

void sdl_frame_convert(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                       int pixel_format, const uint32_t lookup[256], uint8_t* dst, int dst_pitch) {
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
    uint32_t* out = reinterpret_cast<uint32_t*>(dst + static_cast<ptrdiff_t>(y) * dst_pitch);
    if (bpp == 8) {
      for (int x = 0; x < width; ++x) out[x] = lookup[src[x]];
    } else if (pixel_format == 15) {
      for (int x = 0; x < width; ++x) {
        uint16_t v;
        std::memcpy(&v, src + 2 * x, 2);
        out[x] = 0xFF000000u | (widen5((v >> 10) & 31) << 16) | (widen5((v >> 5) & 31) << 8) |
                 widen5(v & 31);
      }
    } else {
      for (int x = 0; x < width; ++x) {
        uint16_t v;
        std::memcpy(&v, src + 2 * x, 2);
        out[x] = 0xFF000000u | (widen5((v >> 11) & 31) << 16) | (widen6((v >> 5) & 63) << 8) |
                 widen5(v & 31);
      }
    }
  }
}
