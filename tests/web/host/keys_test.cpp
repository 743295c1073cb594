// The page's key names against the game's keyboard: what a key press in the page sets.
#include "platform/web/web_keymap.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/core/backend.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"

namespace {

TEST(WebKeys, TheGamesKeysHaveTheirScanCodes) {
  const struct {
    const char* code;
    int dik;
  } cases[] = {
      {"Escape", DIK_ESCAPE}, {"Space", DIK_SPACE},      {"ArrowUp", DIK_UP},
      {"ArrowDown", DIK_DOWN}, {"ArrowLeft", DIK_LEFT},  {"ArrowRight", DIK_RIGHT},
      {"ShiftLeft", DIK_LSHIFT}, {"ShiftRight", DIK_RSHIFT}, {"Enter", DIK_RETURN},
      {"KeyA", DIK_A},        {"KeyQ", DIK_Q},          {"KeyZ", DIK_Z},
      {"Digit1", DIK_1},      {"Digit0", DIK_0},        {"F1", DIK_F1},
      {"Tab", DIK_TAB},       {"ControlLeft", DIK_LCONTROL}, {"AltLeft", DIK_LMENU},
      // The keypad's Enter and the right Control are the extended codes, not the main ones.
      {"NumpadEnter", 0x9C},  {"ControlRight", 0x9D},
      // Names the keyboard state has no code for, and names that are not keys at all.
      {"Fn", 0},              {"", 0},                  {"arrowright", 0},
      {"KeyAA", 0},           {nullptr, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(web_code_to_dik(c.code), c.dik) << (c.code ? c.code : "null");
}

TEST(WebKeys, EveryNamedKeyHasItsOwnScanCode) {
  const char* const names[] = {
      "Escape", "Digit1", "Digit2", "Digit3", "Digit4", "Digit5", "Digit6", "Digit7", "Digit8",
      "Digit9", "Digit0", "Minus", "Equal", "Backspace", "Tab", "KeyQ", "KeyW", "KeyE", "KeyR",
      "KeyT", "KeyY", "KeyU", "KeyI", "KeyO", "KeyP", "BracketLeft", "BracketRight", "Enter",
      "ControlLeft", "KeyA", "KeyS", "KeyD", "KeyF", "KeyG", "KeyH", "KeyJ", "KeyK", "KeyL",
      "Semicolon", "Quote", "Backquote", "ShiftLeft", "Backslash", "KeyZ", "KeyX", "KeyC",
      "KeyV", "KeyB", "KeyN", "KeyM", "Comma", "Period", "Slash", "ShiftRight", "Space",
      "CapsLock", "F2", "F10", "F11", "F12", "Home", "End", "PageUp", "PageDown", "Insert",
      "Delete", "Numpad0", "Numpad9", "NumpadAdd", "NumpadDivide", "MetaLeft", "ContextMenu"};
  std::set<int> seen;
  for (const char* name : names) {
    const int dik = web_code_to_dik(name);
    EXPECT_GT(dik, 0) << name;
    EXPECT_TRUE(seen.insert(dik).second) << name << " shares its scan code";
  }
}

TEST(WebKeys, OnlyThePageScrollingKeysLoseTheirDefault) {
  for (const char* code : {"ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Space", "PageUp",
                           "PageDown", "Home", "End", "Backspace"})
    EXPECT_EQ(web_code_is_page_key(code), 1) << code;
  // Reload, the developer tools, leaving full screen and typing keep what the browser does.
  for (const char* code : {"F5", "F12", "Escape", "KeyR", "ShiftLeft", "Tab", "", "space"})
    EXPECT_EQ(web_code_is_page_key(code), 0) << code;
  EXPECT_EQ(web_code_is_page_key(nullptr), 0);
}

// A press in the page reaches the game both ways it reads keys: the keyboard state and "down now".
TEST(WebKeys, APressReachesTheStateAndDownNow) {
  headless_reset();
  plat_keys_set(web_code_to_dik("ArrowRight"), 1);
  plat_keys_set(web_code_to_dik("ShiftLeft"), 1);
  EXPECT_EQ(plat_key_down_now(VK_RIGHT), 1);
  EXPECT_EQ(plat_key_down_now(VK_SHIFT), 1);
  EXPECT_EQ(plat_key_down_now(VK_LSHIFT), 1);
  EXPECT_EQ(plat_key_down_now(VK_RSHIFT), 0);
  plat_keys_release_all();  // the page lost focus
  EXPECT_EQ(plat_key_down_now(VK_RIGHT), 0);
  EXPECT_EQ(plat_key_down_now(VK_SHIFT), 0);
  headless_reset();
}

}  // namespace
