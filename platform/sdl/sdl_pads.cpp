#include "platform/sdl/sdl_pads.h"

#include <cstdio>

#include "platform/core/backend.h"
#include "platform/faults.h"
#include "platform/sdl/sdl_pad_map.h"

namespace {

// One open pad; its keys are those of key device `slot + 1`.
struct SDL_PAD_TYP {
  SDL_GameController* controller;  // null: a free slot
  SDL_JoystickID id;
  PAD_INPUT_TYP input;
};

constexpr int PAD_SLOTS = KEY_DEVICES - 1;
SDL_PAD_TYP pads[PAD_SLOTS] = {};
int pads_started = 0;

int device_of(int slot) { return slot + 1; }

int slot_of(SDL_JoystickID id) {
  for (int slot = 0; slot < PAD_SLOTS; ++slot)
    if (pads[slot].controller && pads[slot].id == id) return slot;
  return -1;
}

// What the pad holds at the moment it is opened (a button may be down as it is plugged in).
void read_whole_state(SDL_PAD_TYP* pad) {
  pad->input = {};
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX && b < 32; ++b)
    if (SDL_GameControllerGetButton(pad->controller, static_cast<SDL_GameControllerButton>(b)))
      pad->input.buttons |= 1u << b;
  pad->input.left_x = SDL_GameControllerGetAxis(pad->controller, SDL_CONTROLLER_AXIS_LEFTX);
  pad->input.left_y = SDL_GameControllerGetAxis(pad->controller, SDL_CONTROLLER_AXIS_LEFTY);
}

void open_pad(int device_index) {
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
  if (id < 0 || slot_of(id) >= 0) return;  // gone already, or open (added and mapped both say so)
  int slot = 0;
  while (slot < PAD_SLOTS && pads[slot].controller) ++slot;
  if (slot == PAD_SLOTS) {
    std::fprintf(stderr, "ashfallow: the gamepad \"%s\" is ignored: %d pads are in use\n",
                 SDL_GameControllerNameForIndex(device_index), PAD_SLOTS);
    return;
  }
  SDL_GameController* controller = SDL_GameControllerOpen(device_index);
  if (!controller) {
    std::fprintf(stderr, "ashfallow: the gamepad \"%s\" cannot be opened: %s\n",
                 SDL_GameControllerNameForIndex(device_index), SDL_GetError());
    return;
  }
  pads[slot] = {controller, SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)), {}};
  read_whole_state(&pads[slot]);
}

void close_slot(int slot) {
  plat_keys_release_by(device_of(slot));
  SDL_GameControllerClose(pads[slot].controller);
  pads[slot] = {};
}

// A joystick SDL has no controller mapping for: the game cannot know its buttons.
void report_unmapped(int device_index) {
  if (SDL_IsGameController(device_index)) return;
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device_index), guid, sizeof guid);
  const char* name = SDL_JoystickNameForIndex(device_index);
  std::fprintf(stderr,
               "ashfallow: the joystick \"%s\" (%s) is ignored: SDL has no gamepad mapping for it "
               "(SDL_GAMECONTROLLERCONFIG can give one)\n",
               name ? name : "unnamed", guid);
}

void set_button(SDL_JoystickID id, int button, int down) {
  const int slot = slot_of(id);
  if (slot < 0 || button < 0 || button >= 32) return;
  const Uint32 bit = 1u << button;
  pads[slot].input.buttons = down ? (pads[slot].input.buttons | bit) : (pads[slot].input.buttons & ~bit);
}

void set_axis(SDL_JoystickID id, int axis, int value) {
  const int slot = slot_of(id);
  if (slot < 0) return;
  if (axis == SDL_CONTROLLER_AXIS_LEFTX) pads[slot].input.left_x = value;
  if (axis == SDL_CONTROLLER_AXIS_LEFTY) pads[slot].input.left_y = value;
}

}  // namespace

int sdl_pads_start() {
  pads_started = 0;
  const int refused = plat_fault(CALL_PAD_START);
  if (refused || SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "ashfallow: gamepads cannot be used (%s); the keyboard plays as before\n",
                 refused ? "the controller subsystem did not start" : SDL_GetError());
    return 0;
  }
  // Pads already plugged in come as "added" events, like the ones plugged in later.
  pads_started = 1;
  return 1;
}

void sdl_pads_stop() {
  for (int slot = 0; slot < PAD_SLOTS; ++slot)
    if (pads[slot].controller) close_slot(slot);
  if (pads_started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  pads_started = 0;
}

int sdl_pads_handle_event(const SDL_Event& event) {
  switch (event.type) {
    case SDL_JOYDEVICEADDED:
      if (pads_started) report_unmapped(event.jdevice.which);
      return 1;
    case SDL_CONTROLLERDEVICEADDED:
      if (pads_started) open_pad(event.cdevice.which);
      return 1;
    case SDL_CONTROLLERDEVICEREMOVED: {
      // Whatever it held is let go: its releases will never come.
      const int slot = slot_of(event.cdevice.which);
      if (slot >= 0) close_slot(slot);
      return 1;
    }
    case SDL_CONTROLLERDEVICEREMAPPED: {
      const int slot = slot_of(event.cdevice.which);
      if (slot >= 0) read_whole_state(&pads[slot]);
      return 1;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      set_button(event.cbutton.which, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
      return 1;
    case SDL_CONTROLLERAXISMOTION:
      set_axis(event.caxis.which, event.caxis.axis, event.caxis.value);
      return 1;
    default:
      return 0;
  }
}

void sdl_pads_update_keys() {
  const int menu = plat_keys_menu_screen();
  for (int slot = 0; slot < PAD_SLOTS; ++slot) {
    if (!pads[slot].controller) continue;
    for (int i = 0; i < sdl_pad_key_count; ++i) {
      const int dik = sdl_pad_keys[i];
      plat_keys_set_by(device_of(slot), dik, sdl_pad_holds(&pads[slot].input, menu, dik));
    }
  }
}

void sdl_pads_forget_held() {
  for (SDL_PAD_TYP& pad : pads) pad.input = {};
}

int sdl_pads_open_count() {
  int open = 0;
  for (const SDL_PAD_TYP& pad : pads) open += pad.controller != nullptr;
  return open;
}
