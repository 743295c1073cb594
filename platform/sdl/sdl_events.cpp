// SDL's events become the game's messages and key changes, the keyboard's and the gamepads'.
// Alt+Enter belongs to the window (full-screen or not) and never reaches the game's keyboard
// state.
#include "platform/core/backend.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_state.h"

// A close request is final (the window goes, then the game quits): ask once, however many
// times the window system says it (a close click brings both a window close and a quit). The
// flag lives with the backend, so a backend started again takes close requests again.
static void request_close() {
  WINDOW_TYP* window = plat_first_window();
  if (!window || sdl_backend.close_posted) return;
  if (plat_post_message(window, WM_CLOSE, 0, 0)) sdl_backend.close_posted = 1;
}

static int is_alt_enter(const SDL_KeyboardEvent& key) {
  const SDL_Scancode code = key.keysym.scancode;
  return (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) &&
         (key.keysym.mod & KMOD_ALT) != 0;
}

static void handle_key(const SDL_KeyboardEvent& key) {
  const int down = key.type == SDL_KEYDOWN;
  if (down && is_alt_enter(key)) {
    if (!key.repeat) sdl_toggle_fullscreen();
    return;
  }
  const int dik = sdl_scancode_to_dik(key.keysym.scancode);
  if (dik != 0) plat_keys_set(dik, down);
}

static void handle_window_event(const SDL_WindowEvent& event) {
  // Shown, resized, exposed, moved to another display: the next frame is drawn afresh.
  sdl_frame_forget_drawn();
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      request_close();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      if (WINDOW_TYP* window = plat_first_window()) plat_window_invalidate(window);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // Keys released while another window has focus never reach us: none may stay held,
      // the pads' included (SDL passes their presses on only to a focused window).
      plat_keys_release_all();
      sdl_pads_forget_held();
      break;
    default:
      break;
  }
}

void plat_backend_pump_events() {
  // One look at the window system per frame: polling would pump it again for every event.
  SDL_PumpEvents();
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    switch (event.type) {
      case SDL_QUIT:
        request_close();
        break;
      case SDL_WINDOWEVENT:
        handle_window_event(event.window);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        handle_key(event.key);
        break;
      default:
        sdl_pads_handle_event(event);
        break;
    }
  }
  // The pads' keys follow from their controls now and the screen the game last showed.
  sdl_pads_update_keys();
}
