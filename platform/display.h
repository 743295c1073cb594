// Display mode and presentation: the screen the player sees.
//
// The primary surface is what is shown. Full-screen it has one attached back buffer and
// plat_display_flip exchanges their contents and presents; windowed there is no back buffer
// and the engine blits its own back surface onto the primary, which presents it.
#pragma once
#include "platform/surface.h"

struct WINDOW_TYP;

// Sets the mode for a window: width x height at 8 or 16 bits, full-screen or windowed.
// 1 or 0. The sdl backend scales the picture to its window (letterboxed, plat_display_set_scale).
int plat_display_set_mode(WINDOW_TYP* window, int width, int height, int bpp, int fullscreen);

// Creates the primary surface in the current mode, with back_buffers (0 or 1) attached. Null
// on failure or before a mode is set. Only one primary exists at a time.
SURFACE_TYP* plat_display_create_primary(int back_buffers);
// The attached back buffer of the primary, or null. It goes when the primary is released;
// releasing it on its own does nothing.
SURFACE_TYP* plat_display_get_back_buffer(SURFACE_TYP* primary);

// The RGB bit count of the primary's pixel format: 8 in 8-bit modes, 16 (5.6.5) or 15
// (5.5.5) in 16-bit modes. 0 for a null surface.
int plat_display_pixel_format(const SURFACE_TYP* primary);

// Exchanges the primary's and back buffer's memory and presents the primary with its palette.
// 1, or 0 when either is locked, there is no back buffer, or a fault is injected.
int plat_display_flip(SURFACE_TYP* primary);

// Presents the primary as it is (used after a windowed blit onto it). 1 or 0.
int plat_display_present(SURFACE_TYP* primary);

// Waits for the start of the next vertical blank where the backend can; 1.
int plat_display_wait_vblank();

// Shows full-screen modes in a window of the mode's size from the start (the player's choice;
// Alt+Enter still toggles). The game's own requests are unchanged. Backends without a desktop
// ignore it.
void plat_display_prefer_window(int prefer);

// How the picture is scaled to a desktop or window larger than the mode: SCALE_NEAREST (each
// screen pixel the mode's pixel under it; the default), SCALE_SHARP (the largest whole factor
// that fits, then filtered linearly to the size that fits: even pixels at any size) or
// SCALE_INTEGER (whole factors only, with wider bars). The player's choice; backends without a
// desktop ignore it.
constexpr int SCALE_NEAREST = 0;
constexpr int SCALE_SHARP = 1;
constexpr int SCALE_INTEGER = 2;
void plat_display_set_scale(int scale);
// The scale named "nearest", "sharp" or "integer", or -1 for any other name.
int plat_display_scale_named(const char* name);

// Leaves the mode (the window stays). Releasing the primary is the owner's job.
void plat_display_restore_mode();
