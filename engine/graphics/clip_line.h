// Cutting a segment to the clip rectangle (clip_min_x .. clip_max_y).
#pragma once

// 1 with the four values replaced by the visible part, or 0 with them unchanged when nothing of
// the segment is visible. Any int coordinates are accepted.
int clip_line(int* x0, int* y0, int* x1, int* y1);
