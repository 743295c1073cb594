// A surface redrawn only where the frame changed holds, byte for byte, the picture drawn whole.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sdl/sdl_frame_scale.h"
#include "platform/sdl/sdl_state.h"

namespace {

constexpr int W = 40, H = 30;

enum CHANGE {
  SPRITE_MOVED, TWO_SPRITES, TOP_ROW, BOTTOM_ROW, LAST_PIXEL, PALETTE, RESIZED, SCALE, NOTHING
};
struct CHANGED_CASE {
  const char* name;
  CHANGE change;
  int scale;
  int target_w, target_h;
  int bpp;
};

class FrameChanged : public ::testing::TestWithParam<CHANGED_CASE> {
 protected:
  void SetUp() override {
    sdl_frame_forget_drawn();
    const CHANGED_CASE& c = GetParam();
    pitch_ = W * c.bpp / 8 + 6;  // rows padded past the frame's width
    pixels_.assign(static_cast<size_t>(pitch_) * H, 0);
    for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = static_cast<uint8_t>((i * 37) >> 3);
    for (int i = 0; i < 256; ++i)
      palette_[i] = {uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 7 + 1), 0};
  }
  void TearDown() override {
    for (SDL_Surface* s : surfaces_) SDL_FreeSurface(s);
  }
  SDL_Surface* surface(int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    surfaces_.push_back(s);
    return s;
  }
  void colours(SDL_Surface* s, FRAME_COLOURS_TYP* out) {
    FRAME_FORMAT_TYP format;
    ASSERT_TRUE(sdl_frame_format_of(s->format, &format));
    if (GetParam().bpp == 8)
      sdl_frame_colours8(format, palette_, out);
    else
      sdl_frame_colours16(format, 16, out);
  }
  int draw_changed(SDL_Surface* s, int scale, SDL_Rect* bands) {
    FRAME_COLOURS_TYP c;
    colours(s, &c);
    return sdl_frame_draw_changed(s, scale, pixels_.data(), pitch_, W, H, GetParam().bpp, 16,
                                  palette_, c, bands, 4);
  }
  // The frame drawn whole into a fresh picture the surface's size.
  std::vector<uint8_t> from_scratch(SDL_Surface* s, int scale) {
    FRAME_COLOURS_TYP c;
    colours(s, &c);
    std::vector<uint8_t> out(static_cast<size_t>(s->pitch) * s->h, 0x5A);
    sdl_frame_draw_scaled(scale, pixels_.data(), pitch_, W, H, c, out.data(), s->pitch, s->w, s->h);
    return out;
  }
  void poke(int x, int y, int value) {
    const int bytes = GetParam().bpp / 8;
    for (int b = 0; b < bytes; ++b)
      pixels_[static_cast<size_t>(y * pitch_ + x * bytes + b)] ^= static_cast<uint8_t>(value + b);
  }
  int pitch_ = 0;
  std::vector<uint8_t> pixels_;
  PALETTEENTRY palette_[256];
  std::vector<SDL_Surface*> surfaces_;
};

TEST_P(FrameChanged, DrawsWhatTheWholeDrawWould) {
  const CHANGED_CASE& c = GetParam();
  SDL_Surface* s = surface(c.target_w, c.target_h);
  ASSERT_NE(s, nullptr);
  SDL_Rect bands[4];
  ASSERT_EQ(draw_changed(s, c.scale, bands), 1) << "the first frame is drawn whole";
  EXPECT_EQ(bands[0].x, 0);
  EXPECT_EQ(bands[0].y, 0);
  EXPECT_EQ(bands[0].w, c.target_w);
  EXPECT_EQ(bands[0].h, c.target_h);
  const std::vector<uint8_t> before(static_cast<uint8_t*>(s->pixels),
                                    static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(s->pitch) * s->h);
  int scale = c.scale;
  switch (c.change) {
    case SPRITE_MOVED:  // a 6 x 5 block leaves its place for one lower and to the right
      for (int y = 10; y < 15; ++y)
        for (int x = 8; x < 14; ++x) poke(x, y, 0x11);
      for (int y = 13; y < 18; ++y)
        for (int x = 11; x < 17; ++x) poke(x, y, 0x22);
      break;
    case TWO_SPRITES:  // one at each side of the same rows
      for (int y = 4; y < 9; ++y) {
        poke(1 + y % 2, y, 0x30);
        poke(W - 2 - y % 2, y, 0x50);
      }
      break;
    case TOP_ROW: poke(3, 0, 0x40); break;
    case BOTTOM_ROW: poke(W - 1, H - 1, 0x08); break;
    case LAST_PIXEL: poke(W - 1, H / 2, 0x01); break;
    case PALETTE: palette_[pixels_[0]].green ^= 1; break;
    case RESIZED: s = surface(c.target_w + 13, c.target_h - 7); break;
    case SCALE: scale = c.scale == SCALE_SHARP ? SCALE_NEAREST : SCALE_SHARP; break;
    case NOTHING: break;
  }
  const int count = draw_changed(s, scale, bands);
  EXPECT_EQ(count == 0, c.change == NOTHING || (c.change == PALETTE && c.bpp == 16));
  const std::vector<uint8_t> whole = from_scratch(s, scale);
  ASSERT_EQ(std::memcmp(s->pixels, whole.data(), whole.size()), 0);
  // The rectangles sent lie in the surface and cover every pixel that differs from the
  // picture before the change.
  for (int n = 0; n < count; ++n) {
    EXPECT_GE(bands[n].x, 0);
    EXPECT_GE(bands[n].y, 0);
    EXPECT_LE(bands[n].x + bands[n].w, s->w);
    EXPECT_LE(bands[n].y + bands[n].h, s->h);
  }
  if (c.change != RESIZED) {
    int outside = 0, area = 0, rows_changed = 0;
    for (int y = 0; y < s->h; ++y) {
      bool row_changed = false;
      for (int x = 0; x < s->w; ++x) {
        const size_t at = static_cast<size_t>(y) * s->pitch + static_cast<size_t>(x) * 4;
        if (std::memcmp(before.data() + at, static_cast<uint8_t*>(s->pixels) + at, 4) == 0) continue;
        row_changed = true;
        bool covered = false;
        for (int n = 0; n < count; ++n)
          covered = covered || (x >= bands[n].x && x < bands[n].x + bands[n].w &&
                                y >= bands[n].y && y < bands[n].y + bands[n].h);
        outside += !covered;
      }
      rows_changed += row_changed;
    }
    EXPECT_EQ(outside, 0) << "changed pixels not sent";
    for (int n = 0; n < count; ++n) area += bands[n].w * bands[n].h;
    // A change in a few columns sends less than its whole rows.
    if (c.change == TWO_SPRITES || c.change == LAST_PIXEL || c.change == TOP_ROW) {
      EXPECT_LT(area, s->w * rows_changed);
    }
  }
  // And again, unchanged: nothing to draw, the same picture.
  EXPECT_EQ(draw_changed(s, scale, bands), 0);
  EXPECT_EQ(std::memcmp(s->pixels, whole.data(), whole.size()), 0);
}

// Each change at sharp scaling between whole factors, at a whole factor, nearest, whole factors
// with bars, smaller than the frame, and for 16-bit frames.
std::vector<CHANGED_CASE> cases() {
  struct SETTING {
    const char* name;
    int scale, w, h, bpp;
  };
  const SETTING settings[] = {
      {"SharpBroken", SCALE_SHARP, 103, 77, 8},  {"SharpWhole", SCALE_SHARP, 80, 60, 8},
      {"Nearest", SCALE_NEAREST, 97, 70, 8},     {"IntegerBars", SCALE_INTEGER, 130, 95, 8},
      {"SharpSmaller", SCALE_SHARP, 31, 23, 8},  {"SharpBroken16", SCALE_SHARP, 103, 77, 16},
  };
  const struct {
    const char* name;
    CHANGE change;
  } changes[] = {{"SpriteMoved", SPRITE_MOVED}, {"TwoSprites", TWO_SPRITES},
                 {"TopRow", TOP_ROW},           {"BottomRow", BOTTOM_ROW},
                 {"LastPixel", LAST_PIXEL},     {"Palette", PALETTE},    {"Resized", RESIZED},
                 {"Scale", SCALE},              {"Nothing", NOTHING}};
  std::vector<CHANGED_CASE> out;
  static std::vector<std::string> names;
  names.reserve(128);
  for (const SETTING& s : settings)
    for (const auto& ch : changes) {
      names.push_back(std::string(s.name) + "_" + ch.name);
      out.push_back({names.back().c_str(), ch.change, s.scale, s.w, s.h, s.bpp});
    }
  return out;
}

INSTANTIATE_TEST_SUITE_P(Changes, FrameChanged, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The rows a target row reads: a blended sharp row reads a frame row and the one below it.
TEST(FrameRowsRead, SharpRowsReadTheirBlendedNeighbour) {
  std::vector<int> low(77), high(77);
  sdl_frame_rows_read(SCALE_SHARP, W, H, 103, 77, low.data(), high.data());
  int blended = 0;
  for (int y = 0; y < 77; ++y) {
    if (low[y] < 0) continue;
    EXPECT_TRUE(high[y] == low[y] || high[y] == low[y] + 1) << y;
    blended += high[y] != low[y];
  }
  EXPECT_GT(blended, 0);
  EXPECT_EQ(low[76] >= 0 ? high[76] : H - 1, H - 1);
}

}  // namespace
