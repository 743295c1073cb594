// Colour fills and blits. Every write is cut to the destination's clip list and to the
// destination itself, and every read stays inside the source rectangle, whatever rectangles the
// caller passes. Coordinates are widened to 64 bits so huge or negative values cannot overflow.
#include <cstring>
#include <vector>

#include "platform/core/blit_rows.h"
#include "platform/core/surface_internal.h"
#include "platform/faults.h"

namespace {

struct BOX {
  int64_t left, top, right, bottom;
};

BOX box_of(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
BOX whole(const SURFACE_TYP* s) { return {0, 0, s->width, s->height}; }
bool empty(const BOX& b) { return b.left >= b.right || b.top >= b.bottom; }

BOX cut(const BOX& a, const BOX& b) {
  return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
          a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

// Calls draw(box) for each piece of `area` that the destination shows: the area cut to each
// rectangle of the clip list (the list means their union) and to the surface. Returns 0 when the
// destination has a clipper with no list yet, as the old API refused such a blit.
template <typename DRAW>
int for_each_visible(const SURFACE_TYP* dst, const BOX& area, DRAW draw) {
  BOX bounds = cut(area, whole(dst));
  if (!dst->clipper) {
    if (!empty(bounds)) draw(bounds);
    return 1;
  }
  if (dst->clipper->rects.empty()) return 0;
  for (const RECT& r : dst->clipper->rects) {
    BOX piece = cut(bounds, box_of(r));
    if (!empty(piece)) draw(piece);
  }
  return 1;
}

uint8_t* at(SURFACE_TYP* s, int64_t x, int64_t y) {
  return plat_surface_bytes(s) + static_cast<size_t>(y) * static_cast<size_t>(s->pitch) +
         static_cast<size_t>(x) * static_cast<size_t>(s->bpp / 8);
}

// Column and row of the source for each destination pixel of a stretched blit, kept from call
// to call so the hot path does not allocate.
std::vector<int> column_map;

}  // namespace

int plat_surface_fill(SURFACE_TYP* surface, const RECT* rect, uint32_t color) {
  if (!surface || surface->locked) return 0;
  BOX area = rect ? box_of(*rect) : whole(surface);
  if (empty(area)) return 0;
  if (!plat_surface_touched(surface)) return 0;
  return for_each_visible(surface, area, [&](const BOX& b) {
    int n = static_cast<int>(b.right - b.left);
    for (int64_t y = b.top; y < b.bottom; ++y) {
      if (surface->bpp == 8)
        std::memset(at(surface, b.left, y), static_cast<int>(color & 0xFF), static_cast<size_t>(n));
      else
        plat_row_fill16(at(surface, b.left, y), n, static_cast<uint16_t>(color));
    }
  });
}

int plat_surface_blt(SURFACE_TYP* dst, const RECT* dst_rect, SURFACE_TYP* src,
                     const RECT* src_rect, int flags) {
  if (!dst || !src || dst->locked || src->locked || dst->bpp != src->bpp) return 0;
  BOX s = src_rect ? box_of(*src_rect) : whole(src);
  BOX d = dst_rect ? box_of(*dst_rect) : whole(dst);
  if (empty(s) || empty(d)) return 0;
  if (s.left < 0 || s.top < 0 || s.right > src->width || s.bottom > src->height) return 0;
  if (plat_fault(CALL_SURFACE_BLT)) return 0;
  if (!plat_surface_touched(dst)) return 0;

  // A surface blitted onto itself reads from a copy, so overlapping rectangles read old pixels.
  std::vector<uint8_t> copy;
  const uint8_t* src_pixels = plat_surface_bytes(src);
  if (src == dst) {
    copy = src->picture->bytes;
    src_pixels = copy.data();
  }
  const int bytes = src->bpp / 8;
  const size_t src_pitch = static_cast<size_t>(src->pitch);
  auto src_at = [&](int64_t x, int64_t y) {
    return src_pixels + static_cast<size_t>(y) * src_pitch + static_cast<size_t>(x) * bytes;
  };
  const bool keyed = (flags & BLT_KEYSRC) != 0;
  const uint32_t key = src->key_low;
  const int64_t sw = s.right - s.left, sh = s.bottom - s.top;
  const int64_t dw = d.right - d.left, dh = d.bottom - d.top;

  if (sw == dw && sh == dh) {
    // Unscaled: each visible row is one run of the source row. This is the sprite hot path:
    // a keyed sprite drawn again with the same pixels copies its key runs.
    const KEY_RUNS_TYP* runs = keyed && src != dst ? plat_surface_key_runs(src, key) : nullptr;
    const size_t dst_pitch = static_cast<size_t>(dst->pitch);
    return for_each_visible(dst, d, [&](const BOX& b) {
      const int n = static_cast<int>(b.right - b.left);
      const int sx = static_cast<int>(s.left + (b.left - d.left));
      const int64_t sy = s.top + (b.top - d.top);
      uint8_t* to = at(dst, b.left, b.top);
      if (runs) {
        plat_runs_draw(to, dst_pitch, src_at(0, sy), src_pitch, runs, static_cast<int>(sy),
                       static_cast<int>(b.bottom - b.top), sx, n, src->width, bytes);
        return;
      }
      const uint8_t* from = src_at(sx, sy);
      for (int64_t y = b.top; y < b.bottom; ++y, from += src_pitch, to += dst_pitch) {
        if (bytes == 1) {
          if (keyed)
            plat_row_key8(to, from, n, static_cast<uint8_t>(key));
          else
            std::memcpy(to, from, static_cast<size_t>(n));
        } else {
          if (keyed)
            plat_row_key16(to, from, n, static_cast<uint16_t>(key));
          else
            std::memcpy(to, from, static_cast<size_t>(n) * 2);
        }
      }
    });
  }

  // Stretched, nearest: destination pixel i of the full rectangle samples source pixel
  // i * sw / dw, so clipping only removes pixels and never shifts the picture.
  return for_each_visible(dst, d, [&](const BOX& b) {
    int n = static_cast<int>(b.right - b.left);
    column_map.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
      column_map[static_cast<size_t>(i)] = static_cast<int>(s.left + (b.left + i - d.left) * sw / dw);
    for (int64_t y = b.top; y < b.bottom; ++y) {
      const uint8_t* from = src_at(0, s.top + (y - d.top) * sh / dh);
      uint8_t* to = at(dst, b.left, y);
      if (bytes == 1)
        plat_row_map8(to, from, column_map.data(), n, keyed, static_cast<uint8_t>(key));
      else
        plat_row_map16(to, from, column_map.data(), n, keyed, static_cast<uint16_t>(key));
    }
  });
}
