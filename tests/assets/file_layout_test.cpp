// The bytes of the picture files, read without the engine: the layout the game's loader reads
// strictly in sequence (pixel data straight after a full colour table, packed rows, the image size
// filled in, rows bottom-up).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/assets/asset_files.h"

namespace {

TEST(FileLayout, EveryDataFileIsThere) {
  EXPECT_EQ(DATA_FILES.size(), 22u);
  for (const std::string& name : DATA_FILES) {
    std::error_code error;
    EXPECT_GT(std::filesystem::file_size(data_path(name), error), 0u) << name;
    EXPECT_FALSE(error) << name;
  }
}

TEST(FileLayout, PicturesArePackedEightBitBitmaps) {
  for (const std::string& name : DATA_FILES) {
    if (name.find(".BMP") == std::string::npos && name.find(".bmp") == std::string::npos) continue;
    SCOPED_TRACE(name);
    std::vector<uint8_t> b = read_bytes(data_path(name));
    ASSERT_GE(b.size(), 1078u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 10), 1078u) << "pixel data right after the 256-entry table";
    EXPECT_EQ(le32(b, 14), 40u);
    int32_t width = static_cast<int32_t>(le32(b, 18)), height = static_cast<int32_t>(le32(b, 22));
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0) << "rows stored bottom-up";
    EXPECT_EQ(width % 4, 0) << "rows are read packed, so they must need no padding";
    EXPECT_EQ(le16(b, 28), 8);
    EXPECT_EQ(le32(b, 30), 0u) << "uncompressed";
    EXPECT_EQ(le32(b, 34), static_cast<uint32_t>(width * height)) << "biSizeImage";
    EXPECT_EQ(b.size(), 1078u + static_cast<size_t>(width) * height);
    EXPECT_EQ(le32(b, 2), b.size());
  }
}

// Sheets hold their cells at cx * (w + 1) + 1: the width must reach the last cell the game cuts.
TEST(FileLayout, SheetsAreLargeEnoughForTheCellsCut) {
  struct SHEET {
    const char* name;
    int min_width, min_height;
  };
  const SHEET sheets[] = {
      {"SKELSP0.BMP", 5 * 57 + 1, 2 * 73 + 1}, {"SKELSP8.BMP", 5 * 57 + 1, 73 + 1},
      {"DEDSP0.BMP", 3 * 73 + 1, 2 * 81 + 1},  {"laser.bmp", 2 * 151 + 1, 151 + 1},
  };
  for (const SHEET& s : sheets) {
    LOADED_BITMAP sheet(s.name);
    ASSERT_TRUE(sheet.ok) << s.name;
    EXPECT_GE(sheet.width(), s.min_width) << s.name;
    EXPECT_GE(sheet.height(), s.min_height) << s.name;
  }
}

}  // namespace
