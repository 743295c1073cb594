#include "app/window_proc.h"

LRESULT window_proc(WINDOW_TYP* window, unsigned message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_PAINT:
      // Validate only: the next frame repaints everything anyway.
      plat_begin_paint(window);
      plat_end_paint(window);
      return 0;
    case WM_DESTROY:
      // The window is gone (Escape or a close request): end the loop.
      plat_post_quit_message(0);
      return 0;
    default:
      return plat_def_window_proc(window, message, wparam, lparam);
  }
}
