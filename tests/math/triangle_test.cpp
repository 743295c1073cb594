// Filled triangles: dispatch and split, the float and fixed-point flat triangles, clipping,
// and property checks on random triangles against a plain reference rasteriser.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <utility>

#include "engine/math/triangle.h"
#include "tests/support/canvas.h"

namespace {

using TriangleFn = void (*)(int, int, int, int, int, int, int, uint8_t*, int);

// Columns first..last of one row.
void add_span(Points* p, int y, int first, int last) {
  for (int x = first; x <= last; ++x) p->insert({x, y});
}

class Triangles : public ::testing::Test {
 protected:
  void SetUp() override { set_clip(0, 63, 0, 47); }
  DisplayGlobalsGuard saved;
};

TEST_F(Triangles, ASharedRowOrColumnDrawsNothing) {
  for (TriangleFn f : {draw_triangle_8, draw_triangle_fixed_8}) {
    Canvas<uint8_t> c(64, 48);
    f(3, 5, 20, 5, 40, 5, 1, c.memory(), c.pitch());
    f(7, 1, 7, 30, 7, 12, 1, c.memory(), c.pitch());
    EXPECT_EQ(c.written(), 0);
  }
  Canvas<uint16_t> c16(64, 48);
  draw_triangle_16(3, 5, 20, 5, 40, 5, 1, c16.memory(), c16.pitch());
  draw_triangle_16(7, 1, 7, 30, 7, 12, 1, c16.memory(), c16.pitch());
  EXPECT_EQ(c16.written(), 0);
}

TEST_F(Triangles, WhollyOutsideTheClipRectangleDrawsNothing) {
  set_clip(10, 50, 10, 40);
  for (TriangleFn f : {draw_triangle_8, draw_triangle_fixed_8}) {
    Canvas<uint8_t> c(64, 48);
    f(-5, 12, 9, 20, 2, 35, 1, c.memory(), c.pitch());    // left
    f(51, 12, 60, 20, 55, 35, 1, c.memory(), c.pitch());  // right
    f(12, 0, 40, 9, 20, 5, 1, c.memory(), c.pitch());     // above
    f(12, 41, 40, 47, 20, 45, 1, c.memory(), c.pitch());  // below
    EXPECT_EQ(c.written(), 0);
  }
}

TEST_F(Triangles, CrossingTheLeftEdgeIsCutThereRowByRow) {
  set_clip(10, 63, 0, 47);
  for (TriangleFn f : {draw_triangle_8, draw_triangle_fixed_8}) {
    Canvas<uint8_t> c(64, 48);
    f(-20, 10, 40, 10, 30, 40, 1, c.memory(), c.pitch());
    int min_x = INT_MAX;
    c.each_written([&](int x, int) { min_x = std::min(min_x, x); });
    EXPECT_EQ(min_x, 10);
    // Rows the triangle covers left of the edge start exactly there: the left edge runs from
    // (-20, 10) to (30, 40) and passes x = 10 at row 28.
    for (int y = 10; y <= 27; ++y) {
      EXPECT_TRUE(c.set(10, y)) << y;
      EXPECT_FALSE(c.set(9, y)) << y;
    }
  }
}

TEST_F(Triangles, FlatTopRightEdgeStartsHalfAPixelRight) {
  // (0,0) (10,0) (5,10): the left edge moves +0.5 a row from 0, the right -0.5 from 10.5.
  // Unclipped rows fill trunc(left) for trunc(right - left + 1) pixels.
  Canvas<uint8_t> c(64, 48);
  draw_triangle_8(0, 0, 10, 0, 5, 10, 1, c.memory(), c.pitch());
  Points expected;
  for (int y = 0; y <= 10; ++y) add_span(&expected, y, y / 2, y / 2 + 10 - y);
  EXPECT_EQ(written(c), expected);

  // With a vertex outside the columns each row is cut from trunc(left) to trunc(right): on
  // row 1 the right edge is at 10.0 (10.5 - 0.5), so the row reaches column 10.
  set_clip(1, 63, 0, 47);
  c.clear();
  draw_flat_top_8(10, 0, 0, 0, 5, 10, 1, c.memory(), c.pitch());  // top vertices reordered
  EXPECT_TRUE(c.set(10, 0));
  EXPECT_TRUE(c.set(10, 1));
  EXPECT_FALSE(c.set(11, 1));
  EXPECT_TRUE(c.set(9, 2));
  EXPECT_FALSE(c.set(10, 2));
  EXPECT_FALSE(c.set(0, 0));
}

TEST_F(Triangles, FlatBottomStartsBothEdgesAtTheApex) {
  // Apex (10, 0), bottom (9, 2) and (11, 2). Float: row 1 runs 9.5 .. 10.5, truncated start 9
  // for trunc(2.0) = 2 pixels. Fixed point rounds instead: start (9.5 + 0.5) = 10, width
  // ((1.0 + 0.5) >> 16) + 1 = 2.
  Canvas<uint8_t> f(64, 48), x(64, 48);
  draw_triangle_8(9, 2, 10, 0, 11, 2, 1, f.memory(), f.pitch());
  draw_triangle_fixed_8(9, 2, 10, 0, 11, 2, 1, x.memory(), x.pitch());
  Points float_rows, fixed_rows;
  add_span(&float_rows, 0, 10, 10);
  add_span(&float_rows, 1, 9, 10);
  add_span(&float_rows, 2, 9, 11);
  add_span(&fixed_rows, 0, 10, 10);
  add_span(&fixed_rows, 1, 10, 11);
  add_span(&fixed_rows, 2, 9, 11);
  EXPECT_EQ(written(f), float_rows);
  EXPECT_EQ(written(x), fixed_rows);
}

TEST_F(Triangles, AGeneralTriangleSplitsAtTheMiddleRow) {
  // (0,0) (10,5) (4,10): the long edge crosses row 5 at 0 + trunc(5 * 4 / 10 + 0.5) = 2.
  Canvas<uint8_t> whole(64, 48), parts(64, 48);
  draw_triangle_8(4, 10, 0, 0, 10, 5, 1, whole.memory(), whole.pitch());
  draw_flat_bottom_8(0, 0, 2, 5, 10, 5, 1, parts.memory(), parts.pitch());
  draw_flat_top_8(10, 5, 2, 5, 4, 10, 1, parts.memory(), parts.pitch());
  EXPECT_EQ(written(whole), written(parts));

  // Below zero the half is added before truncating: (40,0) (30,5) (33,10) crosses row 5 at
  // 40 + trunc(5 * -7 / 10 + 0.5) = 40 + trunc(-3.0) = 37, not 36.
  whole.clear();
  parts.clear();
  draw_triangle_fixed_8(30, 5, 33, 10, 40, 0, 1, whole.memory(), whole.pitch());
  draw_flat_bottom_fixed_8(40, 0, 37, 5, 30, 5, 1, parts.memory(), parts.pitch());
  draw_flat_top_fixed_8(30, 5, 37, 5, 33, 10, 1, parts.memory(), parts.pitch());
  EXPECT_EQ(written(whole), written(parts));
  EXPECT_TRUE(whole.set(37, 5));
}

TEST_F(Triangles, FixedFlatTrianglesWithoutHeightDrawNothing) {
  Canvas<uint8_t> c(64, 48);
  draw_flat_top_fixed_8(1, 5, 20, 5, 9, 5, 1, c.memory(), c.pitch());      // y1 = y3
  draw_flat_top_fixed_8(1, 5, 20, 9, 9, 9, 1, c.memory(), c.pitch());      // y2 = y3
  draw_flat_bottom_fixed_8(5, 5, 1, 5, 9, 20, 1, c.memory(), c.pitch());   // y1 = y2
  draw_flat_bottom_fixed_8(5, 5, 1, 20, 9, 5, 1, c.memory(), c.pitch());   // y1 = y3
  EXPECT_EQ(c.written(), 0);
}

TEST_F(Triangles, FixedSpanNeverPassesTheRightClipEdge) {
  // Apex (20, 0) on the clip edge, bottom (18, 4) and (20, 4). Row 1 has its left edge at 19.5
  // and right edge at 20: the span rounds to start 20 and is ((0.5 + 0.5) >> 16) + 1 = 2 wide,
  // one pixel more than fits.
  set_clip(0, 20, 0, 47);
  Canvas<uint8_t> c(64, 48);
  draw_triangle_fixed_8(20, 0, 18, 4, 20, 4, 1, c.memory(), c.pitch());
  c.each_written([&](int x, int y) { EXPECT_LE(x, 20) << x << "," << y; });
  EXPECT_TRUE(c.set(20, 1));
  // With room to the right the documented span is kept.
  set_clip(0, 63, 0, 47);
  c.clear();
  draw_triangle_fixed_8(20, 0, 18, 4, 20, 4, 1, c.memory(), c.pitch());
  EXPECT_TRUE(c.set(21, 1));
}

TEST_F(Triangles, SixteenBitFillsTheSamePixelsWithTheLowHalf) {
  Canvas<uint8_t> c8(64, 48);
  Canvas<uint16_t> c16(64, 48);
  set_clip(3, 60, 2, 45);
  draw_triangle_8(-7, 3, 50, 20, 12, 60, 0x12345, c8.memory(), c8.pitch());
  draw_triangle_16(-7, 3, 50, 20, 12, 60, 0x12345, c16.memory(), c16.pitch());
  EXPECT_EQ(written(c8), written(c16));
  EXPECT_EQ(c16.at(20, 20), 0x2345);
  EXPECT_EQ(c8.at(20, 20), 0x45);
}

// Signed distances of (px, py) from the three edges of a triangle, positive inside.
struct Reference {
  double x[3], y[3];
  Reference(int x1, int y1, int x2, int y2, int x3, int y3) : x{double(x1), double(x2), double(x3)},
                                                              y{double(y1), double(y2), double(y3)} {
    const double area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area < 0) {
      std::swap(x[1], x[2]);
      std::swap(y[1], y[2]);
    }
  }
  // The least signed distance to an edge line: >= d means inside by at least d.
  double depth(double px, double py) const {
    double least = INFINITY;
    for (int i = 0; i < 3; ++i) {
      const int j = (i + 1) % 3;
      const double ex = x[j] - x[i], ey = y[j] - y[i];
      const double len = std::hypot(ex, ey);
      if (len == 0) continue;
      least = std::min(least, (ex * (py - y[i]) - ey * (px - x[i])) / len);
    }
    return least;
  }
};

// How far from an edge the rasterisers may stray: the split point is the long edge's offset
// plus a half, truncated (up to 1.5 off below zero), the flat-top right edge starts half a pixel
// out, and spans truncate or round their ends.
constexpr double kEdge = 2.5;

template <typename Pixel>
void random_triangles(TriangleFn fn, const char* name, bool check_coverage) {
  set_clip(5, 50, 4, 40);
  Canvas<Pixel> c(64, 48);
  std::mt19937 rng(777);
  const long long scales[] = {40, 120, 3000, 5000000, 2147483647LL};
  for (long long scale : scales) {
    std::uniform_int_distribution<long long> coord(-scale, scale + 55);
    const bool coverage = check_coverage && scale <= 3000;
    for (int i = 0; i < 1500; ++i) {
      int v[6];
      for (int& k : v) k = static_cast<int>(std::clamp<long long>(coord(rng), INT_MIN, INT_MAX));
      // Now and then a degenerate slope: two vertices sharing a row or a column.
      if (i % 7 == 0) v[3] = v[1];
      if (i % 11 == 0) v[4] = v[0];
      c.clear();
      fn(v[0], v[1], v[2], v[3], v[4], v[5], 1, c.memory(), c.pitch());
      const Reference ref(v[0], v[1], v[2], v[3], v[4], v[5]);
      int failures = 0;
      for (int y = -c.guard(); y < c.height() + c.guard() && failures == 0; ++y) {
        for (int x = -c.guard(); x < c.width() + c.guard() && failures == 0; ++x) {
          const bool set = c.set(x, y);
          if (set && !in_clip(x, y)) {
            ADD_FAILURE() << name << ": (" << x << ", " << y << ") outside the clip rectangle";
            ++failures;
          } else if (coverage && in_clip(x, y)) {
            const double d = ref.depth(x, y);
            if (d >= kEdge && !set) {
              ADD_FAILURE() << name << ": (" << x << ", " << y << ") inside but not filled";
              ++failures;
            } else if (d <= -kEdge && set) {
              ADD_FAILURE() << name << ": (" << x << ", " << y << ") outside but filled";
              ++failures;
            }
          }
        }
      }
      if (failures) {
        ADD_FAILURE() << "triangle (" << v[0] << ", " << v[1] << ") (" << v[2] << ", " << v[3]
                      << ") (" << v[4] << ", " << v[5] << ")";
        return;
      }
    }
  }
}

TEST_F(Triangles, RandomTrianglesStayInTheClipRectangleAndCoverTheirInside) {
  random_triangles<uint8_t>(draw_triangle_8, "float 8", true);
  random_triangles<uint16_t>(draw_triangle_16, "float 16", true);
  random_triangles<uint8_t>(draw_triangle_fixed_8, "fixed 8", true);
}

TEST_F(Triangles, DirectFlatCallsStayInTheClipRectangle) {
  // The flat operations called with any vertices at all: inverted, without height, far off.
  const TriangleFn flats8[] = {draw_flat_top_8, draw_flat_bottom_8, draw_flat_top_fixed_8,
                               draw_flat_bottom_fixed_8};
  set_clip(5, 50, 4, 40);
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
  std::uniform_int_distribution<int> near(-30, 90);
  Canvas<uint8_t> c(64, 48);
  Canvas<uint16_t> c16(64, 48);
  for (int i = 0; i < 4000; ++i) {
    auto pick = [&] { return i % 2 ? any(rng) : near(rng); };
    int v[6];
    for (int& k : v) k = pick();
    if (i % 3 == 0) v[5] = v[1];
    for (TriangleFn f : flats8) f(v[0], v[1], v[2], v[3], v[4], v[5], 1, c.memory(), c.pitch());
    draw_flat_top_16(v[0], v[1], v[2], v[3], v[4], v[5], 1, c16.memory(), c16.pitch());
    draw_flat_bottom_16(v[0], v[1], v[2], v[3], v[4], v[5], 1, c16.memory(), c16.pitch());
  }
  c.each_written([&](int x, int y) { EXPECT_TRUE(in_clip(x, y)) << x << "," << y; });
  c16.each_written([&](int x, int y) { EXPECT_TRUE(in_clip(x, y)) << x << "," << y; });
}

TEST_F(Triangles, VertexOrderDoesNotMatter) {
  std::mt19937 rng(31);
  std::uniform_int_distribution<int> coord(-20, 80);
  for (int i = 0; i < 200; ++i) {
    int x[3], y[3];
    for (int k = 0; k < 3; ++k) {
      x[k] = coord(rng);
      y[k] = coord(rng);
    }
    Canvas<uint8_t> a(64, 48), b(64, 48);
    draw_triangle_8(x[0], y[0], x[1], y[1], x[2], y[2], 1, a.memory(), a.pitch());
    draw_triangle_8(x[2], y[2], x[0], y[0], x[1], y[1], 1, b.memory(), b.pitch());
    ASSERT_EQ(written(a), written(b)) << i;
  }
}

}  // namespace
