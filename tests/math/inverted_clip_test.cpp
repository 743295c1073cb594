// A clip rectangle whose minimum lies above its maximum holds no pixel: every clipped drawing
// operation draws nothing into it, whatever it is asked to draw.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/graphics/lines.h"
#include "engine/graphics/pixels.h"
#include "engine/math/polygon.h"
#include "engine/math/triangle.h"
#include "tests/support/canvas.h"

namespace {

struct Clip {
  const char* name;
  int min_x, max_x, min_y, max_y;
};

// Each operation draws something that covers the whole canvas and more.
struct Operation {
  const char* name;
  int bytes_per_pixel;
  std::function<void(uint8_t*, int)> draw;
};

// A diamond whose sides cross the canvas.
std::vector<VERTEX_TYP> diamond = {{-20, 24}, {32, -20}, {84, 24}, {32, 70}};

POLY_TYP outline() {
  POLY_TYP p{};
  p.state = 1;
  p.vertex_count = static_cast<int>(diamond.size());
  p.color = 7;
  p.vertices = diamond.data();
  return p;
}

const Operation kOperations[] = {
    {"hline8", 1, [](uint8_t* m, int p) { for (int y = -5; y < 60; ++y) hline8(-100, 100, y, 7, m, p); }},
    {"hline16", 2, [](uint8_t* m, int p) { for (int y = -5; y < 60; ++y) hline16(100, -100, y, 7, m, p); }},
    {"vline8", 1, [](uint8_t* m, int p) { for (int x = -5; x < 60; ++x) vline8(-100, 100, x, 7, m, p); }},
    {"vline16", 2, [](uint8_t* m, int p) { for (int x = -5; x < 60; ++x) vline16(100, -100, x, 7, m, p); }},
    {"draw_clip_line8", 1, [](uint8_t* m, int p) {
       for (int y = -5; y < 60; ++y) draw_clip_line8(-100, y, 100, 40 - y, 7, m, p);
     }},
    {"draw_clip_line16", 2, [](uint8_t* m, int p) {
       for (int x = -5; x < 60; ++x) draw_clip_line16(x, -100, 30, 100, 7, m, p);
     }},
    {"draw_polygon_8", 1, [](uint8_t* m, int p) { POLY_TYP q = outline(); draw_polygon_8(&q, m, p); }},
    {"draw_polygon_16", 2, [](uint8_t* m, int p) { POLY_TYP q = outline(); draw_polygon_16(&q, m, p); }},
    {"draw_triangle_8", 1, [](uint8_t* m, int p) { draw_triangle_8(-90, -10, 120, 0, 10, 140, 7, m, p); }},
    {"draw_triangle_16", 2, [](uint8_t* m, int p) { draw_triangle_16(-90, -10, 120, 0, 10, 140, 7, m, p); }},
    {"draw_triangle_fixed_8", 1, [](uint8_t* m, int p) { draw_triangle_fixed_8(-90, -10, 120, 0, 10, 140, 7, m, p); }},
    {"draw_flat_top_8", 1, [](uint8_t* m, int p) { draw_flat_top_8(-90, -10, 120, -10, 10, 140, 7, m, p); }},
    {"draw_flat_bottom_8", 1, [](uint8_t* m, int p) { draw_flat_bottom_8(10, -10, -90, 140, 120, 140, 7, m, p); }},
    {"draw_flat_top_16", 2, [](uint8_t* m, int p) { draw_flat_top_16(-90, -10, 120, -10, 10, 140, 7, m, p); }},
    {"draw_flat_bottom_16", 2, [](uint8_t* m, int p) { draw_flat_bottom_16(10, -10, -90, 140, 120, 140, 7, m, p); }},
    {"draw_flat_top_fixed_8", 1, [](uint8_t* m, int p) { draw_flat_top_fixed_8(-90, -10, 120, -10, 10, 140, 7, m, p); }},
    {"draw_flat_bottom_fixed_8", 1, [](uint8_t* m, int p) { draw_flat_bottom_fixed_8(10, -10, -90, 140, 120, 140, 7, m, p); }},
};

const Clip kInverted[] = {
    {"ColumnsCrossedByTwo", 22, 20, 0, 47},
    {"ColumnsFarApart", 63, 0, 0, 47},
    {"RowsCrossedByTwo", 0, 63, 30, 28},
    {"Both", 40, 10, 47, 0},
};

class InvertedClip : public ::testing::TestWithParam<std::tuple<Operation, Clip>> {
 protected:
  DisplayGlobalsGuard saved;
};

TEST_P(InvertedClip, DrawsNothing) {
  const auto& [op, clip] = GetParam();
  set_clip(clip.min_x, clip.max_x, clip.min_y, clip.max_y);
  if (op.bytes_per_pixel == 1) {
    Canvas<uint8_t> c(64, 48);
    op.draw(c.memory(), c.pitch());
    EXPECT_EQ(c.written(), 0);
  } else {
    Canvas<uint16_t> c(64, 48);
    op.draw(c.memory(), c.pitch());
    EXPECT_EQ(c.written(), 0);
  }
}

// The same operations do draw under an ordinary clip rectangle, so that nothing above passes
// for want of drawing anything at all.
TEST(InvertedClipControl, EveryOperationDrawsUnderAnOrdinaryClip) {
  DisplayGlobalsGuard saved;
  set_clip(0, 63, 0, 47);
  for (const Operation& op : kOperations) {
    int written;
    if (op.bytes_per_pixel == 1) {
      Canvas<uint8_t> c(64, 48);
      op.draw(c.memory(), c.pitch());
      written = c.written();
    } else {
      Canvas<uint16_t> c(64, 48);
      op.draw(c.memory(), c.pitch());
      written = c.written();
    }
    EXPECT_GT(written, 0) << op.name;
  }
}

INSTANTIATE_TEST_SUITE_P(AllClippedOperations, InvertedClip,
                         ::testing::Combine(::testing::ValuesIn(kOperations),
                                            ::testing::ValuesIn(kInverted)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::get<1>(info.param).name;
                         });

}  // namespace
