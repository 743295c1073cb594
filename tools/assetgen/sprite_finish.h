// The last touches every sprite cell gets before it is mapped to the palette.
#pragma once
#include "tools/assetgen/paint.h"

// Fills key-coloured pockets smaller than max_hole pixels that ink surrounds with the given colour
// (a pinhole in a figure reads as a fault, not as a gap), and clears the cell's outermost ring so
// every cell keeps a key surround.
void sprite_finish(PAINT_TYP* paint, int max_hole, COLOR_TYP fill);
