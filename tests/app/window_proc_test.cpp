// The window procedure's answers, message by message.
#include <gtest/gtest.h>

#include "app/window_proc.h"
#include "platform/core/backend.h"
#include "platform/headless/headless.h"

namespace {

class WindowProc : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_reset();
    WNDCLASS_TYP window_class = {0, window_proc, "WINDOWPROCTEST", 1};
    ASSERT_NE(plat_register_class(&window_class), 0);
    // Hidden, so that no first paint is queued behind the messages under test.
    window = plat_create_window("WINDOWPROCTEST", "test", WS_POPUP, 0, 0, 640, 480);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override { headless_reset(); }

  int next_message(MSG_TYP* msg) { return plat_peek_message(msg, PM_REMOVE); }

  WINDOW_TYP* window = nullptr;
};

TEST_F(WindowProc, CreateAnswersZeroAndPostsNothing) {
  EXPECT_EQ(window_proc(window, WM_CREATE, 0, 0), 0);
  MSG_TYP msg = {};
  EXPECT_EQ(next_message(&msg), 0);
}

TEST_F(WindowProc, DestroyPostsQuitWithCodeZero) {
  EXPECT_EQ(window_proc(window, WM_DESTROY, 0, 0), 0);
  MSG_TYP msg = {};
  ASSERT_EQ(next_message(&msg), 1);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wparam, 0u);
}

TEST_F(WindowProc, PaintBeginsAndEndsAtOnceAndDrawsNothing) {
  plat_window_invalidate(window);
  EXPECT_EQ(window_proc(window, WM_PAINT, 0, 0), 0);
  EXPECT_EQ(headless_begin_paints(), 1);
  EXPECT_EQ(headless_end_paints(), 1);
  EXPECT_EQ(headless_presents(), 0);
  // Validated: the damage makes no further WM_PAINT.
  MSG_TYP msg = {};
  EXPECT_EQ(next_message(&msg), 0);
}

TEST_F(WindowProc, OtherMessagesGoToTheDefaultProcedure) {
  // The default procedure destroys a window asked to close, which ends the game.
  EXPECT_EQ(window_proc(window, WM_CLOSE, 0, 0), plat_def_window_proc(nullptr, WM_NULL, 0, 0));
  RECT rect;
  EXPECT_EQ(plat_get_window_rect(window, &rect), 0);
  MSG_TYP msg = {};
  ASSERT_EQ(next_message(&msg), 1);
  EXPECT_EQ(msg.message, WM_QUIT);
}

}  // namespace
