// What the game's window shows for the primary's pixels: the colours of the sdl backend's
// conversion into its ARGB8888 texture.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/sdl/sdl_frame.h"

namespace {

TEST(FrameConvert, EightBitPixelsTakeTheirPaletteColourWithFullAlpha) {
  PALETTEENTRY palette[256] = {};
  palette[1] = {0x12, 0x34, 0x56, PC_EXPLICIT};  // the flags byte must not leak into alpha
  palette[255] = {255, 255, 255, 0};
  uint32_t lookup[256];
  sdl_frame_build_lookup(palette, lookup);

  // Two rows of three pixels, the source rows padded to a pitch of 4 and the texture rows to 5
  // pixels: padding must be neither read as pixels nor written over.
  const uint8_t pixels[8] = {0, 1, 255, 9, 255, 1, 0, 9};
  std::vector<uint32_t> texture(10, 0xDEADBEEFu);
  sdl_frame_convert(pixels, 4, 3, 2, 8, 8, lookup, reinterpret_cast<uint8_t*>(texture.data()),
                    5 * 4);
  EXPECT_EQ(texture[0], 0xFF000000u);
  EXPECT_EQ(texture[1], 0xFF123456u);
  EXPECT_EQ(texture[2], 0xFFFFFFFFu);
  EXPECT_EQ(texture[3], 0xDEADBEEFu);
  EXPECT_EQ(texture[4], 0xDEADBEEFu);
  EXPECT_EQ(texture[5], 0xFFFFFFFFu);
  EXPECT_EQ(texture[6], 0xFF123456u);
  EXPECT_EQ(texture[7], 0xFF000000u);
  EXPECT_EQ(texture[8], 0xDEADBEEFu);
}

TEST(FrameConvert, SixteenBitPixelsUnpackByTheirFormat) {
  const uint32_t unused[256] = {};
  // 5.6.5: white, pure red, pure green, pure blue.
  const uint16_t rgb565[4] = {0xFFFF, 0xF800, 0x07E0, 0x001F};
  uint32_t out[4] = {};
  sdl_frame_convert(reinterpret_cast<const uint8_t*>(rgb565), 8, 4, 1, 16, 16, unused,
                    reinterpret_cast<uint8_t*>(out), 16);
  EXPECT_EQ(out[0], 0xFFFFFFFFu);
  EXPECT_EQ(out[1], 0xFFFF0000u);
  EXPECT_EQ(out[2], 0xFF00FF00u);
  EXPECT_EQ(out[3], 0xFF0000FFu);

  // 5.5.5: the same colours in the other packing, and a middle grey.
  const uint16_t rgb555[4] = {0x7FFF, 0x7C00, 0x03E0, (16 << 10) | (16 << 5) | 16};
  sdl_frame_convert(reinterpret_cast<const uint8_t*>(rgb555), 8, 4, 1, 16, 15, unused,
                    reinterpret_cast<uint8_t*>(out), 16);
  EXPECT_EQ(out[0], 0xFFFFFFFFu);
  EXPECT_EQ(out[1], 0xFFFF0000u);
  EXPECT_EQ(out[2], 0xFF00FF00u);
  EXPECT_EQ(out[3], 0xFF848484u);
}

}  // namespace
