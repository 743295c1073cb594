// Cutting one cell of an 8-bit bitmap file straight into a surface of the cell's size.
#include <cstring>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/display.h"

int surface_load_cell(const BMP_FILE_TYP* bitmap, SURFACE_TYP* surface, int cx, int cy) {
  if (!bitmap || !surface || plat_surface_bpp(surface) != 8) return 0;
  // The surface's own size decides the cell, as the lock would report it.
  const int w = plat_surface_width(surface), h = plat_surface_height(surface);
  int64_t x, y;
  bitmap_cell_corner(cx, cy, 0, w, h, &x, &y);
  if (!bitmap_holds(bitmap, 1, x, y, w, h)) return 0;
  int pitch = 0;
  uint8_t* memory = display_lock_surface(surface, &pitch);
  if (!memory) return 0;
  const size_t src_pitch = size_t(bitmap->info_header.biWidth);
  const uint8_t* src = bitmap->pixels + size_t(y) * src_pitch + size_t(x);
  for (int r = 0; r < h; ++r) std::memcpy(memory + ptrdiff_t(r) * pitch, src + r * src_pitch, size_t(w));
  display_unlock_surface(surface);
  return 1;
}
