// The display: mode, primary with its back buffer, flips, presents and captured frames.
#include "platform/display.h"
#include "platform/image_file.h"
#include "platform/window.h"
#include "tests/platform/support.h"

namespace {

class Display : public Headless {
 protected:
  SURFACE_TYP* primary = nullptr;
  SURFACE_TYP* back = nullptr;
  void open(int bpp, int back_buffers = 1) {
    ASSERT_EQ(plat_display_set_mode(nullptr, 64, 48, bpp, 1), 1);
    primary = plat_display_create_primary(back_buffers);
    ASSERT_NE(primary, nullptr);
    back = plat_display_get_back_buffer(primary);
  }
  void TearDown() override {
    plat_surface_release(back);
    plat_surface_release(primary);
    Headless::TearDown();
  }
};

TEST_F(Display, ModeIsRecordedAndPrimaryNeedsIt) {
  EXPECT_EQ(plat_display_create_primary(1), nullptr);
  EXPECT_EQ(plat_display_set_mode(nullptr, 640, 480, 24, 1), 0);
  open(8);
  EXPECT_EQ(headless_set_mode_calls(), 1);
  HEADLESS_MODE_TYP m = headless_last_mode();
  EXPECT_EQ(m.width, 64);
  EXPECT_EQ(m.height, 48);
  EXPECT_EQ(m.bpp, 8);
  EXPECT_EQ(m.fullscreen, 1);
  EXPECT_EQ(plat_surface_width(primary), 64);
  EXPECT_EQ(plat_surface_bpp(primary), 8);
  EXPECT_TRUE(plat_surface_caps(primary) & DDSCAPS_PRIMARYSURFACE);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(plat_surface_caps(back) & DDSCAPS_BACKBUFFER);
  EXPECT_EQ(plat_display_create_primary(1), nullptr);  // only one at a time
  plat_display_restore_mode();
  EXPECT_EQ(headless_restore_mode_calls(), 1);
}

TEST_F(Display, PixelFormatFollowsTheMode) {
  EXPECT_EQ(plat_display_pixel_format(nullptr), 0);
  open(16);
  EXPECT_EQ(plat_display_pixel_format(primary), 16);
  headless_set_pixel_format(15);
  EXPECT_EQ(plat_display_pixel_format(primary), 15);
  headless_reset();
  EXPECT_EQ(plat_display_pixel_format(primary), 16);
}

TEST_F(Display, EightBitModeReportsEight) {
  open(8);
  headless_set_pixel_format(15);
  EXPECT_EQ(plat_display_pixel_format(primary), 8);
}

TEST_F(Display, FlipSwapsTheMemoryAndPresentsTheNewPrimary) {
  open(8);
  PALETTEENTRY entries[256] = {};
  entries[9] = {10, 20, 30, 0};
  PALETTE_TYP* palette = plat_palette_create(entries);
  plat_surface_set_palette(primary, palette);
  plat_palette_release(palette);
  plat_surface_fill(back, nullptr, 9);
  plat_surface_fill(primary, nullptr, 4);
  int pitch;
  uint8_t* before_primary = plat_surface_lock(primary, &pitch);
  plat_surface_unlock(primary);
  uint8_t* before_back = plat_surface_lock(back, &pitch);
  plat_surface_unlock(back);

  ASSERT_EQ(plat_display_flip(primary), 1);
  EXPECT_EQ(plat_surface_lock(primary, &pitch), before_back);
  plat_surface_unlock(primary);
  EXPECT_EQ(plat_surface_lock(back, &pitch), before_primary);
  plat_surface_unlock(back);
  EXPECT_EQ(pixels_of(primary), std::vector<uint32_t>(64 * 48, 9));
  EXPECT_EQ(pixels_of(back), std::vector<uint32_t>(64 * 48, 4));

  EXPECT_EQ(headless_presents(), 1);
  ASSERT_EQ(headless_frame_count(), 1);
  int w, h;
  headless_frame_size(&w, &h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 48);
  const uint8_t* rgb = headless_frame_rgb(-1);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb[0], 10);
  EXPECT_EQ(rgb[1], 20);
  EXPECT_EQ(rgb[3 * (64 * 48) - 1], 30);
}

TEST_F(Display, FlipIsRefusedWhileEitherSurfaceIsLocked) {
  open(8);
  plat_surface_fill(back, nullptr, 1);
  ASSERT_NE(plat_surface_lock(back, nullptr), nullptr);
  EXPECT_EQ(plat_display_flip(primary), 0);
  plat_surface_unlock(back);
  ASSERT_NE(plat_surface_lock(primary, nullptr), nullptr);
  EXPECT_EQ(plat_display_flip(primary), 0);
  EXPECT_EQ(plat_display_present(primary), 0);
  plat_surface_unlock(primary);
  EXPECT_EQ(headless_presents(), 0);
  EXPECT_EQ(pixels_of(back), std::vector<uint32_t>(64 * 48, 1));
}

TEST_F(Display, WindowedPrimaryHasNoBackBufferAndPresentsAsItIs) {
  open(16, 0);
  EXPECT_EQ(back, nullptr);
  EXPECT_EQ(plat_display_flip(primary), 0);
  plat_surface_fill(primary, nullptr, 0xF800);  // pure red in 5.6.5
  EXPECT_EQ(plat_display_present(primary), 1);
  const uint8_t* rgb = headless_frame_rgb(0);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb[0], 255);
  EXPECT_EQ(rgb[1], 0);
  EXPECT_EQ(rgb[2], 0);
  EXPECT_EQ(plat_display_wait_vblank(), 1);
  EXPECT_EQ(headless_vblank_waits(), 1);
}

TEST_F(Display, OnlyTheLatestFramesAreKept) {
  open(8);
  headless_set_frame_cap(3);
  for (int i = 0; i < 5; ++i) {
    plat_surface_fill(back, nullptr, static_cast<uint32_t>(i));
    plat_display_flip(primary);
  }
  EXPECT_EQ(headless_presents(), 5);
  ASSERT_EQ(headless_frame_count(), 3);
  // No palette: an index shows as its grey level.
  EXPECT_EQ(headless_frame_rgb(0)[0], 2);
  EXPECT_EQ(headless_frame_rgb(-1)[0], 4);
  EXPECT_EQ(headless_frame_rgb(3), nullptr);
  EXPECT_EQ(headless_frame_rgb(-4), nullptr);
}

TEST_F(Display, BackBufferGoesWithItsPrimary) {
  open(8);
  // Releasing the back buffer on its own (as the old shut-down did) leaves it usable until the
  // primary goes; ASan reports a double free or a leak otherwise.
  plat_surface_release(back);
  plat_surface_release(back);
  plat_surface_fill(back, nullptr, 3);
  EXPECT_EQ(pixels_of(back)[0], 3u);
  EXPECT_EQ(plat_display_flip(primary), 1);
  plat_surface_release(primary);
  primary = back = nullptr;
  // With the old primary gone a new one can be made.
  SURFACE_TYP* again = plat_display_create_primary(0);
  EXPECT_NE(again, nullptr);
  plat_surface_release(again);
}

// The --scale words; anything else (case, spaces, nothing) is no scale.
TEST(DisplayScale, OnlyThePlayersThreeWordsNameAScale) {
  const struct {
    const char* name;
    int scale;
  } cases[] = {{"sharp", SCALE_SHARP}, {"nearest", SCALE_NEAREST}, {"integer", SCALE_INTEGER},
               {"Sharp", -1},          {"sharp ", -1},            {"", -1},
               {"linear", -1},         {nullptr, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(plat_display_scale_named(c.name), c.scale) << (c.name ? c.name : "(null)");
}

}  // namespace
