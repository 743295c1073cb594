// Text on surfaces: colours as COLORREF values and palette indices, the nearest palette entry on
// 8-bit surfaces, and refusals.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/graphics/display.h"
#include "engine/graphics/palette.h"
#include "engine/graphics/text.h"
#include "tests/graphics/bob_surface_helpers.h"
#include "tests/support/display_fixture.h"

namespace {

class TextOnDisplay : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    if (HasFatalFailure()) return;
    PALETTEENTRY palette[256] = {};
    palette[1] = {250, 10, 10, 0};
    palette[2] = {10, 250, 10, 0};
    palette[5] = {255, 0, 0, 0};
    palette[9] = {32, 32, 32, 0};
    palette[200] = {255, 255, 255, 0};
    ASSERT_EQ(palette_set_all(palette), 1);
    ASSERT_EQ(plat_surface_fill(back_surface, nullptr, 200), 1);
  }

  // The palette indices the text left on the back surface (the white background removed).
  std::set<int> inks() {
    std::set<int> out;
    for (uint8_t v : surface_bytes(back_surface))
      if (v != 200) out.insert(v);
    return out;
  }
};

TEST(TextColor, ColorrefHoldsRedLowGreenNextBlueThird) {
  EXPECT_EQ(RGB(255, 0, 0), 0xFFu);
  EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
  EXPECT_EQ(RGB(32, 32, 32), 0x202020u);
}

TEST_F(TextOnDisplay, ColourBecomesTheNearestPaletteEntry) {
  ASSERT_EQ(text_draw_gdi("SCORE 250", 10, 10, RGB(200, 60, 60), back_surface), 1);
  EXPECT_EQ(inks(), std::set<int>{1});
  ASSERT_EQ(text_draw_gdi("YOU", 100, 10, RGB(0, 200, 0), back_surface), 1);
  EXPECT_EQ(inks(), (std::set<int>{1, 2}));
  ASSERT_EQ(text_draw_gdi("YOU", 100, 100, RGB(32, 32, 32), back_surface), 1);
  EXPECT_EQ(inks(), (std::set<int>{1, 2, 9}));
}

TEST_F(TextOnDisplay, IndexDrawsInThatEntrysColour) {
  ASSERT_EQ(text_draw_gdi("HEALTH 100", 40, 30, RGB(255, 0, 0), back_surface), 1);
  const std::vector<uint8_t> by_colour = surface_bytes(back_surface);
  ASSERT_EQ(inks(), std::set<int>{5});
  ASSERT_EQ(plat_surface_fill(back_surface, nullptr, 200), 1);
  ASSERT_EQ(text_draw_gdi_index("HEALTH 100", 40, 30, 5, back_surface), 1);
  EXPECT_EQ(surface_bytes(back_surface), by_colour);
}

TEST_F(TextOnDisplay, IndexColourComesFromTheShadowNotTheShownPalette) {
  // Blinking changes the shown entry 5 to green and leaves the engine's copy red: the text is
  // still asked for red, which the shown palette now holds nearest at entry 1.
  for (int id = 0; id < 256; ++id) palette_blink(BLINK_DELETE, nullptr, id);
  BLINK_TYP blink{};
  blink.color_index = 5;
  blink.off_color = {0, 250, 0, 0};
  blink.on_color = blink.off_color;
  blink.on_time = blink.off_time = 1000;
  const int slot = palette_blink(BLINK_ADD, &blink, 0);
  ASSERT_GE(slot, 0);
  ASSERT_EQ(palette_shadow[5].red, 255);
  ASSERT_EQ(text_draw_gdi_index("HEALTH", 40, 30, 5, back_surface), 1);
  EXPECT_EQ(inks(), std::set<int>{1});
  palette_blink(BLINK_DELETE, nullptr, slot);
}

TEST_F(TextOnDisplay, TextSitsAtItsTopLeftWithATransparentBackground) {
  ASSERT_EQ(text_draw_gdi("W", 300, 200, RGB(255, 0, 0), back_surface), 1);
  const std::vector<uint8_t> screen = surface_bytes(back_surface);
  int min_x = 640, min_y = 480, max_y = -1, ink = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (screen[size_t(y) * 640 + x] != 200) {
        ++ink;
        min_x = std::min(min_x, x);
        min_y = std::min(min_y, y);
        max_y = std::max(max_y, y);
      }
  ASSERT_GT(ink, 10);
  EXPECT_GE(min_x, 300);
  EXPECT_LT(min_x, 304);
  EXPECT_GE(min_y, 200);
  EXPECT_LT(max_y, 216);  // within one 16-pixel line
}

TEST_F(TextOnDisplay, RefusedWhileLockedAndForBadArguments) {
  ASSERT_EQ(text_draw_gdi("", 10, 10, 0, back_surface), 1);
  ASSERT_NE(display_lock_back(), nullptr);
  EXPECT_EQ(text_draw_gdi("SCORE", 10, 10, 0, back_surface), 0);
  EXPECT_EQ(text_draw_gdi_index("SCORE", 10, 10, 5, back_surface), 0);
  display_unlock_back();
  EXPECT_EQ(text_draw_gdi_index("SCORE", 10, 10, 256, back_surface), 0);
  EXPECT_EQ(text_draw_gdi_index("SCORE", 10, 10, -1, back_surface), 0);
  EXPECT_EQ(text_draw_gdi(nullptr, 10, 10, 0, back_surface), 0);
  EXPECT_EQ(text_draw_gdi("SCORE", 10, 10, 0, nullptr), 0);
  EXPECT_TRUE(inks().empty());
  // Text running off the surface is cut, not refused.
  EXPECT_EQ(text_draw_gdi("GAME OVER", 620, 470, RGB(255, 0, 0), back_surface), 1);
  EXPECT_EQ(text_draw_gdi("GAME OVER", -30, -8, RGB(255, 0, 0), back_surface), 1);
  EXPECT_EQ(inks(), std::set<int>{5});
}

}  // namespace
