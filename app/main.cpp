// The game on the sdl backend. It takes no command line; data files are read from the
// current directory.
#include <cstdio>

#include "app/entry.h"
#include "app/game.h"

int main() {
  char reason[256];
  if (!plat_startup(reason, static_cast<int>(sizeof reason))) {
    std::fprintf(stderr, "ashfallow: %s\n", reason);
    return 1;
  }
  const GAME_CALLS_TYP calls = {game_init, game_main, game_shutdown};
  const int exit_code = app_run(&calls);
  plat_shutdown();
  return exit_code;
}
