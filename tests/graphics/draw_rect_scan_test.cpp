// Filled rectangles through the surface fill, colour scans cut to the screen, box overlap.
#include <gtest/gtest.h>

#include <climits>

#include "engine/graphics/pixels.h"
#include "engine/graphics/rect.h"
#include "engine/graphics/scan.h"
#include "platform/surface.h"
#include "tests/support/canvas.h"

namespace {

TEST(DrawFillRect, RightAndBottomAreExclusive) {
  SURFACE_TYP* s = plat_surface_create(8, 6, 8, DDSCAPS_OFFSCREENPLAIN);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(fill_rect(2, 1, 5, 3, 0x107, s), 1);
  int pitch = 0;
  uint8_t* m = plat_surface_lock(s, &pitch);
  ASSERT_NE(m, nullptr);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
      EXPECT_EQ(m[y * pitch + x], inside ? 7 : 0) << x << "," << y;
    }
  // A locked surface refuses the fill; the result does not say so.
  EXPECT_EQ(fill_rect(0, 0, 8, 6, 1, s), 1);
  EXPECT_EQ(m[0], 0);
  plat_surface_unlock(s);
  plat_surface_release(s);
}

TEST(DrawFillRect, SixteenBitsTakeTheLowHalfAndANullSurfaceFails) {
  SURFACE_TYP* s = plat_surface_create(4, 4, 16, DDSCAPS_OFFSCREENPLAIN);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(fill_rect(1, 1, 3, 2, 0x7FFF1234, s), 1);
  int pitch = 0;
  uint8_t* m = plat_surface_lock(s, &pitch);
  ASSERT_NE(m, nullptr);
  const uint16_t* row1 = reinterpret_cast<const uint16_t*>(m + pitch);
  EXPECT_EQ(row1[0], 0);
  EXPECT_EQ(row1[1], 0x1234);
  EXPECT_EQ(row1[2], 0x1234);
  EXPECT_EQ(row1[3], 0);
  plat_surface_unlock(s);
  plat_surface_release(s);
  EXPECT_EQ(fill_rect(0, 0, 1, 1, 1, nullptr), 0);
}

class DrawScan : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_width = 64;
    screen_height = 48;
    set_clip(10, 20, 10, 20);  // the scan ignores it
  }
  DisplayGlobalsGuard saved;
};

TEST_F(DrawScan, FindsAnIndexInTheRangeAnywhereOnTheScreen) {
  Canvas<uint8_t> c(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) plot_pixel8(x, y, 0, c.memory(), c.pitch());
  plot_pixel8(40, 30, 77, c.memory(), c.pitch());  // outside the clip rectangle
  EXPECT_EQ(scan_colors8(0, 0, 63, 47, 70, 80, c.memory(), c.pitch()), 1);
  EXPECT_EQ(scan_colors8(40, 30, 40, 30, 77, 77, c.memory(), c.pitch()), 1);
  EXPECT_EQ(scan_colors8(0, 0, 63, 47, 78, 255, c.memory(), c.pitch()), 0);
  EXPECT_EQ(scan_colors8(0, 0, 39, 47, 70, 80, c.memory(), c.pitch()), 0);
  EXPECT_EQ(scan_colors8(41, 0, 63, 47, 70, 80, c.memory(), c.pitch()), 0);
  EXPECT_EQ(scan_colors8(0, 31, 63, 47, 70, 80, c.memory(), c.pitch()), 0);
}

TEST_F(DrawScan, ARectangleReachingPastTheScreenIsCutToIt) {
  Canvas<uint8_t> c(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) plot_pixel8(x, y, 0, c.memory(), c.pitch());
  // The border round the screen holds the marker colour; the scan must not reach it.
  const uint8_t mark = Canvas<uint8_t>::MARK;
  EXPECT_EQ(scan_colors8(-10, -10, 100, 100, mark, mark, c.memory(), c.pitch()), 0);
  EXPECT_EQ(scan_colors8(100, 100, -10, -10, mark, mark, c.memory(), c.pitch()), 0);
  plot_pixel8(63, 47, 5, c.memory(), c.pitch());
  EXPECT_EQ(scan_colors8(60, 40, 1000, 1000, 5, 5, c.memory(), c.pitch()), 1);
  plot_pixel8(0, 0, 6, c.memory(), c.pitch());
  EXPECT_EQ(scan_colors8(INT_MIN, INT_MIN, 0, 0, 6, 6, c.memory(), c.pitch()), 1);
}

TEST_F(DrawScan, SixteenBitScanMatchesEitherColour) {
  Canvas<uint16_t> c(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) plot_pixel16(x, y, 0x0101, c.memory(), c.pitch());
  plot_pixel16(3, 4, 0xF800, c.memory(), c.pitch());
  plot_pixel16(50, 40, 0x07E0, c.memory(), c.pitch());
  EXPECT_EQ(scan_colors16(0, 0, 10, 10, 0xF800, 0x001F, c.memory(), c.pitch()), 1);
  EXPECT_EQ(scan_colors16(0, 0, 10, 10, 0x001F, 0xF800, c.memory(), c.pitch()), 1);
  EXPECT_EQ(scan_colors16(0, 0, 10, 10, 0x07E0, 0x001F, c.memory(), c.pitch()), 0);
  EXPECT_EQ(scan_colors16(45, 35, 500, 500, 0x07E0, 0x07E0, c.memory(), c.pitch()), 1);
  const uint16_t mark = Canvas<uint16_t>::MARK;
  EXPECT_EQ(scan_colors16(-5, -5, 70, 70, mark, mark, c.memory(), c.pitch()), 0);
}

TEST(DrawRectOverlap, ShrunkenBoxesMustOverlapStrictly) {
  // 32 x 32 boxes have half sizes 16 - 4 = 12: their reference points must be under 24 apart.
  EXPECT_EQ(rect_overlap(0, 0, 32, 32, 23, 0, 32, 32), 1);
  EXPECT_EQ(rect_overlap(0, 0, 32, 32, 24, 0, 32, 32), 0);
  EXPECT_EQ(rect_overlap(0, 0, 32, 32, -23, 23, 32, 32), 1);
  EXPECT_EQ(rect_overlap(0, 0, 32, 32, 0, -24, 32, 32), 0);
  // Different sizes: 64 x 16 (half sizes 24, 6) against 8 x 8 (3, 3).
  EXPECT_EQ(rect_overlap(0, 0, 64, 16, 47, 3, 8, 8), 1);  // x refs 24 and 50: 26 < 27
  EXPECT_EQ(rect_overlap(0, 0, 64, 16, 48, 3, 8, 8), 0);
  // Far apart at the ends of the int range: no overflow into a false overlap.
  EXPECT_EQ(rect_overlap(INT_MIN, 0, 32, 32, INT_MAX - 40, 0, 32, 32), 0);
  EXPECT_EQ(rect_overlap(INT_MAX - 31, INT_MAX - 31, 32, 32, INT_MAX - 40, INT_MAX - 40, 32, 32),
            1);
}

}  // namespace
