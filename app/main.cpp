// The game on the sdl backend. Data files are read from the folder given with --data, else from
// the working folder or the installed one (app/data_find.h).
#include <cstdio>
#include <cstring>

#include "app/data_find.h"
#include "app/entry.h"
#include "app/game_shell.h"
#include "platform/display.h"

namespace {

const char* const USAGE =
    "usage: ashfallow [--window] [--scale sharp|nearest|integer] [--data DIR] [--help]\n"
    "Plays Ashfallow full screen (Alt+Enter toggles a window).\n"
    "  --window    start in a 640 x 480 window\n"
    "  --scale S   how the picture fills a larger screen or window: sharp (the default:\n"
    "              even pixels at any size, edges softened), nearest, or integer (whole\n"
    "              factors only, with wider borders)\n"
    "  --data DIR  read the data files from DIR (default: the working folder when it\n"
    "              holds them, else the installed ones)\n"
    "Keys: arrows move, Space strikes and advances the screens, Left Shift summons,\n"
    "Escape quits.\n"
    "Gamepad (plugged in at any time): d-pad or left stick moves, A strikes and\n"
    "advances the screens, X or the right shoulder summons, Start advances the\n"
    "screens, Back held with Start quits.\n";

}  // namespace

int main(int argc, char** argv) {
  plat_display_set_scale(SCALE_SHARP);
  const char* data_option = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fputs(USAGE, stdout);
      return 0;
    }
    if (!std::strcmp(argv[i], "--window")) {
      plat_display_prefer_window(1);
    } else if (!std::strcmp(argv[i], "--scale") && i + 1 < argc) {
      const int scale = plat_display_scale_named(argv[++i]);
      if (scale < 0) {
        std::fprintf(stderr, "ashfallow: --scale takes sharp, nearest or integer, not \"%s\"\n",
                     argv[i]);
        return 2;
      }
      plat_display_set_scale(scale);
    } else if (!std::strcmp(argv[i], "--data") && i + 1 < argc) {
      data_option = argv[++i];
    } else {
      std::fprintf(stderr, "ashfallow: unknown option \"%s\"\n%s", argv[i], USAGE);
      return 2;
    }
  }
  if (!data_enter_folder(data_option)) return 2;
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
