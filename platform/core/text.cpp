// Text in the classic 16-pixel system look: DejaVu Sans Bold at 13 pixels, rendered one bit per
// pixel (no anti-aliasing, so 8-bit surfaces get exactly one colour), with a transparent
// background. Ink pixels are written straight into the surface's memory. The face is found
// (font_find.h) and loaded when the display opens; without one the game runs without text, and
// says so once on stderr.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/backend.h"
#include "platform/core/font_find.h"
#include "platform/core/surface_internal.h"
#include "platform/faults.h"
#include "platform/text.h"

namespace {

constexpr int PIXEL_SIZE = 13;
constexpr int FALLBACK_LINE_HEIGHT = 16;

struct GLYPH_REC {
  int ready;
  int left;     // from the pen to the first column
  int top;      // from the baseline up to the first row
  int advance;  // whole pixels
  int width;
  int rows;
  std::vector<uint8_t> ink;  // width x rows, 1 where the glyph inks
};

struct FACE_REC {
  int tried;
  int loaded;
  FT_Library library;
  FT_Face face;
  int ascender;
  int line_height;
  GLYPH_REC glyphs[256];
};

FACE_REC font = {};
std::string font_file;  // a face set by a test; empty: search for it
PLAT_FONT_SEARCH font_search = plat_font_find;

void unload() {
  if (font.face) FT_Done_Face(font.face);
  if (font.library) FT_Done_FreeType(font.library);
  font.face = nullptr;
  font.library = nullptr;
  for (GLYPH_REC& g : font.glyphs) g = GLYPH_REC{};
  font.tried = font.loaded = 0;
}

// Finds and loads the face once; a missing face is remembered (and reported, once) so that no
// draw retries.
bool ready() {
  if (font.tried) return font.loaded != 0;
  font.tried = 1;
  std::string path = font_file;
  if (path.empty()) {
    char found[4096];
    if (!font_search || !font_search(found, sizeof found)) {
      std::fprintf(stderr,
                   "ashfallow: no DejaVu Sans Bold font found (fontconfig, %s); running without "
                   "text\n",
                   PLAT_FONT_FIXED_PATH);
      return false;
    }
    path = found;
  }
  if (FT_Init_FreeType(&font.library)) {
    font.library = nullptr;
    std::fprintf(stderr, "ashfallow: FreeType cannot start; running without text\n");
    return false;
  }
  if (FT_New_Face(font.library, path.c_str(), 0, &font.face) ||
      FT_Set_Pixel_Sizes(font.face, 0, PIXEL_SIZE)) {
    if (font.face) FT_Done_Face(font.face);
    font.face = nullptr;
    FT_Done_FreeType(font.library);
    font.library = nullptr;
    std::fprintf(stderr, "ashfallow: cannot load the font %s; running without text\n",
                 path.c_str());
    return false;
  }
  font.ascender = static_cast<int>((font.face->size->metrics.ascender + 63) >> 6);
  // The line is the face's whole extent, ascender to descender, rounded up: 16 pixels here,
  // the height of the classic system font's line.
  const long extent = font.face->ascender - font.face->descender;
  const long units = font.face->units_per_EM > 0 ? font.face->units_per_EM : 2048;
  font.line_height = static_cast<int>((extent * PIXEL_SIZE + units - 1) / units);
  font.loaded = 1;
  return true;
}

// The string's bytes are Latin-1 characters, as the old narrow text calls took them.
const GLYPH_REC& glyph(uint8_t code) {
  GLYPH_REC& g = font.glyphs[code];
  if (g.ready) return g;
  g.ready = 1;
  if (FT_Load_Char(font.face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)) return g;
  FT_GlyphSlot slot = font.face->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  g.width = static_cast<int>(bm.width);
  g.rows = static_cast<int>(bm.rows);
  g.ink.assign(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows), 0);
  for (int y = 0; y < g.rows; ++y) {
    const uint8_t* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    for (int x = 0; x < g.width; ++x) {
      bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                                      : row[x] >= 128;
      g.ink[static_cast<size_t>(y) * static_cast<size_t>(g.width) + static_cast<size_t>(x)] = on;
    }
  }
  return g;
}

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

void plat_text_set_font_file(const char* path) {
  unload();
  font_file = path ? path : "";
}

void plat_text_set_font_search(PLAT_FONT_SEARCH search) {
  unload();
  font_search = search ? search : plat_font_find;
}

int plat_text_prepare() { return ready() ? 1 : 0; }

int plat_text_draw(SURFACE_TYP* surface, int x, int y, const char* text, uint8_t red,
                   uint8_t green, uint8_t blue) {
  if (!surface || surface->locked) return 0;
  if (plat_fault(CALL_TEXT)) return 0;
  if (!ready()) return 0;
  if (!text || !*text) return 1;
  plat_surface_touched(surface);

  uint32_t color;
  if (surface->bpp == 8) {
    const PALETTE_TYP* palette = surface->palette;
    if (!palette && plat_display_primary()) palette = plat_display_primary()->palette;
    color = static_cast<uint32_t>(nearest_index(palette, red, green, blue));
  } else {
    color = pack16(red, green, blue);
  }

  const int64_t baseline = int64_t{y} + font.ascender;
  int64_t pen = x;
  for (const char* c = text; *c; ++c) {
    const GLYPH_REC& g = glyph(static_cast<uint8_t>(*c));
    const int64_t gx = pen + g.left, gy = baseline - g.top;
    for (int row = 0; row < g.rows; ++row) {
      int64_t py = gy + row;
      if (py < 0 || py >= surface->height) continue;
      uint8_t* line = surface->pixels.data() + static_cast<size_t>(py) * surface->pitch;
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
  if (!text || !ready()) return 0;
  int width = 0;
  for (const char* c = text; *c; ++c) width += glyph(static_cast<uint8_t>(*c)).advance;
  return width;
}

int plat_text_line_height() { return ready() ? font.line_height : FALLBACK_LINE_HEIGHT; }
