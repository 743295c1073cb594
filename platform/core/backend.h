// The seam between the shared platform code and a backend. Shared code (surfaces, the message
// queue, the keyboard state, the display's surfaces) calls these; each backend implements them.
// Neither the engine nor the game includes this header.
#pragma once
#include <cstdint>
#include "platform/surface.h"
#include "platform/window.h"

// Implemented by the backend -------------------------------------------------------------

// Turns pending OS events into messages (plat_post_message) and key changes (plat_keys_set).
// Called by plat_peek_message before it looks at the queue.
void plat_backend_pump_events();
// Opens the mode in the backend's own terms (a window of that size, a presentation target).
int plat_backend_set_mode(WINDOW_TYP* window, int width, int height, int bpp, int fullscreen);
void plat_backend_restore_mode();
// Shows the primary surface's pixels, converted through its palette (8 bits) or its pixel
// format (16 bits). Called by flip and present.
int plat_backend_present(const SURFACE_TYP* primary);
int plat_backend_wait_vblank();
// The backend's milliseconds.
uint32_t plat_backend_ticks();
// Blocks for about ms milliseconds (headless: moves the virtual clock on by exactly that).
void plat_backend_sleep(uint32_t ms);
// Blocks until the tick `deadline` at the latest (`now` is the tick just read), for a wait that
// reads the clock again afterwards: waking early is allowed, waking late is not.
void plat_backend_sleep_until(uint32_t now, uint32_t deadline);
// The frame clock's wait (plat_wait_ticks). A backend that may block passes it on to
// plat_wait_ticks_sleeping; one whose host owns the loop (a browser page) must not block, and
// starts the next pass at the deadline instead.
uint32_t plat_backend_wait_ticks(uint32_t start, uint32_t period);
// The window a backend opened for a created platform window (show it, set its caption).
int plat_backend_window_created(WINDOW_TYP* window, const char* caption, int width, int height);
void plat_backend_cursor(int visible);

// Provided by shared code for the backends ----------------------------------------------

// The wait of a backend that can block: sleeps (plat_backend_sleep_until) and reads the clock
// until `period` ms have passed since `start`; returns a fresh read of the tick count.
uint32_t plat_wait_ticks_sleeping(uint32_t start, uint32_t period);
// Key changes by scan code; the VK state used by plat_key_down_now follows from them. Each
// device that feeds keys has its own number (the keyboard 0, gamepads from 1): a key stays down
// while any device holds it. plat_keys_set is the keyboard's.
constexpr int KEY_DEVICES = 32;
constexpr int KEY_DEVICE_KEYBOARD = 0;
void plat_keys_set(int dik, int down);
void plat_keys_set_by(int source, int dik, int down);
// Lets go of every key one device holds (a pad unplugged); other devices' keys stay down.
void plat_keys_release_by(int source);
// Every key up, whichever device held it (focus lost).
void plat_keys_release_all();
// 1 while the game shows a menu screen (plat_keys_set_menu_screen).
int plat_keys_menu_screen();
// The first window created and not yet destroyed (where close requests go), or null.
WINDOW_TYP* plat_first_window();
// Direct read access to a surface's memory, for presentation only (not a lock).
const uint8_t* plat_surface_pixels(const SURFACE_TYP* surface, int* pitch);
// A presented picture kept for reading later without copying it at present: the hold reads the
// surface's own pixels until something is about to write them, and only then takes a copy. It
// outlives the surface. Null when there is no memory for the record.
struct PICTURE_HOLD_TYP;
PICTURE_HOLD_TYP* plat_picture_hold(const SURFACE_TYP* surface);
// The held pixels (the surface's pitch), or null when memory ran out for the copy.
const uint8_t* plat_picture_hold_pixels(const PICTURE_HOLD_TYP* hold, int* pitch);
void plat_picture_hold_release(PICTURE_HOLD_TYP* hold);
// 1 when the window system must repaint (a WM_PAINT is made when the queue is otherwise empty).
void plat_window_invalidate(WINDOW_TYP* window);

// Added for the headless backend and the tests (a backend need not call them) ----------------

// Forgets every class, window and queued message, the posted quit, the cursor count and the
// paint counters: the window system of a fresh process.
void plat_windows_reset();
// The pointer's display count, and how many begin and end paints were made.
int plat_cursor_count();
int plat_begin_paint_count();
int plat_end_paint_count();
// All keys up, the keyboard device back to not created and the menu screen shown.
void plat_keys_reset();
// Forgets the mode and the primary (surfaces themselves stay their owners' to release) and goes
// back to the 5.6.5 format.
void plat_display_reset();
// The 16-bit format the display reports: 16 (5.6.5, the default) or 15 (5.5.5).
void plat_display_set_format16(int rgb_bits);
// The face text is drawn with (null: the one the search finds); the next draw loads it afresh.
void plat_text_set_font_file(const char* path);
// How the face is found when no file is set (null: fontconfig, then Debian's fixed path, as
// in font_find.h). The next text call searches afresh and reports a missing face again.
void plat_text_set_font_search(int (*search)(char* path, int size));
