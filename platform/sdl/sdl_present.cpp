// Showing the primary surface: its palette (8 bits) or pixel format (16 bits) decides colours.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/core/backend.h"
#include "platform/display.h"
#include "platform/sdl/sdl_state.h"

namespace {

// With ASHFALLOW_FIRST_FRAME set, the moment the first picture is shown goes to stderr as
// wall-clock seconds, for a script timing the start-up from the moment it launched the game.
void report_first_frame() {
  static int reported = 0;
  if (reported) return;
  reported = 1;
  const char* wanted = std::getenv("ASHFALLOW_FIRST_FRAME");
  if (!wanted || !wanted[0]) return;
  timespec now = {};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(stderr, "ashfallow: first frame shown at %lld.%09ld\n", static_cast<long long>(now.tv_sec),
               now.tv_nsec);
}

}  // namespace

int plat_backend_present(const SURFACE_TYP* primary) {
  if (!primary || sdl_backend.mode_width <= 0) return 0;
  const int width = plat_surface_width(primary);
  const int height = plat_surface_height(primary);
  // The presentation target has the mode's size; a primary of another size is not the mode's.
  if (width != sdl_backend.mode_width || height != sdl_backend.mode_height) return 0;
  int pitch = 0;
  const uint8_t* pixels = plat_surface_pixels(primary, &pitch);
  if (!pixels) return 0;
  // No palette attached yet: the picture is black, as an unset display palette is.
  PALETTEENTRY entries[256] = {};
  const int bpp = plat_surface_bpp(primary);
  if (bpp == 8) {
    const PALETTE_TYP* palette = plat_surface_get_palette(primary);
    if (palette) plat_palette_get_entries(palette, 0, 256, entries);
  }
  if (!sdl_show_frame(pixels, pitch, width, height, bpp, entries, plat_display_pixel_format(primary)))
    return 0;
  report_first_frame();
  return 1;
}

// The presentation does not wait for the vertical blank (the frame clock paces the game).
int plat_backend_wait_vblank() { return 1; }
