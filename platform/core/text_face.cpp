// The glyphs from DejaVu Sans Bold at 13 pixels, rendered one bit per pixel (no anti-aliasing,
// so 8-bit surfaces get exactly one colour). The face is found (font_find.h) and loaded when
// the display opens; without one the game runs without text, and says so once on stderr.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/backend.h"
#include "platform/core/font_find.h"
#include "platform/core/glyphs.h"

namespace {

constexpr int PIXEL_SIZE = 13;

struct GLYPH_REC {
  int ready;
  PLAT_GLYPH_TYP glyph;
  std::vector<uint8_t> ink;
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

}  // namespace

void plat_text_set_font_file(const char* path) {
  unload();
  font_file = path ? path : "";
}

void plat_text_set_font_search(PLAT_FONT_SEARCH search) {
  unload();
  font_search = search ? search : plat_font_find;
}

int plat_glyphs_ready() { return ready() ? 1 : 0; }
int plat_glyphs_ascender() { return font.ascender; }
int plat_glyphs_line_height() { return font.line_height; }

// The string's bytes are Latin-1 characters, as the old narrow text calls took them.
const PLAT_GLYPH_TYP* plat_glyph(uint8_t code) {
  GLYPH_REC& g = font.glyphs[code];
  if (g.ready) return &g.glyph;
  g.ready = 1;
  g.glyph = PLAT_GLYPH_TYP{};
  if (FT_Load_Char(font.face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)) return &g.glyph;
  FT_GlyphSlot slot = font.face->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  g.glyph.left = slot->bitmap_left;
  g.glyph.top = slot->bitmap_top;
  g.glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  g.glyph.width = static_cast<int>(bm.width);
  g.glyph.rows = static_cast<int>(bm.rows);
  g.ink.assign(static_cast<size_t>(g.glyph.width) * static_cast<size_t>(g.glyph.rows), 0);
  for (int y = 0; y < g.glyph.rows; ++y) {
    const uint8_t* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    for (int x = 0; x < g.glyph.width; ++x) {
      bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                                      : row[x] >= 128;
      g.ink[static_cast<size_t>(y) * static_cast<size_t>(g.glyph.width) + static_cast<size_t>(x)] =
          on;
    }
  }
  g.glyph.ink = g.ink.empty() ? nullptr : g.ink.data();
  return &g.glyph;
}
