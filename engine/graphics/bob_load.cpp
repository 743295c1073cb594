// Filling sprite frames from cells of a loaded bitmap file.
#include <cstring>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"

namespace {

int load_frame(BOB_TYP* bob, const BMP_FILE_TYP* bitmap, int frame, int cx, int cy, int mode, int bpp) {
  if (!bob || frame < 0 || frame >= bob->frame_count || frame >= BOB_MAX_FRAMES) return 0;
  SURFACE_TYP* surface = bob->frame_surfaces[frame];
  if (!surface || plat_surface_bpp(surface) != bpp * 8) return 0;
  if (plat_surface_width(surface) < bob->width || plat_surface_height(surface) < bob->height) return 0;
  int64_t x, y;
  bitmap_cell_corner(cx, cy, mode, bob->width, bob->height, &x, &y);
  if (!bitmap_holds(bitmap, bpp, x, y, bob->width, bob->height)) return 0;

  int pitch = 0;
  uint8_t* memory = display_lock_surface(surface, &pitch);
  if (!memory) return 0;
  if (bpp == 2) pitch &= ~1;
  const size_t src_pitch = size_t(bitmap->info_header.biWidth) * bpp;
  const size_t row = size_t(bob->width) * bpp;
  const uint8_t* src = bitmap->pixels + size_t(y) * src_pitch + size_t(x) * bpp;
  for (int r = 0; r < bob->height; ++r) std::memcpy(memory + ptrdiff_t(r) * pitch, src + r * src_pitch, row);
  display_unlock_surface(surface);
  bob->attributes |= ATTR_LOADED;
  return 1;
}

}  // namespace

int bob_load_frame(BOB_TYP* bob, const BMP_FILE_TYP* bitmap, int frame, int cx, int cy, int mode) {
  return load_frame(bob, bitmap, frame, cx, cy, mode, 1);
}

int bob_load_frame16(BOB_TYP* bob, const BMP_FILE_TYP* bitmap, int frame, int cx, int cy, int mode) {
  return load_frame(bob, bitmap, frame, cx, cy, mode, 2);
}
