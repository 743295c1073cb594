// Text in the classic 16-pixel system look, one colour, transparent background: the ink pixels
// of each glyph (glyphs.h) are written straight into the surface's memory. Without glyphs the
// game runs without text.
#include <cstddef>
#include <cstring>

#include "platform/core/backend.h"
#include "platform/core/glyphs.h"
#include "platform/core/surface_internal.h"
#include "platform/faults.h"
#include "platform/text.h"

namespace {

constexpr int FALLBACK_LINE_HEIGHT = 16;

// Nearest palette entry by squared distance; the lowest index wins a tie.
int nearest_index(const PALETTE_TYP* palette, int red, int green, int blue) {
  if (!palette) return 0;
  int best = 0;
  long best_distance = -1;
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY& e = palette->entries[i];
    long dr = e.red - red, dg = e.green - green, db = e.blue - blue;
    long distance = dr * dr + dg * dg + db * db;
    if (best_distance < 0 || distance < best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

uint16_t pack16(int red, int green, int blue) {
  if (plat_display_format16() == 15)
    return static_cast<uint16_t>(((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3));
  return static_cast<uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

}  // namespace

int plat_text_prepare() { return plat_glyphs_ready(); }

int plat_text_draw(SURFACE_TYP* surface, int x, int y, const char* text, uint8_t red,
                   uint8_t green, uint8_t blue) {
  if (!surface || surface->locked) return 0;
  if (plat_fault(CALL_TEXT)) return 0;
  if (!plat_glyphs_ready()) return 0;
  if (!text || !*text) return 1;
  if (!plat_surface_touched(surface)) return 0;

  uint32_t color;
  if (surface->bpp == 8) {
    const PALETTE_TYP* palette = surface->palette;
    if (!palette && plat_display_primary()) palette = plat_display_primary()->palette;
    color = static_cast<uint32_t>(nearest_index(palette, red, green, blue));
  } else {
    color = pack16(red, green, blue);
  }

  const int64_t baseline = int64_t{y} + plat_glyphs_ascender();
  int64_t pen = x;
  for (const char* c = text; *c; ++c) {
    const PLAT_GLYPH_TYP& g = *plat_glyph(static_cast<uint8_t>(*c));
    const int64_t gx = pen + g.left, gy = baseline - g.top;
    for (int row = 0; row < g.rows && g.ink; ++row) {
      int64_t py = gy + row;
      if (py < 0 || py >= surface->height) continue;
      uint8_t* line = plat_surface_bytes(surface) + static_cast<size_t>(py) * surface->pitch;
      for (int col = 0; col < g.width; ++col) {
        int64_t px = gx + col;
        if (px < 0 || px >= surface->width) continue;
        if (!g.ink[static_cast<size_t>(row) * static_cast<size_t>(g.width) +
                   static_cast<size_t>(col)])
          continue;
        if (surface->bpp == 8) {
          line[px] = static_cast<uint8_t>(color);
        } else {
          uint16_t v = static_cast<uint16_t>(color);
          std::memcpy(line + 2 * px, &v, 2);
        }
      }
    }
    pen += g.advance;
  }
  return 1;
}

int plat_text_width(const char* text) {
  if (!text || !plat_glyphs_ready()) return 0;
  int width = 0;
  for (const char* c = text; *c; ++c) width += plat_glyph(static_cast<uint8_t>(*c))->advance;
  return width;
}

int plat_text_line_height() {
  return plat_glyphs_ready() ? plat_glyphs_line_height() : FALLBACK_LINE_HEIGHT;
}
