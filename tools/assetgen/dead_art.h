// The laser-firing dead: a hooded wraith in a tattered robe aiming a lance whose glowing tip sits
// where its beam starts. Facings 0 (east), 2 (north), 4 (west) and 6 (south).
#pragma once
#include "tools/assetgen/paint.h"

constexpr int DEAD_WIDTH = 72;
constexpr int DEAD_HEIGHT = 80;

// frame 0 neutral, 1 and 2 the drifting steps, 3 firing.
void dead_paint(PAINT_TYP* out, int direction, int frame);
