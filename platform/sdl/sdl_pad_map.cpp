#include "platform/sdl/sdl_pad_map.h"

#include <cstdlib>

#include "platform/keys.h"

const int sdl_pad_keys[] = {DIK_UP, DIK_DOWN, DIK_LEFT, DIK_RIGHT, DIK_SPACE, DIK_LSHIFT, DIK_ESCAPE};
const int sdl_pad_key_count = static_cast<int>(sizeof sdl_pad_keys / sizeof sdl_pad_keys[0]);

namespace {

int button_down(const PAD_INPUT_TYP* pad, SDL_GameControllerButton button) {
  return (pad->buttons >> button) & 1u;
}

// The stick in eight 45-degree sectors: an arrow counts when the stick points within 67.5
// degrees of it, so the sectors of the diagonals take in both arrows. Inside the dead zone
// (by distance from centre, whatever the direction) no arrow counts, so a stick that rests a
// little off centre never walks.
struct STICK_ARROWS {
  int up, down, left, right;
};

STICK_ARROWS stick_arrows(int x, int y) {
  const long long ax = std::llabs(x), ay = std::llabs(y);
  if (ax * ax + ay * ay <= static_cast<long long>(PAD_STICK_DEAD_ZONE) * PAD_STICK_DEAD_ZONE)
    return {0, 0, 0, 0};
  // tan(22.5 degrees) = 0.41421: past it from one axis, the other axis's arrow counts too.
  const int horizontal = ay * 100000 < ax * 241421;  // within 67.5 degrees of the x axis
  const int vertical = ay * 100000 > ax * 41421;     // more than 22.5 degrees off it
  return {vertical && y < 0, vertical && y > 0, horizontal && x < 0, horizontal && x > 0};
}

}  // namespace

int sdl_pad_holds(const PAD_INPUT_TYP* pad, int menu_screen, int dik) {
  if (!pad) return 0;
  const STICK_ARROWS stick = stick_arrows(pad->left_x, pad->left_y);
  const int start = button_down(pad, SDL_CONTROLLER_BUTTON_START);
  const int back = button_down(pad, SDL_CONTROLLER_BUTTON_BACK);
  switch (dik) {
    case DIK_UP:
      return button_down(pad, SDL_CONTROLLER_BUTTON_DPAD_UP) || stick.up;
    case DIK_DOWN:
      return button_down(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN) || stick.down;
    case DIK_LEFT:
      return button_down(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT) || stick.left;
    case DIK_RIGHT:
      return button_down(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || stick.right;
    case DIK_SPACE:
      return button_down(pad, SDL_CONTROLLER_BUTTON_A) || (menu_screen && start && !back);
    case DIK_LSHIFT:
      return button_down(pad, SDL_CONTROLLER_BUTTON_X) ||
             button_down(pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    case DIK_ESCAPE:
      // Both at once, so one stray press never quits.
      return back && start;
    default:
      return 0;
  }
}
