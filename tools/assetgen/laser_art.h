// The laser sheet: two 150 x 150 cells, (0,0) the horizontal beam and (1,0) the vertical one.
// Ink lies only on the 3-pixel band the hits are tested on: offsets 72, 73 and 74 of the box.
#pragma once
#include "tools/assetgen/paint.h"

constexpr int LASER_SIZE = 150;
constexpr int LASER_BAND_FIRST = 72;
constexpr int LASER_BAND_LAST = 74;

void laser_paint(PAINT_TYP* out, bool vertical);
