// The game window's procedure. All drawing happens in the game's frame on the display's
// surfaces; the window only owns the devices and carries the quit request.
#pragma once
#include "platform/window.h"

LRESULT window_proc(WINDOW_TYP* window, unsigned message, WPARAM wparam, LPARAM lparam);
