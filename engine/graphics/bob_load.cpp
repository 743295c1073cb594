// Filling sprite frames from cells of a loaded bitmap file.
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

  const size_t src_pitch = size_t(bitmap->info_header.biWidth) * bpp;
  const uint8_t* src = bitmap->pixels + size_t(y) * src_pitch + size_t(x) * bpp;
  // A sheet loaded again unchanged names its pixels, so every actor after the first gets the
  // same cell's frame without another copy.
  if (!plat_surface_copy_in(surface, src, src_pitch, bob->width * bpp, bob->height, bitmap->source)) return 0;
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
