// The keyboard state, the virtual-key view of it and the device steps.
#include "platform/keys.h"
#include "platform/window.h"
#include "tests/platform/support.h"

namespace {

using Keys = Headless;

LRESULT quiet_proc(WINDOW_TYP*, unsigned, WPARAM, LPARAM) { return 0; }

// Brings the device up to acquired; returns the window it belongs to.
WINDOW_TYP* acquired_keyboard() {
  WNDCLASS_TYP wc = {0, quiet_proc, "KEYS", 0};
  plat_register_class(&wc);
  WINDOW_TYP* w = plat_create_window("KEYS", "k", 0, 0, 0, 64, 64);
  EXPECT_EQ(plat_input_create(), 1);
  EXPECT_EQ(plat_keyboard_create(), 1);
  EXPECT_EQ(plat_keyboard_set_cooperative_level(w, 0), 1);
  EXPECT_EQ(plat_keyboard_set_data_format(), 1);
  EXPECT_EQ(plat_keyboard_acquire(), 1);
  return w;
}

TEST_F(Keys, StateHoldsDownKeysByScanCode) {
  acquired_keyboard();
  headless_key(DIK_LEFT, 1);
  headless_key(DIK_SPACE, 1);
  uint8_t state[256];
  ASSERT_EQ(plat_keyboard_get_state(256, state), 1);
  for (int i = 0; i < 256; ++i)
    EXPECT_EQ(state[i], (i == DIK_LEFT || i == DIK_SPACE) ? 0x80 : 0) << i;
  headless_key(DIK_SPACE, 0);
  plat_keyboard_get_state(256, state);
  EXPECT_EQ(state[DIK_SPACE], 0);
  EXPECT_EQ(state[DIK_LEFT], 0x80);
  headless_key(-1, 1);  // out-of-range codes are ignored
  headless_key(256, 1);
  plat_keys_release_all();
  plat_keyboard_get_state(256, state);
  EXPECT_EQ(state[DIK_LEFT], 0);
}

TEST_F(Keys, ReadsNeedAnAcquiredDeviceAndTheWholeState) {
  uint8_t state[256];
  std::memset(state, 0xAA, sizeof state);
  EXPECT_EQ(plat_keyboard_get_state(256, state), 0);
  EXPECT_EQ(plat_keyboard_create(), 0);  // no input root yet
  acquired_keyboard();
  EXPECT_EQ(plat_keyboard_get_state(255, state), 0);
  EXPECT_EQ(state[0], 0xAA);  // untouched on failure
  EXPECT_EQ(plat_keyboard_unacquire(), 1);
  EXPECT_EQ(plat_keyboard_get_state(256, state), 0);
  EXPECT_EQ(plat_keyboard_acquire(), 1);
  EXPECT_EQ(plat_keyboard_get_state(256, state), 1);
  EXPECT_EQ(plat_keyboard_release(), 1);
  EXPECT_EQ(plat_keyboard_get_state(256, state), 0);
  EXPECT_EQ(plat_keyboard_acquire(), 0);
  EXPECT_EQ(plat_input_release(), 1);
  EXPECT_EQ(plat_input_release(), 0);
}

TEST_F(Keys, VirtualKeysFollowTheScanCodes) {
  EXPECT_EQ(plat_key_down_now(VK_SHIFT), 0);
  headless_key(DIK_RSHIFT, 1);
  EXPECT_EQ(plat_key_down_now(VK_SHIFT), 1);  // either shift
  EXPECT_EQ(plat_key_down_now(VK_RSHIFT), 1);
  EXPECT_EQ(plat_key_down_now(VK_LSHIFT), 0);
  headless_key(DIK_RSHIFT, 0);
  headless_key(DIK_LSHIFT, 1);
  EXPECT_EQ(plat_key_down_now(VK_SHIFT), 1);
  EXPECT_EQ(plat_key_down_now(VK_LSHIFT), 1);
  const struct {
    int vk, dik;
  } pairs[] = {{VK_ESCAPE, DIK_ESCAPE}, {VK_SPACE, DIK_SPACE}, {VK_LEFT, DIK_LEFT},
               {VK_RIGHT, DIK_RIGHT},   {VK_UP, DIK_UP},       {VK_DOWN, DIK_DOWN},
               {VK_RETURN, DIK_RETURN}, {VK_TAB, DIK_TAB},     {'A', DIK_A},
               {'Q', DIK_Q},            {'Z', DIK_Z},          {'1', DIK_1},
               {'0', DIK_0},            {0x70, DIK_F1},        {VK_MENU, DIK_LMENU},
               {VK_CONTROL, DIK_LCONTROL}};
  for (const auto& p : pairs) {
    EXPECT_EQ(plat_vk_to_dik(p.vk), p.dik) << p.vk;
    EXPECT_EQ(plat_key_down_now(p.vk), 0) << p.vk;
    headless_key(p.dik, 1);
    EXPECT_EQ(plat_key_down_now(p.vk), 1) << p.vk;
    headless_key(p.dik, 0);
  }
  EXPECT_EQ(plat_vk_to_dik(0xFF), 0);
  // Works without any device, and a release of all keys clears it.
  headless_key(DIK_UP, 1);
  plat_keys_release_all();
  EXPECT_EQ(plat_key_down_now(VK_UP), 0);
}

// Two devices on one key, let go in either order: the key is up only after the last release,
// and a device letting go of everything leaves the other device's keys alone.
struct SharedKeyCase {
  const char* name;
  int first_up;   // the device that lets go first
  int second_up;
};

class KeysShared : public Headless, public ::testing::WithParamInterface<SharedKeyCase> {};

TEST_P(KeysShared, AKeyIsUpOnlyWhenEveryDeviceHasLetGo) {
  const int pad = 3;
  plat_keys_set(DIK_SPACE, 1);
  plat_keys_set_by(pad, DIK_SPACE, 1);
  plat_keys_set_by(pad, DIK_SPACE, 1);  // a second press of a held key counts once
  plat_keys_set_by(pad, DIK_LEFT, 1);
  EXPECT_EQ(plat_key_down_now(VK_SPACE), 1);
  plat_keys_set_by(GetParam().first_up, DIK_SPACE, 0);
  EXPECT_EQ(plat_key_down_now(VK_SPACE), 1) << "one device still holds it";
  plat_keys_set_by(GetParam().second_up, DIK_SPACE, 0);
  EXPECT_EQ(plat_key_down_now(VK_SPACE), 0);
  EXPECT_EQ(plat_key_down_now(VK_LEFT), 1);

  plat_keys_set(DIK_LEFT, 1);
  plat_keys_set(DIK_UP, 1);
  plat_keys_release_by(pad);
  EXPECT_EQ(plat_key_down_now(VK_LEFT), 1) << "the keyboard holds it too";
  EXPECT_EQ(plat_key_down_now(VK_UP), 1);
  plat_keys_set_by(pad, DIK_DOWN, 1);
  plat_keys_release_by(KEY_DEVICE_KEYBOARD);
  EXPECT_EQ(plat_key_down_now(VK_LEFT), 0);
  EXPECT_EQ(plat_key_down_now(VK_UP), 0);
  EXPECT_EQ(plat_key_down_now(VK_DOWN), 1);
  plat_keys_release_all();
  EXPECT_EQ(plat_key_down_now(VK_DOWN), 0);
  // Devices outside the range change nothing.
  plat_keys_set_by(KEY_DEVICES, DIK_UP, 1);
  plat_keys_set_by(-1, DIK_UP, 1);
  EXPECT_EQ(plat_key_down_now(VK_UP), 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, KeysShared,
                         ::testing::Values(SharedKeyCase{"KeyboardFirst", KEY_DEVICE_KEYBOARD, 3},
                                           SharedKeyCase{"PadFirst", 3, KEY_DEVICE_KEYBOARD}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Keys, ScriptedKeysChangeAtTheirPass) {
  headless_script_key(0, DIK_ESCAPE, 1);
  headless_script_key(2, DIK_ESCAPE, 0);
  MSG_TYP msg;
  plat_peek_message(&msg, PM_REMOVE);
  EXPECT_EQ(plat_key_down_now(VK_ESCAPE), 1);
  plat_peek_message(&msg, PM_REMOVE);
  EXPECT_EQ(plat_key_down_now(VK_ESCAPE), 1);
  plat_peek_message(&msg, PM_REMOVE);
  EXPECT_EQ(plat_key_down_now(VK_ESCAPE), 0);
}

}  // namespace
