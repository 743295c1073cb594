// Distance approximations without square roots, within a few per cent of the true length.
#pragma once

// Integer 2-D length of (dx, dy); saturates at the largest int.
int fast_distance_2d(int dx, int dy);
// 3-D length of (dx, dy, dz) to whole units (the components are taken in 1/1024 steps).
float fast_distance_3d(float dx, float dy, float dz);
