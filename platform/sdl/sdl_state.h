// What the sdl backend holds between calls: the one window the game opened and the
// presentation target of the current mode.
#pragma once
#include <SDL.h>

struct SDL_BACKEND_TYP {
  SDL_Window* window;      // made when the game's window is created
  SDL_Renderer* renderer;  // made by the first mode set
  SDL_Texture* texture;    // ARGB8888 streaming, the mode's size
  int mode_width;
  int mode_height;
  int fullscreen;          // 1 while the window covers the desktop
  int close_posted;        // the window's close request is already queued
};

extern SDL_BACKEND_TYP sdl_backend;

// Switches between the desktop-covering view and a window of the mode's size (Alt+Enter).
void sdl_toggle_fullscreen();
// Drops the texture and renderer (mode left or backend ending).
void sdl_release_presentation();
