// The window's surface is drawn again only when the frame differs from the one it holds.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/sdl/sdl_frame_scale.h"
#include "platform/sdl/sdl_state.h"

namespace {

constexpr int W = 16, H = 6, PITCH = 20;  // rows padded past the frame's width

enum CHANGE { NOTHING, PADDING, LAST_PIXEL, PALETTE_ENTRY, OTHER_SCALE, OTHER_SURFACE, FORGOTTEN };
struct SAME_CASE {
  const char* name;
  CHANGE change;
  int same;  // what the second look says
};

class FrameSame : public ::testing::TestWithParam<SAME_CASE> {
 protected:
  void SetUp() override {
    sdl_frame_forget_drawn();
    for (SDL_Surface*& s : surfaces_) {
      s = SDL_CreateRGBSurfaceWithFormat(0, 64, 48, 32, SDL_PIXELFORMAT_ARGB8888);
      ASSERT_NE(s, nullptr);
    }
    for (int i = 0; i < 256; ++i) palette_[i] = {uint8_t(i), uint8_t(i / 2), uint8_t(255 - i), 0};
    for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = static_cast<uint8_t>(i * 7);
  }
  void TearDown() override {
    for (SDL_Surface* s : surfaces_) SDL_FreeSurface(s);
  }
  int look(SDL_Surface* surface, int scale) {
    return sdl_frame_same_as_drawn(surface, scale, pixels_.data(), PITCH, W, H, 8, 8, palette_);
  }
  SDL_Surface* surfaces_[2] = {};
  PALETTEENTRY palette_[256];
  std::vector<uint8_t> pixels_ = std::vector<uint8_t>(PITCH * H);
};

TEST_P(FrameSame, SaysWhetherTheSurfaceHoldsThisFrame) {
  const SAME_CASE& c = GetParam();
  EXPECT_EQ(look(surfaces_[0], SCALE_SHARP), 0) << "nothing drawn yet";
  SDL_Surface* surface = surfaces_[0];
  int scale = SCALE_SHARP;
  switch (c.change) {
    case NOTHING: break;
    case PADDING: pixels_[W + 1] ^= 0xFF; break;
    case LAST_PIXEL: pixels_[PITCH * (H - 1) + W - 1] ^= 1; break;
    case PALETTE_ENTRY: palette_[255].blue ^= 1; break;
    case OTHER_SCALE: scale = SCALE_NEAREST; break;
    case OTHER_SURFACE: surface = surfaces_[1]; break;
    case FORGOTTEN: sdl_frame_forget_drawn(); break;
  }
  EXPECT_EQ(look(surface, scale), c.same);
  // Either way the surface now holds this frame.
  EXPECT_EQ(look(surface, scale), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FrameSame,
    ::testing::Values(SAME_CASE{"Nothing", NOTHING, 1}, SAME_CASE{"OnlyRowPadding", PADDING, 1},
                      SAME_CASE{"LastPixel", LAST_PIXEL, 0}, SAME_CASE{"PaletteEntry", PALETTE_ENTRY, 0},
                      SAME_CASE{"Scale", OTHER_SCALE, 0}, SAME_CASE{"Surface", OTHER_SURFACE, 0},
                      SAME_CASE{"Forgotten", FORGOTTEN, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
