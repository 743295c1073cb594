// The page's picture against the native capture: the same pixels through the same palette or
// pixel format, and the native full-screen view's letterboxing.
#include "platform/web/web_frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/image_file.h"

namespace {

// Pixels of a frame with a row pitch wider than the row, as surfaces may have.
struct FRAME_REC {
  int width, height, bpp, pitch;
  std::vector<uint8_t> pixels;
};

FRAME_REC pattern_frame(int width, int height, int bpp) {
  FRAME_REC f{width, height, bpp, width * (bpp / 8) + 6, {}};
  f.pixels.assign(static_cast<size_t>(f.pitch) * height, 0xEE);  // padding that must not show
  uint32_t seed = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width * (bpp / 8); ++x) {
      seed = seed * 1103515245u + 12345u;
      f.pixels[static_cast<size_t>(y) * f.pitch + x] = static_cast<uint8_t>(seed >> 16);
    }
  return f;
}

// The RGBA words as packed RGB, to compare with the capture writer's conversion.
std::vector<uint8_t> rgb_of(const std::vector<uint32_t>& rgba) {
  std::vector<uint8_t> rgb;
  for (uint32_t word : rgba) {
    EXPECT_EQ(word >> 24, 0xFFu);  // every pixel opaque
    rgb.push_back(static_cast<uint8_t>(word));
    rgb.push_back(static_cast<uint8_t>(word >> 8));
    rgb.push_back(static_cast<uint8_t>(word >> 16));
  }
  return rgb;
}

TEST(WebFrame, EightBitFramesShowAsTheCaptureThroughThePalette) {
  PALETTEENTRY palette[256];
  uint8_t rgbx[1024];
  for (int i = 0; i < 256; ++i) {
    palette[i] = {uint8_t(i * 7), uint8_t(255 - i), uint8_t(i ^ 0x5A), 0xC3};  // flags: no alpha
    std::memcpy(rgbx + 4 * i, &palette[i], 4);
  }
  const FRAME_REC f = pattern_frame(37, 11, 8);
  uint32_t lookup[256];
  web_frame_lookup8(palette, lookup);
  std::vector<uint32_t> rgba(37 * 11);
  web_frame_to_rgba(f.pixels.data(), f.pitch, f.width, f.height, 8, lookup, rgba.data());
  std::vector<uint8_t> capture(37 * 11 * 3);
  plat_pixels_to_rgb(f.pixels.data(), f.pitch, f.width, f.height, 8, 8, rgbx, capture.data());
  EXPECT_EQ(rgb_of(rgba), capture);
}

TEST(WebFrame, WithoutAPaletteEverythingIsBlack) {
  uint32_t lookup[256];
  web_frame_lookup8(nullptr, lookup);
  for (uint32_t word : lookup) EXPECT_EQ(word, 0xFF000000u);
}

class WebFrame16 : public ::testing::TestWithParam<int> {};

TEST_P(WebFrame16, SixteenBitFramesShowAsTheCapture) {
  const int format = GetParam();
  std::vector<uint32_t> lookup(65536);
  web_frame_lookup16(format, lookup.data());
  // Full intensity stays full, black stays black.
  EXPECT_EQ(lookup[format == 15 ? 0x7FFF : 0xFFFF], 0xFFFFFFFFu);
  EXPECT_EQ(lookup[0], 0xFF000000u);
  const FRAME_REC f = pattern_frame(29, 13, 16);
  std::vector<uint32_t> rgba(29 * 13);
  web_frame_to_rgba(f.pixels.data(), f.pitch, f.width, f.height, 16, lookup.data(), rgba.data());
  std::vector<uint8_t> capture(29 * 13 * 3);
  plat_pixels_to_rgb(f.pixels.data(), f.pitch, f.width, f.height, 16, format, nullptr,
                     capture.data());
  EXPECT_EQ(rgb_of(rgba), capture);
}

INSTANTIATE_TEST_SUITE_P(Formats, WebFrame16, ::testing::Values(15, 16));

TEST(WebFrame, TheViewFitsAsLargeAsThePageAllowsWithBars) {
  const struct {
    int target_width, target_height;
    WEB_VIEW_TYP view;
  } cases[] = {
      {640, 480, {0, 0, 640, 480}},        // the mode's own size
      {1280, 960, {0, 0, 1280, 960}},      // a whole scale
      {1920, 1080, {240, 0, 1440, 1080}},  // wide: bars left and right
      {1280, 1024, {0, 32, 1280, 960}},    // tall: bars above and below
      {1280, 800, {107, 0, 1066, 800}},    // a fractional scale, rounded down
      {500, 300, {50, 0, 400, 300}},       // smaller than the mode
      {1, 1, {0, 0, 1, 1}},                // never nothing at all
      {0, 480, {0, 0, 0, 0}},              // no page to show in
  };
  for (const auto& c : cases) {
    const WEB_VIEW_TYP v = web_view_fit(640, 480, c.target_width, c.target_height);
    EXPECT_EQ(v.x, c.view.x) << c.target_width << "x" << c.target_height;
    EXPECT_EQ(v.y, c.view.y) << c.target_width << "x" << c.target_height;
    EXPECT_EQ(v.width, c.view.width) << c.target_width << "x" << c.target_height;
    EXPECT_EQ(v.height, c.view.height) << c.target_width << "x" << c.target_height;
  }
}

}  // namespace
