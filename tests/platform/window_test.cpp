// Window classes, windows and the message queue, with the ordering rules the game's loop relies on.
#include <vector>

#include "platform/window.h"
#include "tests/platform/support.h"

namespace {

struct SEEN {
  WINDOW_TYP* window;
  unsigned message;
  WPARAM wparam;
};
std::vector<SEEN> seen;
LRESULT create_answer = 0;

LRESULT record_proc(WINDOW_TYP* window, unsigned message, WPARAM wparam, LPARAM lparam) {
  seen.push_back({window, message, wparam});
  if (message == WM_CREATE) return create_answer;
  if (message == WM_DESTROY) {
    plat_post_quit_message(3);
    return 0;
  }
  return plat_def_window_proc(window, message, wparam, lparam);
}

class Window : public Headless {
 protected:
  void SetUp() override {
    Headless::SetUp();
    seen.clear();
    create_answer = 0;
    WNDCLASS_TYP wc = {CS_VREDRAW | CS_HREDRAW, record_proc, "WINCLASS1", 1};
    ASSERT_NE(plat_register_class(&wc), 0);
  }
  WINDOW_TYP* make(unsigned style = WS_POPUP) {
    return plat_create_window("WINCLASS1", "Ashfallow", style, 0, 0, 640, 480);
  }
  // Removes one message and dispatches it unless it is the quit; returns the message id or -1.
  long pass() {
    MSG_TYP msg;
    if (!plat_peek_message(&msg, PM_REMOVE)) return -1;
    if (msg.message != WM_QUIT) {
      plat_translate_message(&msg);
      plat_dispatch_message(&msg);
    }
    return msg.message;
  }
};

TEST_F(Window, ClassNamesAreUnique) {
  WNDCLASS_TYP wc = {0, record_proc, "WINCLASS1", 0};
  EXPECT_EQ(plat_register_class(&wc), 0);
  wc.class_name = "OTHER";
  EXPECT_NE(plat_register_class(&wc), 0);
  EXPECT_EQ(plat_register_class(nullptr), 0);
  EXPECT_EQ(plat_create_window("MISSING", "x", 0, 0, 0, 10, 10), nullptr);
}

TEST_F(Window, CreationSendsCreateAndOpensTheBackendWindow) {
  WINDOW_TYP* w = make();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, WM_CREATE);
  EXPECT_EQ(seen[0].window, w);
  EXPECT_STREQ(headless_window_caption(), "Ashfallow");
  EXPECT_EQ(plat_first_window(), w);
  RECT r;
  EXPECT_EQ(plat_get_window_rect(w, &r), 1);
  EXPECT_EQ(r.right, 640);
  EXPECT_EQ(r.bottom, 480);
}

TEST_F(Window, CreateAnsweredWithMinusOneStopsTheCreation) {
  create_answer = -1;
  EXPECT_EQ(make(), nullptr);
  EXPECT_EQ(plat_first_window(), nullptr);
}

TEST_F(Window, OneMessagePerPeekInPostedOrder) {
  WINDOW_TYP* w = make();
  seen.clear();
  MSG_TYP msg;
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);
  plat_post_message(w, 0x400, 1, 0);
  plat_post_message(w, 0x400, 2, 0);
  plat_post_message(w, 0x400, 3, 0);
  // Peeking without removing leaves the message where it is.
  ASSERT_EQ(plat_peek_message(&msg, PM_NOREMOVE), 1);
  EXPECT_EQ(msg.wparam, 1u);
  for (WPARAM expected : {1u, 2u, 3u}) {
    ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
    EXPECT_EQ(msg.wparam, expected);
    EXPECT_EQ(msg.window, w);
  }
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);
}

TEST_F(Window, QuitComesOnlyAfterEveryOtherPostedMessage) {
  WINDOW_TYP* w = make();
  plat_post_message(w, 0x400, 1, 0);
  plat_post_quit_message(7);
  plat_post_message(w, 0x400, 2, 0);
  MSG_TYP msg;
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, 0x400u);
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.wparam, 2u);
  ASSERT_EQ(plat_peek_message(&msg, PM_NOREMOVE), 1);
  EXPECT_EQ(msg.message, WM_QUIT);
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wparam, 7u);
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);
}

TEST_F(Window, PostedDestroyReachesTheProcedureWhichQuits) {
  WINDOW_TYP* w = make();
  seen.clear();
  plat_post_message(w, WM_DESTROY, 0, 0);
  EXPECT_EQ(pass(), long(WM_DESTROY));
  MSG_TYP msg;
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wparam, 3u);
  EXPECT_EQ(plat_first_window(), w);  // a posted WM_DESTROY does not destroy the window
}

TEST_F(Window, CloseDestroysTheWindowAndSendsDestroyAtOnce) {
  WINDOW_TYP* w = make();
  headless_script_close(0);
  seen.clear();
  EXPECT_EQ(pass(), long(WM_CLOSE));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].message, WM_CLOSE);
  EXPECT_EQ(seen[1].message, WM_DESTROY);
  EXPECT_EQ(plat_first_window(), nullptr);
  EXPECT_EQ(plat_destroy_window(w), 0);  // already gone
  EXPECT_EQ(plat_post_message(w, 0x400, 0, 0), 0);
  RECT r;
  EXPECT_EQ(plat_get_window_rect(w, &r), 0);
  EXPECT_EQ(pass(), long(WM_QUIT));
}

TEST_F(Window, MessagesForADestroyedWindowAreDropped) {
  WINDOW_TYP* w = make();
  plat_post_message(w, 0x400, 0, 0);
  EXPECT_EQ(plat_destroy_window(w), 1);
  seen.clear();
  EXPECT_EQ(pass(), long(WM_QUIT));
  EXPECT_TRUE(seen.empty());
}

TEST_F(Window, PaintComesWhenTheQueueIsEmptyUntilValidated) {
  WINDOW_TYP* w = make(WS_POPUP | WS_VISIBLE);  // a window that appears needs a paint
  plat_post_message(w, 0x400, 0, 0);
  MSG_TYP msg;
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, 0x400u);
  // Removing a paint does not validate: it comes back until the window is painted.
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, WM_PAINT);
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, WM_PAINT);
  plat_dispatch_message(&msg);  // the default procedure begins and ends the paint
  EXPECT_EQ(headless_begin_paints(), 1);
  EXPECT_EQ(headless_end_paints(), 1);
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);
  // An exposure makes one more.
  plat_window_invalidate(w);
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, WM_PAINT);
  EXPECT_EQ(plat_begin_paint(w), 1);
  EXPECT_EQ(plat_end_paint(w), 1);
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);
}

TEST_F(Window, CursorCountFollowsShowAndHide) {
  EXPECT_EQ(plat_show_cursor(0), -1);
  EXPECT_EQ(headless_cursor_visible(), 0);
  EXPECT_EQ(plat_show_cursor(0), -2);
  EXPECT_EQ(plat_show_cursor(1), -1);
  EXPECT_EQ(headless_cursor_visible(), 0);
  EXPECT_EQ(plat_show_cursor(1), 0);
  EXPECT_EQ(headless_cursor_visible(), 1);
  EXPECT_EQ(headless_cursor_count(), 0);
}

TEST_F(Window, ScriptedMessagesArriveAtTheirPass) {
  WINDOW_TYP* w = make();
  headless_script_message(2, 0x401, 9, 0);
  headless_script_key(1, 0x39, 1);
  MSG_TYP msg;
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);  // pass 0
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);  // pass 1
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);  // pass 2
  EXPECT_EQ(msg.message, 0x401u);
  EXPECT_EQ(msg.window, w);
  EXPECT_EQ(headless_pass(), 3);
  headless_script_expose(4);
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);  // pass 3
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);  // pass 4
  EXPECT_EQ(msg.message, WM_PAINT);
}

}  // namespace
