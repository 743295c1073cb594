// Surfaces: creation, counting, locks, colour keys and the clipper and palette they hold.
#include <cstddef>
#include <cstring>
#include <new>

#include "platform/core/backend.h"
#include "platform/core/surface_internal.h"
#include "platform/faults.h"

namespace {
// Large enough for any screen or sprite sheet, small enough that sizes never overflow an int.
constexpr int MAX_SIDE = 16384;
constexpr int64_t MAX_BYTES = int64_t{1} << 28;
}  // namespace

SURFACE_TYP* plat_surface_make(int width, int height, int bpp, int caps) {
  if (width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE) return nullptr;
  if (bpp != 8 && bpp != 16) return nullptr;
  // Rows start on 4-byte boundaries, as the old API's surfaces did, so code must use the pitch.
  int pitch = (width * (bpp / 8) + 3) & ~3;
  if (int64_t{pitch} * height > MAX_BYTES) return nullptr;
  auto* surface = new (std::nothrow) SURFACE_TYP{};
  if (!surface) return nullptr;
  surface->picture = plat_picture_blank(width, height, bpp, pitch, caps);
  if (!surface->picture) {
    delete surface;
    return nullptr;
  }
  surface->references = 1;
  surface->width = width;
  surface->height = height;
  surface->bpp = bpp;
  surface->caps = caps;
  surface->pitch = pitch;
  return surface;
}

SURFACE_TYP* plat_surface_create(int width, int height, int bpp, int caps) {
  if (plat_fault(CALL_SURFACE_CREATE)) return nullptr;
  return plat_surface_make(width, height, bpp, caps);
}

void plat_surface_release(SURFACE_TYP* surface) {
  // An attached back buffer lives exactly as long as its primary: releasing it on its own does
  // nothing, so callers that release it before the primary and callers that never release it
  // are both right.
  if (!surface || surface->owner || --surface->references > 0) return;
  plat_display_surface_gone(surface);
  plat_clipper_release(surface->clipper);
  plat_palette_release(surface->palette);
  if (SURFACE_TYP* back = surface->attached) {
    back->owner = nullptr;
    plat_surface_release(back);
  }
  plat_picture_release(surface->picture);
  delete surface;
}

void plat_surface_prefetch(const SURFACE_TYP* surface) {
  if (!surface) return;
  // A crowd's frame records lie all over the heap: fetched only when drawn, each costs a wait.
  __builtin_prefetch(surface);
  __builtin_prefetch(reinterpret_cast<const char*>(surface) + sizeof *surface - 1);
}

int plat_surface_width(const SURFACE_TYP* surface) { return surface ? surface->width : 0; }
int plat_surface_height(const SURFACE_TYP* surface) { return surface ? surface->height : 0; }
int plat_surface_bpp(const SURFACE_TYP* surface) { return surface ? surface->bpp : 0; }
int plat_surface_caps(const SURFACE_TYP* surface) { return surface ? surface->caps : 0; }
int plat_surface_is_locked(const SURFACE_TYP* surface) { return surface ? surface->locked : 0; }

int plat_surface_set_color_key(SURFACE_TYP* surface, uint32_t low, uint32_t high) {
  if (!surface) return 0;
  surface->key_low = low;
  surface->key_high = high;
  return 1;
}

int plat_surface_get_color_key(const SURFACE_TYP* surface, uint32_t* low, uint32_t* high) {
  if (!surface) return 0;
  if (low) *low = surface->key_low;
  if (high) *high = surface->key_high;
  return 1;
}

uint8_t* plat_surface_lock(SURFACE_TYP* surface, int* pitch) {
  if (!surface || surface->locked) return nullptr;
  if (plat_fault(CALL_SURFACE_LOCK)) return nullptr;
  // The caller may write anything while it holds the lock, so the memory is its own.
  if (!plat_surface_touched(surface)) return nullptr;
  surface->locked = 1;
  if (pitch) *pitch = surface->pitch;
  return plat_surface_bytes(surface);
}

int plat_surface_unlock(SURFACE_TYP* surface) {
  if (!surface || !surface->locked) return 0;
  surface->locked = 0;
  // A sprite frame just filled from its sheet is most likely the same as other actors' frames.
  plat_picture_share(surface);
  return 1;
}

int plat_surface_copy_in(SURFACE_TYP* surface, const uint8_t* from, size_t from_pitch,
                         int row_bytes, int rows, uint64_t source) {
  if (!surface || surface->locked) return 0;
  if (row_bytes < 0 || rows < 0 || row_bytes > surface->pitch || rows > surface->height) return 0;
  if ((row_bytes > 0 && rows > 0 && !from) || plat_fault(CALL_SURFACE_LOCK)) return 0;
  const COPY_KEY_TYP key{source, from, from_pitch, row_bytes, rows};
  // Every actor loads the same cells of the same sheets into blank frames: after the first one
  // the picture is already there.
  if (source != 0 && plat_picture_join_copy(surface, key)) return 1;
  const bool into_blank = surface->picture->blank != 0;
  if (!plat_surface_touched(surface)) return 0;
  uint8_t* to = plat_surface_bytes(surface);
  for (int r = 0; r < rows; ++r)
    std::memcpy(to + size_t(r) * size_t(surface->pitch), from + size_t(r) * from_pitch, size_t(row_bytes));
  if (source != 0 && into_blank)
    plat_picture_share_copy(surface, key);
  else
    plat_picture_share(surface);
  return 1;
}

const uint8_t* plat_surface_pixels(const SURFACE_TYP* surface, int* pitch) {
  if (!surface) return nullptr;
  if (pitch) *pitch = surface->pitch;
  return plat_surface_bytes(surface);
}

int plat_surface_set_clipper(SURFACE_TYP* surface, CLIPPER_TYP* clipper) {
  if (!surface || plat_fault(CALL_SET_CLIPPER)) return 0;
  if (clipper) ++clipper->references;
  plat_clipper_release(surface->clipper);
  surface->clipper = clipper;
  return 1;
}

CLIPPER_TYP* plat_surface_get_clipper(const SURFACE_TYP* surface) {
  return surface ? surface->clipper : nullptr;
}

int plat_surface_set_palette(SURFACE_TYP* surface, PALETTE_TYP* palette) {
  if (!surface || surface->bpp != 8 || plat_fault(CALL_SET_PALETTE)) return 0;
  if (palette) ++palette->references;
  plat_palette_release(surface->palette);
  surface->palette = palette;
  return 1;
}

PALETTE_TYP* plat_surface_get_palette(const SURFACE_TYP* surface) {
  return surface ? surface->palette : nullptr;
}
