// Image bitmaps: creation, cells cut from bitmap files, drawing into memory, block copies and
// scrolling.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/image.h"
#include "tests/graphics/bitmap_files.h"

namespace {

uint32_t sheet_pattern(int x, int y) { return uint32_t(x + 40 * y) & 0xFF; }

class ImageFromSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    // 40 x 20 at 8 bits: a grid of 4 x 3 cells with 1-pixel borders fits 8 across, 5 down.
    auto file = bmp_make(40, 20, 8, sheet_pattern);
    ASSERT_EQ(bitmap_load_memory(&sheet, file.data(), file.size()), 1);
  }
  void TearDown() override {
    bitmap_unload_file(&sheet);
    if (image.pixels) image_destroy(&image);
  }
  BMP_FILE_TYP sheet{};
  IMAGE_TYP image{};
};

TEST(ImageCreate, ClearedBufferOfTheRightSize) {
  IMAGE_TYP image{};
  ASSERT_EQ(image_create(&image, 3, 4, 10, 6, 16), 1);
  EXPECT_EQ(image.state, 1);
  EXPECT_EQ(image.attributes, 0);
  EXPECT_EQ(image.x, 3);
  EXPECT_EQ(image.y, 4);
  EXPECT_EQ(image.byte_count, 120);
  for (int i = 0; i < 120; ++i) ASSERT_EQ(image.pixels[i], 0);
  // Not loaded yet: nothing is drawn.
  std::vector<uint8_t> memory(4096, 0x55);
  EXPECT_EQ(image_draw16(&image, memory.data(), 64, 0), 0);
  EXPECT_EQ(memory[0], 0x55);
  EXPECT_EQ(image_destroy(&image), 1);
  IMAGE_TYP zero{};
  EXPECT_EQ(std::memcmp(&image, &zero, sizeof image), 0);
  EXPECT_EQ(image_destroy(&image), 0);
  EXPECT_EQ(image_destroy(nullptr), 0);
}

TEST(ImageCreate, RefusesSizesAndDepthsItCannotHold) {
  IMAGE_TYP image{};
  image.x = 77;
  EXPECT_EQ(image_create(&image, 0, 0, 0, 5, 8), 0);
  EXPECT_EQ(image_create(&image, 0, 0, 5, -1, 8), 0);
  EXPECT_EQ(image_create(&image, 0, 0, 5, 5, 24), 0);
  EXPECT_EQ(image_create(&image, 0, 0, 65536, 65536, 16), 0);
  EXPECT_EQ(image_create(nullptr, 0, 0, 5, 5, 8), 0);
  EXPECT_EQ(image.x, 77);
  EXPECT_EQ(image.pixels, nullptr);
}

TEST_F(ImageFromSheet, CellModeCornerSkipsTheBorders) {
  ASSERT_EQ(image_create(&image, 0, 0, 4, 3, 8), 1);
  // Cell (2, 1) of 4 x 3 cells starts at column 2 * 5 + 1 = 11, row 1 * 4 + 1 = 5.
  ASSERT_EQ(image_load(&image, &sheet, 2, 1, 0), 1);
  EXPECT_TRUE(image.attributes & IMAGE_LOADED);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(image.pixels[y * 4 + x], sheet_pattern(11 + x, 5 + y));
  // Pixel mode takes the corner as it is.
  ASSERT_EQ(image_load(&image, &sheet, 36, 17, 1), 1);
  EXPECT_EQ(image.pixels[0], sheet_pattern(36, 17));
  EXPECT_EQ(image.pixels[11], sheet_pattern(39, 19));
}

TEST_F(ImageFromSheet, CellsOutsideTheSheetCopyNothing) {
  ASSERT_EQ(image_create(&image, 0, 0, 4, 3, 8), 1);
  std::memset(image.pixels, 0xAB, 12);
  const struct {
    int cx, cy, mode;
  } outside[] = {
      {37, 0, 1},   // one column past the right edge
      {0, 18, 1},   // one row past the bottom
      {-1, 0, 1},   // left of the sheet
      {0, -1, 1},   // above it
      {8, 0, 0},    // cell 8 starts at column 41
      {0, 5, 0},    // cell row 5 starts at row 21
      {-1, 0, 0},   // cell -1 starts at column -4
      {0x7FFFFFFF, 0x7FFFFFFF, 0},
  };
  for (const auto& o : outside) {
    EXPECT_EQ(image_load(&image, &sheet, o.cx, o.cy, o.mode), 0) << o.cx << "," << o.cy;
    EXPECT_FALSE(image.attributes & IMAGE_LOADED);
    for (int i = 0; i < 12; ++i) ASSERT_EQ(image.pixels[i], 0xAB);
  }
  // The last cell that fits is fine.
  EXPECT_EQ(image_load(&image, &sheet, 36, 17, 1), 1);
  EXPECT_EQ(image_load(&image, nullptr, 0, 0, 1), 0);
  EXPECT_EQ(image_load(nullptr, &sheet, 0, 0, 1), 0);
}

TEST_F(ImageFromSheet, DepthsMustAgree) {
  // A 16-bit cut from this 8-bit sheet would read twice the bytes the sheet holds per row.
  ASSERT_EQ(image_create(&image, 0, 0, 4, 3, 16), 1);
  EXPECT_EQ(image_load16(&image, &sheet, 0, 0, 1), 0);
  EXPECT_EQ(image_load(&image, &sheet, 0, 0, 1), 0);
  image_destroy(&image);
  // And an 8-bit image filled by the 16-bit cut would be written past its end.
  ASSERT_EQ(image_create(&image, 0, 0, 4, 3, 8), 1);
  EXPECT_EQ(image_load16(&image, &sheet, 0, 0, 1), 0);
}

TEST(ImageLoad16, CutsFromSixteenBitSheets) {
  auto pattern = [](int x, int y) { return uint32_t(0x100 * x + y + 1); };
  auto file = bmp_make(10, 7, 16, pattern);
  BMP_FILE_TYP sheet{};
  ASSERT_EQ(bitmap_load_memory(&sheet, file.data(), file.size()), 1);
  IMAGE_TYP image{};
  ASSERT_EQ(image_create(&image, 0, 0, 2, 2, 16), 1);
  // Cell (1, 1) of 2 x 2 cells starts at (4, 4).
  ASSERT_EQ(image_load16(&image, &sheet, 1, 1, 0), 1);
  const auto at = [&](int x, int y) { return uint32_t(image.pixels[(y * 2 + x) * 2] | image.pixels[(y * 2 + x) * 2 + 1] << 8); };
  EXPECT_EQ(at(0, 0), pattern(4, 4));
  EXPECT_EQ(at(1, 1), pattern(5, 5));
  EXPECT_EQ(image_load16(&image, &sheet, 2, 2, 0), 0);  // starts at (7, 7): below the last row
  image_destroy(&image);
  bitmap_unload_file(&sheet);
}

TEST(ImageDraw, CopiesRowsAtItsPositionWithThePitch) {
  IMAGE_TYP image{};
  ASSERT_EQ(image_create(&image, 2, 1, 3, 2, 8), 1);
  const uint8_t pixels[6] = {1, 0, 3, 4, 5, 0};
  std::memcpy(image.pixels, pixels, 6);
  image.attributes |= IMAGE_LOADED;
  const int pitch = 8;
  std::vector<uint8_t> memory(pitch * 4, 9);

  ASSERT_EQ(image_draw(&image, memory.data(), pitch, 0), 1);
  const std::vector<uint8_t> opaque = {9, 9, 9, 9, 9, 9, 9, 9,  //
                                       9, 9, 1, 0, 3, 9, 9, 9,  //
                                       9, 9, 4, 5, 0, 9, 9, 9,  //
                                       9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(memory, opaque);

  std::fill(memory.begin(), memory.end(), 9);
  ASSERT_EQ(image_draw(&image, memory.data(), pitch, 1), 1);
  const std::vector<uint8_t> keyed = {9, 9, 9, 9, 9, 9, 9, 9,  //
                                      9, 9, 1, 9, 3, 9, 9, 9,  //
                                      9, 9, 4, 5, 9, 9, 9, 9,  //
                                      9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(memory, keyed);
  EXPECT_EQ(image_draw16(&image, memory.data(), pitch, 0), 0);  // wrong depth
  image_destroy(&image);
}

TEST(ImageDraw, SixteenBitZeroIsTransparentAndOddPitchRoundsDown) {
  IMAGE_TYP image{};
  ASSERT_EQ(image_create(&image, 1, 1, 2, 1, 16), 1);
  const uint16_t values[2] = {0x0000, 0xF800};
  std::memcpy(image.pixels, values, 4);
  image.attributes |= IMAGE_LOADED;
  std::vector<uint16_t> memory(12, 0x1234);
  // A pitch of 9 bytes is taken as 8: row 1 starts at element 4.
  ASSERT_EQ(image_draw16(&image, reinterpret_cast<uint8_t*>(memory.data()), 9, 1), 1);
  EXPECT_EQ(memory[5], 0x1234);
  EXPECT_EQ(memory[6], 0xF800);
  ASSERT_EQ(image_draw16(&image, reinterpret_cast<uint8_t*>(memory.data()), 9, 0), 1);
  EXPECT_EQ(memory[5], 0x0000);
  EXPECT_EQ(image_draw(&image, reinterpret_cast<uint8_t*>(memory.data()), 9, 0), 0);
  image_destroy(&image);
}

TEST(ImageScroll, RotatesEveryRowAndWraps) {
  IMAGE_TYP image{};
  ASSERT_EQ(image_create(&image, 0, 0, 4, 2, 8), 1);
  const uint8_t start[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const auto scrolled = [&](int dx, int dy) {
    std::memcpy(image.pixels, start, 8);
    image_scroll(&image, dx, dy);
    return std::vector<uint8_t>(image.pixels, image.pixels + 8);
  };
  EXPECT_EQ(scrolled(1, 0), (std::vector<uint8_t>{4, 1, 2, 3, 8, 5, 6, 7}));
  EXPECT_EQ(scrolled(-1, 0), (std::vector<uint8_t>{2, 3, 4, 1, 6, 7, 8, 5}));
  EXPECT_EQ(scrolled(4, 0), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(scrolled(5, 0), scrolled(1, 0));
  EXPECT_EQ(scrolled(-6, 0), scrolled(-2, 0));
  EXPECT_EQ(scrolled(0, 3), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(image_scroll(&image, 0, 0), 0);
  EXPECT_EQ(image_scroll(&image, 0, 1), 1);
  EXPECT_EQ(image_scroll(nullptr, 1, 0), 0);
  image_destroy(&image);

  // 16-bit rows move by whole pixels.
  ASSERT_EQ(image_create(&image, 0, 0, 3, 1, 16), 1);
  const uint16_t wide[3] = {0x1111, 0x2222, 0x3333};
  std::memcpy(image.pixels, wide, 6);
  ASSERT_EQ(image_scroll(&image, 1, 0), 1);
  uint16_t out[3];
  std::memcpy(out, image.pixels, 6);
  EXPECT_EQ(out[0], 0x3333);
  EXPECT_EQ(out[1], 0x1111);
  EXPECT_EQ(out[2], 0x2222);
  image_destroy(&image);
}

TEST(ImageCopyRect, CopiesABlockAndRefusesWhatLeavesEitherImage) {
  IMAGE_TYP src{}, dst{};
  ASSERT_EQ(image_create(&src, 0, 0, 5, 4, 8), 1);
  ASSERT_EQ(image_create(&dst, 0, 0, 6, 3, 8), 1);
  for (int i = 0; i < 20; ++i) src.pixels[i] = uint8_t(i + 1);
  ASSERT_EQ(image_copy_rect(&dst, 3, 1, &src, 1, 2, 3, 2), 1);
  const std::vector<uint8_t> want = {0, 0, 0, 0,  0,  0,   //
                                     0, 0, 0, 12, 13, 14,  //
                                     0, 0, 0, 17, 18, 19};
  EXPECT_EQ(std::vector<uint8_t>(dst.pixels, dst.pixels + 18), want);

  EXPECT_EQ(image_copy_rect(&dst, 4, 0, &src, 0, 0, 3, 1), 0);   // past dest's right edge
  EXPECT_EQ(image_copy_rect(&dst, 0, 2, &src, 0, 0, 1, 2), 0);   // past dest's bottom
  EXPECT_EQ(image_copy_rect(&dst, 0, 0, &src, 3, 0, 3, 1), 0);   // past src's right edge
  EXPECT_EQ(image_copy_rect(&dst, 0, 0, &src, 0, -1, 1, 1), 0);  // above src
  EXPECT_EQ(image_copy_rect(&dst, 0, 0, nullptr, 0, 0, 1, 1), 0);
  EXPECT_EQ(std::vector<uint8_t>(dst.pixels, dst.pixels + 18), want);

  IMAGE_TYP wide{};
  ASSERT_EQ(image_create(&wide, 0, 0, 5, 4, 16), 1);
  EXPECT_EQ(image_copy_rect(&dst, 0, 0, &wide, 0, 0, 2, 2), 0);  // depths differ
  image_destroy(&wide);
  image_destroy(&src);
  image_destroy(&dst);
}

}  // namespace
