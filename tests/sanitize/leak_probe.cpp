// A program that forgets to destroy what it made, for the leak checker to catch: a FluidSynth
// synthesizer, an SDL surface, or a surface of our own (the argument says which). Run under the
// sanitizer build with the project's leak suppressions, each must still be reported: the
// suppressions may hide only leaks inside the libraries themselves, never one of ours.
#include <SDL.h>
#include <fluidsynth.h>

#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/surface.h"

namespace {

// Kept out of line so that the report names it.
__attribute__((noinline)) void forget_synthesizer() {
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  fluid_synth_t* synth = new_fluid_synth(settings);
  std::printf("made synthesizer %p\n", static_cast<void*>(synth));
}

__attribute__((noinline)) void forget_sdl_surface() {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 64, 48, 32, SDL_PIXELFORMAT_ARGB8888);
  std::printf("made SDL surface %p\n", static_cast<void*>(surface));
}

__attribute__((noinline)) void forget_own_surface() {
  SURFACE_TYP* surface = plat_surface_create(64, 48, 8, DDSCAPS_OFFSCREENPLAIN);
  std::printf("made surface %p\n", static_cast<void*>(surface));
}

}  // namespace

int main(int argc, char** argv) {
  const char* what = argc > 1 ? argv[1] : "";
  void (*forget)() = nullptr;
  if (std::strcmp(what, "synth") == 0)
    forget = forget_synthesizer;
  else if (std::strcmp(what, "sdl_surface") == 0)
    forget = forget_sdl_surface;
  else if (std::strcmp(what, "surface") == 0)
    forget = forget_own_surface;
  else
    return 2;
  // On a thread of its own: a stale copy of the pointer left in a dead frame of the main
  // stack would still count as a reference and hide the leak.
  std::thread(forget).join();
  return 0;
}
