// Sprite frames narrower than their surface's pitch, in both depths: each row of a frame cut
// from a sheet starts a pitch further on, so copying by the frame width would shear it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"
#include "tests/graphics/bitmap_files.h"
#include "tests/graphics/bob_surface_helpers.h"
#include "tests/support/display_fixture.h"

namespace {

struct FRAME_ROWS_CASE {
  const char* name;
  int bpp;            // of the display, the sprite and (through conversion) the sheet
  int width, height;  // of the frame: its rows are shorter than the surface's pitch
  int cx, cy, mode;   // a cell (mode 0) or a pixel corner (mode 1)
  int left, top;      // where that cell or corner lies on the sheet
};

// Distinct values across the sheet in both depths.
uint32_t sheet_value(int x, int y) {
  return (uint32_t(x * 7 + y * 13) & 0xFF) | uint32_t(x * 9 & 0xFF) << 16 | uint32_t(y * 5) << 8;
}

class BobFrameRows : public HeadlessWindowFixture,
                     public ::testing::WithParamInterface<FRAME_ROWS_CASE> {
 protected:
  void SetUp() override {
    HeadlessWindowFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(display_init(640, 480, GetParam().bpp, 0), 1);
  }
};

TEST_P(BobFrameRows, FrameRowsAdvanceByTheSurfacePitch) {
  const FRAME_ROWS_CASE& c = GetParam();
  const int bytes = c.bpp / 8;
  auto file = bmp_make(64, 24, c.bpp == 8 ? 8 : 24,
                       [&](int x, int y) { return c.bpp == 8 ? sheet_value(x, y) & 0xFF : sheet_value(x, y); });
  BMP_FILE_TYP sheet{};
  ASSERT_EQ(bitmap_load_memory(&sheet, file.data(), file.size()), 1);
  BOB_TYP bob{};
  ASSERT_EQ(bob_create(&bob, 0, 0, c.width, c.height, 1, ATTR_VISIBLE, 0, 0, c.bpp), 1);
  int pitch = 0;
  ASSERT_NE(plat_surface_lock(bob.frame_surfaces[0], &pitch), nullptr);
  plat_surface_unlock(bob.frame_surfaces[0]);
  ASSERT_NE(pitch, c.width * bytes);

  const int loaded = c.bpp == 8 ? bob_load_frame(&bob, &sheet, 0, c.cx, c.cy, c.mode)
                                : bob_load_frame16(&bob, &sheet, 0, c.cx, c.cy, c.mode);
  ASSERT_EQ(loaded, 1);
  const std::vector<uint8_t> frame = surface_bytes(bob.frame_surfaces[0]);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      uint32_t got = 0;
      std::memcpy(&got, &frame[(size_t(y) * c.width + x) * bytes], size_t(bytes));
      ASSERT_EQ(got, bmp_pixel_at(sheet, c.left + x, c.top + y)) << x << "," << y;
    }
  bob_destroy(&bob);
  bitmap_unload_file(&sheet);
}

INSTANTIATE_TEST_SUITE_P(
    BothDepths, BobFrameRows,
    ::testing::Values(
        // Cell (3, 2) of 10 x 6 cells with 1-pixel borders starts at (34, 15).
        FRAME_ROWS_CASE{"EightBitCell", 8, 10, 6, 3, 2, 0, 34, 15},
        // 3 pixels are 6 bytes in rows of 8; in pixel mode the corner is counted in pixels.
        FRAME_ROWS_CASE{"SixteenBitPixelCorner", 16, 3, 3, 5, 2, 1, 5, 2}),
    [](const ::testing::TestParamInfo<FRAME_ROWS_CASE>& info) { return info.param.name; });

}  // namespace
