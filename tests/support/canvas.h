// Test canvases for the software drawing: a picture with a guard border all round, filled with
// a marker colour, so that a write just outside the picture (or outside a smaller clip
// rectangle) shows up instead of landing in unrelated memory; the set of cells a drawing wrote.
// Also a guard that puts the display's clip rectangle and screen size back after a test changes
// them.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "engine/graphics/display.h"

template <typename Pixel>
class Canvas {
 public:
  static constexpr Pixel MARK = static_cast<Pixel>(0xA5A5);

  Canvas(int width, int height, int guard = 16)
      : width_(width), height_(height), guard_(guard),
        cells_(static_cast<size_t>(stride()) * (height + 2 * guard), MARK) {}

  int width() const { return width_; }
  int height() const { return height_; }
  int guard() const { return guard_; }
  int stride() const { return width_ + 2 * guard_; }
  int pitch() const { return stride() * static_cast<int>(sizeof(Pixel)); }
  uint8_t* memory() { return reinterpret_cast<uint8_t*>(&cells_[index(0, 0)]); }

  // Any cell of the picture or its border: -guard <= x < width + guard, likewise y.
  Pixel at(int x, int y) const { return cells_[index(x, y)]; }
  bool set(int x, int y) const { return at(x, y) != MARK; }
  void clear() { std::fill(cells_.begin(), cells_.end(), MARK); }

  // Calls f(x, y) for every written cell, border included.
  template <typename F>
  void each_written(F f) const {
    for (int y = -guard_; y < height_ + guard_; ++y)
      for (int x = -guard_; x < width_ + guard_; ++x)
        if (set(x, y)) f(x, y);
  }

  int written() const {
    int n = 0;
    each_written([&](int, int) { ++n; });
    return n;
  }

 private:
  size_t index(int x, int y) const {
    return static_cast<size_t>(y + guard_) * stride() + static_cast<size_t>(x + guard_);
  }

  int width_, height_, guard_;
  std::vector<Pixel> cells_;
};

using Points = std::set<std::pair<int, int>>;

// Every written cell of the canvas, border included, as (x, y).
template <typename Pixel>
Points written(const Canvas<Pixel>& c) {
  Points p;
  c.each_written([&](int x, int y) { p.insert({x, y}); });
  return p;
}

// Saves the clip rectangle and screen size and puts them back at the end of the scope.
class DisplayGlobalsGuard {
 public:
  DisplayGlobalsGuard()
      : min_x_(clip_min_x), max_x_(clip_max_x), min_y_(clip_min_y), max_y_(clip_max_y),
        width_(screen_width), height_(screen_height), bpp_(screen_bpp) {}
  ~DisplayGlobalsGuard() {
    clip_min_x = min_x_;
    clip_max_x = max_x_;
    clip_min_y = min_y_;
    clip_max_y = max_y_;
    screen_width = width_;
    screen_height = height_;
    screen_bpp = bpp_;
  }
  DisplayGlobalsGuard(const DisplayGlobalsGuard&) = delete;
  DisplayGlobalsGuard& operator=(const DisplayGlobalsGuard&) = delete;

 private:
  int min_x_, max_x_, min_y_, max_y_, width_, height_, bpp_;
};

inline void set_clip(int min_x, int max_x, int min_y, int max_y) {
  clip_min_x = min_x;
  clip_max_x = max_x;
  clip_min_y = min_y;
  clip_max_y = max_y;
}

inline bool in_clip(int x, int y) {
  return x >= clip_min_x && x <= clip_max_x && y >= clip_min_y && y <= clip_max_y;
}
