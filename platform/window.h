// Window class, window and message queue: what the game's loop and window procedure need.
//
// Messages keep the numbers the game's window procedure is written against (WM_DESTROY 2,
// WM_PAINT 15, WM_QUIT 18, ...). The queue is the process's own: plat_peek_message first lets the backend turn pending OS events (close requests,
// exposure) into messages, then removes at most one.
#pragma once
#include <cstdint>
#include "platform/types.h"

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_ACTIVATEAPP = 0x001C;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;

// Class styles (stored, not interpreted).
constexpr unsigned CS_VREDRAW = 0x0001;
constexpr unsigned CS_HREDRAW = 0x0002;
constexpr unsigned CS_DBLCLKS = 0x0008;
constexpr unsigned CS_OWNDC = 0x0020;

// Window styles.
constexpr unsigned WS_POPUP = 0x80000000u;
constexpr unsigned WS_VISIBLE = 0x10000000u;

constexpr int PM_NOREMOVE = 0;
constexpr int PM_REMOVE = 1;

struct WINDOW_TYP;  // opaque: one per created window

typedef LRESULT (*WNDPROC_TYP)(WINDOW_TYP* window, unsigned message, WPARAM wparam, LPARAM lparam);

struct WNDCLASS_TYP {
  unsigned style;
  WNDPROC_TYP window_proc;
  const char* class_name;
  int black_background;  // 1: the class paints its background black
};

struct MSG_TYP {
  WINDOW_TYP* window;
  unsigned message;
  WPARAM wparam;
  LPARAM lparam;
  uint32_t time;
};

// Backend start and end. plat_startup brings up the backend's own services (the sdl backend:
// SDL video and events). On failure it returns 0 and writes a one-line reason into `reason`.
int plat_startup(char* reason, int reason_size);
void plat_shutdown();

// Registers a class; returns a non-zero atom, or 0 on failure (also when the name is taken).
int plat_register_class(const WNDCLASS_TYP* window_class);

// Creates a window of a registered class. The class's procedure receives WM_CREATE before this
// returns. Null on failure.
WINDOW_TYP* plat_create_window(const char* class_name, const char* caption, unsigned style, int x,
                               int y, int width, int height);

// Destroys a window: its procedure receives WM_DESTROY at once. 1, or 0 for an unknown window.
int plat_destroy_window(WINDOW_TYP* window);

// Looks at the queue without waiting. 1 when a message was there (copied into *msg, and
// removed with PM_REMOVE), 0 when the queue is empty. A posted quit is returned as WM_QUIT
// once every other message has been removed.
int plat_peek_message(MSG_TYP* msg, int remove_flag);
int plat_translate_message(const MSG_TYP* msg);
LRESULT plat_dispatch_message(const MSG_TYP* msg);
int plat_post_message(WINDOW_TYP* window, unsigned message, WPARAM wparam, LPARAM lparam);
void plat_post_quit_message(int exit_code);
LRESULT plat_def_window_proc(WINDOW_TYP* window, unsigned message, WPARAM wparam, LPARAM lparam);

// Painting: begin marks the window valid (so no further WM_PAINT is made for the same damage).
int plat_begin_paint(WINDOW_TYP* window);
int plat_end_paint(WINDOW_TYP* window);

// Shows or hides the pointer over the window; returns the new display count, as the old call did.
int plat_show_cursor(int show);

// The window's rectangle in screen coordinates. 1, or 0 for an unknown window.
int plat_get_window_rect(WINDOW_TYP* window, RECT* rect);
