// What the player sees when the window is not the mode's size: full screen on the dummy
// desktop (1024 x 768, the picture scaled 1.6 times), a window of another shape (bars), Alt+Enter
// between the two, and the renderer path taken when a render driver is asked for.
#include <vector>

#include "platform/surface.h"
#include "tests/sdl/sdl_fixture.h"

namespace {

class SdlPresentScaled : public SdlWindow {
 protected:
  EnvGuard no_render_driver_{"SDL_RENDER_DRIVER", nullptr};

  void TearDown() override {
    if (primary_) plat_surface_release(primary_);
    if (palette_) plat_palette_release(palette_);
    SdlWindow::TearDown();
  }

  // A primary whose pixel (x, y) holds index (x / 8 + y / 8 * 3) % 256, entry i of the palette
  // being red i, green 255 - i, blue i / 2.
  void show_pattern() {
    primary_ = plat_display_create_primary(0);
    ASSERT_NE(primary_, nullptr);
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
      entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2), 0};
    palette_ = plat_palette_create(entries);
    ASSERT_EQ(plat_surface_set_palette(primary_, palette_), 1);
    int pitch = 0;
    uint8_t* p = plat_surface_lock(primary_, &pitch);
    ASSERT_NE(p, nullptr);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) p[y * pitch + x] = static_cast<uint8_t>((x / 8 + y / 8 * 3) % 256);
    plat_surface_unlock(primary_);
    ASSERT_EQ(plat_display_present(primary_), 1);
  }

  static uint32_t pattern_colour(int x, int y) {
    const uint32_t i = static_cast<uint32_t>((x / 8 + y / 8 * 3) % 256);
    return (i << 16) | ((255 - i) << 8) | (i / 2);
  }

  // Checks the shown picture: the expected view scaled from the pattern, black bars around it.
  void expect_picture(int width, int height, FRAME_VIEW_TYP view) {
    int w = 0, h = 0;
    const std::vector<uint32_t> pixels = shown_picture(&w, &h);
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    int wrong = 0;
    for (int y = 0; y < h && wrong < 5; ++y)
      for (int x = 0; x < w && wrong < 5; ++x) {
        uint32_t expected = 0;
        if (x >= view.x && x < view.x + view.width && y >= view.y && y < view.y + view.height)
          expected = pattern_colour((2 * (x - view.x) + 1) * 640 / (2 * view.width),
                                    (2 * (y - view.y) + 1) * 480 / (2 * view.height));
        const uint32_t got = pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFF;
        if (got != expected) {
          ++wrong;
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << std::hex << got << " not " << expected;
        }
      }
  }

  SURFACE_TYP* primary_ = nullptr;
  PALETTE_TYP* palette_ = nullptr;
};

TEST_F(SdlPresentScaled, FullScreenFillsTheDesktopInOnePass) {
  ASSERT_TRUE(window_fullscreen());
  // The dummy driver has no accelerated renderer: frames go straight into the window surface.
  EXPECT_EQ(sdl_backend.renderer, nullptr);
  EXPECT_EQ(sdl_backend.window_surface, 1);
  show_pattern();
  expect_picture(1024, 768, {0, 0, 1024, 768});
}

TEST_F(SdlPresentScaled, AWindowOfAnotherShapeGetsBars) {
  ASSERT_EQ(plat_display_set_mode(window_, 640, 480, 8, 0), 1);
  SDL_SetWindowSize(sdl_backend.window, 800, 480);  // bars left and right
  show_pattern();
  expect_picture(800, 480, {80, 0, 640, 480});
  SDL_SetWindowSize(sdl_backend.window, 500, 700);  // scaled down, bars above and below
  ASSERT_EQ(plat_display_present(primary_), 1);
  expect_picture(500, 700, {0, 162, 500, 375});
}

TEST_F(SdlPresentScaled, AltEnterSwitchesBetweenDesktopAndWindow) {
  show_pattern();
  push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
  push_key(SDL_SCANCODE_RETURN, false, KMOD_LALT);
  drain();
  EXPECT_FALSE(window_fullscreen());
  ASSERT_EQ(plat_display_present(primary_), 1);
  expect_picture(640, 480, {0, 0, 640, 480});
  push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
  drain();
  EXPECT_TRUE(window_fullscreen());
  ASSERT_EQ(plat_display_present(primary_), 1);
  expect_picture(1024, 768, {0, 0, 1024, 768});
}

class SdlPresentScaled16 : public SdlPresentScaled {
 protected:
  int start_bpp() const override { return 16; }
};

TEST_F(SdlPresentScaled16, SixteenBitFramesScaleToo) {
  primary_ = plat_display_create_primary(1);
  ASSERT_NE(primary_, nullptr);
  SURFACE_TYP* back = plat_display_get_back_buffer(primary_);
  const RECT left = {0, 0, 320, 480}, right = {320, 0, 640, 480};
  ASSERT_EQ(plat_surface_fill(back, &left, 0xF800), 1);  // pure red in 5.6.5
  ASSERT_EQ(plat_surface_fill(back, &right, 0x001F), 1);  // pure blue
  ASSERT_EQ(plat_display_flip(primary_), 1);
  int w = 0, h = 0;
  const std::vector<uint32_t> pixels = shown_picture(&w, &h);
  ASSERT_EQ(w, 1024);
  ASSERT_EQ(h, 768);
  // Screen column 511 samples frame column 319, column 512 frame column 320.
  EXPECT_EQ(pixels[400 * 1024 + 511] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixels[400 * 1024 + 512] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(pixels[767 * 1024 + 1023] & 0xFFFFFF, 0x0000FFu);
}

// A render driver named in SDL_RENDER_DRIVER is used even when it renders in software: the
// frame goes into its streaming texture and the renderer scales it.
class SdlPresentRenderer : public SdlPresentScaled {
 protected:
  EnvGuard render_driver_{"SDL_RENDER_DRIVER", "software"};
};

TEST_F(SdlPresentRenderer, TheTextureIsScaledByTheRenderer) {
  ASSERT_NE(sdl_backend.renderer, nullptr);
  ASSERT_NE(sdl_backend.texture, nullptr);
  EXPECT_EQ(sdl_backend.window_surface, 0);
  show_pattern();
  expect_picture(1024, 768, {0, 0, 1024, 768});
}

}  // namespace
