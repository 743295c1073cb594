// The glyphs of the browser's build: unpacked once from the table written when the page was
// built (glyph_table.h), so there is no face to find and nothing can be missing.
#include <vector>

#include "platform/core/glyphs.h"
#include "platform/web/glyphs/glyph_table.h"

namespace {

struct UNPACKED_REC {
  bool ready = false;
  PLAT_GLYPH_TYP glyphs[256];
  std::vector<uint8_t> ink;  // every glyph's ink bytes, in table order
};

UNPACKED_REC unpacked;

void unpack() {
  unpacked.ink.assign(glyph_table.bit_count, 0);
  for (uint32_t bit = 0; bit < glyph_table.bit_count; ++bit)
    unpacked.ink[bit] = (glyph_table_bits[bit / 8] >> (7 - bit % 8)) & 1;
  for (int code = 0; code < 256; ++code) {
    const GLYPH_TABLE_ENTRY_TYP& e = glyph_table.glyphs[code];
    const bool inked = e.width > 0 && e.rows > 0;
    unpacked.glyphs[code] = {e.left, e.top, e.advance, e.width, e.rows,
                             inked ? unpacked.ink.data() + e.first_bit : nullptr};
  }
  unpacked.ready = true;
}

}  // namespace

int plat_glyphs_ready() {
  if (!unpacked.ready) unpack();
  return 1;
}

const PLAT_GLYPH_TYP* plat_glyph(uint8_t code) {
  plat_glyphs_ready();
  return &unpacked.glyphs[code];
}

int plat_glyphs_ascender() { return glyph_table.ascender; }
int plat_glyphs_line_height() { return glyph_table.line_height; }
