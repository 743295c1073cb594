// Drawing a sprite record: one keyed blit of its current frame, clipped by the destination.
#include <cmath>

#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"

namespace {

// Truncates toward zero; false for positions no screen could show (or not a number), which
// would not even fit an int.
bool screen_int(float value, int* out) {
  if (!(std::fabs(value) < 1.0e8f)) return false;
  *out = int(value);
  return true;
}

SURFACE_TYP* current_surface(const BOB_TYP* bob) {
  if (bob->frame < 0 || bob->frame >= bob->frame_count || bob->frame >= BOB_MAX_FRAMES) return nullptr;
  return bob->frame_surfaces[bob->frame];
}

int draw_into(const BOB_TYP* bob, int drawn_width, int drawn_height, SURFACE_TYP* dest) {
  if (!bob) return 0;
  if (!(bob->attributes & ATTR_VISIBLE)) return 1;
  SURFACE_TYP* frame = current_surface(bob);
  if (!frame || !dest) return 0;
  RECT dest_rect;
  if (!screen_int(bob->x, &dest_rect.left) || !screen_int(bob->y, &dest_rect.top) ||
      !screen_int(bob->x + float(drawn_width), &dest_rect.right) ||
      !screen_int(bob->y + float(drawn_height), &dest_rect.bottom))
    return 1;  // far off every screen: nothing to show
  const RECT source_rect = {0, 0, bob->width, bob->height};
  return plat_surface_blt(dest, &dest_rect, frame, &source_rect, BLT_KEYSRC | BLT_WAIT) ? 1 : 0;
}

}  // namespace

int bob_draw(const BOB_TYP* bob, SURFACE_TYP* dest) {
  if (!bob) return 0;
  return draw_into(bob, bob->width, bob->height, dest);
}

void bob_prefetch(const BOB_TYP* bob) {
  if (bob) plat_surface_prefetch(current_surface(bob));
}

int bob_draw_scaled(const BOB_TYP* bob, int drawn_width, int drawn_height, SURFACE_TYP* dest) {
  return draw_into(bob, drawn_width, drawn_height, dest);
}
