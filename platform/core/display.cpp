// The display's mode and its primary surface with the attached back buffer; flips and presents
// go to the backend.
#include <utility>

#include "platform/core/backend.h"
#include "platform/core/surface_internal.h"
#include "platform/display.h"
#include "platform/faults.h"
#include "platform/text.h"

namespace {
struct MODE_REC {
  int set;
  WINDOW_TYP* window;
  int width;
  int height;
  int bpp;
  int fullscreen;
};
MODE_REC mode = {};
SURFACE_TYP* primary = nullptr;
int format16 = 16;
}  // namespace

SURFACE_TYP* plat_display_primary() { return primary; }

void plat_display_surface_gone(const SURFACE_TYP* surface) {
  if (surface == primary) primary = nullptr;
}

int plat_display_format16() { return format16; }

void plat_display_set_format16(int rgb_bits) { format16 = rgb_bits == 15 ? 15 : 16; }

void plat_display_reset() {
  mode = {};
  primary = nullptr;
  format16 = 16;
}

int plat_display_set_mode(WINDOW_TYP* window, int width, int height, int bpp, int fullscreen) {
  if (width <= 0 || height <= 0 || (bpp != 8 && bpp != 16)) return 0;
  if (plat_fault(CALL_SET_MODE)) return 0;
  if (!plat_backend_set_mode(window, width, height, bpp, fullscreen)) return 0;
  mode = {1, window, width, height, bpp, fullscreen};
  // The text face is found now, so that a missing one is reported as the game starts.
  plat_text_prepare();
  return 1;
}

SURFACE_TYP* plat_display_create_primary(int back_buffers) {
  if (!mode.set || primary || back_buffers < 0 || back_buffers > 1) return nullptr;
  if (plat_fault(CALL_CREATE_PRIMARY)) return nullptr;
  int caps = DDSCAPS_PRIMARYSURFACE | (back_buffers ? DDSCAPS_FLIP | DDSCAPS_COMPLEX : 0);
  SURFACE_TYP* made = plat_surface_make(mode.width, mode.height, mode.bpp, caps);
  if (!made) return nullptr;
  if (back_buffers) {
    made->attached = plat_surface_make(mode.width, mode.height, mode.bpp,
                                       DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    if (!made->attached) {
      plat_surface_release(made);
      return nullptr;
    }
    made->attached->owner = made;
  }
  primary = made;
  return made;
}

SURFACE_TYP* plat_display_get_back_buffer(SURFACE_TYP* primary_surface) {
  if (!primary_surface || !primary_surface->attached) return nullptr;
  if (plat_fault(CALL_GET_BACK_BUFFER)) return nullptr;
  return primary_surface->attached;
}

int plat_display_pixel_format(const SURFACE_TYP* primary_surface) {
  if (!primary_surface) return 0;
  return primary_surface->bpp == 8 ? 8 : format16;
}

int plat_display_flip(SURFACE_TYP* primary_surface) {
  if (!primary_surface || !primary_surface->attached) return 0;
  SURFACE_TYP* back = primary_surface->attached;
  if (primary_surface->locked || back->locked) return 0;
  if (plat_fault(CALL_FLIP)) return 0;
  // The pictures change places with their key runs; no pixels change, so a frame the backend
  // still holds from the last present goes on reading the (now back) picture until it is drawn.
  std::swap(primary_surface->picture, back->picture);
  return plat_backend_present(primary_surface) ? 1 : 0;
}

int plat_display_present(SURFACE_TYP* primary_surface) {
  if (!primary_surface || primary_surface->locked) return 0;
  return plat_backend_present(primary_surface) ? 1 : 0;
}

int plat_display_wait_vblank() {
  plat_backend_wait_vblank();
  return 1;
}

void plat_display_restore_mode() {
  if (!mode.set) return;
  plat_backend_restore_mode();
  mode.set = 0;
}
