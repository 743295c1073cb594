// Control of the headless backend, for tests, the simulator and benchmarks: a virtual clock, a
// script of key changes and messages by loop pass, captured frames, and counters. Fault
// injection is platform/faults.h.
#pragma once
#include <cstdint>

#include "platform/window.h"

// Everything back to a fresh process: clock 0 with a step of 1, no script, pass 0, no classes,
// windows or messages, keys up, keyboard device gone, faults cleared, frames and counters
// dropped, cursor count 0, display mode forgotten, 5.6.5 format. Surfaces still held by the
// caller remain the caller's to release.
void headless_reset();

// The virtual clock. Each read of the tick count returns the clock and then advances it by the
// step (1 ms by default, so busy-waits end; 0 stops it).
void headless_set_ticks(uint32_t ticks);
void headless_advance(uint32_t ms);
void headless_set_tick_step(uint32_t ms);
// A finer step: the clock counts microseconds and the tick count is its whole milliseconds.
void headless_set_tick_step_us(uint32_t us);
uint32_t headless_ticks();  // the clock, without advancing it
// Milliseconds the program asked to sleep since the reset (sleeping moves the clock on).
uint64_t headless_slept_ms();

// The script. Each plat_peek_message call is one loop pass, numbered from 0; the entries of
// pass N are applied at the start of that call, in the order they were added.
void headless_script_key(int pass, int dik, int down);
// Posted to the first window (dropped when there is none).
void headless_script_message(int pass, unsigned message, WPARAM wparam, LPARAM lparam);
// The player closing the window: WM_CLOSE posted to the first window.
void headless_script_close(int pass);
// Marks the first window as needing a paint, as an exposure would.
void headless_script_expose(int pass);
int headless_pass();  // passes so far
// A key change now.
void headless_key(int dik, int down);

// Captured frames: every present keeps the picture with its palette, as it was then, and it is
// read as packed RGB (made at the first look). Only the latest `max_frames` are kept (default
// 8); index 0 is the oldest kept, and a negative index counts from the latest (-1). Pointers
// stay valid until the next present or reset; null when there was no memory to keep the frame.
void headless_set_frame_cap(int max_frames);
int headless_frame_count();
const uint8_t* headless_frame_rgb(int index);
// The size of the latest frame (0 x 0 when none).
void headless_frame_size(int* width, int* height);
int headless_write_frame_png(int index, const char* path);

// Counters.
int headless_presents();
int headless_begin_paints();
int headless_end_paints();
int headless_set_mode_calls();
int headless_restore_mode_calls();
int headless_vblank_waits();
int headless_cursor_count();
int headless_cursor_visible();  // what the backend was last told
struct HEADLESS_MODE_TYP {
  int width;
  int height;
  int bpp;
  int fullscreen;
};
HEADLESS_MODE_TYP headless_last_mode();
// Caption and size of the last window the backend was asked to open ("" / 0 before any).
const char* headless_window_caption();

// 16-bit modes report this RGB bit count: 16 (5.6.5, default) or 15 (5.5.5).
void headless_set_pixel_format(int rgb_bits);
