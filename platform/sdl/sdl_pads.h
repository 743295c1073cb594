// The gamepads: SDL's game controller API with its controller database (and
// SDL_GAMECONTROLLERCONFIG, which SDL reads itself). Pads come and go at any time; each open pad
// feeds the keyboard state as a device of its own, so its keys never cancel the keyboard's.
#pragma once
#include <SDL.h>

// Starts SDL's controller subsystem. When it cannot start, one line on stderr and the game
// plays on with the keyboard alone. 1 when pads can be used, else 0.
int sdl_pads_start();
// Closes every pad and stops the subsystem.
void sdl_pads_stop();
// Takes a pad's event (plugged in, unplugged, a button, a stick): 1 when it was one, else 0.
int sdl_pads_handle_event(const SDL_Event& event);
// Every pad's keys from its buttons and stick and the kind of screen shown; after the events.
void sdl_pads_update_keys();
// Focus lost: the pads hold nothing until their controls move again.
void sdl_pads_forget_held();
// How many pads are open now.
int sdl_pads_open_count();
