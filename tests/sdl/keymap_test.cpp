// The key map from SDL's scan codes to the keyboard state's numbering: the keys the game reads
// land where the game looks for them, and "down now" (virtual keys) agrees with the state.
#include <gtest/gtest.h>

#include <map>

#include "platform/keys.h"
#include "platform/sdl/sdl_keymap.h"

namespace {

TEST(SdlKeymap, TheGamesKeysLandOnTheirScanCodes) {
  const std::pair<SDL_Scancode, int> keys[] = {
      {SDL_SCANCODE_ESCAPE, DIK_ESCAPE}, {SDL_SCANCODE_1, DIK_1},
      {SDL_SCANCODE_0, DIK_0},           {SDL_SCANCODE_TAB, DIK_TAB},
      {SDL_SCANCODE_Q, DIK_Q},           {SDL_SCANCODE_RETURN, DIK_RETURN},
      {SDL_SCANCODE_LCTRL, DIK_LCONTROL}, {SDL_SCANCODE_A, DIK_A},
      {SDL_SCANCODE_LSHIFT, DIK_LSHIFT}, {SDL_SCANCODE_Z, DIK_Z},
      {SDL_SCANCODE_RSHIFT, DIK_RSHIFT}, {SDL_SCANCODE_LALT, DIK_LMENU},
      {SDL_SCANCODE_SPACE, DIK_SPACE},   {SDL_SCANCODE_F1, DIK_F1},
      {SDL_SCANCODE_UP, DIK_UP},         {SDL_SCANCODE_LEFT, DIK_LEFT},
      {SDL_SCANCODE_RIGHT, DIK_RIGHT},   {SDL_SCANCODE_DOWN, DIK_DOWN},
  };
  for (const auto& [scancode, dik] : keys) {
    EXPECT_EQ(sdl_scancode_to_dik(scancode), dik) << SDL_GetScancodeName(scancode);
  }
}

// A virtual key is down when its scan code is: so each SDL key must map to the scan code the
// shared table gives its virtual key.
TEST(SdlKeymap, AgreesWithTheVirtualKeysOfTheSharedTable) {
  for (int i = 0; i < 26; ++i) {
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + i);
    EXPECT_EQ(sdl_scancode_to_dik(scancode), plat_vk_to_dik('A' + i)) << char('A' + i);
  }
  for (int i = 0; i < 9; ++i) {
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i);
    EXPECT_EQ(sdl_scancode_to_dik(scancode), plat_vk_to_dik('1' + i)) << char('1' + i);
  }
  EXPECT_EQ(sdl_scancode_to_dik(SDL_SCANCODE_0), plat_vk_to_dik('0'));
  for (int i = 0; i < 12; ++i) {
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i);
    EXPECT_EQ(sdl_scancode_to_dik(scancode), plat_vk_to_dik(0x70 + i)) << "F" << i + 1;
  }
  for (int i = 0; i < 9; ++i) {
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + i);
    EXPECT_EQ(sdl_scancode_to_dik(scancode), plat_vk_to_dik(0x61 + i)) << "keypad " << i + 1;
  }
  const std::pair<SDL_Scancode, int> named[] = {
      {SDL_SCANCODE_BACKSPACE, VK_BACK},  {SDL_SCANCODE_TAB, VK_TAB},
      {SDL_SCANCODE_RETURN, VK_RETURN},   {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
      {SDL_SCANCODE_SPACE, VK_SPACE},     {SDL_SCANCODE_LEFT, VK_LEFT},
      {SDL_SCANCODE_UP, VK_UP},           {SDL_SCANCODE_RIGHT, VK_RIGHT},
      {SDL_SCANCODE_DOWN, VK_DOWN},       {SDL_SCANCODE_LSHIFT, VK_LSHIFT},
      {SDL_SCANCODE_RSHIFT, VK_RSHIFT},   {SDL_SCANCODE_LCTRL, 0xA2},
      {SDL_SCANCODE_RCTRL, 0xA3},         {SDL_SCANCODE_LALT, 0xA4},
      {SDL_SCANCODE_RALT, 0xA5},          {SDL_SCANCODE_HOME, 0x24},
      {SDL_SCANCODE_END, 0x23},           {SDL_SCANCODE_PAGEUP, 0x21},
      {SDL_SCANCODE_PAGEDOWN, 0x22},      {SDL_SCANCODE_INSERT, 0x2D},
      {SDL_SCANCODE_DELETE, 0x2E},        {SDL_SCANCODE_KP_0, 0x60},
      {SDL_SCANCODE_KP_DIVIDE, 0x6F},     {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
      {SDL_SCANCODE_KP_MINUS, 0x6D},      {SDL_SCANCODE_KP_PLUS, 0x6B},
      {SDL_SCANCODE_KP_PERIOD, 0x6E},     {SDL_SCANCODE_CAPSLOCK, 0x14},
      {SDL_SCANCODE_PAUSE, 0x13},         {SDL_SCANCODE_SEMICOLON, 0xBA},
      {SDL_SCANCODE_GRAVE, 0xC0},         {SDL_SCANCODE_BACKSLASH, 0xDC},
  };
  for (const auto& [scancode, vk] : named) {
    EXPECT_EQ(sdl_scancode_to_dik(scancode), plat_vk_to_dik(vk)) << SDL_GetScancodeName(scancode);
  }
}

TEST(SdlKeymap, NoTwoKeysShareAPlaceAndEveryPlaceIsInTheState) {
  std::map<int, int> owner;  // scan code -> the SDL key that has it
  for (int code = 0; code < SDL_NUM_SCANCODES; ++code) {
    const int dik = sdl_scancode_to_dik(static_cast<SDL_Scancode>(code));
    if (dik == 0) continue;
    EXPECT_GT(dik, 0);
    EXPECT_LT(dik, 256);
    const auto [it, fresh] = owner.emplace(dik, code);
    EXPECT_TRUE(fresh) << SDL_GetScancodeName(static_cast<SDL_Scancode>(code)) << " and "
                       << SDL_GetScancodeName(static_cast<SDL_Scancode>(it->second))
                       << " both give " << dik;
  }
  // The whole main block, the function keys, the keypad and the navigation keys.
  EXPECT_GE(owner.size(), 100u);
}

TEST(SdlKeymap, KeysTheStateHasNoPlaceForGiveZero) {
  for (SDL_Scancode code : {SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_F13, SDL_SCANCODE_F24,
                            SDL_SCANCODE_AUDIOPLAY, SDL_SCANCODE_MUTE, SDL_SCANCODE_KP_EQUALS}) {
    EXPECT_EQ(sdl_scancode_to_dik(code), 0) << SDL_GetScancodeName(code);
  }
}

}  // namespace
