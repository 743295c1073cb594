// The records behind the opaque surface, clipper and palette handles, shared by the core's
// files (surfaces, blits, display, text). Backends and the engine never see these.
#pragma once
#include <cstdint>
#include <vector>
#include "platform/surface.h"

// Clippers and palettes are counted: a surface that holds one keeps it alive after the caller
// has released its own reference, as the old API did.
struct CLIPPER_TYP {
  int references;
  std::vector<RECT> rects;
};

struct PALETTE_TYP {
  int references;
  PALETTEENTRY entries[256];
};

// A run of pixels that are not the colour key: columns [start, end) of one row.
struct KEY_RUN_TYP {
  uint16_t start;
  uint16_t end;
};

// What keyed blits from a surface can skip working out again while its pixels stay as they are:
// the runs of each row that are not the key. Dropped by every write (see plat_surface_touched).
struct KEY_RUNS_TYP {
  int state;     // KEY_RUNS_NONE, KEY_RUNS_BUILT or KEY_RUNS_TOO_BROKEN
  int draws;     // keyed draws from this surface since its pixels last changed
  uint32_t key;  // the key the runs were made for
  std::vector<uint32_t> row_first;  // height + 1 entries: row y's runs are [row_first[y], row_first[y + 1])
  std::vector<KEY_RUN_TYP> list;
};
constexpr int KEY_RUNS_NONE = 0;
constexpr int KEY_RUNS_BUILT = 1;
constexpr int KEY_RUNS_TOO_BROKEN = 2;  // too many short runs: the per-pixel row is as quick

// Surfaces are counted so the release of a primary can take its back buffer with it.
struct SURFACE_TYP {
  int references;
  int width;
  int height;
  int bpp;
  int caps;
  int pitch;  // bytes per row
  std::vector<uint8_t> pixels;
  int locked;
  uint32_t key_low;
  uint32_t key_high;
  CLIPPER_TYP* clipper;
  PALETTE_TYP* palette;
  SURFACE_TYP* attached;  // the primary's back buffer
  SURFACE_TYP* owner;     // the primary this back buffer belongs to, or null
  KEY_RUNS_TYP runs;
};

// Every path that may change a surface's pixels calls this first: locks, fills, blits and text
// into it, and the exchange of a flip.
inline void plat_surface_touched(SURFACE_TYP* surface) {
  surface->runs.state = KEY_RUNS_NONE;
  surface->runs.draws = 0;
}

// The key runs of a surface for its current pixels and key, made on the second keyed draw since
// the last write (a surface written before every draw never pays for them). Null when the
// surface is drawn per pixel instead.
const KEY_RUNS_TYP* plat_surface_key_runs(SURFACE_TYP* surface, uint32_t key);

// Makes a surface without consulting the fault table (the display's own surfaces have faults
// of their own). Null for a bad size or depth.
SURFACE_TYP* plat_surface_make(int width, int height, int bpp, int caps);

// The display's primary surface, or null (text uses its palette on 8-bit surfaces without one).
SURFACE_TYP* plat_display_primary();
// Called when a surface goes, so the display forgets a primary that no longer exists.
void plat_display_surface_gone(const SURFACE_TYP* surface);
// The 16-bit format in use: 16 (5.6.5) or 15 (5.5.5).
int plat_display_format16();
