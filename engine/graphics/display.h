// The one display of the process: primary and back surfaces, the 8-bit display palette and its
// shadow copy, clippers, the clip rectangle the software drawing respects, and the operations
// that create, fill, lock and present surfaces.
#pragma once
#include <cstdint>
#include "platform/surface.h"
#include "platform/types.h"

struct WINDOW_TYP;

// The window the display (and the keyboard) belong to; the entry point stores it.
extern WINDOW_TYP* main_window;

// What the last lock reported: the locked memory, its pitch and the surface's size.
struct LOCK_DESC_TYP {
  uint8_t* memory;
  int pitch;
  int width;
  int height;
};

extern SURFACE_TYP* primary_surface;
extern SURFACE_TYP* back_surface;
extern PALETTE_TYP* display_palette;
extern CLIPPER_TYP* back_clipper;
extern CLIPPER_TYP* window_clipper;
extern uint8_t* primary_buffer;
extern int primary_pitch;
extern uint8_t* back_buffer;
extern int back_pitch;
extern int screen_width;
extern int screen_height;
extern int screen_bpp;
extern int pixel_format;
extern int windowed;
extern int clip_min_x;
extern int clip_max_x;
extern int clip_min_y;
extern int clip_max_y;
extern PALETTEENTRY palette_shadow[256];
extern uint16_t (*rgb16_pack)(int red, int green, int blue);
extern LOCK_DESC_TYP lock_desc;

int display_init(int width, int height, int bpp, int windowed_flag);
int display_shutdown();
SURFACE_TYP* display_create_surface(int width, int height, int mem_flags, uint16_t color_key);
CLIPPER_TYP* display_attach_clipper(SURFACE_TYP* surface, int rect_count, const RECT* rects);
int display_fill_surface(SURFACE_TYP* surface, uint16_t color, const RECT* rect);
int display_flip();
int display_wait_vblank();
uint8_t* display_lock_surface(SURFACE_TYP* surface, int* pitch);
int display_unlock_surface(SURFACE_TYP* surface);
uint8_t* display_lock_primary();
uint8_t* display_lock_back();
int display_unlock_primary();
int display_unlock_back();
uint16_t pack_rgb555(int red, int green, int blue);

// The bounding rectangle of a clip list (what a clipper's region header records).
void display_clip_bounds(int rect_count, const RECT* rects, RECT* bound);
uint16_t pack_rgb565(int red, int green, int blue);
