// The whole program as it stands, on the headless backend: the real entry logic and the real
// game calls, with Escape pressed by script.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/entry.h"
#include "app/game.h"
#include "engine/graphics/clock.h"
#include "engine/graphics/display.h"
#include "platform/headless/headless.h"
#include "platform/faults.h"
#include "platform/keys.h"

namespace {

struct FRAME_LOG_TYP {
  std::vector<int> passes;         // pass of each frame
  std::vector<uint32_t> starts;    // frame clock start of each frame
  std::vector<int> presents;       // presents so far after each frame
  std::vector<int> cleared;        // 1 when the frame shown was all colour 0
  int shutdowns = 0;
};

FRAME_LOG_TYP frame_log;
constexpr int frame_limit = 500;

// Colour 0 is whatever the start-up palette file in the working directory says (black
// without one).
int all_colour_zero(const uint8_t* rgb, int width, int height) {
  PALETTEENTRY zero = {};
  if (!rgb || width <= 0 || !plat_palette_get_entries(display_palette, 0, 1, &zero)) return 0;
  for (long i = 0; i < 1L * width * height; ++i) {
    if (rgb[3 * i] != zero.red || rgb[3 * i + 1] != zero.green || rgb[3 * i + 2] != zero.blue) {
      return 0;
    }
  }
  return 1;
}

// Start-up as the game does it, then both buffers painted with a red entry, so a frame that
// did not clear would show red.
int dirtied_init() {
  if (!game_init()) return 0;
  PALETTEENTRY red = {255, 0, 0, 0};
  PALETTEENTRY zero = {};
  plat_palette_get_entries(display_palette, 0, 1, &zero);
  if (zero.red == 255) red = {0, 255, 0, 0};  // never the same as colour 0
  plat_palette_set_entries(display_palette, 5, 1, &red);
  display_fill_surface(back_surface, 5, nullptr);
  display_fill_surface(primary_surface, 5, nullptr);
  return 1;
}

int watched_main() {
  const int result = game_main();
  frame_log.passes.push_back(headless_pass() - 1);
  frame_log.starts.push_back(clock_start_tick);
  frame_log.presents.push_back(headless_presents());
  int width = 0, height = 0;
  headless_frame_size(&width, &height);
  frame_log.cleared.push_back(all_colour_zero(headless_frame_rgb(-1), width, height));
  if (static_cast<int>(frame_log.passes.size()) == frame_limit) plat_post_quit_message(99);
  return result;
}

int watched_shutdown() {
  ++frame_log.shutdowns;
  return game_shutdown();
}

class ClearScreenGame : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_reset();
    frame_log = FRAME_LOG_TYP{};
    main_window = nullptr;
  }
  void TearDown() override { headless_reset(); }
};

TEST_F(ClearScreenGame, ShowsClearedFramesAt30MsUntilEscapeThenExitsZero) {
  headless_script_key(6, DIK_ESCAPE, 1);
  headless_script_key(8, DIK_ESCAPE, 0);
  const GAME_CALLS_TYP calls = {dirtied_init, watched_main, watched_shutdown};
  EXPECT_EQ(app_run(&calls), 0);

  // The display came up full-screen at 640 x 480, 8 bits.
  const HEADLESS_MODE_TYP mode = headless_last_mode();
  EXPECT_EQ(mode.width, 640);
  EXPECT_EQ(mode.height, 480);
  EXPECT_EQ(mode.bpp, 8);
  EXPECT_EQ(mode.fullscreen, 1);

  ASSERT_GE(frame_log.passes.size(), 8u);
  const size_t frames = frame_log.passes.size();
  for (size_t i = 0; i < frames; ++i) {
    SCOPED_TRACE(i);
    // One present per frame, and what it showed was cleared.
    EXPECT_EQ(frame_log.presents[i], static_cast<int>(i) + 1);
    EXPECT_EQ(frame_log.cleared[i], 1);
    if (i > 0) {
      const uint32_t period = frame_log.starts[i] - frame_log.starts[i - 1];
      EXPECT_GE(period, 30u);
      EXPECT_LE(period, 40u);
    }
  }
  // Escape seen in pass 6: the posted request is handled in a later pass, which still runs
  // its frame, and the run ends soon after Escape goes up.
  EXPECT_GT(frame_log.passes.back(), 6);
  EXPECT_LE(frame_log.passes.back(), 10);
  EXPECT_EQ(frame_log.shutdowns, 1);
  // Shut-down took the display down.
  EXPECT_EQ(primary_surface, nullptr);
  EXPECT_EQ(back_surface, nullptr);
}

TEST_F(ClearScreenGame, HeldEscapeEndsTheRunOnlyAfterItsRequestsAreHandled) {
  // Each frame with Escape down posts one more request; the quit comes once the queue is
  // empty, after the last request. The run must still end, with 0.
  headless_script_key(2, DIK_ESCAPE, 1);
  headless_script_key(40, DIK_ESCAPE, 0);
  const GAME_CALLS_TYP calls = {game_init, watched_main, watched_shutdown};
  EXPECT_EQ(app_run(&calls), 0);
  ASSERT_FALSE(frame_log.passes.empty());
  EXPECT_GE(frame_log.passes.back(), 40);
  EXPECT_LT(frame_log.passes.back(), 45);
  EXPECT_EQ(frame_log.shutdowns, 1);
}

TEST_F(ClearScreenGame, NoDisplayModeMeansNoFramesAndAFailingExit) {
  plat_fault_set(CALL_SET_MODE, 0);
  testing::internal::CaptureStderr();
  const GAME_CALLS_TYP calls = {game_init, watched_main, watched_shutdown};
  const int exit_code = app_run(&calls);
  testing::internal::GetCapturedStderr();
  EXPECT_NE(exit_code, 0);
  EXPECT_TRUE(frame_log.passes.empty());
  EXPECT_EQ(headless_presents(), 0);
  EXPECT_EQ(frame_log.shutdowns, 1);
}

}  // namespace
