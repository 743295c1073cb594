// The text face's glyphs as a table compiled into the browser's build, which has no FreeType.
// glyph_table (write_table.cpp) writes it from the native text code when the page is built, so
// text in the page has exactly the native pixels.
#pragma once
#include <cstdint>

struct GLYPH_TABLE_ENTRY_TYP {
  int16_t left;
  int16_t top;
  int16_t advance;
  int16_t width;
  int16_t rows;
  uint32_t first_bit;  // where its width x rows ink bits start in glyph_table_bits, row by row
};

struct GLYPH_TABLE_TYP {
  int ascender;
  int line_height;
  GLYPH_TABLE_ENTRY_TYP glyphs[256];  // by Latin-1 code
  uint32_t bit_count;
};

extern const GLYPH_TABLE_TYP glyph_table;
// The ink bits of every glyph, the first bit of a glyph in the highest bit of its byte.
extern const uint8_t glyph_table_bits[];
