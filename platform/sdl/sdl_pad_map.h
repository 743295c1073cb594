// What a gamepad's buttons and left stick mean as keys of the keyboard state: the game reads
// the same keys whichever device pressed them.
#pragma once
#include <SDL.h>

// One pad's controls as SDL's game controller API reports them.
struct PAD_INPUT_TYP {
  Uint32 buttons;  // bit b set while SDL_GameControllerButton b is down
  int left_x;      // the left stick, -32768..32767 on each axis, y growing downward
  int left_y;
};

// The keys a pad can hold, in the keyboard state's numbering.
extern const int sdl_pad_keys[];
extern const int sdl_pad_key_count;

// The stick's travel, of 32767, inside which it means nothing (about a quarter).
constexpr int PAD_STICK_DEAD_ZONE = 8192;

// 1 when the pad holds the key `dik` (DIK_ numbering), else 0. On a menu screen Start stands
// for Space; Back held with Start is Escape (and then Start is not Space).
int sdl_pad_holds(const PAD_INPUT_TYP* pad, int menu_screen, int dik);
