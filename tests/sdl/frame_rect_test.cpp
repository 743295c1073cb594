// Drawing one rectangle of the target: every pixel inside it is what the whole draw makes, and
// no pixel outside it is touched, at every scale, for both converters and both pixel depths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sdl/sdl_frame_scale.h"

namespace {

struct RECT_CASE {
  const char* name;
  int scale;
  int width, height;            // the frame
  int target_w, target_h;       // the target
  int first, end, left, right;  // the rectangle drawn
  int bpp;
};

class FrameRect : public ::testing::TestWithParam<RECT_CASE> {
 protected:
  void TearDown() override { sdl_frame_allow_wide(1); }
};

TEST_P(FrameRect, DrawsTheRectangleAsTheWholeDrawAndNothingElse) {
  const RECT_CASE& c = GetParam();
  const int pitch = c.width * c.bpp / 8 + 5;
  std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * c.height);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 131) >> 2);
  PALETTEENTRY palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i * 5), uint8_t(i ^ 0x5A), uint8_t(255 - i), 0};
  FRAME_COLOURS_TYP colours;
  if (c.bpp == 8)
    sdl_frame_colours8(FRAME_ARGB8888, palette, &colours);
  else
    sdl_frame_colours16(FRAME_ARGB8888, 16, &colours);
  const int target_pitch = c.target_w * 4 + 12;
  const size_t bytes = static_cast<size_t>(target_pitch) * c.target_h;
  for (int wide = 0; wide < 2; ++wide) {
    sdl_frame_allow_wide(wide);
    std::vector<uint8_t> whole(bytes, 0), part(bytes, 0xA5);
    sdl_frame_draw_scaled(c.scale, pixels.data(), pitch, c.width, c.height, colours, whole.data(),
                          target_pitch, c.target_w, c.target_h);
    sdl_frame_draw_scaled_rect(c.scale, pixels.data(), pitch, c.width, c.height, colours,
                               part.data(), target_pitch, c.target_w, c.target_h, c.first, c.end,
                               c.left, c.right);
    int wrong_inside = 0, touched_outside = 0;
    for (int y = 0; y < c.target_h; ++y)
      for (int x = 0; x < c.target_w; ++x) {
        const size_t at = static_cast<size_t>(y) * target_pitch + static_cast<size_t>(x) * 4;
        const bool inside = y >= c.first && y < c.end && x >= c.left && x < c.right;
        if (inside)
          wrong_inside += std::memcmp(part.data() + at, whole.data() + at, 4) != 0;
        else
          touched_outside += part[at] != 0xA5 || part[at + 1] != 0xA5 || part[at + 2] != 0xA5 ||
                             part[at + 3] != 0xA5;
      }
    EXPECT_EQ(wrong_inside, 0) << (wide ? "wide" : "portable");
    EXPECT_EQ(touched_outside, 0) << (wide ? "wide" : "portable");
  }
}

// The game's own sizes (640 x 480 on 1024 x 768 and on a 1920 x 1080 desktop), rectangles that
// start and end inside a 16-pixel block, reach into the bars, hold the last column, or are one
// pixel; and small odd sizes for the same paths.
const RECT_CASE cases[] = {
    {"SharpBroken", SCALE_SHARP, 640, 480, 1024, 768, 100, 180, 37, 413, 8},
    {"SharpBrokenLastColumn", SCALE_SHARP, 640, 480, 1024, 768, 700, 768, 1001, 1024, 8},
    {"SharpBrokenOnePixel", SCALE_SHARP, 640, 480, 1024, 768, 333, 334, 517, 518, 8},
    {"SharpBars", SCALE_SHARP, 640, 480, 1920, 1080, 50, 90, 200, 300, 8},
    {"SharpWhole", SCALE_SHARP, 640, 480, 1280, 960, 11, 61, 3, 999, 8},
    {"NearestBroken", SCALE_NEAREST, 640, 480, 1024, 768, 5, 77, 17, 95, 8},
    {"NearestBarsEdge", SCALE_NEAREST, 640, 480, 1920, 1080, 0, 40, 230, 260, 8},
    {"NearestSameSize", SCALE_NEAREST, 640, 480, 640, 480, 20, 30, 9, 71, 8},
    {"IntegerBars", SCALE_INTEGER, 640, 480, 1024, 768, 130, 160, 180, 900, 8},
    {"IntegerAllBar", SCALE_INTEGER, 640, 480, 1024, 768, 0, 100, 0, 1024, 8},
    {"SharpSmaller", SCALE_SHARP, 97, 61, 40, 30, 3, 20, 5, 33, 8},
    {"NearestOdd", SCALE_NEAREST, 41, 29, 103, 77, 9, 50, 13, 71, 8},
    {"SharpBroken16", SCALE_SHARP, 320, 240, 1024, 768, 60, 90, 111, 222, 16},
    {"Nearest16", SCALE_NEAREST, 41, 29, 103, 77, 9, 50, 13, 71, 16},
    {"Clipped", SCALE_SHARP, 41, 29, 103, 77, -5, 200, -9, 500, 8},
};

INSTANTIATE_TEST_SUITE_P(Rectangles, FrameRect, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The columns a target column reads, as the rows: in order, a blended one reads its neighbour,
// and the bars read nothing.
TEST(FrameColumnsRead, ColumnsReadInOrderAndBarsReadNothing) {
  struct CASE {
    int scale, tw, th;
  };
  const CASE settings[] = {{SCALE_SHARP, 1024, 768}, {SCALE_NEAREST, 1920, 1080},
                           {SCALE_INTEGER, 1024, 768}, {SCALE_SHARP, 1920, 1080}};
  for (const CASE& c : settings) {
    std::vector<int> low(static_cast<size_t>(c.tw)), high(static_cast<size_t>(c.tw));
    sdl_frame_columns_read(c.scale, 640, 480, c.tw, c.th, low.data(), high.data());
    const FRAME_VIEW_TYP view = sdl_frame_fit_scaled(c.scale, 640, 480, c.tw, c.th);
    int last = 0;
    for (int x = 0; x < c.tw; ++x) {
      const bool bar = x < view.x || x >= view.x + view.width;
      if (bar) {
        EXPECT_EQ(low[static_cast<size_t>(x)], -1) << x;
        continue;
      }
      EXPECT_GE(low[static_cast<size_t>(x)], last) << x;
      EXPECT_TRUE(high[static_cast<size_t>(x)] == low[static_cast<size_t>(x)] ||
                  high[static_cast<size_t>(x)] == low[static_cast<size_t>(x)] + 1)
          << x;
      EXPECT_LT(high[static_cast<size_t>(x)], 640) << x;
      last = low[static_cast<size_t>(x)];
    }
    EXPECT_EQ(low[static_cast<size_t>(view.x)], 0);
    EXPECT_EQ(high[static_cast<size_t>(view.x + view.width - 1)], 639);
  }
}

}  // namespace
