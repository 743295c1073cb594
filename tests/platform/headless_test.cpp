// The headless backend's virtual clock and its reset.
#include "platform/ticks.h"
#include "platform/window.h"
#include "tests/platform/support.h"

namespace {

using HeadlessClock = Headless;

TEST_F(HeadlessClock, EachReadAdvancesByTheStep) {
  EXPECT_EQ(plat_get_tick_count(), 0u);
  EXPECT_EQ(plat_get_tick_count(), 1u);
  headless_set_tick_step(0);
  EXPECT_EQ(plat_get_tick_count(), 2u);
  EXPECT_EQ(plat_get_tick_count(), 2u);
  headless_advance(30);
  EXPECT_EQ(headless_ticks(), 32u);
  headless_set_tick_step(5);
  EXPECT_EQ(plat_get_tick_count(), 32u);
  EXPECT_EQ(headless_ticks(), 37u);
}

TEST_F(HeadlessClock, WrapsAtThirtyTwoBits) {
  headless_set_ticks(0xFFFFFFF0u);
  headless_set_tick_step(16);
  EXPECT_EQ(plat_get_tick_count(), 0xFFFFFFF0u);
  EXPECT_EQ(plat_get_tick_count(), 0u);
  headless_advance(0xFFFFFFFFu);
  EXPECT_EQ(plat_get_tick_count(), 15u);
}

TEST_F(HeadlessClock, ABusyWaitEnds) {
  const uint32_t start = plat_get_tick_count();
  int reads = 0;
  while (plat_get_tick_count() - start < 30) ++reads;
  EXPECT_EQ(reads, 29);
}

LRESULT quiet_proc(WINDOW_TYP*, unsigned, WPARAM, LPARAM) { return 0; }

TEST_F(HeadlessClock, ResetForgetsClassesWindowsAndScript) {
  WNDCLASS_TYP wc = {0, quiet_proc, "RESET", 0};
  ASSERT_NE(plat_register_class(&wc), 0);
  WINDOW_TYP* w = plat_create_window("RESET", "r", 0, 0, 0, 8, 8);
  plat_post_message(w, 0x400, 0, 0);
  plat_post_quit_message(0);
  headless_script_close(5);
  headless_set_ticks(99);
  MSG_TYP msg;
  plat_peek_message(&msg, PM_NOREMOVE);
  headless_reset();
  EXPECT_EQ(headless_ticks(), 0u);
  EXPECT_EQ(headless_pass(), 0);
  EXPECT_EQ(plat_first_window(), nullptr);
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);
  EXPECT_NE(plat_register_class(&wc), 0);  // the name is free again
}

}  // namespace
