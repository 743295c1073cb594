// The game's window and the mode it is shown in: full-screen desktop by default (the picture
// scaled up with nearest sampling, letterboxed), or a window of the mode's size.
#include "platform/core/backend.h"
#include "platform/sdl/sdl_state.h"

int plat_backend_window_created(WINDOW_TYP*, const char* caption, int width, int height) {
  if (sdl_backend.window) {
    // Only the first window is shown; later ones share it (the game makes one).
    SDL_SetWindowTitle(sdl_backend.window, caption ? caption : "");
    return 1;
  }
  sdl_backend.window = SDL_CreateWindow(caption ? caption : "", SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_SHOWN);
  return sdl_backend.window ? 1 : 0;
}

void sdl_release_presentation() {
  if (sdl_backend.texture) SDL_DestroyTexture(sdl_backend.texture);
  if (sdl_backend.renderer) SDL_DestroyRenderer(sdl_backend.renderer);
  sdl_backend.texture = nullptr;
  sdl_backend.renderer = nullptr;
  sdl_backend.mode_width = 0;
  sdl_backend.mode_height = 0;
}

static void show_fullscreen(int fullscreen) {
  if (!sdl_backend.window) return;
  if (fullscreen) {
    // Cover the desktop by size first too: without a window manager (a bare X server) the
    // full-screen request alone leaves the window small while SDL draws for the whole desktop.
    SDL_Rect desktop;
    const int display = SDL_GetWindowDisplayIndex(sdl_backend.window);
    if (display >= 0 && SDL_GetDisplayBounds(display, &desktop) == 0) {
      SDL_SetWindowPosition(sdl_backend.window, desktop.x, desktop.y);
      SDL_SetWindowSize(sdl_backend.window, desktop.w, desktop.h);
    }
    // A desktop-covering window keeps the desktop's own mode: no mode switch, quick Alt+Tab.
    if (SDL_SetWindowFullscreen(sdl_backend.window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) {
      sdl_backend.fullscreen = 1;
      return;
    }
    // Some video drivers cannot cover the desktop; the game still runs in its window.
  }
  SDL_SetWindowFullscreen(sdl_backend.window, 0);
  if (sdl_backend.mode_width > 0) {
    SDL_SetWindowSize(sdl_backend.window, sdl_backend.mode_width, sdl_backend.mode_height);
    SDL_SetWindowPosition(sdl_backend.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  sdl_backend.fullscreen = 0;
}

void sdl_toggle_fullscreen() { show_fullscreen(!sdl_backend.fullscreen); }

static int prefer_window = 0;

void plat_display_prefer_window(int prefer) { prefer_window = prefer ? 1 : 0; }

int plat_backend_set_mode(WINDOW_TYP*, int width, int height, int, int fullscreen) {
  if (!sdl_backend.window || width <= 0 || height <= 0) return 0;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (!sdl_backend.renderer) {
    // No vsync: the frame clock paces the game, and a blocking present would stretch frames.
    sdl_backend.renderer = SDL_CreateRenderer(sdl_backend.window, -1, 0);
    if (!sdl_backend.renderer) {
      sdl_backend.renderer = SDL_CreateRenderer(sdl_backend.window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!sdl_backend.renderer) return 0;
  }
  if (!sdl_backend.texture || sdl_backend.mode_width != width ||
      sdl_backend.mode_height != height) {
    if (sdl_backend.texture) SDL_DestroyTexture(sdl_backend.texture);
    sdl_backend.texture = SDL_CreateTexture(sdl_backend.renderer, SDL_PIXELFORMAT_ARGB8888,
                                            SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!sdl_backend.texture) return 0;
  }
  sdl_backend.mode_width = width;
  sdl_backend.mode_height = height;
  // The mode's picture keeps its shape at any window size: bars fill the rest.
  SDL_RenderSetLogicalSize(sdl_backend.renderer, width, height);
  show_fullscreen(fullscreen && !prefer_window);
  SDL_SetRenderDrawColor(sdl_backend.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl_backend.renderer);
  SDL_RenderPresent(sdl_backend.renderer);
  return 1;
}

void plat_backend_restore_mode() {
  show_fullscreen(0);
  sdl_release_presentation();
}

void plat_backend_cursor(int visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }
