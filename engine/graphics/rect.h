// Colour-filled rectangles of a surface and the integer box-overlap test.
#pragma once

#include "platform/surface.h"

// Fills left..right-1 x top..bottom-1 of an unlocked surface through the surface fill (cut to
// the surface and its clipper). 1, or 0 for a null surface.
int fill_rect(int left, int top, int right, int bottom, int color, SURFACE_TYP* surface);

// 1 when the two boxes overlap by the sprites' shrunken-box rule, else 0.
int rect_overlap(int x1, int y1, int width1, int height1, int x2, int y2, int width2,
                 int height2);
