// The program's entry logic: the window class and window, then one message (at most) and one
// game frame per loop pass until the quit message arrives. The sdl program and the headless
// simulator and tests all run this same code; they only choose the game's three calls.
#pragma once
#include "platform/window.h"

// The game's start-up, frame and shut-down. Each returns 1 on success; start-up returns 0 when
// something it needs could not be made.
struct GAME_CALLS_TYP {
  int (*init)();
  int (*main)();
  int (*shutdown)();
};

// Exit code of a run whose game start-up failed (the frames never ran).
constexpr int APP_EXIT_START_FAILED = 1;

// The process's instance token, stored before the class is registered. Nothing in this program
// needs one; it names this process (it is the address of a private object) for code that wants
// to pass one on.
extern void* app_instance;

// Registers "WINCLASS1", creates the "Ashfallow" window (stored in main_window), runs the game
// and returns the quit message's exit code. 0 when the class or window cannot be made (no game
// code runs then); APP_EXIT_START_FAILED when the game's start-up fails.
int app_run(const GAME_CALLS_TYP* calls);

// app_run in three steps, for a host that owns the loop itself (a browser calls one pass per
// callback): app_start makes the window and runs start-up (1, or 0 when the run is already
// over); each app_pass handles at most one message and runs one frame (1, or 0 once the quit
// message has been removed, with no frame run); app_finish runs shut-down when start-up
// succeeded and returns the exit code app_run would.
int app_start(const GAME_CALLS_TYP* calls);
int app_pass();
int app_finish();
