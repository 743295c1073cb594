#include "tools/assetgen/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <map>
#include <string>

namespace {

FT_Library library() {
  static FT_Library lib = nullptr;
  if (!lib && FT_Init_FreeType(&lib) != 0) lib = nullptr;
  return lib;
}

FT_Face face(const char* file, int pixel_height) {
  static std::map<std::string, FT_Face> faces;
  std::string key = std::string(file) + "#" + std::to_string(pixel_height);
  auto it = faces.find(key);
  if (it != faces.end()) return it->second;
  FT_Library lib = library();
  FT_Face f = nullptr;
  if (!lib || FT_New_Face(lib, file, 0, &f) != 0) return nullptr;
  if (FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixel_height)) != 0) {
    FT_Done_Face(f);
    return nullptr;
  }
  faces[key] = f;
  return f;
}

}  // namespace

int font_draw(MASK_TYP* mask, const char* face_file, int pixel_height, int x, int y, const char* text) {
  FT_Face f = face(face_file, pixel_height);
  if (!f) return 0;
  int pen = x;
  FT_UInt previous = 0;
  for (const char* p = text; *p; ++p) {
    FT_UInt glyph = FT_Get_Char_Index(f, static_cast<unsigned char>(*p));
    if (previous && glyph && FT_HAS_KERNING(f)) {
      FT_Vector k;
      if (FT_Get_Kerning(f, previous, glyph, FT_KERNING_DEFAULT, &k) == 0) pen += static_cast<int>(k.x >> 6);
    }
    previous = glyph;
    if (FT_Load_Glyph(f, glyph, FT_LOAD_RENDER) != 0) continue;
    FT_GlyphSlot g = f->glyph;
    const FT_Bitmap& bm = g->bitmap;
    for (unsigned row = 0; row < bm.rows; ++row)
      for (unsigned col = 0; col < bm.width; ++col) {
        int px = pen + g->bitmap_left + static_cast<int>(col), py = y - g->bitmap_top + static_cast<int>(row);
        if (px < 0 || py < 0 || px >= mask->width || py >= mask->height) continue;
        float v = bm.buffer[row * bm.pitch + col] / 255.0f;
        float& m = mask->value[static_cast<size_t>(py) * mask->width + px];
        m = std::min(1.0f, m + v);
      }
    pen += static_cast<int>(g->advance.x >> 6);
  }
  return 1;
}

int font_width(const char* face_file, int pixel_height, const char* text) {
  FT_Face f = face(face_file, pixel_height);
  if (!f) return 0;
  int pen = 0;
  FT_UInt previous = 0;
  for (const char* p = text; *p; ++p) {
    FT_UInt glyph = FT_Get_Char_Index(f, static_cast<unsigned char>(*p));
    if (previous && glyph && FT_HAS_KERNING(f)) {
      FT_Vector k;
      if (FT_Get_Kerning(f, previous, glyph, FT_KERNING_DEFAULT, &k) == 0) pen += static_cast<int>(k.x >> 6);
    }
    previous = glyph;
    if (FT_Load_Glyph(f, glyph, FT_LOAD_DEFAULT) != 0) continue;
    pen += static_cast<int>(f->glyph->advance.x >> 6);
  }
  return pen;
}
