// Sprite frames in a 16-bit display mode, cut from a 24-bit sheet converted to the display's
// pixel format.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"
#include "platform/headless/headless.h"
#include "tests/graphics/bitmap_files.h"
#include "tests/graphics/bob_surface_helpers.h"
#include "tests/support/display_fixture.h"

namespace {

// Black (the key after conversion) on a checkerboard, colours elsewhere.
uint32_t sheet_rgb(int x, int y) {
  if ((x + y) % 4 == 0) return 0x000000;
  return uint32_t((x * 9) & 0xFF) << 16 | uint32_t((y * 5) & 0xFF) << 8 | 0x40;
}

uint16_t as565(uint32_t rgb) {
  return uint16_t((rgb >> 19 & 0x1F) << 11 | (rgb >> 10 & 0x3F) << 5 | (rgb >> 3 & 0x1F));
}

uint16_t at16(const std::vector<uint8_t>& bytes, size_t pitch_pixels, int x, int y) {
  uint16_t v;
  std::memcpy(&v, &bytes[(size_t(y) * pitch_pixels + size_t(x)) * 2], 2);
  return v;
}

class Bob16 : public HeadlessWindowFixture {
 protected:
  void SetUp() override {
    HeadlessWindowFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(display_init(640, 480, 16, 0), 1);
    ASSERT_EQ(pixel_format, 16);
  }
};

TEST_F(Bob16, FramesFromATrueColourSheetDrawKeyed) {
  // Cells of 20 x 10: cell (1, 0) starts at (22, 1).
  auto file = bmp_make(64, 24, 24, sheet_rgb);
  BMP_FILE_TYP sheet{};
  ASSERT_EQ(bitmap_load_memory(&sheet, file.data(), file.size()), 1);
  BOB_TYP bob{};
  ASSERT_EQ(bob_create(&bob, 0, 0, 20, 10, 2, ATTR_VISIBLE, 0, 0, 16), 1);
  ASSERT_EQ(plat_surface_bpp(bob.frame_surfaces[0]), 16);
  ASSERT_EQ(bob_load_frame16(&bob, &sheet, 1, 1, 0, 0), 1);
  EXPECT_TRUE(bob.attributes & ATTR_LOADED);
  const std::vector<uint8_t> frame = surface_bytes(bob.frame_surfaces[1]);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(at16(frame, 20, x, y), as565(sheet_rgb(22 + x, 1 + y))) << x << "," << y;
  // 8-bit cuts are refused in this mode, and so are cells past the sheet.
  EXPECT_EQ(bob_load_frame(&bob, &sheet, 0, 0, 0, 0), 0);
  EXPECT_EQ(bob_load_frame16(&bob, &sheet, 0, 3, 0, 0), 0);

  ASSERT_EQ(plat_surface_fill(back_surface, nullptr, 0x1234), 1);
  bob.frame = 1;
  bob_set_position(&bob, 630, 475);  // cut by the right and bottom edges
  ASSERT_EQ(bob_draw(&bob, back_surface), 1);
  const std::vector<uint8_t> screen = surface_bytes(back_surface);
  for (int y = 475; y < 480; ++y)
    for (int x = 630; x < 640; ++x) {
      const uint16_t source = as565(sheet_rgb(22 + x - 630, 1 + y - 475));
      EXPECT_EQ(at16(screen, 640, x, y), source ? source : 0x1234) << x << "," << y;
    }
  EXPECT_EQ(at16(screen, 640, 629, 477), 0x1234);
  bob_destroy(&bob);
  bitmap_unload_file(&sheet);
}

TEST_F(Bob16, FiveFiveFiveFormatIsUsedWhenTheDisplayReportsIt) {
  display_shutdown();
  headless_set_pixel_format(15);
  ASSERT_EQ(display_init(640, 480, 16, 0), 1);
  ASSERT_EQ(pixel_format, 15);
  auto file = bmp_make(4, 1, 24, [](int x, int) { return x == 0 ? 0x00FF00u : 0xFF0000u; });
  BMP_FILE_TYP sheet{};
  ASSERT_EQ(bitmap_load_memory(&sheet, file.data(), file.size()), 1);
  EXPECT_EQ(bmp_pixel_at(sheet, 0, 0), 0x03E0u);
  EXPECT_EQ(bmp_pixel_at(sheet, 1, 0), 0x7C00u);
  bitmap_unload_file(&sheet);
}

}  // namespace
