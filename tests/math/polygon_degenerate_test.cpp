// Filled outlines that are not cleanly convex: repeated vertices, collinear runs, zero area,
// concave and tangled outlines. None may write outside its own bounding box; the degenerate
// convex ones fill as the same outline with the extra vertices taken out.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/math/polygon.h"
#include "tests/support/canvas.h"

namespace {

using Outline = std::vector<VERTEX_TYP>;

POLY_TYP make_poly(Outline& v, int color = 3) {
  POLY_TYP p{};
  p.state = 1;
  p.vertex_count = static_cast<int>(v.size());
  p.color = color;
  p.vertices = v.data();
  return p;
}

template <typename Pixel>
Canvas<Pixel> filled(Outline v, int width, int height) {
  Canvas<Pixel> c(width, height);
  POLY_TYP p = make_poly(v, 0x4321);
  if constexpr (sizeof(Pixel) == 1)
    fill_polygon_8(&p, c.memory(), c.pitch());
  else
    fill_polygon_16(&p, c.memory(), c.pitch());
  return c;
}

// Every written cell lies in the outline's bounding box (vertices here are whole numbers).
template <typename Pixel>
void expect_inside_box(const Canvas<Pixel>& c, const Outline& v) {
  float min_x = v[0].x, max_x = v[0].x, min_y = v[0].y, max_y = v[0].y;
  for (const VERTEX_TYP& e : v) {
    min_x = std::min(min_x, e.x);
    max_x = std::max(max_x, e.x);
    min_y = std::min(min_y, e.y);
    max_y = std::max(max_y, e.y);
  }
  c.each_written([&](int x, int y) {
    EXPECT_TRUE(x >= min_x && x <= max_x && y >= min_y && y <= max_y) << x << "," << y;
  });
}

struct Degenerate {
  const char* name;
  Outline outline;
  Outline plain;  // the same outline without its extra vertices
  int width, height;
};

void PrintTo(const Degenerate& d, std::ostream* os) { *os << d.name; }

class DegenerateFill : public ::testing::TestWithParam<Degenerate> {};

TEST_P(DegenerateFill, FillsAsThePlainOutlineInsideItsBox) {
  const Degenerate& d = GetParam();
  const Canvas<uint8_t> c8 = filled<uint8_t>(d.outline, d.width, d.height);
  const Canvas<uint16_t> c16 = filled<uint16_t>(d.outline, d.width, d.height);
  const Canvas<uint8_t> plain = filled<uint8_t>(d.plain, d.width, d.height);
  EXPECT_GT(c8.written(), 0);
  for (int y = -c8.guard(); y < d.height + c8.guard(); ++y)
    for (int x = -c8.guard(); x < d.width + c8.guard(); ++x) {
      EXPECT_EQ(c8.set(x, y), plain.set(x, y)) << x << "," << y;
      EXPECT_EQ(c16.set(x, y), plain.set(x, y)) << x << "," << y;
    }
  expect_inside_box(c8, d.outline);
}

INSTANTIATE_TEST_SUITE_P(
    Outlines, DegenerateFill,
    ::testing::Values(
        // Collinear vertices along the top row: the walk used to go on below the bottom row.
        Degenerate{"TopRowRun", {{2, 9}, {2, 8}, {4, 8}, {6, 8}, {8, 8}, {10, 8}},
                   {{2, 9}, {2, 8}, {10, 8}}, 12, 10},
        // Collinear vertices along the bottom row: the walk used to fill one row below it.
        Degenerate{"BottomRowRun", {{6, 1}, {10, 7}, {8, 7}, {6, 7}, {4, 7}, {2, 7}},
                   {{6, 1}, {10, 7}, {2, 7}}, 12, 8},
        Degenerate{"FlatTopWithAMiddleVertex", {{0, 0}, {3, 0}, {9, 0}, {9, 9}, {0, 9}},
                   {{0, 0}, {9, 0}, {9, 9}, {0, 9}}, 10, 10},
        Degenerate{"ThreeEqualVertices", {{2, 2}, {2, 2}, {2, 2}, {9, 2}, {5, 8}},
                   {{2, 2}, {9, 2}, {5, 8}}, 10, 9},
        Degenerate{"RepeatsOnBothSides", {{1, 1}, {8, 1}, {8, 1}, {8, 6}, {1, 6}, {1, 6}},
                   {{1, 1}, {8, 1}, {8, 6}, {1, 6}}, 9, 7},
        Degenerate{"RunsDownBothSides", {{4, 0}, {8, 4}, {10, 6}, {12, 8}, {4, 12}, {2, 8}, {1, 6}, {0, 4}},
                   {{4, 0}, {12, 8}, {4, 12}, {0, 4}}, 13, 13}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DegenerateFillRows, ACollinearTopRowIsFilledWhole) {
  // The outlines filled by hand: the whole top row, nothing past the last row.
  const Canvas<uint8_t> run = filled<uint8_t>({{2, 9}, {2, 8}, {4, 8}, {6, 8}, {8, 8}, {10, 8}}, 12, 10);
  for (int x = 2; x <= 10; ++x) EXPECT_TRUE(run.set(x, 8)) << x;
  const Canvas<uint8_t> flat = filled<uint8_t>({{0, 0}, {3, 0}, {9, 0}, {9, 9}, {0, 9}}, 10, 10);
  for (int x = 0; x <= 9; ++x) EXPECT_TRUE(flat.set(x, 0)) << x;
  const Canvas<uint8_t> bottom = filled<uint8_t>({{6, 1}, {10, 7}, {8, 7}, {6, 7}, {4, 7}, {2, 7}}, 12, 8);
  for (int x = -16; x < 28; ++x) EXPECT_FALSE(bottom.set(x, 8)) << x;
}

TEST(DegenerateFillRows, ZeroAreaOutlinesStayInsideTheirBox) {
  const Outline outlines[] = {
      {{5, 5}, {5, 5}, {5, 5}},
      {{1, 1}, {9, 9}, {5, 5}},
      {{1, 4}, {9, 4}, {5, 4}, {1, 4}},
      {{3, 1}, {3, 9}, {3, 2}},
      {{0, 0}, {9, 9}, {0, 0}, {9, 9}},
      {{2, 7}, {6, 3}, {9, 0}, {6, 3}},
  };
  for (const Outline& v : outlines) {
    expect_inside_box(filled<uint8_t>(v, 10, 10), v);
    expect_inside_box(filled<uint16_t>(v, 10, 10), v);
  }
}

// Outlines of a few vertices on a small grid, so that repeats, collinear runs, concave turns
// and crossings all come up often.
TEST(DegenerateFillRows, RandomTangledOutlinesStayInsideTheirBox) {
  std::mt19937 rng(13);
  for (int i = 0; i < 20000; ++i) {
    Outline v(2 + rng() % 7);
    const unsigned size = 2 + rng() % 9;
    for (VERTEX_TYP& e : v) e = {float(rng() % size), float(rng() % size)};
    const Canvas<uint8_t> c = filled<uint8_t>(v, 10, 10);
    expect_inside_box(c, v);
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "outline " << i << " with " << v.size() << " vertices";
      return;
    }
  }
}

}  // namespace
