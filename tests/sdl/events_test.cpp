// SDL's events as the game sees them: key changes in the keyboard state and in "down now",
// every key let go when the window loses focus, Alt+Enter kept for the window, and one close
// request per click.
#include <algorithm>

#include "tests/sdl/sdl_fixture.h"

namespace {

int count_of(const std::vector<unsigned>& messages, unsigned message) {
  return static_cast<int>(std::count(messages.begin(), messages.end(), message));
}

int keys_down(const std::vector<uint8_t>& state) {
  return static_cast<int>(std::count_if(state.begin(), state.end(), [](uint8_t v) { return v; }));
}

using SdlKeys = SdlWindow;

TEST_F(SdlKeys, PressAndReleaseReachTheStateAndDownNow) {
  push_key(SDL_SCANCODE_LEFT, true);
  push_key(SDL_SCANCODE_SPACE, true);
  pump();
  std::vector<uint8_t> state = key_state();
  EXPECT_EQ(state[DIK_LEFT], 0x80);
  EXPECT_EQ(state[DIK_SPACE], 0x80);
  EXPECT_EQ(keys_down(state), 2);
  EXPECT_EQ(plat_key_down_now(VK_LEFT), 1);
  EXPECT_EQ(plat_key_down_now(VK_SPACE), 1);
  EXPECT_EQ(plat_key_down_now(VK_RIGHT), 0);

  push_key(SDL_SCANCODE_SPACE, false);
  pump();
  state = key_state();
  EXPECT_EQ(state[DIK_SPACE], 0);
  EXPECT_EQ(state[DIK_LEFT], 0x80);
  EXPECT_EQ(plat_key_down_now(VK_SPACE), 0);
  EXPECT_EQ(plat_key_down_now(VK_LEFT), 1);
}

TEST_F(SdlKeys, EitherShiftIsShiftButOnlyItsOwnSide) {
  push_key(SDL_SCANCODE_RSHIFT, true);
  pump();
  std::vector<uint8_t> state = key_state();
  EXPECT_EQ(state[DIK_RSHIFT], 0x80);
  EXPECT_EQ(state[DIK_LSHIFT], 0);
  EXPECT_EQ(plat_key_down_now(VK_SHIFT), 1);
  EXPECT_EQ(plat_key_down_now(VK_RSHIFT), 1);
  EXPECT_EQ(plat_key_down_now(VK_LSHIFT), 0);
}

TEST_F(SdlKeys, RepeatsKeepAKeyDownAndOneReleaseLetsItGo) {
  push_key(SDL_SCANCODE_UP, true);
  push_key(SDL_SCANCODE_UP, true, KMOD_NONE, 1);
  push_key(SDL_SCANCODE_UP, true, KMOD_NONE, 1);
  pump();
  EXPECT_EQ(key_state()[DIK_UP], 0x80);
  push_key(SDL_SCANCODE_UP, false);
  pump();
  EXPECT_EQ(key_state()[DIK_UP], 0);
}

TEST_F(SdlKeys, KeysWithoutAPlaceInTheStateChangeNothing) {
  push_key(SDL_SCANCODE_F13, true);
  push_key(SDL_SCANCODE_AUDIOPLAY, true);
  push_key(SDL_SCANCODE_UNKNOWN, true);
  pump();
  EXPECT_EQ(keys_down(key_state()), 0);
}

TEST_F(SdlKeys, FocusLossReleasesEveryHeldKey) {
  // Held while the player switches away: their releases go to the other window.
  for (SDL_Scancode code : {SDL_SCANCODE_LEFT, SDL_SCANCODE_UP, SDL_SCANCODE_LCTRL,
                            SDL_SCANCODE_SPACE, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_RALT}) {
    push_key(code, true);
  }
  pump();
  ASSERT_EQ(keys_down(key_state()), 6);

  push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
  pump();
  EXPECT_EQ(keys_down(key_state()), 0);
  for (int vk : {VK_LEFT, VK_UP, VK_CONTROL, VK_SPACE, VK_ESCAPE, VK_MENU}) {
    EXPECT_EQ(plat_key_down_now(vk), 0) << "vk " << vk;
  }

  // Back in the window, keys work as before.
  push_window_event(SDL_WINDOWEVENT_FOCUS_GAINED);
  push_key(SDL_SCANCODE_RIGHT, true);
  pump();
  const std::vector<uint8_t> state = key_state();
  EXPECT_EQ(state[DIK_RIGHT], 0x80);
  EXPECT_EQ(keys_down(state), 1);
}

TEST_F(SdlKeys, KeysPressedAfterFocusLossInTheSamePumpStayDown) {
  push_key(SDL_SCANCODE_LEFT, true);
  push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
  push_window_event(SDL_WINDOWEVENT_FOCUS_GAINED);
  push_key(SDL_SCANCODE_DOWN, true);
  pump();
  const std::vector<uint8_t> state = key_state();
  EXPECT_EQ(state[DIK_LEFT], 0);
  EXPECT_EQ(state[DIK_DOWN], 0x80);
}

using SdlAltEnter = SdlWindow;

TEST_F(SdlAltEnter, TogglesFullScreenAndNeverReachesTheKeyState) {
  ASSERT_TRUE(window_fullscreen());
  push_key(SDL_SCANCODE_LALT, true, KMOD_LALT);
  push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
  pump();
  EXPECT_FALSE(window_fullscreen());
  EXPECT_EQ(key_state()[DIK_RETURN], 0);
  EXPECT_EQ(plat_key_down_now(VK_RETURN), 0);
  // The window takes the mode's size again.
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl_backend.window, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);

  push_key(SDL_SCANCODE_RETURN, false, KMOD_LALT);
  push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
  pump();
  EXPECT_TRUE(window_fullscreen());
  EXPECT_EQ(key_state()[DIK_RETURN], 0);
}

TEST_F(SdlAltEnter, AHeldAltEnterTogglesOnce) {
  // The key's own repeats must not toggle back and forth while it is held.
  push_key(SDL_SCANCODE_RETURN, true, KMOD_RALT);
  push_key(SDL_SCANCODE_RETURN, true, KMOD_RALT, 1);
  pump();
  EXPECT_FALSE(window_fullscreen());
  EXPECT_EQ(key_state()[DIK_RETURN], 0);
}

TEST_F(SdlAltEnter, KeypadEnterWithAltTogglesToo) {
  push_key(SDL_SCANCODE_KP_ENTER, true, KMOD_LALT);
  pump();
  EXPECT_FALSE(window_fullscreen());
  EXPECT_EQ(key_state()[0x9C], 0);
}

TEST_F(SdlAltEnter, EnterWithoutAltIsAnOrdinaryKey) {
  push_key(SDL_SCANCODE_RETURN, true, KMOD_LCTRL | KMOD_LSHIFT);
  pump();
  EXPECT_TRUE(window_fullscreen());
  EXPECT_EQ(key_state()[DIK_RETURN], 0x80);
  EXPECT_EQ(plat_key_down_now(VK_RETURN), 1);
}

using SdlClose = SdlWindow;

TEST_F(SdlClose, AClickOnCloseIsOneCloseMessage) {
  // The window system reports a click on the close box twice: the window's close, then the
  // application's quit.
  push_window_event(SDL_WINDOWEVENT_CLOSE);
  push_quit();
  const std::vector<unsigned> messages = drain();
  EXPECT_EQ(count_of(messages, WM_CLOSE), 1);
  EXPECT_EQ(count_of(messages, WM_QUIT), 0);
}

TEST_F(SdlClose, AQuitAloneIsACloseRequestToo) {
  // As when the process is asked to end from outside.
  push_quit();
  MSG_TYP msg;
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, WM_CLOSE);
  EXPECT_EQ(msg.window, window_);
  EXPECT_TRUE(drain().empty());
}

TEST_F(SdlClose, TheCloseMessageDestroysTheWindowAndLaterRequestsFindNone) {
  push_window_event(SDL_WINDOWEVENT_CLOSE);
  MSG_TYP msg;
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  ASSERT_EQ(msg.message, WM_CLOSE);
  plat_def_window_proc(msg.window, msg.message, msg.wparam, msg.lparam);
  window_ = nullptr;  // destroyed by the default procedure
  EXPECT_EQ(plat_first_window(), nullptr);

  push_quit();
  push_window_event(SDL_WINDOWEVENT_CLOSE);
  EXPECT_TRUE(drain().empty());
}

TEST_F(SdlClose, ExposureAsksForARepaint) {
  push_window_event(SDL_WINDOWEVENT_EXPOSED);
  MSG_TYP msg;
  ASSERT_EQ(plat_peek_message(&msg, PM_REMOVE), 1);
  EXPECT_EQ(msg.message, WM_PAINT);
  EXPECT_EQ(msg.window, window_);
  plat_dispatch_message(&msg);
  EXPECT_EQ(plat_peek_message(&msg, PM_REMOVE), 0);
}

}  // namespace
