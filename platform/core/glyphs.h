// The glyphs text is drawn with, whichever way a build has them: rendered from the DejaVu face
// with FreeType (text_face.cpp), or read from a table that the same code wrote when the build
// was made (the browser's build, which has no FreeType). Either way the pixels are the same.
#pragma once
#include <cstdint>

// One character's glyph, placed on the pen at the baseline.
struct PLAT_GLYPH_TYP {
  int left;           // from the pen to the first column
  int top;            // from the baseline up to the first row
  int advance;        // whole pixels the pen moves on
  int width;
  int rows;
  const uint8_t* ink; // width x rows bytes, 1 where the glyph inks (null when it has none)
};

// 1 when glyphs can be had (the face is found and loaded on the first call; a missing one is
// reported once on stderr), else 0.
int plat_glyphs_ready();
// The glyph of a Latin-1 character; only valid once plat_glyphs_ready() said 1.
const PLAT_GLYPH_TYP* plat_glyph(uint8_t code);
// Pixels from the top of a line to its baseline, and the height of one line.
int plat_glyphs_ascender();
int plat_glyphs_line_height();
