#include "engine/graphics/display.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/diag/error_file.h"
#include "platform/display.h"
#include "platform/faults.h"
#include "platform/headless/headless.h"
#include "tests/support/display_fixture.h"

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

using DisplayStartup = HeadlessWindowFixture;

TEST_F(DisplayStartup, GameModeSetsScreenAndClipRectangleAndLogsPixelFormat) {
  ASSERT_EQ(open_error_file("ERR.TXT", nullptr), 1);
  ASSERT_EQ(display_init(640, 480, 8, 0), 1);
  close_error_file();
  EXPECT_EQ(screen_width, 640);
  EXPECT_EQ(screen_height, 480);
  EXPECT_EQ(screen_bpp, 8);
  EXPECT_EQ(windowed, 0);
  EXPECT_EQ(clip_min_x, 0);
  EXPECT_EQ(clip_max_x, 639);
  EXPECT_EQ(clip_min_y, 0);
  EXPECT_EQ(clip_max_y, 479);
  EXPECT_EQ(pixel_format, 8);
  EXPECT_EQ(rgb16_pack, &pack_rgb565);
  ASSERT_NE(primary_surface, nullptr);
  ASSERT_NE(back_surface, nullptr);
  EXPECT_NE(display_palette, nullptr);
  EXPECT_NE(back_clipper, nullptr);
  EXPECT_EQ(window_clipper, nullptr);
  std::string log = read_file("ERR.TXT");
  EXPECT_NE(log.find("\n\npixel format = 8\npixel format = 5.6.5\nClosing"), std::string::npos) << log;
}

TEST_F(DisplayStartup, WithoutThePaletteFileEveryEntryIsBlack) {
  memset(palette_shadow, 0x55, sizeof palette_shadow);
  ASSERT_EQ(display_init(640, 480, 8, 0), 1);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(palette_shadow[i].red | palette_shadow[i].green | palette_shadow[i].blue |
                  palette_shadow[i].flags, 0)
        << i;
  }
}

TEST_F(DisplayStartup, ThePaletteFileFillsTheShadowAndTheDisplayPalette) {
  {
    std::ofstream pal("PALDATA2.PAL");
    pal << "\n1 2 3 4\n255 128 0 0\n";  // a short file: two entries
  }
  ASSERT_EQ(display_init(640, 480, 8, 0), 1);
  EXPECT_EQ(palette_shadow[0].red, 1);
  EXPECT_EQ(palette_shadow[0].green, 2);
  EXPECT_EQ(palette_shadow[0].blue, 3);
  EXPECT_EQ(palette_shadow[0].flags, 4);
  EXPECT_EQ(palette_shadow[1].red, 255);
  EXPECT_EQ(palette_shadow[1].green, 128);
  EXPECT_EQ(palette_shadow[2].red, 0);
  PALETTEENTRY shown[256];
  ASSERT_EQ(plat_palette_get_entries(display_palette, 0, 256, shown), 1);
  EXPECT_EQ(memcmp(shown, palette_shadow, sizeof shown), 0);
}

TEST_F(DisplayStartup, WindowedModeKeepsASeparateBackSurfaceAndMarksSystemEntries) {
  ASSERT_EQ(display_init(640, 480, 8, 1), 1);
  EXPECT_EQ(windowed, 1);
  ASSERT_NE(back_surface, nullptr);
  EXPECT_EQ(plat_display_get_back_buffer(primary_surface), nullptr);
  EXPECT_NE(window_clipper, nullptr);
  for (int i = 0; i < 256; ++i) {
    bool system = i < 10 || i >= 246;
    EXPECT_EQ(palette_shadow[i].flags, system ? PC_EXPLICIT : 0) << i;
  }
  // The frame reaches the screen through a blit onto the primary.
  int before = headless_presents();
  display_fill_surface(back_surface, 0, nullptr);
  EXPECT_EQ(display_flip(), 1);
  EXPECT_EQ(headless_presents(), before + 1);
}

TEST_F(DisplayStartup, WindowedModeMarksSystemEntriesOverThePaletteFile) {
  {
    std::ofstream pal("PALDATA2.PAL");
    for (int i = 0; i < 256; ++i) pal << "\n" << i << " 0 0 4";
  }
  ASSERT_EQ(display_init(640, 480, 8, 1), 1);
  EXPECT_EQ(palette_shadow[0].flags, PC_EXPLICIT);
  EXPECT_EQ(palette_shadow[9].flags, PC_EXPLICIT);
  EXPECT_EQ(palette_shadow[10].flags, 4);
  EXPECT_EQ(palette_shadow[245].flags, 4);
  EXPECT_EQ(palette_shadow[246].flags, PC_EXPLICIT);
  EXPECT_EQ(palette_shadow[255].flags, PC_EXPLICIT);
  EXPECT_EQ(palette_shadow[200].red, 200);  // the colours themselves are the file's
  PALETTEENTRY shown[256];
  ASSERT_EQ(plat_palette_get_entries(display_palette, 0, 256, shown), 1);
  EXPECT_EQ(memcmp(shown, palette_shadow, sizeof shown), 0);
}

TEST_F(DisplayStartup, EachFailingWindowedStepEndsStartUpWithZero) {
  // The back surface, then the window's clipper: made, given its area, attached.
  const struct {
    PLAT_CALL call;
    int succeed_first;
  } steps[] = {{CALL_SURFACE_CREATE, 0},
               {CALL_CLIPPER_CREATE, 1},  // the back surface's clipper is the first
               {CALL_CLIPPER_SET_LIST, 1},
               {CALL_SET_CLIPPER, 1}};
  for (const auto& step : steps) {
    plat_fault_clear_all();
    plat_fault_set(step.call, step.succeed_first);
    EXPECT_EQ(display_init(640, 480, 8, 1), 0) << step.call;
    plat_fault_clear_all();
    display_shutdown();
    EXPECT_EQ(primary_surface, nullptr);
    EXPECT_EQ(back_surface, nullptr);
    EXPECT_EQ(window_clipper, nullptr);
  }
}

TEST_F(DisplayStartup, SixteenBitModeFollowsThePrimarysPixelFormat) {
  ASSERT_EQ(open_error_file("ERR.TXT", nullptr), 1);
  headless_set_pixel_format(15);
  ASSERT_EQ(display_init(640, 480, 16, 0), 1);
  close_error_file();
  EXPECT_EQ(pixel_format, 15);
  EXPECT_EQ(rgb16_pack, &pack_rgb555);
  EXPECT_EQ(display_palette, nullptr);  // only 8-bit modes have a palette
  EXPECT_EQ(plat_surface_bpp(back_surface), 16);
  EXPECT_NE(read_file("ERR.TXT").find("\npixel format = 15\npixel format = 5.5.5"), std::string::npos);
}

TEST_F(DisplayStartup, EachFailingStepEndsStartUpWithZero) {
  const PLAT_CALL steps[] = {CALL_SET_MODE, CALL_CREATE_PRIMARY, CALL_GET_BACK_BUFFER,
                             CALL_PALETTE_CREATE, CALL_SET_PALETTE};
  for (PLAT_CALL step : steps) {
    plat_fault_clear_all();
    plat_fault_set(step, 0);
    EXPECT_EQ(display_init(640, 480, 8, 0), 0) << step;
    plat_fault_clear_all();
    display_shutdown();  // releases whatever was made
    EXPECT_EQ(primary_surface, nullptr);
    EXPECT_EQ(back_surface, nullptr);
  }
}

TEST_F(DisplayStartup, AClipperThatCannotBeMadeDoesNotStopStartUp) {
  plat_fault_set(CALL_CLIPPER_CREATE, 0);
  EXPECT_EQ(display_init(640, 480, 8, 0), 1);
  EXPECT_EQ(back_clipper, nullptr);
}

using Display = DisplayFixture;

TEST_F(Display, FlipRefusesWhileTheBackSurfaceIsLocked) {
  int before = headless_presents();
  ASSERT_NE(display_lock_back(), nullptr);
  EXPECT_EQ(display_flip(), 0);
  EXPECT_EQ(headless_presents(), before);
  EXPECT_EQ(display_unlock_back(), 1);
  EXPECT_EQ(display_flip(), 1);
  EXPECT_EQ(headless_presents(), before + 1);
}

TEST_F(Display, FlipRefusesWhileThePrimaryIsLocked) {
  ASSERT_NE(display_lock_primary(), nullptr);
  EXPECT_EQ(display_flip(), 0);
  EXPECT_EQ(display_unlock_primary(), 1);
  EXPECT_EQ(display_unlock_primary(), 0);
}

TEST_F(Display, BackLocksAreCachedUntilUnlocked) {
  uint8_t* first = display_lock_back();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(display_lock_back(), first);
  EXPECT_EQ(back_buffer, first);
  EXPECT_GE(back_pitch, 640);
  EXPECT_EQ(plat_surface_is_locked(back_surface), 1);
  EXPECT_EQ(display_unlock_back(), 1);
  EXPECT_EQ(plat_surface_is_locked(back_surface), 0);
  EXPECT_EQ(back_buffer, nullptr);
  EXPECT_EQ(back_pitch, 0);
  EXPECT_EQ(display_unlock_back(), 0);
}

TEST_F(Display, LockingASurfaceReportsItsDescription) {
  SURFACE_TYP* surface = display_create_surface(56, 72, DDSCAPS_SYSTEMMEMORY, 0);
  ASSERT_NE(surface, nullptr);
  int pitch = -1;
  uint8_t* memory = display_lock_surface(surface, &pitch);
  ASSERT_NE(memory, nullptr);
  EXPECT_GE(pitch, 56);
  EXPECT_EQ(lock_desc.memory, memory);
  EXPECT_EQ(lock_desc.width, 56);
  EXPECT_EQ(lock_desc.height, 72);
  // A second lock of a locked surface fails and reports no memory and no pitch.
  int pitch2 = -1;
  EXPECT_EQ(display_lock_surface(surface, &pitch2), nullptr);
  EXPECT_EQ(pitch2, 0);
  EXPECT_EQ(display_unlock_surface(surface), 1);
  EXPECT_EQ(display_unlock_surface(nullptr), 0);
  EXPECT_EQ(display_lock_surface(nullptr, &pitch), nullptr);
  plat_surface_release(surface);
}

TEST_F(Display, CreatedSurfacesHaveTheScreenDepthAndTheKey) {
  SURFACE_TYP* surface = display_create_surface(10, 20, DDSCAPS_SYSTEMMEMORY, 7);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(plat_surface_bpp(surface), 8);
  EXPECT_EQ(plat_surface_width(surface), 10);
  EXPECT_EQ(plat_surface_height(surface), 20);
  EXPECT_EQ(plat_surface_caps(surface), DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
  uint32_t low = 0, high = 0;
  ASSERT_EQ(plat_surface_get_color_key(surface, &low, &high), 1);
  EXPECT_EQ(low, 7u);
  EXPECT_EQ(high, 7u);
  plat_surface_release(surface);
  plat_fault_set(CALL_SURFACE_CREATE, 0);
  EXPECT_EQ(display_create_surface(10, 20, 0, 0), nullptr);
}

TEST_F(Display, ClipperBoundsTakeTheOuterEdgesOfAllRectangles) {
  RECT rects[2] = {{0, 0, 640, 480}, {700, 10, 720, 30}};
  RECT bound;
  display_clip_bounds(2, rects, &bound);
  EXPECT_EQ(bound.left, 0);
  EXPECT_EQ(bound.top, 0);
  EXPECT_EQ(bound.right, 720);
  EXPECT_EQ(bound.bottom, 480);

  SURFACE_TYP* surface = display_create_surface(800, 600, 0, 0);
  CLIPPER_TYP* clipper = display_attach_clipper(surface, 2, rects);
  ASSERT_NE(clipper, nullptr);
  EXPECT_EQ(plat_surface_get_clipper(surface), clipper);
  RECT held[4];
  ASSERT_EQ(plat_clipper_get_list(clipper, held, 4), 2);
  EXPECT_EQ(held[1].left, 700);
  EXPECT_EQ(held[1].bottom, 30);
  plat_surface_release(surface);
  plat_clipper_release(clipper);
}

TEST_F(Display, AClipperThatCannotBeAttachedIsReleasedAndNullReturned) {
  RECT rect = {0, 0, 10, 10};
  plat_fault_set(CALL_SET_CLIPPER, 0);
  EXPECT_EQ(display_attach_clipper(back_surface, 1, &rect), nullptr);
  plat_fault_clear_all();
  plat_fault_set(CALL_CLIPPER_SET_LIST, 0);
  EXPECT_EQ(display_attach_clipper(back_surface, 1, &rect), nullptr);
  plat_fault_clear_all();
  EXPECT_EQ(display_attach_clipper(back_surface, -1, &rect), nullptr);
}

TEST_F(Display, FillAndFlipShowTheFillColourThroughThePalette) {
  PALETTEENTRY red = {200, 10, 20, 0};
  plat_palette_set_entries(display_palette, 5, 1, &red);
  RECT area = {100, 50, 110, 60};
  EXPECT_EQ(display_fill_surface(back_surface, 5, &area), 1);
  ASSERT_EQ(display_flip(), 1);
  int w = 0, h = 0;
  headless_frame_size(&w, &h);
  ASSERT_EQ(w, 640);
  ASSERT_EQ(h, 480);
  const uint8_t* rgb = headless_frame_rgb(-1);
  ASSERT_NE(rgb, nullptr);
  const uint8_t* inside = rgb + (55 * 640 + 105) * 3;
  EXPECT_EQ(inside[0], 200);
  EXPECT_EQ(inside[1], 10);
  EXPECT_EQ(inside[2], 20);
  const uint8_t* outside = rgb + (60 * 640 + 110) * 3;  // right and bottom are exclusive
  EXPECT_EQ(outside[0] | outside[1] | outside[2], 0);
}

TEST_F(Display, AFlipThatKeepsFailingIsReportedNotWaitedForForever) {
  plat_fault_set(CALL_FLIP, 0);
  EXPECT_EQ(display_flip(), 0);
  plat_fault_clear_all();
  EXPECT_EQ(display_flip(), 1);
}

TEST(ColourPacking, WhiteAndChannelsPackIntoTheirFields) {
  EXPECT_EQ(pack_rgb565(255, 255, 255), 0xFFFF);
  EXPECT_EQ(pack_rgb555(255, 255, 255), 0x7FFF);
  EXPECT_EQ(pack_rgb565(0, 0, 255), 0x001F);
  EXPECT_EQ(pack_rgb565(0, 255, 0), 0x07E0);
  EXPECT_EQ(pack_rgb565(255, 0, 0), 0xF800);
  EXPECT_EQ(pack_rgb555(0, 255, 0), 0x03E0);
  EXPECT_EQ(pack_rgb555(255, 0, 0), 0x7C00);
  EXPECT_EQ(pack_rgb565(7, 3, 7), 0);  // low bits are dropped
}

}  // namespace
