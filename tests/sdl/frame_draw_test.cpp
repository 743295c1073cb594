// The frame's one-pass conversion: every target pixel, in the view and in the bars, against a
// per-pixel reference, for 8- and 16-bit frames, several target formats and sizes (letterboxed
// either way, scaled up by whole and by broken factors, down, or not at all), through both the
// wide and the portable converter.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "platform/sdl/sdl_frame.h"

namespace {

TEST(FrameFit, KeepsTheShapeAndCentresTheView) {
  struct CASE {
    int tw, th;
    FRAME_VIEW_TYP view;
  };
  const CASE cases[] = {
      {640, 480, {0, 0, 640, 480}},     {1024, 768, {0, 0, 1024, 768}},
      {1920, 1080, {240, 0, 1440, 1080}}, {800, 480, {80, 0, 640, 480}},
      {640, 600, {0, 60, 640, 480}},    {1280, 1024, {0, 32, 1280, 960}},
      {320, 200, {27, 0, 266, 200}},     {1, 1, {0, 0, 1, 1}},
  };
  for (const CASE& c : cases) {
    const FRAME_VIEW_TYP v = sdl_frame_fit(640, 480, c.tw, c.th);
    EXPECT_EQ(v.x, c.view.x) << c.tw << "x" << c.th;
    EXPECT_EQ(v.y, c.view.y) << c.tw << "x" << c.th;
    EXPECT_EQ(v.width, c.view.width) << c.tw << "x" << c.th;
    EXPECT_EQ(v.height, c.view.height) << c.tw << "x" << c.th;
  }
  const FRAME_VIEW_TYP none = sdl_frame_fit(640, 480, 0, 768);
  EXPECT_EQ(none.width, 0);
}

struct DRAW_CASE {
  int bpp;           // 8, 16 (5.6.5) or 15 (5.5.5)
  int width, height;  // the frame
  int tw, th;         // the target
  FRAME_FORMAT_TYP format;
  bool wide;
};

void PrintTo(const DRAW_CASE& c, std::ostream* os) {
  *os << "bpp " << c.bpp << ", " << c.width << "x" << c.height << " to " << c.tw << "x" << c.th
      << (c.wide ? ", wide" : ", portable");
}

std::string name_of(const ::testing::TestParamInfo<DRAW_CASE>& info) {
  const DRAW_CASE& c = info.param;
  return "bpp" + std::to_string(c.bpp) + "_" + std::to_string(c.width) + "x" + std::to_string(c.height) +
         "_to_" + std::to_string(c.tw) + "x" + std::to_string(c.th) + "_shift" +
         std::to_string(c.format.red_shift) + (c.wide ? "_wide" : "_portable");
}

class FrameDraw : public ::testing::TestWithParam<DRAW_CASE> {
 protected:
  void TearDown() override { sdl_frame_allow_wide(1); }
};

uint32_t widen(uint32_t v, int bits) { return bits == 5 ? (v << 3) | (v >> 2) : (v << 2) | (v >> 4); }

TEST_P(FrameDraw, EveryTargetPixelMatchesTheReference) {
  const DRAW_CASE c = GetParam();
  const int bytes = c.bpp == 8 ? 1 : 2;
  const int pitch = c.width * bytes + 6;  // padded rows: padding is never read as pixels
  std::mt19937 rng(77);
  std::vector<uint8_t> frame(static_cast<size_t>(pitch) * c.height);
  for (uint8_t& b : frame) b = static_cast<uint8_t>(rng());
  PALETTEENTRY palette[256];
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
                  static_cast<uint8_t>(i % 3 ? PC_EXPLICIT : 0)};
  static FRAME_COLOURS_TYP colours;
  if (c.bpp == 8)
    sdl_frame_colours8(c.format, palette, &colours);
  else
    sdl_frame_colours16(c.format, c.bpp, &colours);

  // Target rows padded by 3 pixels that must stay as they were.
  const int target_pitch = (c.tw + 3) * 4;
  std::vector<uint32_t> target(static_cast<size_t>(c.tw + 3) * c.th, 0xDEADBEEFu);
  sdl_frame_allow_wide(c.wide ? 1 : 0);
  sdl_frame_draw(frame.data(), pitch, c.width, c.height, colours,
                 reinterpret_cast<uint8_t*>(target.data()), target_pitch, c.tw, c.th);

  auto pack = [&](uint32_t r, uint32_t g, uint32_t b) {
    return c.format.fixed | (r << c.format.red_shift) | (g << c.format.green_shift) | (b << c.format.blue_shift);
  };
  const FRAME_VIEW_TYP view = sdl_frame_fit(c.width, c.height, c.tw, c.th);
  int wrong = 0;
  for (int y = 0; y < c.th && wrong < 5; ++y)
    for (int x = 0; x < c.tw + 3 && wrong < 5; ++x) {
      uint32_t expected = 0xDEADBEEFu;
      if (x < c.tw) {
        expected = c.format.fixed;  // the bars
        if (x >= view.x && x < view.x + view.width && y >= view.y && y < view.y + view.height) {
          const int fx = static_cast<int>((2 * int64_t{x - view.x} + 1) * c.width / (2 * int64_t{view.width}));
          const int fy = static_cast<int>((2 * int64_t{y - view.y} + 1) * c.height / (2 * int64_t{view.height}));
          const uint8_t* p = &frame[static_cast<size_t>(fy) * pitch + static_cast<size_t>(fx) * bytes];
          if (c.bpp == 8) {
            expected = pack(palette[*p].red, palette[*p].green, palette[*p].blue);
          } else {
            const uint32_t v = p[0] | (uint32_t{p[1]} << 8);
            expected = c.bpp == 15 ? pack(widen((v >> 10) & 31, 5), widen((v >> 5) & 31, 5), widen(v & 31, 5))
                                   : pack(widen((v >> 11) & 31, 5), widen((v >> 5) & 63, 6), widen(v & 31, 5));
          }
        }
      }
      const uint32_t got = target[static_cast<size_t>(y) * (c.tw + 3) + x];
      if (got != expected) {
        ++wrong;
        ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex << got << " not " << expected;
      }
    }
}

constexpr FRAME_FORMAT_TYP ABGR = {0, 8, 16, 0xFF000000u};
constexpr FRAME_FORMAT_TYP XRGB = {16, 8, 0, 0};

std::vector<DRAW_CASE> draw_cases() {
  std::vector<DRAW_CASE> cases;
  for (bool wide : {true, false}) {
    // The game's frame: as it is, full screen at 1024 x 768 and 1920 x 1080, a tall window.
    for (int bpp : {8, 16, 15}) {
      cases.push_back({bpp, 640, 480, 640, 480, FRAME_ARGB8888, wide});
      cases.push_back({bpp, 640, 480, 1024, 768, FRAME_ARGB8888, wide});
      cases.push_back({bpp, 640, 480, 1920, 1080, XRGB, wide});
      cases.push_back({bpp, 640, 480, 700, 900, ABGR, wide});
    }
    // Odd sizes: rows shorter than one wide block, one block and a bit, scaled down.
    cases.push_back({8, 37, 11, 37, 11, ABGR, wide});
    cases.push_back({8, 130, 9, 130, 9, FRAME_ARGB8888, wide});
    cases.push_back({8, 130, 9, 333, 50, XRGB, wide});
    cases.push_back({8, 640, 480, 320, 200, FRAME_ARGB8888, wide});
    cases.push_back({16, 70, 33, 211, 99, ABGR, wide});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Targets, FrameDraw, ::testing::ValuesIn(draw_cases()), name_of);

}  // namespace
