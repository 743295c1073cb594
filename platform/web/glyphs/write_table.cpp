// glyph_table OUT.cpp: writes the face's glyphs, as the native text code renders them, into a
// source file the browser's build compiles (glyph_table.h says what it holds).
#include <cstdio>
#include <vector>

#include "platform/core/glyphs.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glyph_table OUT.cpp\n");
    return 2;
  }
  if (!plat_glyphs_ready()) {
    std::fprintf(stderr, "glyph_table: the text face cannot be loaded\n");
    return 1;
  }
  std::vector<uint8_t> bits;
  uint32_t bit_count = 0;
  const auto put_bit = [&](int on) {
    if (bit_count % 8 == 0) bits.push_back(0);
    if (on) bits.back() = static_cast<uint8_t>(bits.back() | (0x80 >> (bit_count % 8)));
    ++bit_count;
  };
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::fprintf(stderr, "glyph_table: cannot write %s\n", argv[1]);
    return 1;
  }
  std::fprintf(out,
               "// Written by glyph_table from the native text code when the page was built.\n"
               "#include \"platform/web/glyphs/glyph_table.h\"\n\n"
               "const GLYPH_TABLE_TYP glyph_table = {%d, %d, {\n",
               plat_glyphs_ascender(), plat_glyphs_line_height());
  for (int code = 0; code < 256; ++code) {
    const PLAT_GLYPH_TYP& g = *plat_glyph(static_cast<uint8_t>(code));
    std::fprintf(out, "  {%d, %d, %d, %d, %d, %uu},\n", g.left, g.top, g.advance, g.width,
                 g.rows, bit_count);
    for (int i = 0; g.ink && i < g.width * g.rows; ++i) put_bit(g.ink[i]);
  }
  std::fprintf(out, "}, %uu};\n\nconst uint8_t glyph_table_bits[] = {", bit_count);
  for (size_t i = 0; i < bits.size(); ++i)
    std::fprintf(out, "%s0x%02x,", i % 16 ? " " : "\n  ", bits[i]);
  std::fprintf(out, "\n  0};\n");
  const bool written = std::fflush(out) == 0 && !std::ferror(out);
  if (std::fclose(out) != 0 || !written) {
    std::fprintf(stderr, "glyph_table: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
