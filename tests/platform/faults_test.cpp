// Fault injection: every kind of call fails after the given number of successes, and the
// table is cleared by a reset.
#include "platform/display.h"
#include "platform/keys.h"
#include "platform/text.h"
#include "platform/window.h"
#include "tests/platform/support.h"

namespace {

using Faults = Headless;

LRESULT quiet_proc(WINDOW_TYP*, unsigned, WPARAM, LPARAM) { return 0; }

TEST_F(Faults, CountsSuccessesThenFailsEveryCall) {
  plat_fault_set(CALL_SURFACE_CREATE, 2);
  SURFACE_TYP* a = plat_surface_create(4, 4, 8, 0);
  SURFACE_TYP* b = plat_surface_create(4, 4, 8, 0);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  EXPECT_EQ(plat_surface_create(4, 4, 8, 0), nullptr);
  EXPECT_EQ(plat_surface_create(4, 4, 8, 0), nullptr);
  plat_fault_set(CALL_SURFACE_CREATE, -1);
  SURFACE_TYP* c = plat_surface_create(4, 4, 8, 0);
  EXPECT_NE(c, nullptr);
  plat_fault_set(CALL_SURFACE_LOCK, 0);
  EXPECT_EQ(plat_surface_lock(a, nullptr), nullptr);
  EXPECT_EQ(plat_surface_is_locked(a), 0);
  plat_fault_set(CALL_SURFACE_BLT, 0);
  EXPECT_EQ(plat_surface_blt(a, nullptr, b, nullptr, 0), 0);
  headless_reset();
  EXPECT_NE(plat_surface_lock(a, nullptr), nullptr);
  plat_surface_unlock(a);
  EXPECT_EQ(plat_surface_blt(a, nullptr, b, nullptr, 0), 1);
  for (SURFACE_TYP* s : {a, b, c}) plat_surface_release(s);
  EXPECT_EQ(plat_fault(static_cast<PLAT_CALL>(CALL_COUNT)), 0);  // unknown kinds never fail
}

TEST_F(Faults, EveryKindMakesItsCallFail) {
  char reason[64] = "";
  plat_fault_set(CALL_STARTUP, 0);
  EXPECT_EQ(plat_startup(reason, sizeof reason), 0);
  EXPECT_STRNE(reason, "");

  WNDCLASS_TYP wc = {0, quiet_proc, "FAULTCLASS", 1};
  plat_fault_set(CALL_REGISTER_CLASS, 0);
  EXPECT_EQ(plat_register_class(&wc), 0);
  plat_fault_set(CALL_REGISTER_CLASS, -1);
  ASSERT_NE(plat_register_class(&wc), 0);
  plat_fault_set(CALL_CREATE_WINDOW, 0);
  EXPECT_EQ(plat_create_window("FAULTCLASS", "x", 0, 0, 0, 640, 480), nullptr);
  plat_fault_set(CALL_CREATE_WINDOW, -1);
  WINDOW_TYP* w = plat_create_window("FAULTCLASS", "x", 0, 0, 0, 640, 480);
  ASSERT_NE(w, nullptr);

  plat_fault_set(CALL_SET_MODE, 0);
  EXPECT_EQ(plat_display_set_mode(w, 640, 480, 8, 1), 0);
  plat_fault_set(CALL_SET_MODE, -1);
  ASSERT_EQ(plat_display_set_mode(w, 640, 480, 8, 1), 1);
  plat_fault_set(CALL_CREATE_PRIMARY, 0);
  EXPECT_EQ(plat_display_create_primary(1), nullptr);
  plat_fault_set(CALL_CREATE_PRIMARY, -1);
  SURFACE_TYP* primary = plat_display_create_primary(1);
  ASSERT_NE(primary, nullptr);
  plat_fault_set(CALL_GET_BACK_BUFFER, 0);
  EXPECT_EQ(plat_display_get_back_buffer(primary), nullptr);
  plat_fault_set(CALL_FLIP, 0);
  EXPECT_EQ(plat_display_flip(primary), 0);
  EXPECT_EQ(headless_presents(), 0);

  plat_fault_set(CALL_CLIPPER_CREATE, 0);
  EXPECT_EQ(plat_clipper_create(), nullptr);
  plat_fault_set(CALL_CLIPPER_CREATE, -1);
  CLIPPER_TYP* clipper = plat_clipper_create();
  RECT r = {0, 0, 1, 1};
  plat_fault_set(CALL_CLIPPER_SET_LIST, 0);
  EXPECT_EQ(plat_clipper_set_list(clipper, &r, 1), 0);
  plat_fault_set(CALL_SET_CLIPPER, 0);
  EXPECT_EQ(plat_surface_set_clipper(primary, clipper), 0);
  plat_fault_set(CALL_PALETTE_CREATE, 0);
  EXPECT_EQ(plat_palette_create(nullptr), nullptr);
  plat_fault_set(CALL_PALETTE_CREATE, -1);
  PALETTE_TYP* palette = plat_palette_create(nullptr);
  plat_fault_set(CALL_SET_PALETTE, 0);
  EXPECT_EQ(plat_surface_set_palette(primary, palette), 0);
  plat_fault_set(CALL_TEXT, 0);
  EXPECT_EQ(plat_text_draw(primary, 0, 0, "A", 255, 255, 255), 0);

  plat_fault_set(CALL_INPUT_CREATE, 0);
  EXPECT_EQ(plat_input_create(), 0);
  plat_fault_set(CALL_INPUT_CREATE, -1);
  ASSERT_EQ(plat_input_create(), 1);
  plat_fault_set(CALL_KEYBOARD_CREATE, 0);
  EXPECT_EQ(plat_keyboard_create(), 0);
  plat_fault_set(CALL_KEYBOARD_CREATE, -1);
  ASSERT_EQ(plat_keyboard_create(), 1);
  plat_fault_set(CALL_KEYBOARD_COOPERATIVE, 0);
  EXPECT_EQ(plat_keyboard_set_cooperative_level(w, 0), 0);
  plat_fault_set(CALL_KEYBOARD_FORMAT, 0);
  EXPECT_EQ(plat_keyboard_set_data_format(), 0);
  plat_fault_set(CALL_KEYBOARD_FORMAT, -1);
  ASSERT_EQ(plat_keyboard_set_data_format(), 1);
  plat_fault_set(CALL_KEYBOARD_ACQUIRE, 0);
  EXPECT_EQ(plat_keyboard_acquire(), 0);
  plat_fault_set(CALL_KEYBOARD_ACQUIRE, -1);
  ASSERT_EQ(plat_keyboard_acquire(), 1);
  uint8_t state[256];
  plat_fault_set(CALL_KEYBOARD_STATE, 1);
  EXPECT_EQ(plat_keyboard_get_state(256, state), 1);
  EXPECT_EQ(plat_keyboard_get_state(256, state), 0);

  plat_clipper_release(clipper);
  plat_palette_release(palette);
  plat_surface_release(primary);
}

}  // namespace
