// SDL's scan codes in the keyboard state's numbering (DIK_).
#pragma once
#include <SDL.h>

// The DIK_ code of a key, or 0 for keys the game's keyboard state has no place for.
int sdl_scancode_to_dik(SDL_Scancode scancode);
