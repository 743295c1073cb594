// The game's window and the mode it is shown in: full-screen desktop by default (the picture
// scaled up as the player chose, letterboxed), or a window of the mode's size that the player
// may resize.
#include "platform/core/backend.h"
#include "platform/sdl/sdl_state.h"

int plat_backend_window_created(WINDOW_TYP*, const char* caption, int width, int height) {
  if (sdl_backend.window) {
    // Only the first window is shown; later ones share it (the game makes one).
    SDL_SetWindowTitle(sdl_backend.window, caption ? caption : "");
    return 1;
  }
  sdl_backend.window = SDL_CreateWindow(caption ? caption : "", SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, width, height,
                                        SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
  return sdl_backend.window ? 1 : 0;
}

static void show_fullscreen(int fullscreen) {
  if (!sdl_backend.window) return;
  sdl_frame_forget_drawn();  // the window's surface is made anew at its new size
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

// Shows black at once, so whatever the window held before the first frame is gone.
static void show_black() {
  sdl_frame_forget_drawn();
  if (sdl_backend.window_surface) {
    SDL_Surface* surface = SDL_GetWindowSurface(sdl_backend.window);
    if (!surface) return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(sdl_backend.window);
    return;
  }
  SDL_SetRenderDrawColor(sdl_backend.renderer, 0, 0, 0, 255);
  SDL_RenderClear(sdl_backend.renderer);
  SDL_RenderPresent(sdl_backend.renderer);
}

int plat_backend_set_mode(WINDOW_TYP*, int width, int height, int, int fullscreen) {
  if (!sdl_backend.window || width <= 0 || height <= 0) return 0;
  if (!sdl_open_presentation(width, height)) return 0;
  sdl_backend.mode_width = width;
  sdl_backend.mode_height = height;
  show_fullscreen(fullscreen && !prefer_window);
  show_black();
  return 1;
}

void plat_backend_restore_mode() {
  show_fullscreen(0);
  sdl_release_presentation();
}

void plat_backend_cursor(int visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }
