// Palette files: the text format written and read back, and what short, junk-filled and
// out-of-range files do to a palette.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/graphics/palette.h"
#include "platform/refusal.h"
#include "tests/graphics/bitmap_files.h"

namespace {

std::vector<uint8_t> text_bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// A palette whose every entry is distinct and not what any file below writes.
void fill_marked(PALETTEENTRY* palette) {
  for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i ^ 0x5A), uint8_t(i & 7)};
}

bool same_entry(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.flags == b.flags;
}

TEST(PaletteFile, SavedFileLoadsBackTheSameEntries) {
  PALETTEENTRY saved[256], loaded[256] = {};
  fill_marked(saved);
  saved[255] = {255, 255, 255, 255};
  const std::string path = bmp_temp_path("round.pal");
  ASSERT_EQ(palette_file_save(path.c_str(), saved), 1);
  ASSERT_EQ(palette_file_load(path.c_str(), loaded), 1);
  for (int i = 0; i < 256; ++i) EXPECT_TRUE(same_entry(saved[i], loaded[i])) << i;

  // Each entry on its own line after a leading line break, no break after the last.
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string s = text.str();
  EXPECT_EQ(s.substr(0, 13), "\n0 255 90 0\n1");
  EXPECT_EQ(s.substr(s.size() - 16), "\n255 255 255 255");
  EXPECT_NE(s.back(), '\n');
  std::remove(path.c_str());
}

TEST(PaletteFile, NumbersKeepTheirLowEightBits) {
  PALETTEENTRY palette[256];
  fill_marked(palette);
  BmpTempFile file("wide.pal", text_bytes("300 -1 256 511\n99999999999 -300 +7 0"));
  ASSERT_EQ(palette_file_load(file.c_str(), palette), 1);
  EXPECT_EQ(palette[0].red, 44);
  EXPECT_EQ(palette[0].green, 255);
  EXPECT_EQ(palette[0].blue, 0);
  EXPECT_EQ(palette[0].flags, 255);
  EXPECT_EQ(palette[1].red, uint8_t(99999999999LL % 256));
  EXPECT_EQ(palette[1].green, uint8_t(-300 & 0xFF));
  EXPECT_EQ(palette[1].blue, 7);
  EXPECT_EQ(palette[1].flags, 0);
}

TEST(PaletteFile, ShortFileChangesOnlyWhatItHolds) {
  PALETTEENTRY palette[256], before[256];
  fill_marked(palette);
  fill_marked(before);
  std::string text;
  for (int i = 0; i < 10; ++i) text += std::to_string(i + 100) + "\t" + std::to_string(i) + "\r\n 7\n\n8 ";
  BmpTempFile file("ten.pal", text_bytes(text));
  ASSERT_EQ(palette_file_load(file.c_str(), palette), 1);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(palette[i].red, 100 + i);
    EXPECT_EQ(palette[i].green, i);
    EXPECT_EQ(palette[i].blue, 7);
    EXPECT_EQ(palette[i].flags, 8);
  }
  for (int i = 10; i < 256; ++i) EXPECT_TRUE(same_entry(palette[i], before[i])) << i;
}

TEST(PaletteFile, ReadingStopsWhereTheNumbersStop) {
  PALETTEENTRY palette[256], before[256];
  fill_marked(palette);
  fill_marked(before);
  // Entry 1 gets its red and green; "x" ends the reading, so the numbers after it are not used.
  BmpTempFile file("junk.pal", text_bytes("1 2 3 4\n5 6 x 8\n9 9 9 9\n"));
  ASSERT_EQ(palette_file_load(file.c_str(), palette), 1);
  EXPECT_TRUE(same_entry(palette[0], PALETTEENTRY{1, 2, 3, 4}));
  EXPECT_EQ(palette[1].red, 5);
  EXPECT_EQ(palette[1].green, 6);
  EXPECT_EQ(palette[1].blue, before[1].blue);
  EXPECT_EQ(palette[1].flags, before[1].flags);
  for (int i = 2; i < 256; ++i) EXPECT_TRUE(same_entry(palette[i], before[i])) << i;

  // An empty file reads nothing.
  fill_marked(palette);
  BmpTempFile empty("empty.pal", {});
  ASSERT_EQ(palette_file_load(empty.c_str(), palette), 1);
  for (int i = 0; i < 256; ++i) EXPECT_TRUE(same_entry(palette[i], before[i])) << i;
}

TEST(PaletteFile, EachEntryIsReadAfreshFromWhereTheLastStopped) {
  PALETTEENTRY palette[256], before[256];
  fill_marked(before);
  // A sign with no digits spoils its entry but is used up, so the next entry reads on; a letter
  // is not used up and stops every entry after it. Each case: file, then entries 0 to 2.
  const struct {
    const char* text;
    PALETTEENTRY want[3];
  } cases[] = {
      {"- 1 2 3 4", {before[0], {1, 2, 3, 4}, before[2]}},
      {"+-5 6 7 8", {before[0], {251, 6, 7, 8}, before[2]}},
      {"7 8 9 10 - 11 12 13 14", {{7, 8, 9, 10}, before[1], {11, 12, 13, 14}}},
      {"1 2 - 3 4 5 6", {{1, 2, before[0].blue, before[0].flags}, {3, 4, 5, 6}, before[2]}},
      {"1 2 3 4 5 6 x 8 9 9 9 9", {{1, 2, 3, 4}, {5, 6, before[1].blue, before[1].flags}, before[2]}},
  };
  for (const auto& c : cases) {
    fill_marked(palette);
    BmpTempFile file("fresh.pal", text_bytes(c.text));
    ASSERT_EQ(palette_file_load(file.c_str(), palette), 1);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(same_entry(palette[i], c.want[i])) << '"' << c.text << "\" entry " << i;
    for (int i = 3; i < 256; ++i) ASSERT_TRUE(same_entry(palette[i], before[i])) << c.text << " entry " << i;
  }
}

// A palette that falls short still loads as far as it goes, and the loader notes where it
// stopped: at the end of the file or at something that is not a number.
TEST(PaletteFile, WhereAShortOrSpoiledFileStopsIsNoted) {
  std::string full;
  for (int i = 0; i < 256; ++i) full += "\n" + std::to_string(i) + " 1 2 0";
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "1 2 3 4\n";
  const struct {
    std::string text;
    const char* said;  // null: nothing noted
  } cases[] = {
      {full, nullptr},
      {full + "\nnot numbers", nullptr},
      {ten, "cut short (expected 256 colours, found 10)"},
      {ten + "5 6", "cut short (expected 256 colours, found 10)"},
      {"", "cut short (expected 256 colours, found 0)"},
      {"1 2 3 4\n5 6 x 8\n9 9 9 9\n", "not a palette the game can read (no number at colour 2 of 256)"},
      {"- 1 2 3 4", "not a palette the game can read (no number at colour 1 of 256)"},
      {"BM6\x0c\x01", "not a palette the game can read (no number at colour 1 of 256)"},
  };
  for (const auto& c : cases) {
    PALETTEENTRY palette[256];
    BmpTempFile file("noted.pal", text_bytes(c.text));
    plat_refusal_clear();
    ASSERT_EQ(palette_file_load(file.c_str(), palette), 1);
    const char* said = plat_refusal_take();
    EXPECT_STREQ(said ? said : "nothing", c.said ? c.said : "nothing") << c.text.substr(0, 40);
  }
}

TEST(PaletteFile, FilesThatCannotBeOpenedOrMade) {
  PALETTEENTRY palette[256], before[256];
  fill_marked(palette);
  fill_marked(before);
  EXPECT_EQ(palette_file_load(bmp_temp_path("missing.pal").c_str(), palette), 0);
  for (int i = 0; i < 256; ++i) EXPECT_TRUE(same_entry(palette[i], before[i]));
  EXPECT_EQ(palette_file_save((bmp_temp_path("no-such-folder") + "/x.pal").c_str(), palette), 0);
  EXPECT_EQ(palette_file_load(nullptr, palette), 0);
  EXPECT_EQ(palette_file_save(nullptr, palette), 0);
}

}  // namespace
