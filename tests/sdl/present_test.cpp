// What the player's window shows: the primary's pixels through its palette (8 bits) or its
// pixel format (16 bits), read back from the renderer of the dummy display.
#include <cstring>

#include "platform/surface.h"
#include "tests/sdl/sdl_fixture.h"

namespace {

// Windowed, so that the window is exactly the mode's size and pixels read back one to one.
class SdlPresent8 : public SdlWindow {
 protected:
  int start_fullscreen() const override { return 0; }

  void TearDown() override {
    if (primary_) plat_surface_release(primary_);
    if (palette_) plat_palette_release(palette_);
    SdlWindow::TearDown();
  }

  // The picture the window shows as 0xAARRGGBB, or empty when it cannot be read.
  std::vector<uint32_t> shown(int* width) { return shown_picture(width, nullptr); }

  static void fill(SURFACE_TYP* surface, int left, int top, int right, int bottom,
                   uint32_t colour) {
    const RECT rect = {left, top, right, bottom};
    ASSERT_EQ(plat_surface_fill(surface, &rect, colour), 1);
  }

  SURFACE_TYP* primary_ = nullptr;
  PALETTE_TYP* palette_ = nullptr;
};

TEST_F(SdlPresent8, EightBitFrameShowsThroughThePalette) {
  primary_ = plat_display_create_primary(0);
  ASSERT_NE(primary_, nullptr);
  PALETTEENTRY entries[256] = {};
  entries[7] = {0x20, 0x40, 0x80, PC_EXPLICIT};  // the flags byte is no alpha
  entries[255] = {0xFF, 0x10, 0x00, 0};
  palette_ = plat_palette_create(entries);
  ASSERT_NE(palette_, nullptr);
  ASSERT_EQ(plat_surface_set_palette(primary_, palette_), 1);
  fill(primary_, 0, 0, 320, 480, 7);
  fill(primary_, 320, 0, 640, 480, 255);
  ASSERT_EQ(plat_display_present(primary_), 1);

  int width = 0;
  const std::vector<uint32_t> pixels = shown(&width);
  ASSERT_EQ(width, 640);
  ASSERT_EQ(pixels.size(), 640u * 480u);
  EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x204080u);
  EXPECT_EQ(pixels[479 * 640 + 319] & 0xFFFFFF, 0x204080u);
  EXPECT_EQ(pixels[320] & 0xFFFFFF, 0xFF1000u);
  EXPECT_EQ(pixels[479 * 640 + 639] & 0xFFFFFF, 0xFF1000u);

  // A palette change alone changes the next frame's colours.
  const PALETTEENTRY green = {0x00, 0xC0, 0x00, 0};
  ASSERT_EQ(plat_palette_set_entries(palette_, 7, 1, &green), 1);
  ASSERT_EQ(plat_display_present(primary_), 1);
  EXPECT_EQ(shown(&width)[100 * 640 + 100] & 0xFFFFFF, 0x00C000u);
}

TEST_F(SdlPresent8, AFrameWithoutAPaletteIsBlack) {
  primary_ = plat_display_create_primary(0);
  ASSERT_NE(primary_, nullptr);
  fill(primary_, 0, 0, 640, 480, 123);
  ASSERT_EQ(plat_display_present(primary_), 1);
  int width = 0;
  const std::vector<uint32_t> pixels = shown(&width);
  ASSERT_EQ(pixels.size(), 640u * 480u);
  EXPECT_EQ(pixels[240 * 640 + 320] & 0xFFFFFF, 0u);
}

TEST_F(SdlPresent8, FlipShowsWhatWasDrawnOnTheBackBuffer) {
  primary_ = plat_display_create_primary(1);
  ASSERT_NE(primary_, nullptr);
  SURFACE_TYP* back = plat_display_get_back_buffer(primary_);
  ASSERT_NE(back, nullptr);
  PALETTEENTRY entries[256] = {};
  entries[1] = {0x11, 0x22, 0x33, 0};
  entries[2] = {0x44, 0x55, 0x66, 0};
  palette_ = plat_palette_create(entries);
  ASSERT_EQ(plat_surface_set_palette(primary_, palette_), 1);
  fill(primary_, 0, 0, 640, 480, 1);
  fill(back, 0, 0, 640, 480, 2);
  ASSERT_EQ(plat_display_flip(primary_), 1);
  int width = 0;
  std::vector<uint32_t> pixels = shown(&width);
  ASSERT_EQ(pixels.size(), 640u * 480u);
  EXPECT_EQ(pixels[10 * 640 + 10] & 0xFFFFFF, 0x445566u);
  ASSERT_EQ(plat_display_flip(primary_), 1);
  EXPECT_EQ(shown(&width)[10 * 640 + 10] & 0xFFFFFF, 0x112233u);
}

TEST_F(SdlPresent8, ASurfaceOfAnotherSizeIsNotPresented) {
  // Converting it would read or write past one of the two pictures.
  SURFACE_TYP* small = plat_surface_create(320, 200, 8, 0);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(plat_display_present(small), 0);
  plat_surface_release(small);
  SURFACE_TYP* big = plat_surface_create(800, 600, 8, 0);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(plat_display_present(big), 0);
  plat_surface_release(big);
}

TEST_F(SdlPresent8, NothingIsPresentedOnceTheModeIsLeft) {
  primary_ = plat_display_create_primary(0);
  ASSERT_NE(primary_, nullptr);
  ASSERT_EQ(plat_display_present(primary_), 1);
  plat_display_restore_mode();
  EXPECT_EQ(sdl_backend.renderer, nullptr);
  EXPECT_EQ(plat_display_present(primary_), 0);
}

TEST_F(SdlPresent8, ANewModeSizeGetsAPictureOfItsSize) {
  ASSERT_EQ(plat_display_set_mode(window_, 320, 240, 8, 0), 1);
  primary_ = plat_display_create_primary(0);
  ASSERT_NE(primary_, nullptr);
  PALETTEENTRY entries[256] = {};
  entries[9] = {0x90, 0x00, 0x90, 0};
  palette_ = plat_palette_create(entries);
  ASSERT_EQ(plat_surface_set_palette(primary_, palette_), 1);
  fill(primary_, 0, 0, 320, 240, 9);
  ASSERT_EQ(plat_display_present(primary_), 1);
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl_backend.window, &w, &h);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 240);
  int width = 0;
  const std::vector<uint32_t> pixels = shown(&width);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[pixels.size() / 2 + width / 2] & 0xFFFFFF, 0x900090u);
}

class SdlPresent16 : public SdlPresent8 {
 protected:
  int start_bpp() const override { return 16; }

  // Three bands of packed red, green and blue must show as pure red, green and blue.
  void expect_bands_show_primaries(SURFACE_TYP* primary, uint32_t red, uint32_t green,
                                   uint32_t blue) {
    fill(primary, 0, 0, 640, 160, red);
    fill(primary, 0, 160, 640, 320, green);
    fill(primary, 0, 320, 640, 480, blue);
    ASSERT_EQ(plat_display_present(primary), 1);
    int width = 0;
    const std::vector<uint32_t> pixels = shown(&width);
    ASSERT_EQ(pixels.size(), 640u * 480u);
    EXPECT_EQ(pixels[80 * 640 + 5] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixels[240 * 640 + 5] & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(pixels[400 * 640 + 5] & 0xFFFFFF, 0x0000FFu);
  }
};

TEST_F(SdlPresent16, FiveSixFivePixelsShowTheirColours) {
  primary_ = plat_display_create_primary(0);
  ASSERT_NE(primary_, nullptr);
  ASSERT_EQ(plat_display_pixel_format(primary_), 16);
  expect_bands_show_primaries(primary_, 0xF800, 0x07E0, 0x001F);
}

TEST_F(SdlPresent16, FiveFiveFivePixelsShowTheirColours) {
  // A display that reports 5.5.5 before the primary is made.
  plat_display_set_format16(15);
  primary_ = plat_display_create_primary(0);
  ASSERT_NE(primary_, nullptr);
  ASSERT_EQ(plat_display_pixel_format(primary_), 15);
  expect_bands_show_primaries(primary_, 0x7C00, 0x03E0, 0x001F);
}

// Full-screen, as the game starts: the picture fills the desktop, scaled with bars if needed.
class SdlPresentFullScreen : public SdlPresent8 {
 protected:
  int start_fullscreen() const override { return 1; }
};

TEST_F(SdlPresentFullScreen, PresentsScaledToTheDesktop) {
  EXPECT_TRUE(window_fullscreen());
  primary_ = plat_display_create_primary(1);
  ASSERT_NE(primary_, nullptr);
  PALETTEENTRY entries[256] = {};
  entries[3] = {0x00, 0x80, 0xFF, 0};
  palette_ = plat_palette_create(entries);
  ASSERT_EQ(plat_surface_set_palette(primary_, palette_), 1);
  fill(plat_display_get_back_buffer(primary_), 0, 0, 640, 480, 3);
  ASSERT_EQ(plat_display_flip(primary_), 1);
  int width = 0;
  const std::vector<uint32_t> pixels = shown(&width);
  ASSERT_FALSE(pixels.empty());
  // The centre of the desktop is the centre of the picture.
  EXPECT_EQ(pixels[pixels.size() / 2 + width / 2] & 0xFFFFFF, 0x0080FFu);
}

}  // namespace
