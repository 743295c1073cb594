// The display palette and its shadow: whole-palette and single-entry changes, rotation and the
// blink table's timeline.
#include <gtest/gtest.h>

#include "engine/graphics/display.h"
#include "engine/graphics/palette.h"
#include "tests/support/display_fixture.h"

namespace {

bool same_entry(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.flags == b.flags;
}

PALETTEENTRY shown(int index) {
  PALETTEENTRY e{};
  plat_palette_get_entries(display_palette, index, 1, &e);
  return e;
}

class PaletteOnDisplay : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    if (HasFatalFailure()) return;
    // The blink table is process-wide: start every test with all slots free.
    for (int id = 0; id < 256; ++id) palette_blink(BLINK_DELETE, nullptr, id);
    for (int i = 0; i < 256; ++i) start[i] = {uint8_t(i), uint8_t(i / 2), uint8_t(255 - i), 0};
    ASSERT_EQ(palette_set_all(start), 1);
  }
  PALETTEENTRY start[256];
};

TEST_F(PaletteOnDisplay, SetAllSaveAndEntriesKeepShadowAndDisplayInStep) {
  for (int i = 0; i < 256; ++i) {
    ASSERT_TRUE(same_entry(palette_shadow[i], start[i])) << i;
    ASSERT_TRUE(same_entry(shown(i), start[i])) << i;
  }
  PALETTEENTRY copy[256];
  ASSERT_EQ(palette_save(copy), 1);
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(same_entry(copy[i], start[i]));

  const PALETTEENTRY red = {255, 0, 0, PC_NOCOLLAPSE};
  ASSERT_EQ(palette_set_entry(200, &red), 1);
  EXPECT_TRUE(same_entry(palette_shadow[200], red));
  EXPECT_TRUE(same_entry(shown(200), red));
  PALETTEENTRY got{};
  ASSERT_EQ(palette_get_entry(200, &got), 1);
  EXPECT_TRUE(same_entry(got, red));

  // Indices outside the palette change nothing.
  EXPECT_EQ(palette_set_entry(256, &red), 0);
  EXPECT_EQ(palette_set_entry(-1, &red), 0);
  EXPECT_EQ(palette_get_entry(256, &got), 0);
  EXPECT_EQ(palette_set_entry(0, nullptr), 0);
  EXPECT_EQ(palette_set_all(nullptr), 0);
  EXPECT_TRUE(same_entry(palette_shadow[0], start[0]));
}

TEST_F(PaletteOnDisplay, RotateMovesEachColourUpAndWrapsTheLast) {
  const PALETTEENTRY a = {1, 1, 1, 0}, b = {2, 2, 2, 0}, c = {3, 3, 3, 0}, d = {4, 4, 4, 0};
  palette_set_entry(10, &a);
  palette_set_entry(11, &b);
  palette_set_entry(12, &c);
  palette_set_entry(13, &d);
  ASSERT_EQ(palette_rotate(10, 13), 1);
  const PALETTEENTRY want[4] = {d, a, b, c};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(same_entry(shown(10 + i), want[i])) << i;
    EXPECT_TRUE(same_entry(palette_shadow[10 + i], want[i])) << i;
  }
  EXPECT_TRUE(same_entry(shown(9), start[9]));
  EXPECT_TRUE(same_entry(shown(14), start[14]));

  ASSERT_EQ(palette_rotate(0, 255), 1);
  EXPECT_TRUE(same_entry(shown(0), start[255]));
  EXPECT_TRUE(same_entry(shown(1), start[0]));

  EXPECT_EQ(palette_rotate(13, 10), 0);
  EXPECT_EQ(palette_rotate(5, 5), 0);
  EXPECT_EQ(palette_rotate(-1, 3), 0);
  EXPECT_EQ(palette_rotate(250, 256), 0);
}

TEST_F(PaletteOnDisplay, BlinkTimeline) {
  BLINK_TYP blink{};
  blink.color_index = 77;
  blink.on_color = {250, 250, 0, 0};
  blink.off_color = {0, 0, 60, 0};
  blink.on_time = 3;
  blink.off_time = 2;
  const int slot = palette_blink(BLINK_ADD, &blink, 0);
  ASSERT_EQ(slot, 0);
  EXPECT_EQ(blink_table[0].phase, -1);
  EXPECT_TRUE(same_entry(shown(77), blink.off_color));  // at once

  // On at the 2nd run, off at the 5th, on at the 7th.
  std::string timeline;
  for (int run = 1; run <= 10; ++run) {
    ASSERT_EQ(palette_blink(BLINK_RUN, nullptr, 0), 1);
    timeline += same_entry(shown(77), blink.on_color) ? '1' : '0';
  }
  EXPECT_EQ(timeline, "0111001110");
  // The shadow is left alone.
  EXPECT_TRUE(same_entry(palette_shadow[77], start[77]));

  // Update: new colours and times, shown at once in the current phase (off after 10 runs).
  BLINK_TYP change = blink;
  change.color_index = 5;  // ignored: the slot keeps its entry
  change.on_color = {9, 9, 9, 0};
  change.off_color = {1, 2, 3, 0};
  change.off_time = 1;
  ASSERT_EQ(palette_blink(BLINK_UPDATE, &change, slot), slot);
  EXPECT_TRUE(same_entry(shown(77), change.off_color));
  EXPECT_EQ(blink_table[slot].color_index, 77);
  palette_blink(BLINK_RUN, nullptr, 0);
  EXPECT_TRUE(same_entry(shown(77), change.on_color));

  // Delete keeps the colour that is showing.
  ASSERT_EQ(palette_blink(BLINK_DELETE, nullptr, slot), slot);
  for (int run = 0; run < 5; ++run) palette_blink(BLINK_RUN, nullptr, 0);
  EXPECT_TRUE(same_entry(shown(77), change.on_color));
  EXPECT_EQ(palette_blink(BLINK_DELETE, nullptr, slot), -1);
  EXPECT_EQ(palette_blink(BLINK_UPDATE, &change, slot), -1);
  EXPECT_EQ(palette_blink(42, nullptr, 0), 1);
}

TEST_F(PaletteOnDisplay, BlinkSlotsBeyondTheTableAreRefused) {
  BLINK_TYP blink{};
  blink.color_index = 3;
  blink.on_time = blink.off_time = 1;
  for (int i = 0; i < 256; ++i) ASSERT_EQ(palette_blink(BLINK_ADD, &blink, 0), i);
  // A full table says so with -1, which no slot number can be.
  EXPECT_EQ(palette_blink(BLINK_ADD, &blink, 0), -1);
  EXPECT_EQ(palette_blink(BLINK_DELETE, nullptr, 256), -1);
  EXPECT_EQ(palette_blink(BLINK_DELETE, nullptr, -1), -1);
  EXPECT_EQ(palette_blink(BLINK_UPDATE, &blink, 1000), -1);
  EXPECT_EQ(palette_blink(BLINK_UPDATE, nullptr, 3), -1);
  blink.color_index = 256;
  EXPECT_EQ(palette_blink(BLINK_DELETE, nullptr, 9), 9);
  EXPECT_EQ(palette_blink(BLINK_ADD, &blink, 0), -1);  // no such palette entry
  EXPECT_EQ(palette_blink(BLINK_ADD, nullptr, 0), -1);
}

}  // namespace
