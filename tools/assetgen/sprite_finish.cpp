#include "tools/assetgen/sprite_finish.h"

#include <cstddef>
#include <vector>

void sprite_finish(PAINT_TYP* paint, int max_hole, COLOR_TYP fill) {
  int w = paint->width, h = paint->height;
  for (int x = 0; x < w; ++x) paint->cover[x] = paint->cover[static_cast<std::size_t>(h - 1) * w + x] = 0;
  for (int y = 0; y < h; ++y) paint->cover[static_cast<std::size_t>(y) * w] = paint->cover[static_cast<std::size_t>(y) * w + w - 1] = 0;
  // Label key regions; those that do not reach the cell edge and are small get filled.
  std::vector<int> label(static_cast<std::size_t>(w) * h, -1);
  std::vector<int> stack, region;
  for (int start = 0; start < w * h; ++start) {
    if (paint->cover[start] >= 0.5f || label[start] >= 0) continue;
    bool edge = false;
    region.clear();
    stack.push_back(start);
    label[start] = start;
    while (!stack.empty()) {
      int p = stack.back();
      stack.pop_back();
      region.push_back(p);
      int x = p % w, y = p / w;
      if (x == 0 || y == 0 || x == w - 1 || y == h - 1) edge = true;
      const int nb[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (auto& d : nb) {
        int nx = x + d[0], ny = y + d[1];
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        int q = ny * w + nx;
        if (paint->cover[q] >= 0.5f || label[q] >= 0) continue;
        label[q] = start;
        stack.push_back(q);
      }
    }
    if (!edge && static_cast<int>(region.size()) < max_hole)
      for (int p : region) {
        paint->color[p] = fill;
        paint->cover[p] = 1;
      }
  }
}
