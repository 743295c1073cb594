// What the player sees when the window is not the mode's size: full screen on the dummy
// desktop (1024 x 768, the picture scaled 1.6 times), a window of another shape (bars), Alt+Enter
// between the two, the renderer path taken when a render driver is asked for, and each scale
// the player may choose.
#include <cstdlib>
#include <vector>

#include "platform/sdl/sdl_frame_scale.h"
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

// The player's choice of scale: sharp and integer pictures on the window surface and through a
// renderer, at broken and whole factors. The drawing itself is checked pixel by pixel in
// frame_scale_test; here the backend must hand it the right target and keep its texture's size.
class SdlPresentChosenScale : public SdlPresentScaled {
 protected:
  void TearDown() override {
    plat_display_set_scale(SCALE_NEAREST);
    SdlPresentScaled::TearDown();
  }

  // The shown picture against the scaled draw of the pattern, colour for colour.
  void expect_drawn(int scale) {
    int w = 0, h = 0;
    const std::vector<uint32_t> pixels = shown_picture(&w, &h);
    ASSERT_FALSE(pixels.empty());
    std::vector<uint8_t> frame(640 * 480);
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
      entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2), 0};
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) frame[static_cast<size_t>(y) * 640 + x] = static_cast<uint8_t>((x / 8 + y / 8 * 3) % 256);
    static FRAME_COLOURS_TYP colours;
    sdl_frame_colours8(FRAME_ARGB8888, entries, &colours);
    std::vector<uint32_t> expected(static_cast<size_t>(w) * h);
    sdl_frame_draw_scaled(scale, frame.data(), 640, 640, 480, colours,
                          reinterpret_cast<uint8_t*>(expected.data()), w * 4, w, h);
    int wrong = 0;
    for (size_t i = 0; i < pixels.size() && wrong < 5; ++i)
      if ((pixels[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF)) {
        ++wrong;
        ADD_FAILURE() << "pixel (" << i % w << ", " << i / w << ") " << std::hex << pixels[i] << " not " << expected[i];
      }
  }
};

TEST_F(SdlPresentChosenScale, SharpAndIntegerFillTheDesktopTheirWay) {
  ASSERT_EQ(sdl_backend.window_surface, 1);
  plat_display_set_scale(SCALE_SHARP);
  show_pattern();
  expect_drawn(SCALE_SHARP);
  plat_display_set_scale(SCALE_INTEGER);
  ASSERT_EQ(plat_display_present(primary_), 1);
  expect_picture(1024, 768, {192, 144, 640, 480});  // the whole factor 1, wide bars
}

TEST_F(SdlPresentChosenScale, AResizedWindowIsScaledSharplyToo) {
  plat_display_set_scale(SCALE_SHARP);
  ASSERT_EQ(plat_display_set_mode(window_, 640, 480, 8, 0), 1);
  SDL_SetWindowSize(sdl_backend.window, 900, 700);
  show_pattern();
  expect_drawn(SCALE_SHARP);
  SDL_SetWindowSize(sdl_backend.window, 1280, 1000);  // twice, exactly nearest
  ASSERT_EQ(plat_display_present(primary_), 1);
  expect_picture(1280, 1000, {0, 20, 1280, 960});
}

class SdlPresentRendererScale : public SdlPresentChosenScale {
 protected:
  EnvGuard render_driver_{"SDL_RENDER_DRIVER", "software"};
};

// Sharp on a renderer: the texture holds the frame blown up by the whole factor and the renderer
// filters it linearly the rest of the way, so inside each 8 x 8 block of the pattern the colour
// is the block's own; at a whole factor the picture is nearest exactly.
TEST_F(SdlPresentRendererScale, SharpBlowsTheTextureUpByTheWholeFactor) {
  ASSERT_NE(sdl_backend.renderer, nullptr);
  plat_display_set_scale(SCALE_SHARP);
  ASSERT_EQ(plat_display_set_mode(window_, 640, 480, 8, 0), 1);
  SDL_SetWindowSize(sdl_backend.window, 1300, 1000);
  show_pattern();
  EXPECT_EQ(sdl_backend.texture_width, 1280);
  EXPECT_EQ(sdl_backend.texture_height, 960);
  int w = 0, h = 0;
  const std::vector<uint32_t> pixels = shown_picture(&w, &h);
  ASSERT_EQ(w, 1300);
  ASSERT_EQ(h, 1000);
  const FRAME_VIEW_TYP view = sdl_frame_fit(640, 480, w, h);  // 1300 x 975, 12 rows of bars above
  int wrong = 0;
  for (int by = 0; by < 60 && wrong < 5; ++by)
    for (int bx = 0; bx < 80 && wrong < 5; ++bx) {
      // The middle of block (bx, by) on the screen.
      const int x = view.x + (bx * 8 + 4) * view.width / 640, y = view.y + (by * 8 + 4) * view.height / 480;
      const uint32_t got = pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFF, want = pattern_colour(bx * 8, by * 8);
      for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > 2) {
          ++wrong;
          ADD_FAILURE() << "block (" << bx << ", " << by << ") " << std::hex << got << " not " << want;
          break;
        }
    }
  EXPECT_EQ(pixels[5 * w + 650] & 0xFFFFFF, 0u) << "the bar above";
  SDL_SetWindowSize(sdl_backend.window, 1280, 960);
  ASSERT_EQ(plat_display_present(primary_), 1);
  expect_picture(1280, 960, {0, 0, 1280, 960});
}

TEST_F(SdlPresentRendererScale, IntegerCentresTheWholeFactor) {
  plat_display_set_scale(SCALE_INTEGER);
  show_pattern();
  EXPECT_EQ(sdl_backend.texture_width, 640);
  expect_picture(1024, 768, {192, 144, 640, 480});
}
