// Gamepads as the game sees them: each mapped button and every stick sector lands on the keys
// the game reads, pad and keyboard share keys, pads come and go at any time, and a joystick
// SDL cannot map is left alone.
#include <cmath>

#include "tests/sdl/pad_fixture.h"

namespace {

using Keys = std::vector<int>;

// One button pressed alone, on a menu screen or in play, and the keys that then count as down.
struct ButtonCase {
  const char* name;
  SDL_GameControllerButton button;
  int menu_screen;
  Keys down;
};

class SdlPadButtons : public SdlPads, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(SdlPadButtons, PressHoldsItsKeysAndReleaseLetsThemGo) {
  const ButtonCase& c = GetParam();
  plat_keys_set_menu_screen(c.menu_screen);
  SDL_Joystick* pad = plug("Test pad");
  ASSERT_NE(pad, nullptr);
  ASSERT_TRUE(keys_down().empty());
  button(pad, c.button, true);
  EXPECT_EQ(keys_down(), c.down);
  button(pad, c.button, false);
  EXPECT_TRUE(keys_down().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, SdlPadButtons,
    ::testing::Values(
        ButtonCase{"DpadUp", SDL_CONTROLLER_BUTTON_DPAD_UP, 0, {DIK_UP}},
        ButtonCase{"DpadDown", SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0, {DIK_DOWN}},
        ButtonCase{"DpadLeft", SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, {DIK_LEFT}},
        ButtonCase{"DpadRight", SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, {DIK_RIGHT}},
        ButtonCase{"SouthStrikesInPlay", SDL_CONTROLLER_BUTTON_A, 0, {DIK_SPACE}},
        ButtonCase{"SouthAdvancesMenus", SDL_CONTROLLER_BUTTON_A, 1, {DIK_SPACE}},
        ButtonCase{"WestSummons", SDL_CONTROLLER_BUTTON_X, 0, {DIK_LSHIFT}},
        ButtonCase{"RightShoulderSummons", SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0, {DIK_LSHIFT}},
        ButtonCase{"StartAdvancesMenus", SDL_CONTROLLER_BUTTON_START, 1, {DIK_SPACE}},
        ButtonCase{"StartNeverStrikes", SDL_CONTROLLER_BUTTON_START, 0, {}},
        ButtonCase{"BackAloneNeverQuits", SDL_CONTROLLER_BUTTON_BACK, 1, {}},
        ButtonCase{"BackAloneInPlay", SDL_CONTROLLER_BUTTON_BACK, 0, {}},
        ButtonCase{"EastDoesNothing", SDL_CONTROLLER_BUTTON_B, 0, {}},
        ButtonCase{"NorthDoesNothing", SDL_CONTROLLER_BUTTON_Y, 0, {}},
        ButtonCase{"LeftShoulderDoesNothing", SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The left stick at an angle (degrees counter-clockwise from right, as a player sees up) and a
// distance from centre (of 32767), and the arrows that then count as down.
struct StickCase {
  const char* name;
  double degrees;
  int distance;
  Keys down;
};

class SdlPadStick : public SdlPads, public ::testing::WithParamInterface<StickCase> {};

TEST_P(SdlPadStick, EachSectorHoldsItsArrows) {
  const StickCase& c = GetParam();
  SDL_Joystick* pad = plug("Test pad");
  ASSERT_NE(pad, nullptr);
  const double radians = c.degrees * M_PI / 180.0;
  const int x = static_cast<int>(std::lround(c.distance * std::cos(radians)));
  const int y = static_cast<int>(std::lround(-c.distance * std::sin(radians)));  // y grows down
  stick(pad, x, y);
  Keys expected = c.down;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(keys_down(), expected) << "stick at " << x << ", " << y;
  stick(pad, 0, 0);
  EXPECT_TRUE(keys_down().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sectors, SdlPadStick,
    ::testing::Values(
        StickCase{"East", 0, 32767, {DIK_RIGHT}},
        StickCase{"NorthEast", 45, 32767, {DIK_UP, DIK_RIGHT}},
        StickCase{"North", 90, 32767, {DIK_UP}},
        StickCase{"NorthWest", 135, 32767, {DIK_UP, DIK_LEFT}},
        StickCase{"West", 180, 32767, {DIK_LEFT}},
        StickCase{"SouthWest", 225, 32767, {DIK_DOWN, DIK_LEFT}},
        StickCase{"South", 270, 32767, {DIK_DOWN}},
        StickCase{"SouthEast", 315, 32767, {DIK_DOWN, DIK_RIGHT}},
        // Each diagonal is a 45-degree sector: 22.5 degrees either side of it.
        StickCase{"EastJustShortOfNorthEast", 21, 30000, {DIK_RIGHT}},
        StickCase{"NorthEastFromItsLowerEdge", 24, 30000, {DIK_UP, DIK_RIGHT}},
        StickCase{"NorthEastToItsUpperEdge", 66, 30000, {DIK_UP, DIK_RIGHT}},
        StickCase{"NorthJustPastNorthEast", 69, 30000, {DIK_UP}},
        StickCase{"SouthWestFromItsEdge", 201, 30000, {DIK_LEFT}},
        StickCase{"SouthWestInside", 204, 30000, {DIK_DOWN, DIK_LEFT}},
        StickCase{"JustOutsideTheDeadZone", 180, 9000, {DIK_LEFT}},
        // A stick resting off centre inside the dead zone walks nowhere, in any direction.
        StickCase{"RestingEast", 0, 8000, {}},
        StickCase{"RestingNorthEast", 45, 8000, {}},
        StickCase{"RestingSouth", 270, 7000, {}},
        StickCase{"RestingWest", 170, 4000, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SdlPads, DpadAndStickTogetherMakeADiagonal) {
  SDL_Joystick* pad = plug("Test pad");
  ASSERT_NE(pad, nullptr);
  button(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  stick(pad, 30000, 0);
  EXPECT_EQ(keys_down(), (Keys{DIK_UP, DIK_RIGHT}));
  stick(pad, 0, -30000);  // both hold Up: letting go of one keeps it
  button(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  EXPECT_EQ(keys_down(), (Keys{DIK_UP}));
}

// The keyboard and a pad on one key, let go in either order.
struct SharedCase {
  const char* name;
  bool keyboard_first;
};

class SdlPadAndKeyboard : public SdlPads, public ::testing::WithParamInterface<SharedCase> {};

TEST_P(SdlPadAndKeyboard, AKeyIsUpOnlyWhenBothHaveLetGo) {
  SDL_Joystick* pad = plug("Test pad");
  ASSERT_NE(pad, nullptr);
  push_key(SDL_SCANCODE_SPACE, true);
  pump();
  button(pad, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE}));
  if (GetParam().keyboard_first) {
    push_key(SDL_SCANCODE_SPACE, false);
    pump();
  } else {
    button(pad, SDL_CONTROLLER_BUTTON_A, false);
  }
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE})) << "the other still holds it";
  if (GetParam().keyboard_first) {
    button(pad, SDL_CONTROLLER_BUTTON_A, false);
  } else {
    push_key(SDL_SCANCODE_SPACE, false);
    pump();
  }
  EXPECT_TRUE(keys_down().empty());
}

INSTANTIATE_TEST_SUITE_P(Order, SdlPadAndKeyboard,
                         ::testing::Values(SharedCase{"KeyboardLetsGoFirst", true},
                                           SharedCase{"PadLetsGoFirst", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SdlPads, BackHeldWithStartIsEscapeOnEveryScreen) {
  SDL_Joystick* pad = plug("Test pad");
  ASSERT_NE(pad, nullptr);
  for (int menu : {1, 0}) {
    plat_keys_set_menu_screen(menu);
    button(pad, SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_TRUE(keys_down().empty()) << "Back alone, menu " << menu;
    button(pad, SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(keys_down(), (Keys{DIK_ESCAPE})) << "menu " << menu;
    EXPECT_EQ(plat_key_down_now(VK_ESCAPE), 1);
    button(pad, SDL_CONTROLLER_BUTTON_BACK, false);
    // Start left alone is Space again on a menu, nothing in play.
    EXPECT_EQ(keys_down(), menu ? Keys{DIK_SPACE} : Keys{}) << "menu " << menu;
    button(pad, SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_TRUE(keys_down().empty());
  }
}

TEST_F(SdlPads, StartHeldIntoPlayStopsBeingSpace) {
  plat_keys_set_menu_screen(1);
  SDL_Joystick* pad = plug("Test pad");
  ASSERT_NE(pad, nullptr);
  button(pad, SDL_CONTROLLER_BUTTON_START, true);
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE}));
  plat_keys_set_menu_screen(0);  // the press started play
  pump();
  EXPECT_TRUE(keys_down().empty());
  plat_keys_set_menu_screen(1);  // held on into the game-over screen
  pump();
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE}));
}

TEST_F(SdlPads, UnpluggingAPadLetsGoOfEverythingItHeld) {
  SDL_Joystick* pad = plug("Test pad");
  ASSERT_NE(pad, nullptr);
  push_key(SDL_SCANCODE_LEFT, true);
  pump();
  button(pad, SDL_CONTROLLER_BUTTON_A, true);
  button(pad, SDL_CONTROLLER_BUTTON_X, true);
  button(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  stick(pad, 0, -30000);
  EXPECT_EQ(keys_down(), (Keys{DIK_LSHIFT, DIK_SPACE, DIK_UP, DIK_LEFT}));
  unplug(pad);
  EXPECT_EQ(sdl_pads_open_count(), 0);
  EXPECT_EQ(keys_down(), (Keys{DIK_LEFT})) << "the keyboard still holds Left";
}

TEST_F(SdlPads, SeveralPadsPluggedInDuringPlayAllWork) {
  SDL_Joystick* first = plug("First pad");
  ASSERT_NE(first, nullptr);
  button(first, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  SDL_Joystick* second = plug("Second pad");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(sdl_pads_open_count(), 2);
  button(second, SDL_CONTROLLER_BUTTON_A, true);
  button(second, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE, DIK_RIGHT}));
  button(first, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE, DIK_RIGHT})) << "the second pad holds Right";
  unplug(second);
  EXPECT_TRUE(keys_down().empty());
  // The first pad goes on working, and a pad plugged in again works at once.
  button(first, SDL_CONTROLLER_BUTTON_X, true);
  EXPECT_EQ(keys_down(), (Keys{DIK_LSHIFT}));
  SDL_Joystick* again = plug("Second pad");
  ASSERT_NE(again, nullptr);
  button(again, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  EXPECT_EQ(keys_down(), (Keys{DIK_LSHIFT, DIK_DOWN}));
}

TEST_F(SdlPads, FocusLossLetsGoOfThePadsKeysToo) {
  SDL_Joystick* pad = plug("Test pad");
  ASSERT_NE(pad, nullptr);
  button(pad, SDL_CONTROLLER_BUTTON_A, true);
  stick(pad, -30000, 0);
  ASSERT_EQ(keys_down(), (Keys{DIK_SPACE, DIK_LEFT}));
  push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
  pump();
  EXPECT_TRUE(keys_down().empty());
  pump();  // nothing comes back by itself
  EXPECT_TRUE(keys_down().empty());
  // Controls pressed again count again.
  push_window_event(SDL_WINDOWEVENT_FOCUS_GAINED);
  button(pad, SDL_CONTROLLER_BUTTON_A, false);
  button(pad, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE}));
}

TEST_F(SdlPads, AJoystickWithoutAMappingIsIgnoredWithOneLine) {
  testing::internal::CaptureStderr();
  SDL_Joystick* odd = plug("Odd flight stick", SDL_JOYSTICK_TYPE_FLIGHT_STICK);
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("\"Odd flight stick\""), std::string::npos) << said;
  EXPECT_EQ(sdl_pads_open_count(), 0);
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
    SDL_JoystickSetVirtualButton(odd, b, SDL_PRESSED);
  stick(odd, 30000, 30000);
  EXPECT_TRUE(keys_down().empty());
}

// SDL_GAMECONTROLLERCONFIG gives an unmapped joystick its buttons, as SDL reads it at start-up.
TEST_F(SdlPads, AMappingFromTheEnvironmentIsHonoured) {
  // The joystick's identity, to name it in the mapping.
  testing::internal::CaptureStderr();
  SDL_Joystick* odd = plug("Odd flight stick", SDL_JOYSTICK_TYPE_FLIGHT_STICK);
  testing::internal::GetCapturedStderr();
  ASSERT_NE(odd, nullptr);
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(odd), guid, sizeof guid);
  unplug(odd);
  SdlWindow::TearDown();
  // Mappings as SDL's database writes them: no name checksum in the identity (bytes 2-3).
  for (int i = 4; i < 8; ++i) guid[i] = '0';

  // Its button 3 strikes, its button 0 summons.
  const std::string mapping = std::string(guid) + ",Odd flight stick,a:b3,x:b0,leftx:a0,lefty:a1,";
  EnvGuard config("SDL_GAMECONTROLLERCONFIG", mapping.c_str());
  SdlWindow::SetUp();
  testing::internal::CaptureStderr();
  odd = plug("Odd flight stick", SDL_JOYSTICK_TYPE_FLIGHT_STICK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(sdl_pads_open_count(), 1);
  button(odd, static_cast<SDL_GameControllerButton>(3), true);
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE}));
  button(odd, static_cast<SDL_GameControllerButton>(0), true);
  EXPECT_EQ(keys_down(), (Keys{DIK_LSHIFT, DIK_SPACE}));
}

class SdlPadsRefused : public SdlPads {
 protected:
  void SetUp() override {
    plat_fault_set(CALL_PAD_START, 0);
    testing::internal::CaptureStderr();
    SdlPads::SetUp();
    said_ = testing::internal::GetCapturedStderr();
  }
  std::string said_;
};

TEST_F(SdlPadsRefused, TheKeyboardGamePlaysOnAfterOneLine) {
  EXPECT_EQ(std::count(said_.begin(), said_.end(), '\n'), 1) << said_;
  EXPECT_NE(said_.find("gamepads"), std::string::npos) << said_;
  EXPECT_EQ(sdl_pads_open_count(), 0);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u);
  EXPECT_TRUE(keys_down().empty());
  push_key(SDL_SCANCODE_SPACE, true);
  pump();
  EXPECT_EQ(keys_down(), (Keys{DIK_SPACE}));
}

}  // namespace
