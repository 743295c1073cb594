#include "app/entry.h"

#include <cstdio>

#include "app/game_shell.h"
#include "app/window_proc.h"
#include "engine/graphics/display.h"

void* app_instance = nullptr;

static char instance_token;

int app_run(const GAME_CALLS_TYP* calls) {
  if (!calls || !calls->init || !calls->main || !calls->shutdown) return 0;

  WNDCLASS_TYP window_class = {};
  window_class.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  window_class.window_proc = window_proc;
  window_class.class_name = "WINCLASS1";
  window_class.black_background = 1;
  app_instance = &instance_token;

  if (!plat_register_class(&window_class)) {
    std::fprintf(stderr, "ashfallow: cannot register the window class\n");
    return 0;
  }
  WINDOW_TYP* window =
      plat_create_window("WINCLASS1", "Ashfallow", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480);
  if (!window) {
    std::fprintf(stderr, "ashfallow: cannot create the window\n");
    return 0;
  }
  main_window = window;

  // A frame assumes everything start-up makes exists: after a failed start-up no frame may
  // run, but shut-down still releases whatever was made.
  if (!calls->init()) {
    std::fprintf(stderr, "ashfallow: start-up failed: %s\n",
                 game_init_failure ? game_init_failure : "the game could not make what it needs");
    calls->shutdown();
    return APP_EXIT_START_FAILED;
  }

  MSG_TYP msg = {};
  for (;;) {
    if (plat_peek_message(&msg, PM_REMOVE)) {
      // The quit message ends the loop before it could be dispatched, and without a frame.
      if (msg.message == WM_QUIT) break;
      plat_translate_message(&msg);
      plat_dispatch_message(&msg);
    }
    calls->main();
  }
  calls->shutdown();
  return static_cast<int>(msg.wparam);
}
