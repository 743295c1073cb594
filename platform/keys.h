// Keyboard: a 256-byte state by scan code (DIK_ numbering; 0x80 when down) read through a
// keyboard device, and "is this key down now" by virtual-key code (VK_ numbering).
#pragma once
#include <cstdint>

struct WINDOW_TYP;

// Scan codes of the keyboard state.
constexpr int DIK_ESCAPE = 0x01;
constexpr int DIK_1 = 0x02;
constexpr int DIK_0 = 0x0B;
constexpr int DIK_TAB = 0x0F;
constexpr int DIK_Q = 0x10;
constexpr int DIK_RETURN = 0x1C;
constexpr int DIK_LCONTROL = 0x1D;
constexpr int DIK_A = 0x1E;
constexpr int DIK_LSHIFT = 0x2A;
constexpr int DIK_Z = 0x2C;
constexpr int DIK_RSHIFT = 0x36;
constexpr int DIK_LMENU = 0x38;
constexpr int DIK_SPACE = 0x39;
constexpr int DIK_F1 = 0x3B;
constexpr int DIK_UP = 0xC8;
constexpr int DIK_LEFT = 0xCB;
constexpr int DIK_RIGHT = 0xCD;
constexpr int DIK_DOWN = 0xD0;

// Virtual-key codes of plat_key_down_now.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;

// The keyboard device's steps, each 1 on success and 0 on failure, in the order a game takes
// them: create the input root, create the keyboard device, set its cooperative level for a
// window, set the 256-byte data format, acquire. Reads fail until the device is acquired.
int plat_input_create();
int plat_keyboard_create();
int plat_keyboard_set_cooperative_level(WINDOW_TYP* window, int flags);
int plat_keyboard_set_data_format();
int plat_keyboard_acquire();
int plat_keyboard_unacquire();
int plat_keyboard_release();
int plat_input_release();

// Copies the current 256-byte state. 1, or 0 (state untouched) when the device is not acquired
// or size is not 256.
int plat_keyboard_get_state(int size, uint8_t* state);

// 1 when the key with this virtual-key code is down now, else 0. Works without the device.
int plat_key_down_now(int vk);

// Which kind of screen the game shows, for the gamepads: 1 on a menu screen (title, controls,
// game over), where a pad's Start stands for Space, 0 during play, where Start alone does
// nothing. The keys themselves mean the same on every screen. 1 until the game says otherwise.
void plat_keys_set_menu_screen(int menu);

// Shared mapping of the two numberings (for backends and tests): the scan code of a virtual
// key, or 0 when there is none.
int plat_vk_to_dik(int vk);
