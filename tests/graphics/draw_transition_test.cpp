// Screen transitions on the headless display and its virtual clock: palette fades and tints,
// closing wipes and the dissolve, with their step counts measured on the clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

#include "engine/graphics/transition.h"
#include "engine/graphics/palette.h"
#include "platform/headless/headless.h"
#include "tests/support/canvas.h"
#include "tests/support/display_fixture.h"

namespace {

class DrawTransition : public DisplayFixture {
 protected:
  // Virtual milliseconds one run of the effect takes (the clock advances on each read).
  uint32_t run(int effect, uint8_t* memory, int pitch) {
    const uint32_t before = headless_ticks();
    screen_transition(effect, memory, pitch);
    return headless_ticks() - before;
  }

  void set_palette(const PALETTEENTRY& first, const PALETTEENTRY& rest) {
    PALETTEENTRY p[256];
    p[0] = first;
    for (int i = 1; i < 256; ++i) p[i] = rest;
    ASSERT_EQ(palette_set_all(p), 1);
  }

  // The palette as the display holds it, checked against the engine's copy.
  void current(PALETTEENTRY out[256]) {
    ASSERT_EQ(palette_save(out), 1);
    PALETTEENTRY shown[256];
    ASSERT_EQ(plat_palette_get_entries(display_palette, 0, 256, shown), 1);
    for (int i = 0; i < 256; ++i) {
      ASSERT_EQ(shown[i].red, out[i].red) << i;
      ASSERT_EQ(shown[i].green, out[i].green) << i;
      ASSERT_EQ(shown[i].blue, out[i].blue) << i;
    }
  }

  uint8_t* no_memory = nullptr;  // the palette effects never touch memory
};

void expect_entry(const PALETTEENTRY& e, int red, int green, int blue, int flags) {
  EXPECT_EQ(e.red, red);
  EXPECT_EQ(e.green, green);
  EXPECT_EQ(e.blue, blue);
  EXPECT_EQ(e.flags, flags);
}

TEST_F(DrawTransition, FadeBlackSparesEntryZeroAndEndsBlack) {
  PALETTEENTRY p[256];
  for (int i = 0; i < 256; ++i) p[i] = {static_cast<uint8_t>(i), 100, 241, PC_EXPLICIT};
  p[0] = {200, 100, 50, 0};
  p[7] = {255, 242, 5, PC_NOCOLLAPSE};
  ASSERT_EQ(palette_set_all(p), 1);
  run(TRANSITION_FADE_BLACK, no_memory, 0);
  PALETTEENTRY out[256];
  current(out);
  expect_entry(out[0], 200, 100, 50, 0);
  // Eighty steps of 3 would leave 255 at 15 and 242 at 2; the fade still ends black.
  expect_entry(out[7], 0, 0, 0, PC_NOCOLLAPSE);
  for (int i = 1; i < 256; ++i) {
    if (i == 7) continue;
    expect_entry(out[i], 0, 0, 0, PC_EXPLICIT);
  }
}

TEST_F(DrawTransition, FadeWhiteAndTintsChangeEveryEntry) {
  set_palette({0, 1, 2, 0}, {3, 128, 252, 0});
  run(TRANSITION_FADE_WHITE, no_memory, 0);
  PALETTEENTRY out[256];
  current(out);
  expect_entry(out[0], 255, 255, 255, 0);
  expect_entry(out[200], 255, 255, 255, 0);

  // 64 steps: 255 - 64 * 4 floors at 0 (63 steps would leave 3); 0 + 64 * 6 caps at 255.
  set_palette({255, 255, 0, 0}, {255, 10, 100, 0});
  run(TRANSITION_TINT_BLUE, no_memory, 0);
  current(out);
  expect_entry(out[0], 0, 0, 255, 0);
  expect_entry(out[9], 0, 0, 255, 0);

  set_palette({0, 255, 255, 0}, {100, 255, 255, 0});
  run(TRANSITION_TINT_RED, no_memory, 0);
  current(out);
  expect_entry(out[0], 255, 0, 0, 0);
  expect_entry(out[255], 255, 0, 0, 0);

  set_palette({255, 0, 255, 0}, {255, 1, 255, 0});
  run(TRANSITION_TINT_GREEN, no_memory, 0);
  current(out);
  expect_entry(out[0], 0, 255, 0, 0);
  expect_entry(out[128], 0, 255, 0, 0);
}

// One step of each palette effect, by effect number: the whole run ends saturated whatever the
// amounts, so only single steps show them.
PALETTEENTRY stepped(int effect, int step, int index, PALETTEENTRY entry) {
  PALETTEENTRY p[256] = {};
  p[index] = entry;
  EXPECT_EQ(transition_palette_step(effect, step, p), 1);
  return p[index];
}

TEST(DrawTransitionStep, EachPaletteEffectStepsEveryChannelByItsAmount) {
  // 0, fade to black: above 4 loses 3, 4 and below become 0; flags stay.
  expect_entry(stepped(0, 0, 9, {5, 4, 255, PC_EXPLICIT}), 2, 0, 252, PC_EXPLICIT);
  expect_entry(stepped(0, 0, 255, {100, 3, 0, 0}), 97, 0, 0, 0);
  expect_entry(stepped(0, 0, 0, {100, 50, 9, 0}), 100, 50, 9, 0);   // entry 0 is spared
  expect_entry(stepped(0, 78, 1, {100, 50, 9, 0}), 97, 47, 6, 0);   // not yet the last step
  expect_entry(stepped(0, 79, 1, {100, 50, 9, 4}), 0, 0, 0, 4);     // the last step ends black
  expect_entry(stepped(0, 79, 0, {100, 50, 9, 0}), 100, 50, 9, 0);
  // 1, fade to white: every entry, plus 4 capped at 255.
  expect_entry(stepped(1, 0, 0, {0, 251, 252, 0}), 4, 255, 255, 0);
  expect_entry(stepped(1, 63, 255, {10, 20, 30, 0}), 14, 24, 34, 0);
  // 6, blue: red and green minus 4 (floor 0), blue plus 6 (cap 255).
  expect_entry(stepped(6, 0, 0, {10, 20, 30, 0}), 6, 16, 36, 0);
  expect_entry(stepped(6, 0, 77, {3, 4, 250, 0}), 0, 0, 255, 0);
  // 7, red: red plus 6, green and blue minus 4.
  expect_entry(stepped(7, 0, 0, {10, 20, 30, 0}), 16, 16, 26, 0);
  expect_entry(stepped(7, 0, 77, {250, 3, 4, 0}), 255, 0, 0, 0);
  // 8, green: red minus 4, green plus 6, blue minus 4.
  expect_entry(stepped(8, 0, 0, {10, 20, 30, 0}), 6, 26, 26, 0);
  expect_entry(stepped(8, 0, 77, {2, 250, 4, 0}), 0, 255, 0, 0);
}

TEST(DrawTransitionStep, WipesAndUnknownEffectsLeaveThePaletteAlone) {
  for (int effect : {2, 3, 4, 5, 9, -1}) {
    PALETTEENTRY p[256];
    for (int i = 0; i < 256; ++i) p[i] = {static_cast<uint8_t>(i), 7, 200, 0};
    EXPECT_EQ(transition_palette_step(effect, 0, p), 0) << effect;
    for (int i = 0; i < 256; ++i) ASSERT_EQ(p[i].red, i) << effect;
  }
  EXPECT_EQ(transition_palette_step(TRANSITION_FADE_WHITE, 0, nullptr), 0);
}

TEST_F(DrawTransition, StepCountsAndPacingOnTheFrameClock) {
  DisplayGlobalsGuard saved;
  screen_width = 64;
  screen_height = 48;
  set_clip(0, 63, 0, 47);
  Canvas<uint8_t> c(64, 48);
  const uint32_t black = run(TRANSITION_FADE_BLACK, no_memory, 0);
  ASSERT_EQ(black % 80, 0u);
  const uint32_t step = black / 80;
  EXPECT_GE(step, 12u);  // every step waits out 12 ms
  EXPECT_EQ(run(TRANSITION_FADE_WHITE, no_memory, 0), 64 * step);
  EXPECT_EQ(run(TRANSITION_TINT_BLUE, no_memory, 0), 64 * step);
  EXPECT_EQ(run(TRANSITION_TINT_RED, no_memory, 0), 64 * step);
  EXPECT_EQ(run(TRANSITION_TINT_GREEN, no_memory, 0), 64 * step);
  EXPECT_EQ(run(TRANSITION_CLOSE_SIDES, c.memory(), c.pitch()), 64 / 4 * step);
  EXPECT_EQ(run(TRANSITION_CLOSE_TOP_BOTTOM, c.memory(), c.pitch()), 48 / 4 * step);
  EXPECT_EQ(run(TRANSITION_CLOSE_ALL, c.memory(), c.pitch()), 64 / 4 * step);
  EXPECT_EQ(run(TRANSITION_DISSOLVE, c.memory(), c.pitch()), 0u);  // not paced
  EXPECT_EQ(run(9, c.memory(), c.pitch()), 0u);
  EXPECT_EQ(run(-1, c.memory(), c.pitch()), 0u);
}

// Every wipe ends with the whole screen in colour 0 and writes nothing outside it.
template <typename Pixel>
void wipe_covers_the_screen(int effect, int bpp, int width, int height) {
  DisplayGlobalsGuard saved;
  screen_width = width;
  screen_height = height;
  screen_bpp = bpp;
  set_clip(0, width - 1, 0, height - 1);
  Canvas<Pixel> c(width, height);
  screen_transition(effect, c.memory(), c.pitch());
  int zero = 0;
  c.each_written([&](int x, int y) {
    EXPECT_TRUE(x >= 0 && x < width && y >= 0 && y < height) << x << "," << y;
    if (c.at(x, y) == 0) ++zero;
  });
  EXPECT_EQ(zero, width * height) << "effect " << effect;
}

TEST_F(DrawTransition, WipesCloseTheWholeScreenInBothDepths) {
  for (int effect : {TRANSITION_CLOSE_SIDES, TRANSITION_CLOSE_TOP_BOTTOM, TRANSITION_CLOSE_ALL}) {
    wipe_covers_the_screen<uint8_t>(effect, 8, 64, 48);
    wipe_covers_the_screen<uint16_t>(effect, 16, 64, 48);
    // Wider than tall: the closing rows of CLOSE_ALL start over while the columns go on.
    wipe_covers_the_screen<uint8_t>(effect, 8, 64, 16);
  }
}

TEST_F(DrawTransition, WipesDrawThroughTheClippedLines) {
  DisplayGlobalsGuard saved;
  screen_width = 64;
  screen_height = 48;
  screen_bpp = 8;
  set_clip(8, 55, 4, 43);
  Canvas<uint8_t> c(64, 48);
  screen_transition(TRANSITION_CLOSE_ALL, c.memory(), c.pitch());
  c.each_written([&](int x, int y) { EXPECT_TRUE(in_clip(x, y)) << x << "," << y; });
  EXPECT_EQ(c.written(), 48 * 40);
}

TEST_F(DrawTransition, OtherDepthsDrawNothing) {
  DisplayGlobalsGuard saved;
  screen_width = 64;
  screen_height = 48;
  screen_bpp = 24;
  set_clip(0, 63, 0, 47);
  Canvas<uint8_t> c(64, 48);
  for (int effect : {TRANSITION_CLOSE_SIDES, TRANSITION_CLOSE_TOP_BOTTOM, TRANSITION_CLOSE_ALL,
                     TRANSITION_DISSOLVE})
    screen_transition(effect, c.memory(), c.pitch());
  EXPECT_EQ(c.written(), 0);
}

TEST_F(DrawTransition, DissolvePlotsRandomRowThenColumn) {
  DisplayGlobalsGuard saved;
  screen_width = 40;
  screen_height = 24;
  screen_bpp = 8;
  set_clip(0, 39, 0, 23);
  Canvas<uint8_t> c(40, 24);
  srand(4321);
  screen_transition(TRANSITION_DISSOLVE, c.memory(), c.pitch());

  // The same seed, drawn the documented way: 4 x 40 x 24 + 1 points, row first.
  srand(4321);
  std::set<std::pair<int, int>> expected;
  for (int p = 0; p <= 4 * 40 * 24; ++p) {
    const int y = rand() % 24;
    const int x = rand() % 40;
    expected.insert({x, y});
  }
  std::set<std::pair<int, int>> got;
  c.each_written([&](int x, int y) {
    EXPECT_EQ(c.at(x, y), 0);
    got.insert({x, y});
  });
  EXPECT_EQ(got, expected);
  EXPECT_LT(got.size(), 40u * 24u);  // a dissolve, not a fill: some pixels survive it
  EXPECT_GT(got.size(), 40u * 24u * 9 / 10);

  Canvas<uint16_t> c16(40, 24);
  screen_bpp = 16;
  srand(4321);
  screen_transition(TRANSITION_DISSOLVE, c16.memory(), c16.pitch());
  std::set<std::pair<int, int>> got16;
  c16.each_written([&](int x, int y) { got16.insert({x, y}); });
  EXPECT_EQ(got16, expected);
}

}  // namespace
