// Pixels, clipped spans, region-code clipping and Bresenham lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <set>
#include <utility>

#include "engine/graphics/clip_line.h"
#include "engine/graphics/lines.h"
#include "engine/graphics/pixels.h"
#include "tests/support/canvas.h"

namespace {

class DrawLines : public ::testing::Test {
 protected:
  DisplayGlobalsGuard saved;
};

TEST_F(DrawLines, PixelsLandAtRowTimesPitch) {
  Canvas<uint8_t> c8(8, 4);
  EXPECT_EQ(plot_pixel8(3, 2, 0x1234, c8.memory(), c8.pitch()), 1);
  EXPECT_EQ(c8.at(3, 2), 0x34);
  EXPECT_EQ(c8.written(), 1);

  Canvas<uint16_t> c16(8, 4);
  EXPECT_EQ(plot_pixel16(5, 1, 0x12345, c16.memory(), c16.pitch()), 1);
  EXPECT_EQ(c16.at(5, 1), 0x2345);
  EXPECT_EQ(c16.written(), 1);
}

TEST_F(DrawLines, HlineWithReversedEndsPastBothEdgesFillsTheWholeRow) {
  set_clip(0, 639, 0, 3);
  Canvas<uint8_t> c(640, 4);
  hline8(700, -5, 0, 9, c.memory(), c.pitch());
  EXPECT_EQ(c.written(), 640);
  for (int x = 0; x < 640; ++x) EXPECT_EQ(c.at(x, 0), 9) << x;

  Canvas<uint16_t> c16(640, 4);
  hline16(700, -5, 3, 0xBEEF, c16.memory(), c16.pitch());
  EXPECT_EQ(c16.written(), 640);
  EXPECT_EQ(c16.at(0, 3), 0xBEEF);
  EXPECT_EQ(c16.at(639, 3), 0xBEEF);
}

TEST_F(DrawLines, SpansOutsideTheClipRectangleDrawNothing) {
  set_clip(2, 9, 1, 6);
  Canvas<uint8_t> c(12, 8);
  hline8(0, 11, 0, 1, c.memory(), c.pitch());   // above
  hline8(0, 11, 7, 1, c.memory(), c.pitch());   // below
  hline8(-5, 1, 3, 1, c.memory(), c.pitch());   // left of it
  hline8(15, 10, 3, 1, c.memory(), c.pitch());  // right of it, reversed
  vline8(0, 7, clip_max_x + 1, 1, c.memory(), c.pitch());
  vline8(0, 7, 1, 1, c.memory(), c.pitch());
  vline8(-3, 0, 5, 1, c.memory(), c.pitch());
  vline16(0, 7, clip_max_x + 1, 1, c.memory(), c.pitch());
  EXPECT_EQ(c.written(), 0);
}

TEST_F(DrawLines, SpansAreCutToTheClipRectangle) {
  set_clip(2, 9, 1, 6);
  Canvas<uint8_t> c(12, 8);
  vline8(100, -100, 4, 7, c.memory(), c.pitch());
  EXPECT_EQ(written(c), (Points{{4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 5}, {4, 6}}));
  c.clear();
  hline8(5, 0, 2, 7, c.memory(), c.pitch());
  EXPECT_EQ(written(c), (Points{{2, 2}, {3, 2}, {4, 2}, {5, 2}}));

  Canvas<uint16_t> c16(12, 8);
  vline16(3, 2, 9, 0x4321, c16.memory(), c16.pitch());
  EXPECT_EQ(written(c16), (Points{{9, 2}, {9, 3}}));
  EXPECT_EQ(c16.at(9, 3), 0x4321);
}

struct Segment {
  int x0, y0, x1, y1;
  bool operator==(const Segment&) const = default;
};

void PrintTo(const Segment& s, std::ostream* os) {
  *os << "(" << s.x0 << ", " << s.y0 << ") - (" << s.x1 << ", " << s.y1 << ")";
}

// clip_line's result and the segment it leaves.
std::pair<int, Segment> clipped(Segment s) {
  const int r = clip_line(&s.x0, &s.y0, &s.x1, &s.y1);
  return {r, s};
}

TEST_F(DrawLines, ClipLineCutsAtTheEdgeAndRejectsSharedRegions) {
  set_clip(0, 639, 0, 479);
  EXPECT_EQ(clipped({-10, 10, 10, 10}), std::make_pair(1, Segment{0, 10, 10, 10}));
  // Both ends left of the rectangle: rejected, values untouched.
  EXPECT_EQ(clipped({-10, -10, -5, 500}), std::make_pair(0, Segment{-10, -10, -5, 500}));
  // Both inside: accepted unchanged.
  EXPECT_EQ(clipped({3, 4, 600, 470}), std::make_pair(1, Segment{3, 4, 600, 470}));
  // Crosses both side edges.
  EXPECT_EQ(clipped({-100, 200, 739, 200}), std::make_pair(1, Segment{0, 200, 639, 200}));
  EXPECT_EQ(clipped({320, -50, 320, 600}), std::make_pair(1, Segment{320, 0, 320, 479}));
}

TEST_F(DrawLines, ClipLineRoundsTheFirstEndHalfUpAndTheSecondByPlainSum) {
  // A rectangle reaching below zero shows the difference: the true crossing at x = -50 is
  // y = -5. The first endpoint takes -5 + 0.5 truncated toward zero, -4; the second end (not
  // at a corner) takes the plain integer sum, -5.
  set_clip(-50, 50, -50, 50);
  EXPECT_EQ(clipped({-100, 0, 0, -10}), std::make_pair(1, Segment{-50, -4, 0, -10}));
  EXPECT_EQ(clipped({0, -10, -100, 0}), std::make_pair(1, Segment{0, -10, -50, -5}));
  // A second endpoint in a corner region takes the rounded form too: along y = 0.7x the top
  // edge is met at x -71.4 (outside), the left edge at y = -70 + 0.5 + 35 = -34.5, giving -34.
  EXPECT_EQ(clipped({0, 0, -100, -70}), std::make_pair(1, Segment{0, 0, -50, -34}));
}

TEST_F(DrawLines, ClipLineCornerTriesTheHorizontalEdgeFirst) {
  set_clip(0, 639, 0, 479);
  // Top-left corner whose cut along the top edge lands left of the rectangle (x -19), so it is
  // cut along the left edge instead: y = -10 + 0.5 + 40 * 70 / 140 = 10.5, truncated 10.
  EXPECT_EQ(clipped({-40, -10, 100, 60}), std::make_pair(1, Segment{0, 10, 100, 60}));
  // The same corner as the second endpoint takes the same rounded form.
  EXPECT_EQ(clipped({100, 60, -40, -10}), std::make_pair(1, Segment{100, 60, 0, 10}));
  // Top-left corner whose cut along the top edge lands inside: x = -20 + 0.5 + 20 = 0.5.
  EXPECT_EQ(clipped({-20, -10, 100, 50}), std::make_pair(1, Segment{0, 0, 100, 50}));
  // Bottom-right corner: the bottom edge gives x 679, past the right edge, so the right edge
  // is used: y = 500 + 0.5 - 61 = 439.5, truncated 439.
  EXPECT_EQ(clipped({700, 500, 600, 400}), std::make_pair(1, Segment{639, 439, 600, 400}));
}

TEST_F(DrawLines, ClipLineRejectsASegmentThatPassesOutsideACorner) {
  set_clip(0, 639, 0, 479);
  // x + y = -5 all along: left of and above the rectangle without sharing a region.
  EXPECT_EQ(clipped({-10, 5, 5, -10}), std::make_pair(0, Segment{-10, 5, 5, -10}));
}

TEST_F(DrawLines, ClipLineHandlesEndpointsNearTheIntLimits) {
  set_clip(0, 639, 0, 479);
  // The products reach 2e10; in 32 bits they would wrap round.
  EXPECT_EQ(clipped({-2000000000, 10, 2000000000, 20}),
            std::make_pair(1, Segment{0, 15, 639, 16}));
  // A vertical line from one end of the int range to the other.
  EXPECT_EQ(clipped({5, INT_MIN, 5, INT_MAX}), std::make_pair(1, Segment{5, 0, 5, 479}));
  // The diagonal through the origin, from corner region to corner region: the products
  // reach 2^63, past 64 bits.
  EXPECT_EQ(clipped({INT_MIN, INT_MIN, INT_MAX, INT_MAX}),
            std::make_pair(1, Segment{0, 0, 479, 479}));
}

TEST_F(DrawLines, BresenhamDiagonalAndShallowExamples) {
  Canvas<uint8_t> c(8, 8);
  EXPECT_EQ(draw_line8(0, 0, 3, 3, 5, c.memory(), c.pitch()), 1);
  EXPECT_EQ(written(c), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  c.clear();
  draw_line8(0, 0, 4, 1, 5, c.memory(), c.pitch());
  EXPECT_EQ(written(c), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}));

  Canvas<uint16_t> c16(8, 8);
  draw_line16(0, 0, 4, 1, 0xABCD, c16.memory(), c16.pitch());
  EXPECT_EQ(written(c16), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}));
  EXPECT_EQ(c16.at(4, 1), 0xABCD);
}

TEST_F(DrawLines, BresenhamWalksBackwardAndSteepLines) {
  Canvas<uint8_t> c(8, 8);
  // Reversed, the walk starts at (4, 1) with the same error term, so its pixels are not those
  // of the forward line: the row step comes after the second pixel, not the first.
  draw_line8(4, 1, 0, 0, 5, c.memory(), c.pitch());
  EXPECT_EQ(written(c), (Points{{4, 1}, {3, 1}, {2, 0}, {1, 0}, {0, 0}}));
  c.clear();
  // y-major: one pixel per row.
  draw_line8(1, 0, 2, 4, 5, c.memory(), c.pitch());
  EXPECT_EQ(written(c), (Points{{1, 0}, {1, 1}, {2, 2}, {2, 3}, {2, 4}}));
  c.clear();
  draw_line8(6, 6, 6, 6, 5, c.memory(), c.pitch());
  EXPECT_EQ(written(c), (Points{{6, 6}}));
}

TEST_F(DrawLines, ClippedLinesInsideMatchPlainLines) {
  set_clip(0, 31, 0, 31);
  Canvas<uint8_t> plain(32, 32), clip(32, 32);
  draw_line8(2, 30, 29, 3, 1, plain.memory(), plain.pitch());
  EXPECT_EQ(draw_clip_line8(2, 30, 29, 3, 1, clip.memory(), clip.pitch()), 1);
  EXPECT_EQ(written(plain), written(clip));
  // Wholly outside: nothing, and still 1.
  EXPECT_EQ(draw_clip_line8(-9, -9, -1, 40, 1, clip.memory(), clip.pitch()), 1);
  EXPECT_EQ(written(plain), written(clip));
}

// Distance of (px, py) from the segment (x0, y0) - (x1, y1), in doubles.
double segment_distance(double px, double py, double x0, double y0, double x1, double y1) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double len2 = dx * dx + dy * dy;
  double t = len2 == 0 ? 0 : ((px - x0) * dx + (py - y0) * dy) / len2;
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

// Random lines at several scales, up to the whole int range, into a guarded canvas with a
// smaller clip rectangle: nothing may land outside the rectangle, and what is drawn follows
// the true segment.
template <typename Pixel>
void random_clipped_lines(int (*draw)(int, int, int, int, int, uint8_t*, int)) {
  set_clip(5, 50, 4, 40);
  Canvas<Pixel> c(64, 48);
  std::mt19937 rng(20261207);
  const long long scales[] = {60, 200, 100000, 2000000000LL, 2147483647LL};
  for (long long scale : scales) {
    std::uniform_int_distribution<long long> coord(-scale, scale + 60);
    for (int i = 0; i < 3000; ++i) {
      const int x0 = static_cast<int>(std::clamp<long long>(coord(rng), INT_MIN, INT_MAX));
      const int y0 = static_cast<int>(std::clamp<long long>(coord(rng), INT_MIN, INT_MAX));
      const int x1 = static_cast<int>(std::clamp<long long>(coord(rng), INT_MIN, INT_MAX));
      const int y1 = static_cast<int>(std::clamp<long long>(coord(rng), INT_MIN, INT_MAX));
      c.clear();
      draw(x0, y0, x1, y1, 1, c.memory(), c.pitch());
      bool ok = true;
      c.each_written([&](int x, int y) {
        if (!ok) return;
        if (!in_clip(x, y)) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") outside the clip rectangle for ("
                        << x0 << ", " << y0 << ") - (" << x1 << ", " << y1 << ")";
          ok = false;
        } else if (segment_distance(x, y, x0, y0, x1, y1) > 1.5) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") off the segment (" << x0 << ", "
                        << y0 << ") - (" << x1 << ", " << y1 << ")";
          ok = false;
        }
      });
      if (!ok) return;
    }
  }
}

TEST_F(DrawLines, RandomClippedLinesStayInsideTheClipRectangle8) {
  random_clipped_lines<uint8_t>(draw_clip_line8);
}

TEST_F(DrawLines, RandomClippedLinesStayInsideTheClipRectangle16) {
  random_clipped_lines<uint16_t>(draw_clip_line16);
}

}  // namespace
