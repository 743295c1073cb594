// The keyboard state by scan code, the keyboard device steps and "is this key down now". Several
// devices feed the one state (the keyboard and any gamepads): a key is down while any of them
// holds it, and up only when every one has let go.
#include <cstdint>
#include <cstring>

#include "platform/core/backend.h"
#include "platform/core/demo_tap.h"
#include "platform/demo.h"
#include "platform/faults.h"
#include "platform/keys.h"

namespace {

// What the keys are now (0x80: down); a read copies it into the game's own snapshot.
uint8_t held_keys[256] = {};
// Which devices hold each key, one bit per device (bit 0 the keyboard).
uint32_t holders[256] = {};
static_assert(KEY_DEVICES <= 32, "one bit per device");

// Start stands for Space on the pads only while a menu screen is shown; the title is first.
int menu_screen = 1;

struct DEVICE_REC {
  int input;
  int keyboard;
  int cooperative;
  int format;
  int acquired;
};
DEVICE_REC device = {};

// Virtual key -> scan code. A virtual key may have several scan codes (either shift is
// VK_SHIFT); plat_vk_to_dik gives the first.
struct VK_DIK {
  int vk;
  int dik;
};
constexpr VK_DIK vk_map[] = {
    {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C}, {0x0D, 0x9C}, {0x10, 0x2A}, {0x10, 0x36},
    {0x11, 0x1D}, {0x11, 0x9D}, {0x12, 0x38}, {0x12, 0xB8}, {0x13, 0xC5}, {0x14, 0x3A},
    {0x1B, 0x01}, {0x20, 0x39}, {0x21, 0xC9}, {0x22, 0xD1}, {0x23, 0xCF}, {0x24, 0xC7},
    {0x25, 0xCB}, {0x26, 0xC8}, {0x27, 0xCD}, {0x28, 0xD0}, {0x2D, 0xD2}, {0x2E, 0xD3},
    // digits 0-9
    {0x30, 0x0B}, {0x31, 0x02}, {0x32, 0x03}, {0x33, 0x04}, {0x34, 0x05}, {0x35, 0x06},
    {0x36, 0x07}, {0x37, 0x08}, {0x38, 0x09}, {0x39, 0x0A},
    // letters A-Z
    {0x41, 0x1E}, {0x42, 0x30}, {0x43, 0x2E}, {0x44, 0x20}, {0x45, 0x12}, {0x46, 0x21},
    {0x47, 0x22}, {0x48, 0x23}, {0x49, 0x17}, {0x4A, 0x24}, {0x4B, 0x25}, {0x4C, 0x26},
    {0x4D, 0x32}, {0x4E, 0x31}, {0x4F, 0x18}, {0x50, 0x19}, {0x51, 0x10}, {0x52, 0x13},
    {0x53, 0x1F}, {0x54, 0x14}, {0x55, 0x16}, {0x56, 0x2F}, {0x57, 0x11}, {0x58, 0x2D},
    {0x59, 0x15}, {0x5A, 0x2C},
    {0x5B, 0xDB}, {0x5C, 0xDC},
    // numeric keypad
    {0x60, 0x52}, {0x61, 0x4F}, {0x62, 0x50}, {0x63, 0x51}, {0x64, 0x4B}, {0x65, 0x4C},
    {0x66, 0x4D}, {0x67, 0x47}, {0x68, 0x48}, {0x69, 0x49}, {0x6A, 0x37}, {0x6B, 0x4E},
    {0x6D, 0x4A}, {0x6E, 0x53}, {0x6F, 0xB5},
    // F1-F12
    {0x70, 0x3B}, {0x71, 0x3C}, {0x72, 0x3D}, {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40},
    {0x76, 0x41}, {0x77, 0x42}, {0x78, 0x43}, {0x79, 0x44}, {0x7A, 0x57}, {0x7B, 0x58},
    {0x90, 0x45}, {0x91, 0x46},
    // the sided modifiers
    {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x9D}, {0xA4, 0x38}, {0xA5, 0xB8},
    // punctuation
    {0xBA, 0x27}, {0xBB, 0x0D}, {0xBC, 0x33}, {0xBD, 0x0C}, {0xBE, 0x34}, {0xBF, 0x35},
    {0xC0, 0x29}, {0xDB, 0x1A}, {0xDC, 0x2B}, {0xDD, 0x1B}, {0xDE, 0x28},
};

}  // namespace

void plat_keys_set_by(int source, int dik, int down) {
  if (dik < 0 || dik > 255 || source < 0 || source >= KEY_DEVICES) return;
  const uint32_t bit = uint32_t{1} << source;
  holders[dik] = down ? (holders[dik] | bit) : (holders[dik] & ~bit);
  held_keys[dik] = holders[dik] ? 0x80 : 0;
}

void plat_keys_set(int dik, int down) { plat_keys_set_by(KEY_DEVICE_KEYBOARD, dik, down); }

void plat_keys_release_by(int source) {
  for (int dik = 0; dik < 256; ++dik) plat_keys_set_by(source, dik, 0);
}

void plat_keys_release_all() {
  std::memset(held_keys, 0, sizeof held_keys);
  std::memset(holders, 0, sizeof holders);
}

void plat_keys_reset() {
  plat_keys_release_all();
  device = {};
  menu_screen = 1;
}

void plat_keys_set_menu_screen(int menu) { menu_screen = menu ? 1 : 0; }

int plat_keys_menu_screen() { return menu_screen; }

namespace {
int held_down_now(int vk) {
  for (const VK_DIK& m : vk_map)
    if (m.vk == vk && (held_keys[m.dik] & 0x80)) return 1;
  return 0;
}
}  // namespace

int plat_key_down_now(int vk) {
  if (demo_mode == DEMO_REPLAYING) return demo_replay_down();
  const int down = held_down_now(vk);
  demo_record_down(down);
  return down;
}

int plat_demo_live_key(int dik) { return dik >= 0 && dik <= 255 && (held_keys[dik] & 0x80) != 0; }

int plat_vk_to_dik(int vk) {
  for (const VK_DIK& m : vk_map)
    if (m.vk == vk) return m.dik;
  return 0;
}

// Each step needs the one before it: a keyboard needs the input root, acquiring needs the data
// format, and the format cannot change while the device is acquired.
int plat_input_create() {
  if (plat_fault(CALL_INPUT_CREATE)) return 0;
  device.input = 1;
  return 1;
}

int plat_keyboard_create() {
  if (!device.input || plat_fault(CALL_KEYBOARD_CREATE)) return 0;
  device.keyboard = 1;
  return 1;
}

int plat_keyboard_set_cooperative_level(WINDOW_TYP* window, int flags) {
  (void)flags;
  if (!device.keyboard || !window || plat_fault(CALL_KEYBOARD_COOPERATIVE)) return 0;
  device.cooperative = 1;
  return 1;
}

int plat_keyboard_set_data_format() {
  if (!device.keyboard || device.acquired || plat_fault(CALL_KEYBOARD_FORMAT)) return 0;
  device.format = 1;
  return 1;
}

int plat_keyboard_acquire() {
  if (!device.keyboard || !device.format || plat_fault(CALL_KEYBOARD_ACQUIRE)) return 0;
  device.acquired = 1;
  return 1;
}

int plat_keyboard_unacquire() {
  if (!device.keyboard) return 0;
  device.acquired = 0;
  return 1;
}

int plat_keyboard_release() {
  if (!device.keyboard) return 0;
  device.keyboard = device.cooperative = device.format = device.acquired = 0;
  return 1;
}

int plat_input_release() {
  if (!device.input) return 0;
  device.input = 0;
  return 1;
}

int plat_keyboard_get_state(int size, uint8_t* state) {
  if (!device.acquired || size != 256 || !state) return 0;
  if (plat_fault(CALL_KEYBOARD_STATE)) return 0;
  if (demo_mode == DEMO_REPLAYING) {
    demo_replay_state(state);
    return 1;
  }
  std::memcpy(state, held_keys, sizeof held_keys);
  demo_record_state(state);
  return 1;
}
