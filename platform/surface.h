// Software surfaces, palettes and clippers: the services of the old display API that the
// engine draws with. Pure code shared by both backends.
//
// A surface is 8 bits (palette indices) or 16 bits (packed RGB) per pixel. While a surface is
// locked, nothing else may touch it: blits, fills and text on it (or from it) are refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include "platform/types.h"

struct SURFACE_TYP;  // opaque
struct PALETTE_TYP;  // opaque: 256 entries
struct CLIPPER_TYP;  // opaque: a list of rectangles

// Surface capability bits, numbered as the old API numbered them. Placement bits are stored and
// otherwise ignored: every surface lives in system memory.
constexpr int DDSCAPS_BACKBUFFER = 0x00000004;
constexpr int DDSCAPS_COMPLEX = 0x00000008;
constexpr int DDSCAPS_FLIP = 0x00000010;
constexpr int DDSCAPS_OFFSCREENPLAIN = 0x00000040;
constexpr int DDSCAPS_PRIMARYSURFACE = 0x00000200;
constexpr int DDSCAPS_SYSTEMMEMORY = 0x00000800;
constexpr int DDSCAPS_VIDEOMEMORY = 0x00004000;

// Blit flags.
constexpr int BLT_WAIT = 0x01000000;     // accepted for the old callers; blits never wait
constexpr int BLT_KEYSRC = 0x00008000;   // skip source pixels equal to the source colour key

// Creates an off-screen surface of width x height at bpp 8 or 16, cleared to 0. Null on
// failure (bad size or depth, no memory, or an injected fault).
SURFACE_TYP* plat_surface_create(int width, int height, int bpp, int caps);
// Releases a surface (and drops its clipper and palette references). Null is ignored.
void plat_surface_release(SURFACE_TYP* surface);

int plat_surface_width(const SURFACE_TYP* surface);
int plat_surface_height(const SURFACE_TYP* surface);
int plat_surface_bpp(const SURFACE_TYP* surface);
int plat_surface_caps(const SURFACE_TYP* surface);
int plat_surface_is_locked(const SURFACE_TYP* surface);

// Source colour key (low and high values of an inclusive range, as the old API stored it;
// blits use the low value). 1, or 0 for a null surface.
int plat_surface_set_color_key(SURFACE_TYP* surface, uint32_t low, uint32_t high);
int plat_surface_get_color_key(const SURFACE_TYP* surface, uint32_t* low, uint32_t* high);

// Locks the whole surface: returns its memory and stores the pitch in bytes. Null when the
// surface is null, already locked, or a fault is injected.
uint8_t* plat_surface_lock(SURFACE_TYP* surface, int* pitch);
// 1, or 0 when the surface is null or not locked.
int plat_surface_unlock(SURFACE_TYP* surface);
// Copies `rows` rows of `row_bytes` bytes, `from_pitch` apart in `from`, into the top left of the
// surface: what a lock, a copy row by row and an unlock would do, with the same refusals and the
// same fault (CALL_SURFACE_LOCK). `source` is 0, or a number the caller gives these bytes and no
// others while it is in use (a loaded sheet's): then a surface still blank receiving a copy from
// the same place that an earlier blank surface of its size received takes that surface's
// pixels as they were, without a copy. 1, or 0 when the surface is null, locked, smaller than
// the rows, a fault is injected or memory runs out (the surface then stays as it was).
int plat_surface_copy_in(SURFACE_TYP* surface, const uint8_t* from, size_t from_pitch,
                         int row_bytes, int rows, uint64_t source);

// Fills a rectangle (null: the whole surface) with a colour (low 8 or 16 bits used), cut to
// the surface and to the clip list of its clipper if it has one. 1, or 0 when locked or null.
int plat_surface_fill(SURFACE_TYP* surface, const RECT* rect, uint32_t color);

// Copies src_rect of src (null: all of it) onto dst_rect of dst (null: all of it), stretched
// with nearest sampling when the sizes differ, skipping source pixels equal to the source key
// with BLT_KEYSRC, and cut to dst's clip list (or to dst itself without a clipper). Both
// surfaces must have the same depth. 1, or 0 when either is null or locked, depths differ, or a
// rectangle is empty or inverted, or the source rectangle is not inside the source.
int plat_surface_blt(SURFACE_TYP* dst, const RECT* dst_rect, SURFACE_TYP* src,
                     const RECT* src_rect, int flags);
// A hint that a blit from the surface comes soon: its record is fetched into the cache while
// other work goes on. Changes nothing; null is ignored.
void plat_surface_prefetch(const SURFACE_TYP* surface);

// Clippers: a list of rectangles. A surface holds at most one clipper.
CLIPPER_TYP* plat_clipper_create();
void plat_clipper_release(CLIPPER_TYP* clipper);
// Replaces the clipper's list with a copy of count rectangles. 1, or 0 on failure.
int plat_clipper_set_list(CLIPPER_TYP* clipper, const RECT* rects, int count);
// Copies up to max rectangles out; returns how many the list holds (-1 for a null clipper).
int plat_clipper_get_list(const CLIPPER_TYP* clipper, RECT* rects, int max);
// Attaches (or with null detaches) a clipper. The surface keeps a reference; the caller still
// releases its own. 1, or 0 for a null surface or an injected fault.
int plat_surface_set_clipper(SURFACE_TYP* surface, CLIPPER_TYP* clipper);
CLIPPER_TYP* plat_surface_get_clipper(const SURFACE_TYP* surface);

// Palettes of 256 entries. Null on failure.
PALETTE_TYP* plat_palette_create(const PALETTEENTRY entries[256]);
void plat_palette_release(PALETTE_TYP* palette);
// 1, or 0 when the range leaves 0..255 or the palette is null.
int plat_palette_set_entries(PALETTE_TYP* palette, int first, int count, const PALETTEENTRY* entries);
int plat_palette_get_entries(const PALETTE_TYP* palette, int first, int count, PALETTEENTRY* entries);
// Attaches a palette to an 8-bit surface (the primary's palette is the display's). 1 or 0.
int plat_surface_set_palette(SURFACE_TYP* surface, PALETTE_TYP* palette);
PALETTE_TYP* plat_surface_get_palette(const SURFACE_TYP* surface);
