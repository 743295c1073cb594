// The frame last drawn into the window's surface. The menu screens present the same picture
// every frame, and scaling it to a large screen is most of what they cost: a frame that matches
// the one already in the surface (pixels, colours, size, scale and surface) is not drawn again.
#include <cstring>
#include <vector>

#include "platform/sdl/sdl_state.h"

namespace {

struct DRAWN_TYP {
  int valid;
  const SDL_Surface* surface;
  int surface_w, surface_h, surface_pitch;
  Uint32 surface_format;
  int scale, width, height, bpp, pixel_format;
  PALETTEENTRY palette[256];
  std::vector<uint8_t> rows;  // the frame's rows without their padding
};

DRAWN_TYP drawn = {};

}  // namespace

void sdl_frame_forget_drawn() { drawn.valid = 0; }

int sdl_frame_same_as_drawn(const SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch,
                            int width, int height, int bpp, int pixel_format,
                            const PALETTEENTRY* palette) {
  const size_t row = static_cast<size_t>(width) * static_cast<size_t>(bpp / 8);
  const bool same_setting =
      drawn.valid && drawn.surface == surface && drawn.surface_w == surface->w &&
      drawn.surface_h == surface->h && drawn.surface_pitch == surface->pitch &&
      drawn.surface_format == surface->format->format && drawn.scale == scale &&
      drawn.width == width && drawn.height == height && drawn.bpp == bpp &&
      drawn.pixel_format == pixel_format &&
      (bpp != 8 || std::memcmp(drawn.palette, palette, sizeof drawn.palette) == 0);
  bool same = same_setting;
  for (int y = 0; same && y < height; ++y)
    same = std::memcmp(drawn.rows.data() + row * y, pixels + static_cast<std::ptrdiff_t>(pitch) * y, row) == 0;
  if (same) return 1;
  try {
    drawn.rows.resize(row * static_cast<size_t>(height));
  } catch (...) {
    drawn.valid = 0;
    return 0;
  }
  for (int y = 0; y < height; ++y)
    std::memcpy(drawn.rows.data() + row * y, pixels + static_cast<std::ptrdiff_t>(pitch) * y, row);
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
  return 0;
}
