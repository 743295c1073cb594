// The frame last drawn into the window's surface. The menu screens present the same picture
// every frame, and in play most of the arena stays as it was: only the target rows drawn from
// frame rows that changed since (pixels; any change of colours, size, scale or surface redraws
// everything) are drawn again, the rest of the surface already holds them.
#include <cstring>
#include <vector>

#include "platform/sdl/sdl_frame_scale.h"
#include "platform/sdl/sdl_state.h"

namespace {

struct DRAWN_TYP {
  int valid;
  const SDL_Surface* surface;
  int surface_w, surface_h, surface_pitch;
  Uint32 surface_format;
  int scale, width, height, bpp, pixel_format;
  PALETTEENTRY palette[256];
  std::vector<uint8_t> rows;     // the frame's rows without their padding
  std::vector<uint8_t> changed;  // per frame row: 1 when it differs from the one kept
  std::vector<int> low, high;    // per target row: the frame rows it is drawn from
};

DRAWN_TYP drawn = {};

size_t row_bytes(int width, int bpp) { return static_cast<size_t>(width) * static_cast<size_t>(bpp / 8); }

bool same_setting(const SDL_Surface* surface, int scale, int width, int height, int bpp,
                  int pixel_format, const PALETTEENTRY* palette) {
  return drawn.valid && drawn.surface == surface && drawn.surface_w == surface->w &&
         drawn.surface_h == surface->h && drawn.surface_pitch == surface->pitch &&
         drawn.surface_format == surface->format->format && drawn.scale == scale &&
         drawn.width == width && drawn.height == height && drawn.bpp == bpp &&
         drawn.pixel_format == pixel_format &&
         (bpp != 8 || std::memcmp(drawn.palette, palette, sizeof drawn.palette) == 0);
}

// Keeps the whole frame and its setting as drawn. 0 when there is no room to keep it.
int keep_all(const SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch, int width,
             int height, int bpp, int pixel_format, const PALETTEENTRY* palette) {
  const size_t row = row_bytes(width, bpp);
  drawn.valid = 0;
  try {
    drawn.rows.resize(row * static_cast<size_t>(height));
    drawn.changed.resize(static_cast<size_t>(height));
    drawn.low.resize(static_cast<size_t>(surface->h));
    drawn.high.resize(static_cast<size_t>(surface->h));
  } catch (...) {
    return 0;
  }
  for (int y = 0; y < height; ++y)
    std::memcpy(drawn.rows.data() + row * y, pixels + static_cast<std::ptrdiff_t>(pitch) * y, row);
  sdl_frame_rows_read(scale, width, height, surface->w, surface->h, drawn.low.data(),
                      drawn.high.data());
  drawn.valid = 1;
  drawn.surface = surface;
  drawn.surface_w = surface->w;
  drawn.surface_h = surface->h;
  drawn.surface_pitch = surface->pitch;
  drawn.surface_format = surface->format->format;
  drawn.scale = scale;
  drawn.width = width;
  drawn.height = height;
  drawn.bpp = bpp;
  drawn.pixel_format = pixel_format;
  if (bpp == 8) std::memcpy(drawn.palette, palette, sizeof drawn.palette);
  return 1;
}

// Marks the frame rows that differ from the kept ones and keeps them; the count marked.
int mark_changed_rows(const uint8_t* pixels, int pitch) {
  const size_t row = row_bytes(drawn.width, drawn.bpp);
  int count = 0;
  for (int y = 0; y < drawn.height; ++y) {
    uint8_t* kept = drawn.rows.data() + row * y;
    const uint8_t* now = pixels + static_cast<std::ptrdiff_t>(pitch) * y;
    const int differs = std::memcmp(kept, now, row) != 0;
    drawn.changed[static_cast<size_t>(y)] = static_cast<uint8_t>(differs);
    if (differs) {
      std::memcpy(kept, now, row);
      ++count;
    }
  }
  return count;
}

}  // namespace

void sdl_frame_forget_drawn() { drawn.valid = 0; }

int sdl_frame_same_as_drawn(const SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch,
                            int width, int height, int bpp, int pixel_format,
                            const PALETTEENTRY* palette) {
  if (same_setting(surface, scale, width, height, bpp, pixel_format, palette))
    return mark_changed_rows(pixels, pitch) == 0 ? 1 : 0;
  keep_all(surface, scale, pixels, pitch, width, height, bpp, pixel_format, palette);
  return 0;
}

int sdl_frame_draw_changed(SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch,
                           int width, int height, int bpp, int pixel_format,
                           const PALETTEENTRY* palette, const FRAME_COLOURS_TYP& colours,
                           SDL_Rect* bands, int max_bands) {
  uint8_t* target = static_cast<uint8_t*>(surface->pixels);
  if (!same_setting(surface, scale, width, height, bpp, pixel_format, palette)) {
    keep_all(surface, scale, pixels, pitch, width, height, bpp, pixel_format, palette);
    sdl_frame_draw_scaled(scale, pixels, pitch, width, height, colours, target, surface->pitch,
                          surface->w, surface->h);
    if (max_bands < 1) return 0;
    bands[0] = {0, 0, surface->w, surface->h};
    return 1;
  }
  if (mark_changed_rows(pixels, pitch) == 0) return 0;
  // Runs of target rows drawn from a changed frame row (a blended row reads two).
  int count = 0;
  for (int y = 0; y < surface->h;) {
    const int low = drawn.low[static_cast<size_t>(y)], high = drawn.high[static_cast<size_t>(y)];
    if (low < 0 || !(drawn.changed[static_cast<size_t>(low)] || drawn.changed[static_cast<size_t>(high)])) {
      ++y;
      continue;
    }
    int end = y + 1;
    while (end < surface->h && drawn.low[static_cast<size_t>(end)] >= 0 &&
           (drawn.changed[static_cast<size_t>(drawn.low[static_cast<size_t>(end)])] ||
            drawn.changed[static_cast<size_t>(drawn.high[static_cast<size_t>(end)])]))
      ++end;
    sdl_frame_draw_scaled_rows(scale, pixels, pitch, width, height, colours, target,
                               surface->pitch, surface->w, surface->h, y, end);
    if (count < max_bands) {
      bands[count++] = {0, y, surface->w, end - y};
    } else if (count > 0) {
      // Out of bands: the last one reaches down over the rows between, which are unchanged.
      bands[count - 1].h = end - bands[count - 1].y;
    }
    y = end;
  }
  return count;
}
