// Bringing SDL up and down for the game. Sound is started by the audio output on its own.
#include <cstdio>
#include <cstdlib>

#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_state.h"
#include "platform/window.h"

SDL_BACKEND_TYP sdl_backend = {};

static const Uint32 sdl_subsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER;

static int env_set(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0];
}

static void set_reason(char* reason, int reason_size, const char* text, const char* detail) {
  if (!reason || reason_size <= 0) return;
  std::snprintf(reason, static_cast<size_t>(reason_size), "%s%s", text, detail ? detail : "");
}

int plat_startup(char* reason, int reason_size) {
  if (reason && reason_size > 0) reason[0] = '\0';
  const int driver_chosen = env_set("SDL_VIDEODRIVER");
  const int has_x11 = env_set("DISPLAY");
  const int has_wayland = env_set("WAYLAND_DISPLAY");
  // Without a display SDL may fall back on an invisible driver; say why at once instead.
  if (!driver_chosen && !has_x11 && !has_wayland) {
    set_reason(reason, reason_size,
               "no display: DISPLAY is not set (set SDL_VIDEODRIVER=dummy to run without one)",
               nullptr);
    return 0;
  }
  // Only an X display is named: use it, so a server that cannot be reached is reported rather
  // than passed over for another driver.
  if (!driver_chosen && has_x11 && !has_wayland) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  if (SDL_Init(sdl_subsystems) != 0) {
    char what[160];
    const char* display = std::getenv("DISPLAY");
    std::snprintf(what, sizeof what, "cannot open the display%s%s%s: ",
                  has_x11 ? " \"" : "", has_x11 ? display : "", has_x11 ? "\"" : "");
    set_reason(reason, reason_size, what, SDL_GetError());
    return 0;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver_chosen && driver &&
      (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
    SDL_Quit();
    set_reason(reason, reason_size,
               "no display: the display server cannot be reached (set SDL_VIDEODRIVER=dummy to "
               "run without one)",
               nullptr);
    return 0;
  }
  sdl_backend = SDL_BACKEND_TYP{};
  // Without pads the keyboard game is whole: their failure is reported, never fatal.
  sdl_pads_start();
  return 1;
}

void plat_shutdown() {
  sdl_pads_stop();
  sdl_release_presentation();
  if (sdl_backend.window) SDL_DestroyWindow(sdl_backend.window);
  sdl_backend = SDL_BACKEND_TYP{};
  SDL_Quit();
}
