// The records behind the opaque surface, clipper and palette handles, shared by the core's
// files (surfaces, blits, display, text). Backends and the engine never see these.
#pragma once
#include <cstddef>
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
// the runs of each row that are not the key. Dropped by every write (see plat_surface_touched);
// kept with the picture, so every surface sharing it uses the same runs.
struct KEY_RUNS_TYP {
  int state;     // KEY_RUNS_NONE, KEY_RUNS_BUILT or KEY_RUNS_TOO_BROKEN
  int draws;     // keyed draws from this surface since its pixels last changed
  uint32_t key;  // the key the runs were made for
  std::vector<uint32_t> row_first;  // height + 1 entries: row y's runs are [row_first[y], row_first[y + 1])
  std::vector<KEY_RUN_TYP> list;
  std::vector<uint16_t> run_row;  // the row of each run, so whole rows are drawn in one loop
  // Each row's columns from its first pixel that is not the key to its last (start == end when
  // the row is all key). Sprites with many short runs per row draw quicker as whole spans,
  // merged with the key 16 bytes at a time, than run by run: by_spans says which way is used.
  std::vector<KEY_RUN_TYP> spans;
  int by_spans;
  // Frames whose rows are all narrow are drawn whole, when no column is cut, as the same
  // block_count merges of block_bytes in every row, from the byte row_block[y] of the row (no
  // loop that ends differently row by row, no run lengths to branch on). block_count 0: not so.
  int block_count;
  int block_bytes;
  std::vector<uint16_t> row_block;  // NO_BLOCKS for a row all of the key
};
constexpr uint16_t NO_BLOCKS = 0xFFFF;
constexpr int KEY_RUNS_NONE = 0;
constexpr int KEY_RUNS_BUILT = 1;
constexpr int KEY_RUNS_TOO_BROKEN = 2;  // too many short runs: the per-pixel row is as quick

// The pixels behind a surface. Off-screen surfaces with the same size, depth and pixels share
// one picture (a game spawns many actors from the same sheets: one copy of each frame serves all
// of them, and stays warm in the cache), and so do the key runs made from it. A shared picture
// is never written: whatever writes to a surface first gives it a picture of its own.
// What a copy into a blank surface brought in (see plat_surface_copy_in): the caller's name for
// the bytes, where they were read and how many. Another blank surface of the same geometry
// receiving the same copy would come out byte for byte the same.
struct COPY_KEY_TYP {
  uint64_t source;
  const uint8_t* from;
  size_t from_pitch;
  int row_bytes, rows;
};

struct PICTURE_TYP {
  int references;
  int shared;          // in the table of pictures that other surfaces may join
  uint64_t hash;       // of the geometry and pixels, while shared
  int blank;           // every byte 0, as made (cleared by the first write)
  int copied;          // in the table of copies under copy_key (only while shared)
  COPY_KEY_TYP copy_key;
  int width, height, bpp, pitch;
  std::vector<uint8_t> bytes;
  KEY_RUNS_TYP runs;
  int holds;  // presented frames still reading these pixels (backend.h, plat_picture_hold)
};

// Surfaces are counted so the release of a primary can take its back buffer with it.
struct SURFACE_TYP {
  int references;
  int width;
  int height;
  int bpp;
  int caps;
  int pitch;  // bytes per row
  PICTURE_TYP* picture;
  int locked;
  uint32_t key_low;
  uint32_t key_high;
  CLIPPER_TYP* clipper;
  PALETTE_TYP* palette;
  SURFACE_TYP* attached;  // the primary's back buffer
  SURFACE_TYP* owner;     // the primary this back buffer belongs to, or null
};

inline uint8_t* plat_surface_bytes(SURFACE_TYP* surface) { return surface->picture->bytes.data(); }
inline const uint8_t* plat_surface_bytes(const SURFACE_TYP* surface) {
  return surface->picture->bytes.data();
}

// A picture for a new surface, cleared to 0: for small off-screen surfaces the one blank picture
// of that geometry, shared. Null when memory runs out.
PICTURE_TYP* plat_picture_blank(int width, int height, int bpp, int pitch, int caps);
// Drops one reference; the last one frees the picture.
void plat_picture_release(PICTURE_TYP* picture);
// Gives the surface a picture nobody else holds (a copy when it was shared) that may be written.
// 0 when memory runs out; the surface then keeps what it had.
int plat_picture_own(SURFACE_TYP* surface);
// After a write: a small off-screen surface whose pixels match a shared picture joins it, else
// its picture becomes one that others may join.
void plat_picture_share(SURFACE_TYP* surface);
// For a copy into a blank surface: joins the picture an earlier copy under the same key made in
// a blank surface of the same geometry (1), or 0 when there is none.
int plat_picture_join_copy(SURFACE_TYP* surface, const COPY_KEY_TYP& key);
// After that copy was made by hand: shares the picture under the key only (it is not hashed, so
// surfaces written otherwise do not find it), and the next such copy joins it without looking
// at a byte.
void plat_picture_share_copy(SURFACE_TYP* surface, const COPY_KEY_TYP& key);

// The presented frames still reading `picture` take their own copy of its pixels and let it go.
void plat_picture_let_go(PICTURE_TYP* picture);

// Every path that may change a surface's pixels calls this first: locks, fills, blits and text
// into it. It lets presented frames keep what they showed, makes the picture the surface's own
// and drops its key runs; 0 when there is no memory for the copy (the write must then be
// refused). A flip exchanges pictures with their key runs and changes no pixels, so it does not.
inline int plat_surface_touched(SURFACE_TYP* surface) {
  if (surface->picture->holds) plat_picture_let_go(surface->picture);
  if (!plat_picture_own(surface)) return 0;
  surface->picture->blank = 0;
  surface->picture->runs.state = KEY_RUNS_NONE;
  surface->picture->runs.draws = 0;
  return 1;
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

// Pictures alive (shared ones counted once), for tests of what sharing frees.
int plat_picture_count();
