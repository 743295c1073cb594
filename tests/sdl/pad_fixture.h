// The sdl backend with SDL's virtual gamepads: plugged in, pressed, moved and unplugged while the
// backend runs, as a player would with a real pad.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "platform/faults.h"
#include "platform/sdl/sdl_pads.h"
#include "tests/sdl/sdl_fixture.h"

class SdlPads : public SdlWindow {
 protected:
  // On the dummy driver no window ever has keyboard focus, and SDL holds back a pad's presses
  // from an unfocused program: let them through, as a focused window would get them.
  EnvGuard background_{"SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1"};

  void TearDown() override {
    while (!plugged_.empty()) unplug(plugged_.back());
    SdlWindow::TearDown();
    plat_fault_clear_all();
  }

  // Plugs in a virtual pad and lets the backend see it. A game-controller pad gets SDL's own
  // mapping (button b is SDL_GameControllerButton b); any other kind has none.
  SDL_Joystick* plug(const char* name, SDL_JoystickType type = SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = static_cast<Uint16>(type);
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = name;
    // A USB identity, as a real pad has: SDL's database and SDL_GAMECONTROLLERCONFIG find
    // mappings by it.
    desc.vendor_id = 0x1209;
    desc.product_id = static_cast<Uint16>(0xA000 + type);
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    if (index < 0) return nullptr;
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    EXPECT_NE(joystick, nullptr) << SDL_GetError();
    if (joystick) plugged_.push_back(joystick);
    pump();
    return joystick;
  }

  void unplug(SDL_Joystick* joystick) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    SDL_JoystickClose(joystick);
    plugged_.erase(std::remove(plugged_.begin(), plugged_.end(), joystick), plugged_.end());
    pump();
  }

  static void button(SDL_Joystick* joystick, SDL_GameControllerButton which, bool down) {
    ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick, which, down ? SDL_PRESSED : SDL_RELEASED), 0)
        << SDL_GetError();
    pump();
  }

  static void stick(SDL_Joystick* joystick, int x, int y) {
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x)), 0);
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y)), 0);
    pump();
  }

  // The keys down in the state the game reads, by scan code, checked against "down now".
  static std::vector<int> keys_down() {
    std::vector<int> down;
    const std::vector<uint8_t> state = key_state();
    for (int dik = 0; dik < 256; ++dik)
      if (state[dik]) down.push_back(dik);
    for (int vk : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE, VK_LSHIFT, VK_ESCAPE})
      EXPECT_EQ(plat_key_down_now(vk), state[plat_vk_to_dik(vk)] ? 1 : 0) << "vk " << vk;
    return down;
  }

  std::vector<SDL_Joystick*> plugged_;
};
