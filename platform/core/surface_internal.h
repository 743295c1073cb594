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
};

// Makes a surface without consulting the fault table (the display's own surfaces have faults
// of their own). Null for a bad size or depth.
SURFACE_TYP* plat_surface_make(int width, int height, int bpp, int caps);

// The display's primary surface, or null (text uses its palette on 8-bit surfaces without one).
SURFACE_TYP* plat_display_primary();
// Called when a surface goes, so the display forgets a primary that no longer exists.
void plat_display_surface_gone(const SURFACE_TYP* surface);
// The 16-bit format in use: 16 (5.6.5) or 15 (5.5.5).
int plat_display_format16();
