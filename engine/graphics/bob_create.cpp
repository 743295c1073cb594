// Sprite records: creation with one keyed surface per frame, clones, release.
#include <cstdlib>
#include <cstring>

#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"

int bob_create(BOB_TYP* bob, int x, int y, int width, int height, int frame_count, int attributes,
               int mem_flags, uint16_t color_key, int bits_per_pixel) {
  if (!bob || frame_count < 0 || frame_count > BOB_MAX_FRAMES) return 0;
  bob->state = 1;
  bob->attributes = attributes;
  bob->anim_done = 0;
  std::memset(bob->counters, 0, sizeof bob->counters);
  bob->frame = 0;
  bob->frame_count = frame_count;
  bob->bits_per_pixel = bits_per_pixel;
  bob->sequence = 0;
  bob->anim_ticks = 0;
  bob->sequence_pos = 0;
  bob->anim_period = 0;
  bob->x = float(x);
  bob->y = float(y);
  bob->vel_x = 0;
  bob->vel_y = 0;
  bob->width = width;
  bob->height = height;
  for (auto& surface : bob->frame_surfaces) surface = nullptr;
  for (auto& sequence : bob->sequences) sequence = nullptr;

  for (int i = 0; i < frame_count; ++i) {
    bob->frame_surfaces[i] = display_create_surface(width + bob->extra_width, height, mem_flags, color_key);
    if (!bob->frame_surfaces[i]) return 0;
  }
  return 1;
}

int bob_clone(const BOB_TYP* source, BOB_TYP* dest) {
  if (!source || !dest || source == dest) return 0;
  std::memcpy(static_cast<void*>(dest), source, sizeof *dest);
  dest->attributes |= ATTR_CLONE;
  return 1;
}

int bob_destroy(BOB_TYP* bob) {
  if (!bob) return 0;
  const bool owner = !(bob->attributes & ATTR_CLONE);
  for (auto& surface : bob->frame_surfaces) {
    if (owner) plat_surface_release(surface);
    surface = nullptr;
  }
  for (auto& sequence : bob->sequences) {
    if (owner) std::free(sequence);
    sequence = nullptr;
  }
  return 1;
}
