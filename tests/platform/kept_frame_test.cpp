// Frames the headless backend keeps: a present holds the picture and its palette, and a look at
// it (RGB, PNG) shows what was presented then, however the surfaces changed since.
#include <random>
#include <string>
#include <tuple>

#include "platform/display.h"
#include "platform/headless/headless_state.h"
#include "platform/image_file.h"
#include "tests/platform/support.h"

namespace {

using RGB = std::tuple<int, int, int>;

constexpr int W = 24, H = 10;

RGB colour_of(int frame, int x, int y) {
  const uint8_t* rgb = headless_frame_rgb(frame);
  if (!rgb) return {-1, -1, -1};
  const uint8_t* p = rgb + 3 * (y * W + x);
  return {p[0], p[1], p[2]};
}

class KeptFrameBase : public Headless {
 protected:
  SURFACE_TYP* primary = nullptr;
  SURFACE_TYP* back = nullptr;
  PALETTE_TYP* palette = nullptr;

  void open(int bpp, int back_buffers) {
    ASSERT_EQ(plat_display_set_mode(nullptr, W, H, bpp, back_buffers), 1);
    primary = plat_display_create_primary(back_buffers);
    ASSERT_NE(primary, nullptr);
    back = plat_display_get_back_buffer(primary);
    if (bpp == 8) {
      PALETTEENTRY entries[256] = {};
      entries[5] = {10, 20, 30, 0};
      entries[6] = {40, 50, 60, 0};
      palette = plat_palette_create(entries);
      ASSERT_EQ(plat_surface_set_palette(primary, palette), 1);
    }
  }
  void set_entry(int index, PALETTEENTRY entry) {
    ASSERT_EQ(plat_palette_set_entries(palette, index, 1, &entry), 1);
  }
  void TearDown() override {
    plat_surface_release(back);
    plat_surface_release(primary);
    plat_palette_release(palette);
    Headless::TearDown();
  }
};

// What changes between two presented frames.
enum CHANGE { CHANGE_PIXELS, CHANGE_PALETTE, CHANGE_BOTH };
struct NEXT_CASE {
  const char* name;
  CHANGE change;
  bool looked_before;  // the first frame was looked at before the change
  RGB second;
};

class NextFrame : public KeptFrameBase, public ::testing::WithParamInterface<NEXT_CASE> {};

TEST_P(NextFrame, ShowsTheNewPictureAndLeavesTheOldOne) {
  const NEXT_CASE& c = GetParam();
  open(8, 1);
  plat_surface_fill(back, nullptr, 5);
  ASSERT_EQ(plat_display_flip(primary), 1);
  if (c.looked_before) {
    ASSERT_EQ(colour_of(-1, 3, 4), RGB(10, 20, 30));
  }
  // The next frame is drawn into the back buffer as the game does: fill, then draw.
  plat_surface_fill(back, nullptr, 5);
  if (c.change != CHANGE_PALETTE) {
    const RECT right = {W / 2, 0, W, H};
    plat_surface_fill(back, &right, 6);
  }
  if (c.change != CHANGE_PIXELS) {
    set_entry(6, {70, 80, 90, 0});
    set_entry(5, {1, 2, 3, 0});
  }
  ASSERT_EQ(plat_display_flip(primary), 1);
  ASSERT_EQ(headless_frame_count(), 2);
  EXPECT_EQ(colour_of(-1, W - 1, H - 1), c.second);
  EXPECT_EQ(colour_of(0, W - 1, H - 1), RGB(10, 20, 30)) << "the first frame changed after it was shown";
  EXPECT_EQ(colour_of(0, 0, 0), RGB(10, 20, 30));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, NextFrame,
    ::testing::Values(NEXT_CASE{"Pixels", CHANGE_PIXELS, true, {40, 50, 60}},
                      NEXT_CASE{"PixelsUnlooked", CHANGE_PIXELS, false, {40, 50, 60}},
                      NEXT_CASE{"Palette", CHANGE_PALETTE, true, {1, 2, 3}},
                      NEXT_CASE{"PaletteUnlooked", CHANGE_PALETTE, false, {1, 2, 3}},
                      NEXT_CASE{"Both", CHANGE_BOTH, true, {70, 80, 90}}),
    [](const auto& info) { return std::string(info.param.name); });

// What happens to the presented surface before anyone looks at its frame.
enum LATER { LATER_FILL, LATER_LOCK, LATER_BLIT, LATER_PALETTE, LATER_RELEASE };
struct LATER_CASE {
  const char* name;
  int bpp;
  int back_buffers;
  LATER later;
};

class LaterWrite : public KeptFrameBase, public ::testing::WithParamInterface<LATER_CASE> {};

TEST_P(LaterWrite, LeavesThePresentedPicture) {
  const LATER_CASE& c = GetParam();
  open(c.bpp, c.back_buffers);
  const uint32_t shown = c.bpp == 8 ? 5 : 0xF800, other = c.bpp == 8 ? 6 : 0x001F;
  const RGB expected = c.bpp == 8 ? RGB(10, 20, 30) : RGB(255, 0, 0);
  SURFACE_TYP* drawn = c.back_buffers ? back : primary;
  plat_surface_fill(drawn, nullptr, shown);
  ASSERT_EQ(c.back_buffers ? plat_display_flip(primary) : plat_display_present(primary), 1);
  // The surface now showing the frame is the primary either way.
  switch (c.later) {
    case LATER_FILL:
      ASSERT_EQ(plat_surface_fill(primary, nullptr, other), 1);
      break;
    case LATER_LOCK: {
      int pitch = 0;
      uint8_t* p = plat_surface_lock(primary, &pitch);
      ASSERT_NE(p, nullptr);
      std::memset(p, 0x1F, static_cast<size_t>(pitch) * H);
      plat_surface_unlock(primary);
      break;
    }
    case LATER_BLIT: {
      SURFACE_TYP* source = plat_surface_create(W, H, c.bpp, 0);
      plat_surface_fill(source, nullptr, other);
      ASSERT_EQ(plat_surface_blt(primary, nullptr, source, nullptr, 0), 1);
      plat_surface_release(source);
      break;
    }
    case LATER_PALETTE:
      set_entry(5, {200, 201, 202, 0});
      break;
    case LATER_RELEASE:
      plat_surface_release(primary);  // takes its back buffer with it
      primary = back = nullptr;
      break;
  }
  EXPECT_EQ(colour_of(-1, 0, 0), expected);
  EXPECT_EQ(colour_of(-1, W - 1, H - 1), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, LaterWrite,
    ::testing::Values(LATER_CASE{"FillAfterFlip", 8, 1, LATER_FILL},
                      LATER_CASE{"LockAfterFlip", 8, 1, LATER_LOCK},
                      LATER_CASE{"BlitAfterFlip", 8, 1, LATER_BLIT},
                      LATER_CASE{"PaletteAfterFlip", 8, 1, LATER_PALETTE},
                      LATER_CASE{"ReleaseAfterFlip", 8, 1, LATER_RELEASE},
                      LATER_CASE{"FillAfterPresent", 8, 0, LATER_FILL},
                      LATER_CASE{"LockAfterPresent", 8, 0, LATER_LOCK},
                      LATER_CASE{"FillAfterFlip16", 16, 1, LATER_FILL},
                      LATER_CASE{"BlitAfterPresent16", 16, 0, LATER_BLIT},
                      LATER_CASE{"ReleaseAfterPresent16", 16, 0, LATER_RELEASE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeptFrameBase, AFrameKeptTwiceFromOneUnchangedPictureSurvivesTheWriteInBoth) {
  open(8, 0);
  plat_surface_fill(primary, nullptr, 5);
  ASSERT_EQ(plat_display_present(primary), 1);
  ASSERT_EQ(plat_display_present(primary), 1);
  plat_surface_fill(primary, nullptr, 6);
  ASSERT_EQ(plat_display_present(primary), 1);
  ASSERT_EQ(headless_frame_count(), 3);
  EXPECT_EQ(colour_of(0, 1, 1), RGB(10, 20, 30));
  EXPECT_EQ(colour_of(1, 1, 1), RGB(10, 20, 30));
  EXPECT_EQ(colour_of(2, 1, 1), RGB(40, 50, 60));
}

TEST_F(KeptFrameBase, TheFlippedSurfacesKeepTheirMemoryWhileAFrameIsKept) {
  open(8, 1);
  int pitch = 0;
  uint8_t* back_memory = plat_surface_lock(back, &pitch);
  plat_surface_unlock(back);
  ASSERT_EQ(plat_display_flip(primary), 1);
  // Drawing over the kept frame copies the frame aside, not the surface's memory.
  EXPECT_EQ(plat_surface_lock(primary, &pitch), back_memory);
  plat_surface_unlock(primary);
}

// The quick 8-bit conversion against the plain one, on odd sizes and padded rows, with and
// without a palette and across palette changes (its lookup table must follow them).
struct CONVERT_CASE {
  int width, height, pitch;
};

class Conversion : public ::testing::TestWithParam<CONVERT_CASE> {};

TEST_P(Conversion, MatchesThePlainConversionAndWritesNothingPastTheEnd) {
  const CONVERT_CASE& c = GetParam();
  std::mt19937 random(static_cast<unsigned>(c.width * 131 + c.height));
  std::vector<uint8_t> pixels(static_cast<size_t>(c.pitch) * c.height);
  for (uint8_t& p : pixels) p = static_cast<uint8_t>(random());
  const size_t size = static_cast<size_t>(c.width) * c.height * 3;
  for (int round = 0; round < 3; ++round) {
    uint8_t palette[256 * 4];
    for (uint8_t& v : palette) v = static_cast<uint8_t>(random());
    const uint8_t* used = round == 1 ? nullptr : palette;  // grey levels between two palettes
    std::vector<uint8_t> expected(size), got(size + 4, 0xA5);
    plat_pixels_to_rgb(pixels.data(), c.pitch, c.width, c.height, 8, 8, used, expected.data());
    headless_pixels_to_rgb(pixels.data(), c.pitch, c.width, c.height, 8, 8, used, got.data());
    EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.begin() + static_cast<long>(size)), expected)
        << "round " << round;
    EXPECT_EQ(std::vector<uint8_t>(got.begin() + static_cast<long>(size), got.end()),
              std::vector<uint8_t>(4, 0xA5));
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, Conversion,
                         ::testing::Values(CONVERT_CASE{1, 1, 1}, CONVERT_CASE{7, 5, 9},
                                           CONVERT_CASE{64, 3, 64}, CONVERT_CASE{1, 6, 4}),
                         [](const auto& info) {
                           const CONVERT_CASE& c = info.param;
                           return std::to_string(c.width) + "x" + std::to_string(c.height) + "Pitch" +
                                  std::to_string(c.pitch);
                         });

}  // namespace
