// What the sdl backend holds between calls: the one window the game opened and the
// presentation target of the current mode.
#pragma once
#include <SDL.h>

#include "platform/sdl/sdl_frame.h"

struct SDL_BACKEND_TYP {
  SDL_Window* window;      // made when the game's window is created
  SDL_Renderer* renderer;  // made by the first mode set when SDL has an accelerated renderer
  SDL_Texture* texture;    // streaming, the mode's size (times the whole factor when sharp)
  FRAME_FORMAT_TYP texture_format;  // the renderer's own
  int texture_width;
  int texture_height;
  int window_surface;      // 1: frames are drawn straight into the window's surface instead
  int mode_width;
  int mode_height;
  int fullscreen;          // 1 while the window covers the desktop
  int close_posted;        // the window's close request is already queued
};

extern SDL_BACKEND_TYP sdl_backend;

// Switches between the desktop-covering view and a window of the mode's size (Alt+Enter).
void sdl_toggle_fullscreen();
// Makes the presentation target for a mode of width x height: a renderer with a streaming
// texture, or the window's own surface when SDL has only software rendering. 1 or 0.
int sdl_open_presentation(int width, int height);
// Drops the texture and renderer, or stops using the window surface (mode left or backend ending).
void sdl_release_presentation();
// 1 when this frame is the one last drawn into `surface` at this scale (nothing to draw again),
// else 0, and it is remembered as drawn. Anything else that changes the surface forgets it.
int sdl_frame_same_as_drawn(const SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch,
                            int width, int height, int bpp, int pixel_format,
                            const PALETTEENTRY* palette);
void sdl_frame_forget_drawn();
// Draws into `surface` (locked when it must be) only the pixels showing frame pixels that differ
// from the frame it holds (by column blocks of the frame's rows), all of it when anything else
// differs, and remembers this frame as drawn. The drawn rectangles go into bands (at most
// max_bands; the last grows to cover what does not fit); the count, 0 when the surface held this
// frame already.
int sdl_frame_draw_changed(SDL_Surface* surface, int scale, const uint8_t* pixels, int pitch,
                           int width, int height, int bpp, int pixel_format,
                           const PALETTEENTRY* palette, const FRAME_COLOURS_TYP& colours,
                           SDL_Rect* bands, int max_bands);
// Shows a frame of the mode's size with its colours. 1, or 0 when SDL refuses a step.
int sdl_show_frame(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                   const PALETTEENTRY* palette, int pixel_format);
// The frame format of a 32-bit SDL pixel format with 8-bit channels. 1, or 0 for others.
int sdl_frame_format_of(const SDL_PixelFormat* format, FRAME_FORMAT_TYP* out);
