// Files written by ImageMagick load to what ImageMagick itself reads from them
// (tests/fixtures/graphics/make-fixtures.sh made both).
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/display.h"
#include "tests/graphics/bitmap_files.h"

namespace {

const std::string kDir = std::string(ASHFALLOW_FIXTURES) + "/graphics/";

struct Rgb {
  int x, y, red, green, blue;
};

std::vector<Rgb> read_pixels(const std::string& name) {
  std::vector<Rgb> out;
  std::ifstream in(kDir + name);
  Rgb p;
  while (in >> p.x >> p.y >> p.red >> p.green >> p.blue) out.push_back(p);
  return out;
}

TEST(BitmapRealFiles, ImageMagickPalettisedFile) {
  BMP_FILE_TYP bitmap{};
  ASSERT_EQ(bitmap_load_file(&bitmap, (kDir + "p8.bmp").c_str()), 1);
  ASSERT_EQ(bitmap.info_header.biWidth, 32);
  ASSERT_EQ(bitmap.info_header.biHeight, 12);
  ASSERT_EQ(bitmap.info_header.biBitCount, 8);

  std::ifstream colormap(kDir + "p8.colormap.txt");
  int index, red, green, blue, entries = 0;
  while (colormap >> index >> red >> green >> blue) {
    ASSERT_LT(index, 256);
    EXPECT_EQ(bitmap.palette[index].red, red) << index;
    EXPECT_EQ(bitmap.palette[index].green, green) << index;
    EXPECT_EQ(bitmap.palette[index].blue, blue) << index;
    ++entries;
  }
  EXPECT_EQ(entries, 256);

  const std::vector<Rgb> pixels = read_pixels("p8.pixels.txt");
  ASSERT_EQ(pixels.size(), 32u * 12u);
  for (const Rgb& p : pixels) {
    const PALETTEENTRY& e = bitmap.palette[bmp_pixel_at(bitmap, p.x, p.y)];
    EXPECT_EQ(e.red, p.red) << p.x << "," << p.y;
    EXPECT_EQ(e.green, p.green) << p.x << "," << p.y;
    EXPECT_EQ(e.blue, p.blue) << p.x << "," << p.y;
  }
  bitmap_unload_file(&bitmap);
}

TEST(BitmapRealFiles, ImageMagickTrueColourFile) {
  const int saved = pixel_format;
  const std::vector<Rgb> pixels = read_pixels("rgb24.pixels.txt");
  ASSERT_EQ(pixels.size(), 8u * 4u);
  for (int format : {15, 16}) {
    pixel_format = format;
    BMP_FILE_TYP bitmap{};
    ASSERT_EQ(bitmap_load_file(&bitmap, (kDir + "rgb24.bmp").c_str()), 1);
    ASSERT_EQ(bitmap.info_header.biWidth, 8);
    ASSERT_EQ(bitmap.info_header.biHeight, 4);
    EXPECT_EQ(bitmap.info_header.biBitCount, 16);
    for (const Rgb& p : pixels) {
      const uint32_t want = format == 15 ? (p.red >> 3) << 10 | (p.green >> 3) << 5 | p.blue >> 3
                                         : (p.red >> 3) << 11 | (p.green >> 2) << 5 | p.blue >> 3;
      EXPECT_EQ(bmp_pixel_at(bitmap, p.x, p.y), want) << "format " << format << " at " << p.x << "," << p.y;
    }
    bitmap_unload_file(&bitmap);
  }
  pixel_format = saved;
}

}  // namespace
