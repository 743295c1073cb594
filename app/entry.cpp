#include "app/entry.h"

#include <cstdio>

#include "app/game_shell.h"
#include "app/window_proc.h"
#include "engine/graphics/display.h"

void* app_instance = nullptr;

namespace {

char instance_token;

// The run between app_start and app_finish.
const GAME_CALLS_TYP* run_calls = nullptr;
int run_started = 0;  // start-up succeeded: shut-down is owed
int run_over = 0;     // the quit message has been removed: no more frames
int run_exit_code = 0;
MSG_TYP run_msg = {};

}  // namespace

int app_start(const GAME_CALLS_TYP* calls) {
  run_calls = nullptr;
  run_started = 0;
  run_over = 0;
  run_exit_code = 0;
  run_msg = {};
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
    run_exit_code = APP_EXIT_START_FAILED;
    return 0;
  }
  run_calls = calls;
  run_started = 1;
  return 1;
}

int app_pass() {
  if (!run_started || run_over) return 0;
  if (plat_peek_message(&run_msg, PM_REMOVE)) {
    // The quit message ends the loop before it could be dispatched, and without a frame.
    if (run_msg.message == WM_QUIT) {
      run_exit_code = static_cast<int>(run_msg.wparam);
      run_over = 1;
      return 0;
    }
    plat_translate_message(&run_msg);
    plat_dispatch_message(&run_msg);
  }
  run_calls->main();
  return 1;
}

int app_finish() {
  if (run_started) run_calls->shutdown();
  run_started = 0;
  run_calls = nullptr;
  return run_exit_code;
}

int app_run(const GAME_CALLS_TYP* calls) {
  if (app_start(calls)) {
    while (app_pass()) {
    }
  }
  return app_finish();
}
