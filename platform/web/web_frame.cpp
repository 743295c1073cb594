#include "platform/web/web_frame.h"

#include <cstddef>
#include <cstring>

namespace {

uint32_t rgba(unsigned red, unsigned green, unsigned blue) {
  return red | green << 8 | blue << 16 | 0xFF000000u;
}

unsigned widen5(unsigned v) { return (v << 3) | (v >> 2); }
unsigned widen6(unsigned v) { return (v << 2) | (v >> 4); }

}  // namespace

void web_frame_lookup8(const PALETTEENTRY* palette, uint32_t lookup[256]) {
  for (int i = 0; i < 256; ++i)
    lookup[i] = palette ? rgba(palette[i].red, palette[i].green, palette[i].blue) : rgba(0, 0, 0);
}

void web_frame_lookup16(int pixel_format, uint32_t lookup[65536]) {
  for (unsigned v = 0; v < 65536; ++v) {
    if (pixel_format == 15)
      lookup[v] = rgba(widen5((v >> 10) & 0x1F), widen5((v >> 5) & 0x1F), widen5(v & 0x1F));
    else
      lookup[v] = rgba(widen5(v >> 11), widen6((v >> 5) & 0x3F), widen5(v & 0x1F));
  }
}

void web_frame_to_rgba(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                       const uint32_t* lookup, uint32_t* out) {
  if (!pixels || !lookup || !out || width <= 0 || height <= 0) return;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<std::ptrdiff_t>(pitch) * y;
    uint32_t* line = out + static_cast<std::ptrdiff_t>(width) * y;
    if (bpp == 8) {
      for (int x = 0; x < width; ++x) line[x] = lookup[row[x]];
    } else {
      for (int x = 0; x < width; ++x) {
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        line[x] = lookup[v];
      }
    }
  }
}

WEB_VIEW_TYP web_view_fit(int width, int height, int target_width, int target_height) {
  if (width <= 0 || height <= 0 || target_width <= 0 || target_height <= 0) return {0, 0, 0, 0};
  int view_width = target_width, view_height = target_height;
  if (int64_t{target_width} * height > int64_t{target_height} * width)
    view_width = static_cast<int>(int64_t{target_height} * width / height);  // bars left and right
  else
    view_height = static_cast<int>(int64_t{target_width} * height / width);  // bars above and below
  if (view_width < 1) view_width = 1;
  if (view_height < 1) view_height = 1;
  return {(target_width - view_width) / 2, (target_height - view_height) / 2, view_width,
          view_height};
}
