// Polygons: the filled two-edge walk, clipped outlines, transforms direct and through matrices,
// and bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "engine/graphics/lines.h"
#include "engine/math/polygon.h"
#include "engine/math/trig.h"
#include "tests/support/canvas.h"

namespace {

POLY_TYP make_poly(std::vector<VERTEX_TYP>& v, int x0, int y0, int color = 3) {
  POLY_TYP p{};
  p.state = 1;
  p.vertex_count = static_cast<int>(v.size());
  p.x0 = x0;
  p.y0 = y0;
  p.color = color;
  p.vertices = v.data();
  return p;
}

class Polygons : public ::testing::Test {
 protected:
  void SetUp() override { set_clip(0, 63, 0, 47); }
  DisplayGlobalsGuard saved;
};

// The least distance of (px, py) inside a convex polygon from its edges (negative outside).
double depth(const std::vector<VERTEX_TYP>& v, double x0, double y0, double px, double py) {
  double area = 0;
  const size_t n = v.size();
  for (size_t i = 0; i < n; ++i) {
    const VERTEX_TYP& a = v[i];
    const VERTEX_TYP& b = v[(i + 1) % n];
    area += double(a.x) * b.y - double(b.x) * a.y;
  }
  const double sign = area < 0 ? -1 : 1;
  double least = INFINITY;
  for (size_t i = 0; i < n; ++i) {
    const VERTEX_TYP& a = v[i];
    const VERTEX_TYP& b = v[(i + 1) % n];
    const double ax = std::trunc(float(x0) + a.x), ay = std::trunc(float(y0) + a.y);
    const double bx = std::trunc(float(x0) + b.x), by = std::trunc(float(y0) + b.y);
    const double len = std::hypot(bx - ax, by - ay);
    if (len == 0) continue;
    least = std::min(least, sign * ((bx - ax) * (py - ay) - (by - ay) * (px - ax)) / len);
  }
  return least;
}

TEST_F(Polygons, FillOfASquareCoversItsRowsFromTheTop) {
  std::vector<VERTEX_TYP> v = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  POLY_TYP p = make_poly(v, 5, 5, 0x1234);
  Canvas<uint8_t> c(64, 48);
  fill_polygon_8(&p, c.memory(), c.pitch());
  // Rows 5 to 14 from column 5 to 15; the walk ends when the edges reach the bottom corners,
  // before the bottom row.
  Points expected;
  for (int y = 5; y <= 14; ++y)
    for (int x = 5; x <= 15; ++x) expected.insert({x, y});
  EXPECT_EQ(written(c), expected);
  EXPECT_EQ(c.at(5, 5), 0x34);

  Canvas<uint16_t> c16(64, 48);
  fill_polygon_16(&p, c16.memory(), c16.pitch());
  EXPECT_EQ(written(c16), expected);
  EXPECT_EQ(c16.at(15, 14), 0x1234);
}

TEST_F(Polygons, FillWalksAShallowEdgeAlongItsRowAndRestartsBothEdgesAtAVertex) {
  // Top (0, 0); the edge back to the last vertex (10, 2) is shallow, the one forward to (2, 8)
  // steep. Placed at (5, 5).
  std::vector<VERTEX_TYP> v = {{0, 0}, {2, 8}, {10, 2}};
  POLY_TYP p = make_poly(v, 5, 5);
  Canvas<uint8_t> c(64, 48);
  fill_polygon_8(&p, c.memory(), c.pitch());
  Points expected;
  auto row = [&](int y, int first, int last) {
    for (int x = first; x <= last; ++x) expected.insert({5 + x, 5 + y});
  };
  // Rows 0 and 1: the shallow edge runs 5 columns a row (its error term grows by 2 towards 10);
  // the steep edge has not moved yet.
  row(0, 0, 5);
  row(1, 0, 10);
  // At (10, 2) that edge turns towards (2, 8), still shallow (8 across, 6 down), and both edges
  // start afresh: the steep one now measures 2 across and 6 down from (0, 2). A step that keeps
  // the error under 8 plots its pixel at once, here right of the row's span.
  row(2, 0, 8);
  expected.insert({5 + 9, 5 + 2});
  row(3, 0, 7);
  row(4, 1, 6);
  row(5, 1, 4);
  expected.insert({5 + 5, 5 + 5});
  row(6, 1, 3);
  // Both edges reach (2, 8) together: the second change of end ends the fill before row 8.
  row(7, 2, 2);
  EXPECT_EQ(written(c), expected);
}

TEST_F(Polygons, FillTopVertexIsReplacedOnlyByOneAboveItsTruncatedRow) {
  // Vertices 0 and 1 both lie in row 0 (y 0.9 and 0.5). 0.5 is not below the truncated 0, so
  // vertex 0 stays the top: moving vertex 1 within the row changes nothing.
  std::vector<VERTEX_TYP> v = {{7, 0.9f}, {11, 0.5f}, {11, 5}, {9, 10}, {6, 7}, {3, 1}};
  std::vector<VERTEX_TYP> moved = v;
  moved[1].y = 0.95f;
  // The same outline listed from vertex 1: the walk starts there and fills differently.
  std::vector<VERTEX_TYP> from_1(v.begin() + 1, v.end());
  from_1.push_back(v[0]);
  POLY_TYP a = make_poly(v, 20, 20), b = make_poly(moved, 20, 20), f = make_poly(from_1, 20, 20);
  Canvas<uint8_t> ca(64, 48), cb(64, 48), cf(64, 48);
  fill_polygon_8(&a, ca.memory(), ca.pitch());
  fill_polygon_8(&b, cb.memory(), cb.pitch());
  fill_polygon_8(&f, cf.memory(), cf.pitch());
  EXPECT_EQ(written(ca), written(cb));
  EXPECT_NE(written(ca), written(cf));
}

TEST_F(Polygons, FillOfRandomConvexPolygonsCoversTheirInside) {
  std::mt19937 rng(2026);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (int i = 0; i < 250; ++i) {
    const int n = 3 + static_cast<int>(unit(rng) * 6);
    const float radius = 3 + unit(rng) * 18;
    const float turn = unit(rng) * 6.2831853f;
    std::vector<VERTEX_TYP> v;
    for (int k = 0; k < n; ++k) {
      const float a = turn + 6.2831853f * k / n;
      v.push_back({radius * std::cos(a), radius * std::sin(a)});
    }
    if (i % 2) std::reverse(v.begin(), v.end());
    POLY_TYP p = make_poly(v, 32, 24);
    Canvas<uint8_t> c(64, 48);
    fill_polygon_8(&p, c.memory(), c.pitch());
    int failures = 0;
    for (int y = -c.guard(); y < c.height() + c.guard() && !failures; ++y)
      for (int x = -c.guard(); x < c.width() + c.guard() && !failures; ++x) {
        const double d = depth(v, 32, 24, x, y);
        if (d >= 2.0 && !c.set(x, y)) {
          ADD_FAILURE() << "(" << x << ", " << y << ") inside but not filled";
          ++failures;
        } else if (d <= -2.0 && c.set(x, y)) {
          ADD_FAILURE() << "(" << x << ", " << y << ") outside but filled";
          ++failures;
        }
      }
    if (failures) {
      ADD_FAILURE() << "polygon " << i << " with " << n << " vertices, radius " << radius;
      return;
    }
  }
}

TEST_F(Polygons, FillWithoutVerticesDrawsNothing) {
  std::vector<VERTEX_TYP> v;
  POLY_TYP p = make_poly(v, 5, 5);
  Canvas<uint8_t> c(16, 16);
  fill_polygon_8(&p, c.memory(), c.pitch());
  p.vertex_count = 3;  // a count without a list
  fill_polygon_8(&p, c.memory(), c.pitch());
  fill_polygon_8(nullptr, c.memory(), c.pitch());
  fill_polygon_16(nullptr, c.memory(), c.pitch());
  std::vector<VERTEX_TYP> one = {{2, 2}};
  POLY_TYP q = make_poly(one, 5, 5);
  fill_polygon_8(&q, c.memory(), c.pitch());
  EXPECT_EQ(c.written(), 0);
}

TEST_F(Polygons, OutlineIsClippedLinesClosedFromVertexZeroToTheLast) {
  std::vector<VERTEX_TYP> v = {{-10.7f, 2.2f}, {30.5f, -3.9f}, {20, 40}, {-2, 30}};
  POLY_TYP p = make_poly(v, 20, 10, 9);
  Canvas<uint8_t> c(64, 48), ref(64, 48);
  EXPECT_EQ(draw_polygon_8(&p, c.memory(), c.pitch()), 1);
  // Truncated screen positions: (9, 12) (50, 6) (40, 50) (18, 40).
  draw_clip_line8(9, 12, 50, 6, 9, ref.memory(), ref.pitch());
  draw_clip_line8(50, 6, 40, 50, 9, ref.memory(), ref.pitch());
  draw_clip_line8(40, 50, 18, 40, 9, ref.memory(), ref.pitch());
  draw_clip_line8(9, 12, 18, 40, 9, ref.memory(), ref.pitch());
  EXPECT_EQ(written(c), written(ref));

  Canvas<uint16_t> c16(64, 48);
  EXPECT_EQ(draw_polygon_16(&p, c16.memory(), c16.pitch()), 1);
  EXPECT_EQ(written(c16), written(ref));
}

TEST_F(Polygons, InactiveNullOrEmptyOutlinesDrawNothing) {
  std::vector<VERTEX_TYP> v = {{0, 0}, {10, 0}, {5, 5}};
  POLY_TYP p = make_poly(v, 5, 5);
  Canvas<uint8_t> c(32, 32);
  p.state = 0;
  EXPECT_EQ(draw_polygon_8(&p, c.memory(), c.pitch()), 0);
  EXPECT_EQ(draw_polygon_16(&p, c.memory(), c.pitch()), 0);
  EXPECT_EQ(draw_polygon_8(nullptr, c.memory(), c.pitch()), 0);
  p.state = 1;
  p.vertex_count = 0;
  EXPECT_EQ(draw_polygon_8(&p, c.memory(), c.pitch()), 0);
  p.vertex_count = 3;
  p.vertices = nullptr;
  EXPECT_EQ(draw_polygon_8(&p, c.memory(), c.pitch()), 0);
  EXPECT_EQ(c.written(), 0);
}

TEST_F(Polygons, OutlinesOfFarOffVerticesStayInTheClipRectangle) {
  set_clip(5, 50, 4, 40);
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> far(-4e9f, 4e9f);
  std::uniform_real_distribution<float> near(-40, 100);
  Canvas<uint8_t> c(64, 48);
  for (int i = 0; i < 2000; ++i) {
    std::vector<VERTEX_TYP> v(3 + i % 4);
    for (VERTEX_TYP& e : v) e = i % 2 ? VERTEX_TYP{far(rng), far(rng)} : VERTEX_TYP{near(rng), near(rng)};
    if (i % 50 == 0) v[0].x = NAN;
    if (i % 70 == 0) v[1].y = INFINITY;
    POLY_TYP p = make_poly(v, i % 3 ? 0 : INT_MAX, i % 5 ? 0 : INT_MIN);
    draw_polygon_8(&p, c.memory(), c.pitch());
  }
  EXPECT_GT(c.written(), 0);
  c.each_written([&](int x, int y) { EXPECT_TRUE(in_clip(x, y)) << x << "," << y; });
}

class Transforms : public ::testing::Test {
 protected:
  void SetUp() override {
    build_trig_tables();
    std::copy(std::begin(cos_table), std::end(cos_table), saved_cos);
    std::copy(std::begin(sin_table), std::end(sin_table), saved_sin);
  }
  void TearDown() override {
    std::copy(std::begin(saved_cos), std::end(saved_cos), cos_table);
    std::copy(std::begin(saved_sin), std::end(saved_sin), sin_table);
  }
  float saved_cos[361];
  float saved_sin[361];
};

uint32_t bits(float f) { return std::bit_cast<uint32_t>(f); }

TEST_F(Transforms, RotationByMinusNinetyReadsEntry270) {
  cos_table[270] = 0.25f;
  sin_table[270] = 0.5f;
  for (auto rotate : {rotate_polygon, rotate_polygon_matrix}) {
    std::vector<VERTEX_TYP> v = {{1, 0}, {0, 2}};
    POLY_TYP p = make_poly(v, 0, 0);
    EXPECT_EQ(rotate(&p, -90), 1);
    // x' = x cs - y sn, y' = x sn + y cs.
    EXPECT_FLOAT_EQ(v[0].x, 0.25f);
    EXPECT_FLOAT_EQ(v[0].y, 0.5f);
    EXPECT_FLOAT_EQ(v[1].x, -1.0f);
    EXPECT_FLOAT_EQ(v[1].y, 0.5f);
  }
}

TEST_F(Transforms, AnglesPastAWholeTurnWrapIntoTheTables) {
  // Plant a distinct value in every entry so the entry read can be told from the result.
  for (int i = 0; i <= 360; ++i) {
    cos_table[i] = static_cast<float>(i);
    sin_table[i] = 0.0f;
  }
  auto entry_read = [](int angle) {
    std::vector<VERTEX_TYP> v = {{1, 0}};
    POLY_TYP p = make_poly(v, 0, 0);
    EXPECT_EQ(rotate_polygon(&p, angle), 1);
    std::vector<VERTEX_TYP> m = {{1, 0}};
    POLY_TYP q = make_poly(m, 0, 0);
    EXPECT_EQ(rotate_polygon_matrix(&q, angle), 1);
    EXPECT_EQ(v[0].x, m[0].x);
    return static_cast<int>(v[0].x);
  };
  EXPECT_EQ(entry_read(0), 0);
  EXPECT_EQ(entry_read(360), 360);
  EXPECT_EQ(entry_read(-360), 0);
  EXPECT_EQ(entry_read(-1), 359);
  EXPECT_EQ(entry_read(45), 45);
  EXPECT_EQ(entry_read(361), 1);
  EXPECT_EQ(entry_read(450), 90);
  EXPECT_EQ(entry_read(-450), 270);
  EXPECT_EQ(entry_read(720), 0);
  EXPECT_EQ(entry_read(INT_MAX), INT_MAX % 360);
  EXPECT_EQ(entry_read(INT_MIN), 360 + INT_MIN % 360);
}

TEST_F(Transforms, DirectAndMatrixFormsAgree) {
  std::vector<VERTEX_TYP> a = {{3.5f, -2.25f}, {-7, 11}, {0.1f, 0.2f}};
  std::vector<VERTEX_TYP> b = a;
  POLY_TYP pa = make_poly(a, 10, 20), pb = make_poly(b, 10, 20);
  EXPECT_EQ(rotate_polygon(&pa, 33), 1);
  EXPECT_EQ(rotate_polygon_matrix(&pb, 33), 1);
  EXPECT_EQ(scale_polygon(&pa, 1.5f, -0.5f), 1);
  EXPECT_EQ(scale_polygon_matrix(&pb, 1.5f, -0.5f), 1);
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].x, b[i].x) << i;
    EXPECT_EQ(a[i].y, b[i].y) << i;
  }
  EXPECT_FLOAT_EQ(a[1].x, 1.5f * (-7 * cos_table[33] - 11 * sin_table[33]));
  EXPECT_FLOAT_EQ(a[1].y, -0.5f * (-7 * sin_table[33] + 11 * cos_table[33]));

  EXPECT_EQ(translate_polygon(&pa, -4, 9), 1);
  EXPECT_EQ(translate_polygon_matrix(&pb, -4, 9), 1);
  EXPECT_EQ(pa.x0, 6);
  EXPECT_EQ(pa.y0, 29);
  EXPECT_EQ(pb.x0, 6);
  EXPECT_EQ(pb.y0, 29);
  // Translation moves the position only.
  EXPECT_EQ(bits(a[0].x), bits(b[0].x));
}

TEST_F(Transforms, NullPolygonsFailAndPositionsHoldAtTheIntLimits) {
  EXPECT_EQ(translate_polygon(nullptr, 1, 1), 0);
  EXPECT_EQ(rotate_polygon(nullptr, 10), 0);
  EXPECT_EQ(scale_polygon(nullptr, 2, 2), 0);
  EXPECT_EQ(translate_polygon_matrix(nullptr, 1, 1), 0);
  EXPECT_EQ(rotate_polygon_matrix(nullptr, 10), 0);
  EXPECT_EQ(scale_polygon_matrix(nullptr, 2, 2), 0);
  std::vector<VERTEX_TYP> v = {{1, 1}};
  POLY_TYP p = make_poly(v, INT_MAX - 1, INT_MIN + 1);
  EXPECT_EQ(translate_polygon(&p, 10, -10), 1);
  EXPECT_EQ(p.x0, INT_MAX);
  EXPECT_EQ(p.y0, INT_MIN);
  EXPECT_EQ(translate_polygon_matrix(&p, INT_MAX, INT_MIN), 1);
  EXPECT_EQ(p.x0, INT_MAX);
  EXPECT_EQ(p.y0, INT_MIN);
  p.vertices = nullptr;  // a count without a list cannot be turned or scaled
  EXPECT_EQ(rotate_polygon(&p, 10), 0);
  EXPECT_EQ(scale_polygon_matrix(&p, 2, 2), 0);
}

TEST(PolygonBounds, TheBoxAlwaysHoldsTheLocalOrigin) {
  std::vector<VERTEX_TYP> v = {{3, 4}, {9, -2}, {5, 7}};
  POLY_TYP p = make_poly(v, 100, 100);
  float min_x = -1, max_x = -1, min_y = -1, max_y = -1;
  EXPECT_EQ(polygon_bounds(&p, &min_x, &max_x, &min_y, &max_y), 1);
  EXPECT_EQ(min_x, 0.0f);  // every x is positive
  EXPECT_EQ(max_x, 9.0f);
  EXPECT_EQ(min_y, -2.0f);
  EXPECT_EQ(max_y, 7.0f);

  std::vector<VERTEX_TYP> w = {{-3, -4}, {-9, -2}};
  POLY_TYP q = make_poly(w, 0, 0);
  EXPECT_EQ(polygon_bounds(&q, &min_x, &max_x, &min_y, &max_y), 1);
  EXPECT_EQ(min_x, -9.0f);
  EXPECT_EQ(max_x, 0.0f);
  EXPECT_EQ(min_y, -4.0f);
  EXPECT_EQ(max_y, 0.0f);

  std::vector<VERTEX_TYP> none;
  POLY_TYP e = make_poly(none, 0, 0);
  EXPECT_EQ(polygon_bounds(&e, &min_x, &max_x, &min_y, &max_y), 0);
  EXPECT_EQ(polygon_bounds(nullptr, &min_x, &max_x, &min_y, &max_y), 0);
}

}  // namespace
