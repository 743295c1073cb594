// A file loaded again while unchanged shares the pixels decoded the first time: each record
// still reads what the file holds now, in the display's format of now, and letting go of one
// record leaves the others' pixels whole.
#include <gtest/gtest.h>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/display.h"
#include "tests/graphics/bitmap_files.h"

namespace {

uint32_t shade(int x, int y) { return uint32_t(x * 40 + y * 0x0A0B0C) & 0xFFFFFF; }
uint32_t index_of(int x, int y) { return uint32_t(x * 5 + y * 11) & 0xFF; }

struct FormatGuard {
  int saved = pixel_format;
  ~FormatGuard() { pixel_format = saved; }
};

TEST(BitmapShare, RecordsOfOneUnchangedFileShareItsPixelsAndOutliveEachOther) {
  BmpTempFile file("sheet.bmp", bmp_make(12, 5, 8, index_of));
  BMP_FILE_TYP a{}, b{};
  ASSERT_EQ(bitmap_load_file(&a, file.c_str()), 1);
  ASSERT_EQ(bitmap_load_file(&b, file.c_str()), 1);
  EXPECT_NE(a.source, 0u);
  EXPECT_EQ(b.source, a.source);
  EXPECT_EQ(b.pixels, a.pixels);
  EXPECT_EQ(b.palette[9].red, a.palette[9].red);
  bitmap_unload_file(&a);
  EXPECT_EQ(a.pixels, nullptr);
  EXPECT_EQ(a.source, 0u);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(bmp_pixel_at(b, x, y), index_of(x, y));
  // Pixels of its own (from memory) name no source.
  const auto bytes = bmp_make(12, 5, 8, index_of);
  ASSERT_EQ(bitmap_load_memory(&b, bytes.data(), bytes.size()), 1);
  EXPECT_EQ(b.source, 0u);
  bitmap_unload_file(&b);
}

struct REWRITE_CASE {
  const char* what;
  int bits;
  int width_after;  // the rewritten file's width (its size changes with it)
};

class BitmapRewrite : public ::testing::TestWithParam<REWRITE_CASE> {};

TEST_P(BitmapRewrite, ARewrittenFileLoadsItsNewPixels) {
  const REWRITE_CASE& c = GetParam();
  auto before = [&](int x, int y) { return c.bits == 8 ? index_of(x, y) : shade(x, y); };
  auto after = [&](int x, int y) { return c.bits == 8 ? (index_of(x, y) + 1) & 0xFF : shade(x, y) ^ 0xFFFFFF; };
  BmpTempFile file(c.what, bmp_make(8, 4, c.bits, before));
  BMP_FILE_TYP held{}, fresh{};
  ASSERT_EQ(bitmap_load_file(&held, file.c_str()), 1);
  const std::vector<uint32_t> expected_before = [&] {
    std::vector<uint32_t> v;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) v.push_back(bmp_pixel_at(held, x, y));
    return v;
  }();
  {
    FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const auto bytes = bmp_make(c.width_after, 4, c.bits, after);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  ASSERT_EQ(bitmap_load_file(&fresh, file.c_str()), 1);
  EXPECT_NE(fresh.source, held.source);
  EXPECT_EQ(fresh.info_header.biWidth, c.width_after);
  BMP_FILE_TYP expected{};
  const auto bytes = bmp_make(c.width_after, 4, c.bits, after);
  ASSERT_EQ(bitmap_load_memory(&expected, bytes.data(), bytes.size()), 1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < c.width_after; ++x) ASSERT_EQ(bmp_pixel_at(fresh, x, y), bmp_pixel_at(expected, x, y));
  // The record loaded before keeps what it read.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(bmp_pixel_at(held, x, y), expected_before[size_t(y * 8 + x)]);
  for (BMP_FILE_TYP* r : {&held, &fresh, &expected}) bitmap_unload_file(r);
}

INSTANTIATE_TEST_SUITE_P(Files, BitmapRewrite,
                         ::testing::Values(REWRITE_CASE{"EightBitSameSize", 8, 8}, REWRITE_CASE{"EightBitWider", 8, 9},
                                           REWRITE_CASE{"TrueColourSameSize", 24, 8}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(BitmapShare, TrueColourLoadedAgainUnderTheOtherFormatIsPackedForIt) {
  FormatGuard guard;
  BmpTempFile file("rgb.bmp", bmp_make(6, 3, 24, shade));
  BMP_FILE_TYP by565{}, by555{};
  pixel_format = 16;
  ASSERT_EQ(bitmap_load_file(&by565, file.c_str()), 1);
  pixel_format = 15;
  ASSERT_EQ(bitmap_load_file(&by555, file.c_str()), 1);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) {
      const uint32_t c = shade(x, y), r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
      EXPECT_EQ(bmp_pixel_at(by565, x, y), (b >> 3) | (g >> 2) << 5 | (r >> 3) << 11);
      EXPECT_EQ(bmp_pixel_at(by555, x, y), (b >> 3) | (g >> 3) << 5 | (r >> 3) << 10);
    }
  bitmap_unload_file(&by565);
  bitmap_unload_file(&by555);
}

}  // namespace
