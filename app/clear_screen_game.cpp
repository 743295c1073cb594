// The game as it stands until its screens exist: the display comes up, every frame clears and
// shows the back buffer at a 30 ms pace, and Escape ends the program.
#include "app/game.h"
#include "engine/graphics/clock.h"
#include "engine/graphics/display.h"
#include "platform/keys.h"
#include "platform/window.h"

int game_init() { return display_init(640, 480, 8, 0) ? 1 : 0; }

int game_main() {
  // Posted, not handled here: this frame still completes and the window ends the loop.
  if (plat_key_down_now(VK_ESCAPE)) plat_post_message(main_window, WM_DESTROY, 0, 0);
  clock_start();
  display_fill_surface(back_surface, 0, nullptr);
  display_flip();
  clock_wait(30);
  return 1;
}

int game_shutdown() {
  display_shutdown();
  return 1;
}
