// Loading .BMP files: what a good file becomes, and every kind of broken file refused without
// touching the record.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <ostream>
#include <cstring>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/display.h"
#include "platform/refusal.h"
#include "tests/graphics/bitmap_files.h"

namespace {

#define NOT_A_PICTURE "not a picture the game can read "

uint32_t index_pattern(int x, int y) { return uint32_t(x * 3 + y * 17) & 0xFF; }

struct PixelFormatGuard {
  int saved = pixel_format;
  ~PixelFormatGuard() { pixel_format = saved; }
};

class BitmapLoad : public ::testing::Test {
 protected:
  void TearDown() override { bitmap_unload_file(&bitmap); }
  BMP_FILE_TYP bitmap{};
};

TEST_F(BitmapLoad, EightBitFileBecomesPaletteAndTopDownRows) {
  auto file = bmp_make(8, 3, 8, index_pattern, [](int i) { return i == 7 ? 0x1E140Au : 0u; });
  ASSERT_EQ(bitmap_load_file(&bitmap, BmpTempFile("a.bmp", file).c_str()), 1);
  EXPECT_EQ(bitmap.file_header.bfType, BITMAP_ID);
  EXPECT_EQ(bitmap.info_header.biWidth, 8);
  EXPECT_EQ(bitmap.info_header.biHeight, 3);
  EXPECT_EQ(bitmap.info_header.biBitCount, 8);
  // The table stores blue 10, green 20, red 30 for entry 7 (0x1E140A read as red 0x1E).
  EXPECT_EQ(bitmap.palette[7].red, 0x1E);
  EXPECT_EQ(bitmap.palette[7].green, 0x14);
  EXPECT_EQ(bitmap.palette[7].blue, 0x0A);
  EXPECT_EQ(bitmap.palette[7].flags, PC_NOCOLLAPSE);
  EXPECT_EQ(bitmap.palette[0].flags, PC_NOCOLLAPSE);
  // Row 0 is the picture's top row, which the file stores last.
  EXPECT_EQ(bitmap.pixels[0], file[54 + 1024 + 2 * 8]);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(bmp_pixel_at(bitmap, x, y), index_pattern(x, y)) << x << "," << y;
}

TEST_F(BitmapLoad, SixteenBitFileIsCopiedAsIs) {
  auto pattern = [](int x, int y) { return uint32_t(0x1234 + x * 0x101 + y * 0x2000) & 0xFFFF; };
  auto file = bmp_make(6, 4, 16, pattern);
  ASSERT_EQ(bitmap_load_memory(&bitmap, file.data(), file.size()), 1);
  EXPECT_EQ(bitmap.info_header.biBitCount, 16);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(bmp_pixel_at(bitmap, x, y), pattern(x, y));
}

TEST_F(BitmapLoad, TwentyFourBitPixelsBecomeTheDisplayFormat) {
  PixelFormatGuard guard;
  // Blue, green, red, white, a mid grey, black.
  const uint32_t colors[6] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x808080, 0x000000};
  auto file = bmp_make(6, 2, 24, [&](int x, int y) { return y == 0 ? colors[x] : colors[5 - x]; });
  struct Expect {
    int format;
    uint32_t values[6];
  };
  const Expect cases[] = {
      {15, {0x001F, 0x03E0, 0x7C00, 0x7FFF, 0x4210, 0x0000}},
      {16, {0x001F, 0x07E0, 0xF800, 0xFFFF, 0x8410, 0x0000}},
      {8, {0x001F, 0x07E0, 0xF800, 0xFFFF, 0x8410, 0x0000}},  // 8-bit mode: 5.6.5
  };
  for (const Expect& e : cases) {
    pixel_format = e.format;
    ASSERT_EQ(bitmap_load_memory(&bitmap, file.data(), file.size()), 1);
    EXPECT_EQ(bitmap.info_header.biBitCount, 16);
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(bmp_pixel_at(bitmap, x, 0), e.values[x]) << "format " << e.format << " x " << x;
      EXPECT_EQ(bmp_pixel_at(bitmap, x, 1), e.values[5 - x]) << "format " << e.format << " x " << x;
    }
  }
}

TEST_F(BitmapLoad, PaddedRowsAreReadWithoutTheirPadding) {
  // Width 5 at 8 bits and width 3 at 24 bits need padding to 4 bytes per row.
  auto file8 = bmp_make(5, 3, 8, index_pattern);
  ASSERT_EQ(bitmap_load_memory(&bitmap, file8.data(), file8.size()), 1);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(bmp_pixel_at(bitmap, x, y), index_pattern(x, y));

  PixelFormatGuard guard;
  pixel_format = 16;
  auto file24 = bmp_make(3, 2, 24, [](int x, int y) { return x == y ? 0xFF0000u : 0x0000FFu; });
  ASSERT_EQ(bitmap_load_memory(&bitmap, file24.data(), file24.size()), 1);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(bmp_pixel_at(bitmap, x, y), x == y ? 0xF800u : 0x001Fu);
}

TEST_F(BitmapLoad, PackedRowsAndSpareBytesAreStillAccepted) {
  // Rows of 5 bytes with no padding, biSizeImage exactly 15: read packed.
  auto packed = bmp_make(5, 3, 8, index_pattern, nullptr, true);
  ASSERT_EQ(bitmap_load_memory(&bitmap, packed.data(), packed.size()), 1);
  EXPECT_EQ(bmp_pixel_at(bitmap, 4, 2), index_pattern(4, 2));

  // biSizeImage larger than the rows need, the bytes present: the rows are what counts.
  auto spare = bmp_make(4, 2, 8, index_pattern);
  spare.resize(spare.size() + 8, 0xEE);
  bmp_put32(spare, BMP_SIZE_IMAGE, 16);
  ASSERT_EQ(bitmap_load_memory(&bitmap, spare.data(), spare.size()), 1);
  EXPECT_EQ(bmp_pixel_at(bitmap, 3, 0), index_pattern(3, 0));

  // bfOffBits left 0 by a careless writer: the data is read in sequence and never needed it.
  auto no_offset = bmp_make(4, 2, 8, index_pattern);
  bmp_put32(no_offset, BMP_OFF_BITS, 0);
  EXPECT_EQ(bitmap_load_memory(&bitmap, no_offset.data(), no_offset.size()), 1);
}

TEST_F(BitmapLoad, LoadingAgainReplacesThePixels) {
  auto first = bmp_make(4, 1, 8, [](int, int) { return 1u; });
  auto second = bmp_make(8, 2, 8, [](int, int) { return 2u; });
  ASSERT_EQ(bitmap_load_memory(&bitmap, first.data(), first.size()), 1);
  ASSERT_EQ(bitmap_load_memory(&bitmap, second.data(), second.size()), 1);
  EXPECT_EQ(bitmap.info_header.biWidth, 8);
  EXPECT_EQ(bmp_pixel_at(bitmap, 7, 1), 2u);
  EXPECT_EQ(bitmap_unload_file(&bitmap), 1);
  EXPECT_EQ(bitmap.pixels, nullptr);
  EXPECT_EQ(bitmap_unload_file(&bitmap), 1);
  EXPECT_EQ(bitmap_unload_file(nullptr), 0);
}

// Each broken file is refused, the record (an earlier good load) stays byte for byte, and the
// loader notes why in the words a player is told.
struct BrokenFile {
  const char* what;
  int bits;
  std::function<void(std::vector<uint8_t>&)> damage;
  const char* said;
};

void PrintTo(const BrokenFile& c, std::ostream* os) { *os << c.what; }

class BitmapBrokenFile : public ::testing::TestWithParam<BrokenFile> {};

TEST_P(BitmapBrokenFile, IsRefusedAndLeavesTheRecordAsItWas) {
  const BrokenFile& c = GetParam();
  BMP_FILE_TYP bitmap{};
  auto good = bmp_make(4, 2, 8, [](int, int) { return 9u; });
  plat_refusal_clear();
  ASSERT_EQ(bitmap_load_memory(&bitmap, good.data(), good.size()), 1);
  EXPECT_EQ(plat_refusal_take(), nullptr) << "a good file is not refused";
  BMP_FILE_TYP before;
  std::memcpy(&before, &bitmap, sizeof before);
  const uint8_t* pixels = bitmap.pixels;

  auto file = bmp_make(8, 4, c.bits, index_pattern);
  c.damage(file);
  EXPECT_EQ(bitmap_load_memory(&bitmap, file.data(), file.size()), 0) << c.what;
  const char* said = plat_refusal_take();
  EXPECT_STREQ(said ? said : "nothing", c.said);
  EXPECT_EQ(bitmap_load_file(&bitmap, BmpTempFile("broken.bmp", file).c_str()), 0) << c.what;
  said = plat_refusal_take();
  EXPECT_STREQ(said ? said : "nothing", c.said) << "read from the file";
  EXPECT_EQ(std::memcmp(&before, &bitmap, sizeof before), 0) << c.what;
  EXPECT_EQ(bitmap.pixels, pixels);
  EXPECT_EQ(bitmap.pixels[7], 9);
  bitmap_unload_file(&bitmap);
}

const BrokenFile kBroken[] = {
    {"not BM", 8, [](auto& f) { f[0] = 'P'; },
     NOT_A_PICTURE "(no BMP header)"},
    {"empty", 8, [](auto& f) { f.clear(); },
     "cut short (expected at least 54 bytes, found 0)"},
    {"cut inside the headers", 8, [](auto& f) { f.resize(30); },
     "cut short (expected at least 54 bytes, found 30)"},
    {"cut inside the colour table", 8, [](auto& f) { f.resize(54 + 500); },
     "cut short (expected 1110 bytes, found 554)"},
    {"last byte missing", 8, [](auto& f) { f.pop_back(); },
     "cut short (expected 1110 bytes, found 1109)"},
    {"last byte missing, 24-bit", 24, [](auto& f) { f.pop_back(); },
     "cut short (expected 150 bytes, found 149)"},
    {"biSizeImage one short of the rows", 8, [](auto& f) { bmp_put32(f, BMP_SIZE_IMAGE, 31); },
     NOT_A_PICTURE "(size field 31 bytes, too small for 8 x 4 pixels)"},
    {"biSizeImage 0", 8, [](auto& f) { bmp_put32(f, BMP_SIZE_IMAGE, 0); },
     NOT_A_PICTURE "(size field 0 bytes, too small for 8 x 4 pixels)"},
    {"biSizeImage beyond the file", 16, [](auto& f) { bmp_put32(f, BMP_SIZE_IMAGE, 4096); },
     "cut short (expected 4150 bytes, found 118)"},
    {"biSizeImage absurd", 8, [](auto& f) { bmp_put32(f, BMP_SIZE_IMAGE, 0xFFFFFFF0u); },
     NOT_A_PICTURE "(size field 4 GB)"},
    {"width 0", 8, [](auto& f) { bmp_put32(f, BMP_WIDTH, 0); },
     NOT_A_PICTURE "(BMP of 0 x 4 pixels)"},
    {"width negative", 8, [](auto& f) { bmp_put32(f, BMP_WIDTH, uint32_t(-8)); },
     NOT_A_PICTURE "(BMP of -8 x 4 pixels)"},
    {"width absurd", 8, [](auto& f) { bmp_put32(f, BMP_WIDTH, 0x40000000u); },
     NOT_A_PICTURE "(BMP of 1073741824 x 4 pixels)"},
    {"width larger than the data", 24, [](auto& f) { bmp_put32(f, BMP_WIDTH, 9); },
     NOT_A_PICTURE "(size field 96 bytes, too small for 9 x 4 pixels)"},
    {"height 0", 8, [](auto& f) { bmp_put32(f, BMP_HEIGHT, 0); },
     NOT_A_PICTURE "(BMP of 8 x 0 pixels)"},
    {"height negative (top-down rows)", 8, [](auto& f) { bmp_put32(f, BMP_HEIGHT, uint32_t(-4)); },
     NOT_A_PICTURE "(BMP of 8 x -4 pixels)"},
    {"height absurd", 16, [](auto& f) { bmp_put32(f, BMP_HEIGHT, 0x7FFFFFFFu); },
     NOT_A_PICTURE "(BMP of 8 x 2147483647 pixels)"},
    {"32 bits", 8, [](auto& f) { bmp_put16(f, BMP_BIT_COUNT, 32); },
     NOT_A_PICTURE "(BMP with 32-bit pixels)"},
    {"4 bits", 8, [](auto& f) { bmp_put16(f, BMP_BIT_COUNT, 4); },
     NOT_A_PICTURE "(BMP with 4-bit pixels)"},
    {"run-length compressed", 8, [](auto& f) { bmp_put32(f, BMP_COMPRESSION, 1); },
     NOT_A_PICTURE "(compressed BMP)"},
    {"bit-field masks", 16, [](auto& f) { bmp_put32(f, BMP_COMPRESSION, 3); },
     NOT_A_PICTURE "(compressed BMP)"},
    {"larger info header", 8, [](auto& f) { bmp_put32(f, BMP_INFO_SIZE, 108); },
     NOT_A_PICTURE "(BMP with a 108-byte information header)"},
    {"pixels said to lie elsewhere", 16, [](auto& f) { bmp_put32(f, BMP_OFF_BITS, 66); },
     NOT_A_PICTURE "(pixels at byte 66, not after the headers)"},
    {"colour table of 16 entries", 8,
     [](auto& f) {
       // A writer that keeps only the entries it uses: the pixels follow 16 entries.
       f.erase(f.begin() + 54 + 64, f.begin() + 54 + 1024);
       bmp_put32(f, BMP_OFF_BITS, 54 + 64);
       bmp_put32(f, BMP_CLR_USED, 16);
     },
     NOT_A_PICTURE "(pixels at byte 118, not after the headers)"},
    {"colour table of 16 entries, no offset", 8,
     [](auto& f) {
       f.erase(f.begin() + 54 + 64, f.begin() + 54 + 1024);
       bmp_put32(f, BMP_OFF_BITS, 0);
       bmp_put32(f, BMP_CLR_USED, 16);
     },
     NOT_A_PICTURE "(BMP with 16 colours, not 256)"},
    {"more than 256 colours", 8, [](auto& f) { bmp_put32(f, BMP_CLR_USED, 300); },
     NOT_A_PICTURE "(BMP with 300 colours, not 256)"},
};

// Test names from the descriptions: "cut inside the headers" -> CutInsideTheHeaders.
std::string case_name(const ::testing::TestParamInfo<BrokenFile>& info) {
  std::string name;
  bool upper = true;
  for (const char* p = info.param.what; *p; ++p) {
    if (!std::isalnum(static_cast<unsigned char>(*p))) {
      upper = true;
      continue;
    }
    name += upper ? char(std::toupper(static_cast<unsigned char>(*p))) : *p;
    upper = false;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Bad, BitmapBrokenFile, ::testing::ValuesIn(kBroken), case_name);

TEST(BitmapLoadFile, MissingFileAndNullArgumentsAreRefused) {
  BMP_FILE_TYP bitmap{};
  EXPECT_EQ(bitmap_load_file(&bitmap, bmp_temp_path("no-such.bmp").c_str()), 0);
  EXPECT_EQ(bitmap_load_file(&bitmap, nullptr), 0);
  EXPECT_EQ(bitmap_load_file(nullptr, "x.bmp"), 0);
  EXPECT_EQ(bitmap_load_memory(&bitmap, nullptr, 100), 0);
  EXPECT_EQ(bitmap.pixels, nullptr);
}

TEST(BitmapFlipRows, TurnsRowsUpsideDown) {
  uint8_t rows[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  ASSERT_EQ(bitmap_flip_rows(rows, 3, 3), 1);
  const uint8_t flipped[9] = {7, 8, 9, 4, 5, 6, 1, 2, 3};
  EXPECT_EQ(std::memcmp(rows, flipped, 9), 0);
  EXPECT_EQ(bitmap_flip_rows(rows, 3, 0), 1);
  EXPECT_EQ(std::memcmp(rows, flipped, 9), 0);
  EXPECT_EQ(bitmap_flip_rows(nullptr, 3, 3), 0);
  EXPECT_EQ(bitmap_flip_rows(rows, -1, 3), 0);
}

}  // namespace
