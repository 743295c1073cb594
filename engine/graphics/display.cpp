// The display: brought up once at start-up, torn down at shut-down, and used by every frame to
// clear, lock, draw into and present the back surface.
#include "engine/graphics/display.h"

#include <cstring>

#include "engine/diag/error_file.h"
#include "engine/graphics/palette.h"
#include "platform/display.h"
#include "platform/window.h"

WINDOW_TYP* main_window = nullptr;

SURFACE_TYP* primary_surface = nullptr;
SURFACE_TYP* back_surface = nullptr;
PALETTE_TYP* display_palette = nullptr;
CLIPPER_TYP* back_clipper = nullptr;
CLIPPER_TYP* window_clipper = nullptr;
uint8_t* primary_buffer = nullptr;
int primary_pitch = 0;
uint8_t* back_buffer = nullptr;
int back_pitch = 0;
int screen_width = 640;
int screen_height = 480;
int screen_bpp = 8;
int pixel_format = 16;
int windowed = 0;
int clip_min_x = 0;
int clip_max_x = 639;
int clip_min_y = 0;
int clip_max_y = 479;
PALETTEENTRY palette_shadow[256];
uint16_t (*rgb16_pack)(int red, int green, int blue) = pack_rgb565;
LOCK_DESC_TYP lock_desc;

// A flip that keeps failing is retried this many times, then reported; a surface left locked
// by someone else would otherwise hang the game in its frame.
static const int FLIP_TRIES = 4;

int display_init(int width, int height, int bpp, int windowed_flag) {
  if (!plat_display_set_mode(main_window, width, height, bpp, windowed_flag ? 0 : 1)) return 0;

  screen_width = width;
  screen_height = height;
  screen_bpp = bpp;
  windowed = windowed_flag;

  memset(&lock_desc, 0, sizeof lock_desc);
  primary_surface = plat_display_create_primary(windowed ? 0 : 1);
  if (!primary_surface) return 0;

  pixel_format = plat_display_pixel_format(primary_surface);
  write_error("\npixel format = %d", pixel_format);
  if (pixel_format == 15) {
    rgb16_pack = pack_rgb555;
    write_error("\npixel format = 5.5.5");
  } else {
    rgb16_pack = pack_rgb565;
    write_error("\npixel format = 5.6.5");
  }

  if (!windowed) {
    back_surface = plat_display_get_back_buffer(primary_surface);
  } else {
    back_surface = display_create_surface(screen_width, screen_height, 0, 0);
  }
  if (!back_surface) return 0;

  if (screen_bpp == 8) {
    memset(palette_shadow, 0, sizeof palette_shadow);
    // Without the file every entry stays black until a picture's palette is set.
    palette_file_load("PALDATA2.PAL", palette_shadow);
    if (windowed) {
      // The window system keeps the first and last ten entries for itself.
      for (int i = 0; i < 10; ++i) {
        palette_shadow[i].flags = PC_EXPLICIT;
        palette_shadow[255 - i].flags = PC_EXPLICIT;
      }
    }
    display_palette = plat_palette_create(palette_shadow);
    if (!display_palette) return 0;
    if (!plat_surface_set_palette(primary_surface, display_palette)) return 0;
  }

  if (!windowed) display_fill_surface(primary_surface, 0, nullptr);
  display_fill_surface(back_surface, 0, nullptr);

  clip_min_x = 0;
  clip_max_x = screen_width - 1;
  clip_min_y = 0;
  clip_max_y = screen_height - 1;

  RECT screen_rect = {0, 0, screen_width, screen_height};
  back_clipper = display_attach_clipper(back_surface, 1, &screen_rect);

  if (windowed) {
    // The primary is the window's own picture: its clipper is the window's area.
    window_clipper = plat_clipper_create();
    if (!window_clipper) return 0;
    if (!plat_clipper_set_list(window_clipper, &screen_rect, 1)) return 0;
    if (!plat_surface_set_clipper(primary_surface, window_clipper)) return 0;
  }
  return 1;
}

int display_shutdown() {
  // Nothing may stay locked past the surfaces it belongs to.
  display_unlock_back();
  display_unlock_primary();
  if (back_clipper) plat_clipper_release(back_clipper);
  if (window_clipper) plat_clipper_release(window_clipper);
  if (display_palette) plat_palette_release(display_palette);
  // Full-screen, the back buffer belongs to the primary and goes with it.
  if (back_surface && windowed) plat_surface_release(back_surface);
  if (primary_surface) plat_surface_release(primary_surface);
  plat_display_restore_mode();
  back_clipper = nullptr;
  window_clipper = nullptr;
  display_palette = nullptr;
  back_surface = nullptr;
  primary_surface = nullptr;
  return 1;
}

SURFACE_TYP* display_create_surface(int width, int height, int mem_flags, uint16_t color_key) {
  SURFACE_TYP* lpdds = plat_surface_create(width, height, screen_bpp, DDSCAPS_OFFSCREENPLAIN | mem_flags);
  if (!lpdds) return nullptr;
  plat_surface_set_color_key(lpdds, color_key, color_key);
  return lpdds;
}

void display_clip_bounds(int rect_count, const RECT* rects, RECT* bound) {
  *bound = {64000, 64000, -64000, -64000};
  for (int i = 0; i < rect_count; ++i) {
    if (rects[i].left < bound->left) bound->left = rects[i].left;
    if (rects[i].top < bound->top) bound->top = rects[i].top;
    if (rects[i].right > bound->right) bound->right = rects[i].right;
    if (rects[i].bottom > bound->bottom) bound->bottom = rects[i].bottom;
  }
}

CLIPPER_TYP* display_attach_clipper(SURFACE_TYP* surface, int rect_count, const RECT* rects) {
  if (rect_count < 0 || (rect_count > 0 && !rects)) return nullptr;
  CLIPPER_TYP* lpddclipper = plat_clipper_create();
  if (!lpddclipper) return nullptr;
  RECT bound;
  display_clip_bounds(rect_count, rects, &bound);
  // A clipper that cannot be attached is released here: nobody else holds it.
  if (!plat_clipper_set_list(lpddclipper, rects, rect_count) ||
      !plat_surface_set_clipper(surface, lpddclipper)) {
    plat_clipper_release(lpddclipper);
    return nullptr;
  }
  return lpddclipper;
}

int display_fill_surface(SURFACE_TYP* surface, uint16_t color, const RECT* rect) {
  plat_surface_fill(surface, rect, color);
  return 1;
}

int display_flip() {
  if (primary_buffer || back_buffer) return 0;
  if (!windowed) {
    for (int i = 0; i < FLIP_TRIES; ++i) {
      if (plat_display_flip(primary_surface)) return 1;
    }
    return 0;
  }
  RECT dest_rect = {0, 0, screen_width, screen_height};
  if (!plat_surface_blt(primary_surface, &dest_rect, back_surface, nullptr, BLT_WAIT)) return 0;
  return plat_display_present(primary_surface);
}

int display_wait_vblank() {
  plat_display_wait_vblank();
  return 1;
}

uint8_t* display_lock_surface(SURFACE_TYP* surface, int* pitch) {
  if (!surface) return nullptr;
  memset(&lock_desc, 0, sizeof lock_desc);
  int lock_pitch = 0;
  uint8_t* memory = plat_surface_lock(surface, &lock_pitch);
  if (memory) {
    lock_desc.memory = memory;
    lock_desc.pitch = lock_pitch;
    lock_desc.width = plat_surface_width(surface);
    lock_desc.height = plat_surface_height(surface);
  }
  if (pitch) *pitch = lock_desc.pitch;
  return lock_desc.memory;
}

int display_unlock_surface(SURFACE_TYP* surface) {
  if (!surface) return 0;
  plat_surface_unlock(surface);
  return 1;
}

uint8_t* display_lock_back() {
  if (back_buffer) return back_buffer;
  back_buffer = display_lock_surface(back_surface, &back_pitch);
  return back_buffer;
}

int display_unlock_back() {
  if (!back_buffer) return 0;
  display_unlock_surface(back_surface);
  back_buffer = nullptr;
  back_pitch = 0;
  return 1;
}

uint8_t* display_lock_primary() {
  if (primary_buffer) return primary_buffer;
  primary_buffer = display_lock_surface(primary_surface, &primary_pitch);
  return primary_buffer;
}

int display_unlock_primary() {
  if (!primary_buffer) return 0;
  display_unlock_surface(primary_surface);
  primary_buffer = nullptr;
  primary_pitch = 0;
  return 1;
}

uint16_t pack_rgb565(int red, int green, int blue) {
  return static_cast<uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

uint16_t pack_rgb555(int red, int green, int blue) {
  return static_cast<uint16_t>((((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3)) & 0x7FFF);
}
