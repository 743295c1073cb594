// The frame last drawn into the window's surface. The menu screens present the same picture
// every frame, and in play most of the arena stays as it was: only the target pixels drawn from
// frame pixels that changed since (any change of colours, size, scale or surface redraws
// everything) are drawn again, the rest of the surface already holds them. Changes are kept per
// frame row as a mask of column blocks (at most 64 a row), so a sprite moving in the arena costs
// the blocks it touches, not the whole width of its rows.
#include <cstring>
#include <vector>

#include "platform/sdl/sdl_frame_scale.h"
#include "platform/sdl/sdl_state.h"

namespace {

struct DRAWN_TYP {
  int valid;
  const SDL_Surface* surface;
  int surface_w, surface_h, surface_pitch;
  Uint32 surface_format;
  int scale, width, height, bpp, pixel_format;
  PALETTEENTRY palette[256];
  std::vector<uint8_t> rows;     // the frame's rows without their padding
  int block;                     // frame pixels per column block: a power of two, at least 8
  std::vector<uint64_t> changed;  // per frame row: its column blocks that differ from the kept
  std::vector<int> low, high;    // per target row: the frame rows it is drawn from
  std::vector<int> left, right;  // per target column: the frame columns it is drawn from
};

DRAWN_TYP drawn = {};

size_t row_bytes(int width, int bpp) { return static_cast<size_t>(width) * static_cast<size_t>(bpp / 8); }

bool same_setting(const SDL_Surface* surface, int scale, int width, int height, int bpp,
                  int pixel_format, const PALETTEENTRY* palette) {
  return drawn.valid && drawn.surface == surface && drawn.surface_w == surface->w &&
         drawn.surface_h == surface->h && drawn.surface_pitch == surface->pitch &&
         drawn.surface_format == surface->format->format && drawn.scale == scale &&
         drawn.width == width && drawn.height == height && drawn.bpp == bpp &&
         drawn.pixel_format == pixel_format &&
         (bpp != 8 || std::memcmp(drawn.palette, palette, sizeof drawn.palette) == 0);
}

// Keeps the whole frame and its setting as drawn. 0 when there is no room to keep it.
int keep_all(const SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch, int width,
             int height, int bpp, int pixel_format, const PALETTEENTRY* palette) {
  const size_t row = row_bytes(width, bpp);
  drawn.valid = 0;
  try {
    drawn.rows.resize(row * static_cast<size_t>(height));
    drawn.changed.resize(static_cast<size_t>(height));
    drawn.low.resize(static_cast<size_t>(surface->h));
    drawn.high.resize(static_cast<size_t>(surface->h));
    drawn.left.resize(static_cast<size_t>(surface->w));
    drawn.right.resize(static_cast<size_t>(surface->w));
  } catch (...) {
    return 0;
  }
  for (int y = 0; y < height; ++y)
    std::memcpy(drawn.rows.data() + row * y, pixels + static_cast<std::ptrdiff_t>(pitch) * y, row);
  sdl_frame_rows_read(scale, width, height, surface->w, surface->h, drawn.low.data(),
                      drawn.high.data());
  sdl_frame_columns_read(scale, width, height, surface->w, surface->h, drawn.left.data(),
                         drawn.right.data());
  // The fewest pixels a block (a power of two, at least 8) that leave at most 64 in a row.
  drawn.block = 8;
  while (drawn.block * 64 < width) drawn.block *= 2;
  drawn.valid = 1;
  drawn.surface = surface;
  drawn.surface_w = surface->w;
  drawn.surface_h = surface->h;
  drawn.surface_pitch = surface->pitch;
  drawn.surface_format = surface->format->format;
  drawn.scale = scale;
  drawn.width = width;
  drawn.height = height;
  drawn.bpp = bpp;
  drawn.pixel_format = pixel_format;
  if (bpp == 8) std::memcpy(drawn.palette, palette, sizeof drawn.palette);
  return 1;
}

// The column blocks of one row (row bytes long) where now differs from kept: blocks of
// 1 << block_shift bytes (at least 8), read eight bytes at a time.
uint64_t changed_blocks(const uint8_t* kept, const uint8_t* now, size_t row, int block_shift) {
  uint64_t mask = 0;
  size_t at = 0;
  for (; at + 8 <= row; at += 8) {
    uint64_t x, y;
    std::memcpy(&x, kept + at, 8);
    std::memcpy(&y, now + at, 8);
    if (x != y) mask |= uint64_t{1} << (at >> block_shift);
  }
  for (; at < row; ++at)
    if (kept[at] != now[at]) mask |= uint64_t{1} << (at >> block_shift);
  return mask;
}

// Marks the column blocks of each frame row that differ from the kept rows and keeps the rows;
// the count of rows that differ.
int mark_changed_rows(const uint8_t* pixels, int pitch) {
  const size_t row = row_bytes(drawn.width, drawn.bpp);
  int block_shift = 0;
  while ((size_t{1} << block_shift) < row_bytes(drawn.block, drawn.bpp)) ++block_shift;
  int count = 0;
  for (int y = 0; y < drawn.height; ++y) {
    uint8_t* kept = drawn.rows.data() + row * y;
    const uint8_t* now = pixels + static_cast<std::ptrdiff_t>(pitch) * y;
    uint64_t mask = 0;
    if (std::memcmp(kept, now, row) != 0) {
      mask = changed_blocks(kept, now, row, block_shift);
      std::memcpy(kept, now, row);
      ++count;
    }
    drawn.changed[static_cast<size_t>(y)] = mask;
  }
  return count;
}

// The column blocks target row y is drawn from that changed (0 for a row of bars).
uint64_t row_changes(int y) {
  const int low = drawn.low[static_cast<size_t>(y)];
  if (low < 0) return 0;
  return drawn.changed[static_cast<size_t>(low)] |
         drawn.changed[static_cast<size_t>(drawn.high[static_cast<size_t>(y)])];
}

// The target columns drawn from frame columns first .. end - 1: *left .. *right - 1 (the
// target's columns are drawn from frame columns in order, so they are one run).
void target_columns(int first, int end, int* left, int* right) {
  const int w = static_cast<int>(drawn.left.size());
  int x = 0;
  while (x < w && (drawn.left[static_cast<size_t>(x)] < 0 || drawn.right[static_cast<size_t>(x)] < first))
    ++x;
  *left = x;
  while (x < w && drawn.left[static_cast<size_t>(x)] >= 0 && drawn.left[static_cast<size_t>(x)] < end) ++x;
  *right = x;
}

// Adds a rectangle to those sent; out of room, the last one grows to cover it too (what it
// takes in besides is unchanged, and sending it again shows the same pixels).
void add_rect(const SDL_Rect& r, SDL_Rect* rects, int max_rects, int* count) {
  if (*count < max_rects) {
    rects[(*count)++] = r;
    return;
  }
  if (*count == 0) return;
  SDL_Rect& last = rects[*count - 1];
  const int x0 = last.x < r.x ? last.x : r.x, y0 = last.y < r.y ? last.y : r.y;
  const int x1 = last.x + last.w > r.x + r.w ? last.x + last.w : r.x + r.w;
  const int y1 = last.y + last.h > r.y + r.h ? last.y + last.h : r.y + r.h;
  last = {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace

void sdl_frame_forget_drawn() { drawn.valid = 0; }

int sdl_frame_same_as_drawn(const SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch,
                            int width, int height, int bpp, int pixel_format,
                            const PALETTEENTRY* palette) {
  if (same_setting(surface, scale, width, height, bpp, pixel_format, palette))
    return mark_changed_rows(pixels, pitch) == 0 ? 1 : 0;
  keep_all(surface, scale, pixels, pitch, width, height, bpp, pixel_format, palette);
  return 0;
}

int sdl_frame_draw_changed(SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch,
                           int width, int height, int bpp, int pixel_format,
                           const PALETTEENTRY* palette, const FRAME_COLOURS_TYP& colours,
                           SDL_Rect* bands, int max_bands) {
  uint8_t* target = static_cast<uint8_t*>(surface->pixels);
  if (!same_setting(surface, scale, width, height, bpp, pixel_format, palette)) {
    keep_all(surface, scale, pixels, pitch, width, height, bpp, pixel_format, palette);
    sdl_frame_draw_scaled(scale, pixels, pitch, width, height, colours, target, surface->pitch,
                          surface->w, surface->h);
    if (max_bands < 1) return 0;
    bands[0] = {0, 0, surface->w, surface->h};
    return 1;
  }
  if (mark_changed_rows(pixels, pitch) == 0) return 0;
  // Runs of target rows drawn from a changed frame row (a blended row reads two); in each, the
  // runs of column blocks that changed in any of them.
  int count = 0;
  for (int y = 0; y < surface->h;) {
    uint64_t blocks = row_changes(y);
    if (!blocks) {
      ++y;
      continue;
    }
    int end = y + 1;
    for (uint64_t more; end < surface->h && (more = row_changes(end)) != 0; ++end) blocks |= more;
    for (int b = 0; b < 64;) {
      if (!(blocks >> b & 1)) {
        ++b;
        continue;
      }
      int b_end = b + 1;
      while (b_end < 64 && (blocks >> b_end & 1)) ++b_end;
      const int c0 = b * drawn.block;
      const int c1 = b_end * drawn.block < width ? b_end * drawn.block : width;
      int left = 0, right = 0;
      target_columns(c0, c1, &left, &right);
      if (left < right) {
        sdl_frame_draw_scaled_rect(scale, pixels, pitch, width, height, colours, target,
                                   surface->pitch, surface->w, surface->h, y, end, left, right);
        add_rect({left, y, right - left, end - y}, bands, max_bands, &count);
      }
      b = b_end;
    }
    y = end;
  }
  return count;
}
