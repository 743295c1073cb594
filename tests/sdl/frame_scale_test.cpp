// Scaling the frame up: whole factors, the integer view, and the sharp path's taps and pictures
// against a reference worked out here in floating point from what the sharp path means (the
// frame blown up by the largest whole factor, then sampled linearly at each target pixel's centre).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "platform/sdl/sdl_frame_scale.h"

namespace {

TEST(FrameScale, WholeFactorIsTheLargestThatFitsBothWays) {
  struct CASE {
    int tw, th, factor;
  };
  const CASE cases[] = {{640, 480, 1},   {1024, 768, 1},  {1279, 960, 1}, {1280, 960, 2},
                        {1920, 1080, 2}, {2560, 1440, 3}, {3840, 2160, 4}, {1280, 479, 0},
                        {639, 480, 0},   {0, 480, 0}};
  for (const CASE& c : cases)
    EXPECT_EQ(sdl_frame_whole_factor(640, 480, c.tw, c.th), c.factor) << c.tw << "x" << c.th;
  EXPECT_EQ(sdl_frame_whole_factor(0, 480, 1024, 768), 0);
}

TEST(FrameScale, IntegerViewIsCentredAtTheWholeFactorAndShrinksOnlyWhenItMust) {
  struct CASE {
    int tw, th;
    FRAME_VIEW_TYP integer;
  };
  const CASE cases[] = {
      {1024, 768, {192, 144, 640, 480}}, {1920, 1080, {320, 60, 1280, 960}},
      {1280, 960, {0, 0, 1280, 960}},    {641, 481, {0, 0, 640, 480}},
      {500, 700, {0, 162, 500, 375}},  // smaller than the frame: fitted, as the others are
  };
  for (const CASE& c : cases) {
    const FRAME_VIEW_TYP v = sdl_frame_fit_scaled(SCALE_INTEGER, 640, 480, c.tw, c.th);
    EXPECT_EQ(v.x, c.integer.x) << c.tw << "x" << c.th;
    EXPECT_EQ(v.y, c.integer.y) << c.tw << "x" << c.th;
    EXPECT_EQ(v.width, c.integer.width) << c.tw << "x" << c.th;
    EXPECT_EQ(v.height, c.integer.height) << c.tw << "x" << c.th;
    for (int scale : {SCALE_NEAREST, SCALE_SHARP}) {
      const FRAME_VIEW_TYP fit = sdl_frame_fit(640, 480, c.tw, c.th);
      const FRAME_VIEW_TYP other = sdl_frame_fit_scaled(scale, 640, 480, c.tw, c.th);
      EXPECT_TRUE(other.x == fit.x && other.y == fit.y && other.width == fit.width &&
                  other.height == fit.height)
          << "scale " << scale << " at " << c.tw << "x" << c.th;
    }
  }
}

// At a whole factor k every frame pixel becomes a run of exactly k target pixels, unblended.
TEST(FrameScale, WholeFactorsGiveEveryPixelAnEqualRun) {
  const int sizes[][2] = {{640, 1}, {640, 2}, {480, 2}, {640, 3}, {480, 4}, {37, 5}};
  for (const auto& s : sizes) {
    const int size = s[0], factor = s[1];
    std::vector<FRAME_TAP_TYP> taps(static_cast<size_t>(size * factor));
    sdl_frame_sharp_taps(size, size * factor, factor, taps.data());
    std::vector<int> run(static_cast<size_t>(size), 0);
    for (int i = 0; i < size * factor; ++i) {
      const FRAME_TAP_TYP t = taps[static_cast<size_t>(i)];
      ASSERT_EQ(t.weight, 0) << size << " x" << factor << " at " << i;
      ASSERT_EQ(t.from, i / factor) << size << " x" << factor << " at " << i;
      ++run[static_cast<size_t>(t.from)];
    }
    for (int j = 0; j < size; ++j) EXPECT_EQ(run[static_cast<size_t>(j)], factor) << j;
  }
}

// Each frame pixel's share of the target along one axis: how many target pixels it is the
// stronger sample of, and the sum of its weights.
struct SHARES {
  std::vector<int> dominant;
  std::vector<double> weight;
};

SHARES shares_of(const std::vector<FRAME_TAP_TYP>& taps, int size) {
  SHARES s{std::vector<int>(static_cast<size_t>(size), 0), std::vector<double>(static_cast<size_t>(size), 0)};
  for (const FRAME_TAP_TYP& t : taps) {
    EXPECT_GE(t.from, 0);
    EXPECT_LT(t.from + (t.weight ? 1 : 0), size);
    EXPECT_GE(t.weight, 0);
    EXPECT_LT(t.weight, 256);
    const int stronger = t.weight >= 128 ? t.from + 1 : t.from;
    ++s.dominant[static_cast<size_t>(stronger)];
    s.weight[static_cast<size_t>(t.from)] += (256 - t.weight) / 256.0;
    if (t.weight) s.weight[static_cast<size_t>(t.from) + 1] += t.weight / 256.0;
  }
  return s;
}

// 640 x 480 at 1.6 (1024 x 768) and 2.25 (1440 x 1080 inside 1920 x 1080): before the linear step
// no column is more than one target pixel wider than another, and after it every frame column
// carries nearly the same weight, where nearest gives some columns one pixel and others two.
// The first and last columns are left out: they also hold the half pixel at the picture's edge.
TEST(FrameScale, SharpKeepsColumnsEvenAtBrokenFactors) {
  struct CASE {
    int size, view, factor;
  };
  const CASE cases[] = {{640, 1024, 1}, {480, 768, 1}, {640, 1440, 2}, {480, 1080, 2}, {640, 1000, 1}};
  for (const CASE& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " to " + std::to_string(c.view));
    std::vector<FRAME_TAP_TYP> taps(static_cast<size_t>(c.view));
    sdl_frame_sharp_taps(c.size, c.view, c.factor, taps.data());
    const SHARES s = shares_of(taps, c.size);
    const auto inner = [&](const auto& v) { return std::minmax_element(v.begin() + 1, v.end() - 1); };
    const auto dominant = inner(s.dominant);
    EXPECT_LE(*dominant.second - *dominant.first, 1);
    const auto weight = inner(s.weight);
    const double scale = static_cast<double>(c.view) / c.size;
    EXPECT_GE(*weight.first, scale - 0.2);
    EXPECT_LE(*weight.second, scale + 0.2);
    // Every target pixel is covered once in all.
    double total = 0;
    for (double w : s.weight) total += w;
    EXPECT_NEAR(total, c.view, 1e-9);
  }
}

// A one-pixel stroke carries the same ink wherever it lands: a white column on black in a 40 x 30
// frame shown at 64 x 48 (1.6 times) keeps its summed brightness within a sixth, at every column.
TEST(FrameScale, AOnePixelStrokeShowsTheSameWeightAtEveryColumn) {
  PALETTEENTRY palette[256] = {};
  palette[1] = {255, 255, 255, 0};
  static FRAME_COLOURS_TYP colours;
  sdl_frame_colours8(FRAME_ARGB8888, palette, &colours);
  for (int scale : {SCALE_SHARP, SCALE_NEAREST}) {
    double least = 1e9, most = 0;
    for (int column = 1; column < 39; ++column) {
      std::vector<uint8_t> frame(40 * 30, 0);
      for (int y = 0; y < 30; ++y) frame[static_cast<size_t>(y) * 40 + column] = 1;
      std::vector<uint32_t> target(64 * 48, 0xDEADBEEFu);
      sdl_frame_draw_scaled(scale, frame.data(), 40, 40, 30, colours,
                            reinterpret_cast<uint8_t*>(target.data()), 64 * 4, 64, 48);
      double ink = 0;
      for (int x = 0; x < 64; ++x) ink += (target[20 * 64 + x] & 0xFF) / 255.0;
      least = std::min(least, ink);
      most = std::max(most, ink);
    }
    if (scale == SCALE_SHARP) {
      EXPECT_LE(most / least, 7.0 / 6.0) << "sharp";
    } else {
      EXPECT_DOUBLE_EQ(most / least, 2.0) << "nearest draws one or two pixels";
    }
  }
}

struct SCALED_CASE {
  int scale;
  int bpp;  // 8 or 16
  int width, height, tw, th;
  bool wide;
};

void PrintTo(const SCALED_CASE& c, std::ostream* os) {
  *os << "scale " << c.scale << ", bpp " << c.bpp << ", " << c.width << "x" << c.height << " to "
      << c.tw << "x" << c.th << (c.wide ? ", wide" : ", portable");
}

std::string scaled_name(const ::testing::TestParamInfo<SCALED_CASE>& info) {
  const SCALED_CASE& c = info.param;
  static const char* const names[] = {"nearest", "sharp", "integer"};
  return std::string(names[c.scale]) + "_bpp" + std::to_string(c.bpp) + "_" + std::to_string(c.width) + "x" +
         std::to_string(c.height) + "_to_" + std::to_string(c.tw) + "x" + std::to_string(c.th) +
         (c.wide ? "_wide" : "_portable");
}

class FrameDrawScaled : public ::testing::TestWithParam<SCALED_CASE> {
 protected:
  void TearDown() override { sdl_frame_allow_wide(1); }
};

// Target pixel i of a view of view_size showing size frame pixels, sharp: the blown-up picture's
// two pixels around the centre's place and the share of the second, in floating point.
struct SAMPLE {
  int a, b;
  double t;
};

SAMPLE sharp_sample(int i, int size, int view_size, int factor) {
  const double big = static_cast<double>(factor) * size;
  double u = (i + 0.5) * big / view_size - 0.5;
  u = std::clamp(u, 0.0, big - 1);
  const int at = static_cast<int>(std::floor(u));
  const int next = std::min(at + 1, static_cast<int>(big) - 1);
  return {at / factor, next / factor, u - at};
}

TEST_P(FrameDrawScaled, EveryTargetPixelMatchesTheReference) {
  const SCALED_CASE c = GetParam();
  const int bytes = c.bpp == 8 ? 1 : 2;
  const int pitch = c.width * bytes + 4;
  std::mt19937 rng(5);
  std::vector<uint8_t> frame(static_cast<size_t>(pitch) * c.height);
  for (uint8_t& b : frame) b = static_cast<uint8_t>(rng());
  PALETTEENTRY palette[256];
  for (PALETTEENTRY& e : palette)
    e = {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), 0};
  static FRAME_COLOURS_TYP colours;
  if (c.bpp == 8)
    sdl_frame_colours8(FRAME_ARGB8888, palette, &colours);
  else
    sdl_frame_colours16(FRAME_ARGB8888, 16, &colours);
  // The frame's colours as the plain converter makes them, one row at a time.
  std::vector<uint32_t> plain(static_cast<size_t>(c.width) * c.height);
  for (int y = 0; y < c.height; ++y)
    sdl_frame_convert_row(&frame[static_cast<size_t>(y) * pitch], c.width, colours, &plain[static_cast<size_t>(y) * c.width]);

  std::vector<uint32_t> target(static_cast<size_t>(c.tw) * c.th, 0xDEADBEEFu);
  sdl_frame_allow_wide(c.wide ? 1 : 0);
  sdl_frame_draw_scaled(c.scale, frame.data(), pitch, c.width, c.height, colours,
                        reinterpret_cast<uint8_t*>(target.data()), c.tw * 4, c.tw, c.th);

  const FRAME_VIEW_TYP view = sdl_frame_fit_scaled(c.scale, c.width, c.height, c.tw, c.th);
  const int factor = std::max(1, sdl_frame_whole_factor(c.width, c.height, c.tw, c.th));
  auto colour = [&](int x, int y) { return plain[static_cast<size_t>(y) * c.width + x]; };
  int wrong = 0;
  for (int y = 0; y < c.th && wrong < 5; ++y)
    for (int x = 0; x < c.tw && wrong < 5; ++x) {
      const uint32_t got = target[static_cast<size_t>(y) * c.tw + x];
      const bool inside = x >= view.x && x < view.x + view.width && y >= view.y && y < view.y + view.height;
      if (!inside) {
        if (got != colours.black) ++wrong, ADD_FAILURE() << "bar (" << x << ", " << y << "): " << std::hex << got;
        continue;
      }
      const int vx = x - view.x, vy = y - view.y;
      if (c.scale != SCALE_SHARP) {
        // Nearest, and the integer view's whole factor: the frame pixel under the centre.
        const uint32_t expected = colour(static_cast<int>((2 * int64_t{vx} + 1) * c.width / (2 * int64_t{view.width})),
                                         static_cast<int>((2 * int64_t{vy} + 1) * c.height / (2 * int64_t{view.height})));
        if (got != expected) ++wrong, ADD_FAILURE() << "(" << x << ", " << y << "): " << std::hex << got << " not " << expected;
        continue;
      }
      const SAMPLE sx = sharp_sample(vx, c.width, view.width, factor);
      const SAMPLE sy = sharp_sample(vy, c.height, view.height, factor);
      for (int byte = 0; byte < 4; ++byte) {
        auto channel = [&](int fx, int fy) { return static_cast<double>((colour(fx, fy) >> (8 * byte)) & 0xFF); };
        const double top = channel(sx.a, sy.a) * (1 - sx.t) + channel(sx.b, sy.a) * sx.t;
        const double bottom = channel(sx.a, sy.b) * (1 - sx.t) + channel(sx.b, sy.b) * sx.t;
        const double expected = top * (1 - sy.t) + bottom * sy.t;
        const double shown = static_cast<double>((got >> (8 * byte)) & 0xFF);
        // Weights in 256ths, rounded twice: within two levels.
        if (std::fabs(shown - expected) > 2.0) {
          ++wrong;
          ADD_FAILURE() << "(" << x << ", " << y << ") byte " << byte << ": " << shown << " not " << expected;
          break;
        }
      }
    }
}

std::vector<SCALED_CASE> scaled_cases() {
  std::vector<SCALED_CASE> cases;
  for (bool wide : {true, false}) {
    for (int bpp : {8, 16}) {
      // The desktops a player meets: 1.6, 2.25 and exactly 2 and 3 times.
      for (const auto& t : {std::pair{1024, 768}, std::pair{1920, 1080}, std::pair{1280, 960}})
        for (int scale : {SCALE_SHARP, SCALE_INTEGER}) cases.push_back({scale, bpp, 640, 480, t.first, t.second, wide});
    }
    cases.push_back({SCALE_SHARP, 8, 640, 480, 2000, 1440, wide});  // exactly 3 times, bars at the sides
    // A window of another shape, scaled down, and odd sizes.
    cases.push_back({SCALE_SHARP, 8, 640, 480, 700, 900, wide});
    cases.push_back({SCALE_SHARP, 8, 640, 480, 500, 700, wide});
    cases.push_back({SCALE_INTEGER, 8, 640, 480, 500, 700, wide});
    cases.push_back({SCALE_SHARP, 8, 37, 11, 150, 49, wide});
    cases.push_back({SCALE_INTEGER, 16, 37, 11, 150, 49, wide});
    cases.push_back({SCALE_NEAREST, 8, 37, 11, 150, 49, wide});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Targets, FrameDrawScaled, ::testing::ValuesIn(scaled_cases()), scaled_name);

// At a whole factor the sharp picture is the nearest picture exactly.
TEST(FrameScale, SharpIsNearestAtAWholeFactor) {
  std::mt19937 rng(9);
  std::vector<uint8_t> frame(640 * 480);
  for (uint8_t& b : frame) b = static_cast<uint8_t>(rng());
  PALETTEENTRY palette[256];
  for (PALETTEENTRY& e : palette)
    e = {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), 0};
  static FRAME_COLOURS_TYP colours;
  sdl_frame_colours8(FRAME_ARGB8888, palette, &colours);
  for (const auto& t : {std::pair{1280, 960}, std::pair{1400, 960}, std::pair{640, 480}}) {
    std::vector<uint32_t> sharp(static_cast<size_t>(t.first) * t.second), nearest(sharp.size());
    sdl_frame_draw_scaled(SCALE_SHARP, frame.data(), 640, 640, 480, colours,
                          reinterpret_cast<uint8_t*>(sharp.data()), t.first * 4, t.first, t.second);
    sdl_frame_draw(frame.data(), 640, 640, 480, colours, reinterpret_cast<uint8_t*>(nearest.data()),
                   t.first * 4, t.first, t.second);
    EXPECT_EQ(sharp, nearest) << t.first << "x" << t.second;
  }
}

}  // namespace
