// Window classes, windows and the process's message queue, with the ordering the game's loop
// relies on: posted messages come out first in first out, a posted quit only once nothing else
// is posted, and a paint only once the queue is otherwise empty (and again until the window is
// validated).
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/backend.h"
#include "platform/core/ticks_internal.h"
#include "platform/faults.h"
#include "platform/window.h"

struct WINDOW_TYP {
  int class_index;
  std::string caption;
  unsigned style;
  RECT rect;
  int alive;
  int invalid;  // needs a WM_PAINT
};

namespace {

struct CLASS_REC {
  std::string name;
  WNDCLASS_TYP description;
};

constexpr int FIRST_ATOM = 0xC000;

std::vector<CLASS_REC> classes;
// Destroyed windows stay allocated (marked dead) until reset, so a stale handle is recognised
// as dead instead of being mistaken for a newer window at the same address.
std::vector<std::unique_ptr<WINDOW_TYP>> windows;
std::deque<MSG_TYP> queue;
int quit_posted = 0;
int quit_code = 0;
int cursor_count = 0;
int begin_paints = 0;
int end_paints = 0;

WINDOW_TYP* live(WINDOW_TYP* window) {
  if (!window) return nullptr;
  for (auto& w : windows)
    if (w.get() == window) return w->alive ? window : nullptr;
  return nullptr;
}

WNDPROC_TYP proc_of(const WINDOW_TYP* window) {
  return classes[static_cast<size_t>(window->class_index)].description.window_proc;
}

int find_class(const char* name) {
  for (size_t i = 0; i < classes.size(); ++i)
    if (classes[i].name == name) return static_cast<int>(i);
  return -1;
}

// The window is gone: its queued messages go with it.
void forget(WINDOW_TYP* window) {
  window->alive = 0;
  window->invalid = 0;
  for (auto it = queue.begin(); it != queue.end();)
    it = it->window == window ? queue.erase(it) : it + 1;
}

}  // namespace

int plat_register_class(const WNDCLASS_TYP* window_class) {
  if (!window_class || !window_class->class_name || !window_class->window_proc) return 0;
  if (plat_fault(CALL_REGISTER_CLASS)) return 0;
  if (find_class(window_class->class_name) >= 0) return 0;
  CLASS_REC rec{window_class->class_name, *window_class};
  rec.description.class_name = nullptr;  // the caller's string may not outlive the class
  classes.push_back(std::move(rec));
  return FIRST_ATOM + static_cast<int>(classes.size()) - 1;
}

WINDOW_TYP* plat_create_window(const char* class_name, const char* caption, unsigned style, int x,
                               int y, int width, int height) {
  if (!class_name) return nullptr;
  if (plat_fault(CALL_CREATE_WINDOW)) return nullptr;
  int index = find_class(class_name);
  if (index < 0) return nullptr;
  auto window = std::make_unique<WINDOW_TYP>();
  window->class_index = index;
  window->caption = caption ? caption : "";
  window->style = style;
  window->rect = {x, y, x + width, y + height};
  window->alive = 1;
  window->invalid = 0;
  WINDOW_TYP* handle = window.get();
  windows.push_back(std::move(window));

  // A procedure answering WM_CREATE with -1 refuses the window: the creation stops there.
  if (proc_of(handle)(handle, WM_CREATE, 0, 0) == -1 ||
      !plat_backend_window_created(handle, handle->caption.c_str(), width, height)) {
    plat_destroy_window(handle);
    return nullptr;
  }
  // A window that appears has to be painted once.
  if (style & WS_VISIBLE) handle->invalid = 1;
  return handle;
}

int plat_destroy_window(WINDOW_TYP* window) {
  if (!live(window)) return 0;
  forget(window);
  proc_of(window)(window, WM_DESTROY, 0, 0);
  return 1;
}

WINDOW_TYP* plat_first_window() {
  for (auto& w : windows)
    if (w->alive) return w.get();
  return nullptr;
}

int plat_post_message(WINDOW_TYP* window, unsigned message, WPARAM wparam, LPARAM lparam) {
  // A null window posts to the process itself (seen by the loop, dispatched nowhere).
  if (window && !live(window)) return 0;
  queue.push_back(MSG_TYP{window, message, wparam, lparam, plat_last_tick_count()});
  return 1;
}

void plat_post_quit_message(int exit_code) {
  quit_posted = 1;
  quit_code = exit_code;
}

void plat_window_invalidate(WINDOW_TYP* window) {
  if (live(window)) window->invalid = 1;
}

int plat_peek_message(MSG_TYP* msg, int remove_flag) {
  plat_backend_pump_events();
  if (!msg) return 0;
  if (!queue.empty()) {
    *msg = queue.front();
    if (remove_flag == PM_REMOVE) queue.pop_front();
    return 1;
  }
  if (quit_posted) {
    *msg = MSG_TYP{nullptr, WM_QUIT, static_cast<WPARAM>(quit_code), 0, plat_last_tick_count()};
    if (remove_flag == PM_REMOVE) quit_posted = 0;
    return 1;
  }
  // A paint is never removed by peeking: it keeps coming until the window is validated.
  for (auto& w : windows) {
    if (w->alive && w->invalid) {
      *msg = MSG_TYP{w.get(), WM_PAINT, 0, 0, plat_last_tick_count()};
      return 1;
    }
  }
  return 0;
}

int plat_translate_message(const MSG_TYP* msg) {
  // Key messages are not turned into characters: the game reads keys by state.
  (void)msg;
  return 0;
}

LRESULT plat_dispatch_message(const MSG_TYP* msg) {
  if (!msg || !live(msg->window)) return 0;
  return proc_of(msg->window)(msg->window, msg->message, msg->wparam, msg->lparam);
}

LRESULT plat_def_window_proc(WINDOW_TYP* window, unsigned message, WPARAM wparam, LPARAM lparam) {
  (void)wparam;
  (void)lparam;
  switch (message) {
    case WM_CLOSE:
      plat_destroy_window(window);
      return 0;
    case WM_PAINT:
      plat_begin_paint(window);
      plat_end_paint(window);
      return 0;
    default:
      return 0;
  }
}

int plat_begin_paint(WINDOW_TYP* window) {
  if (!live(window)) return 0;
  ++begin_paints;
  window->invalid = 0;
  return 1;
}

int plat_end_paint(WINDOW_TYP* window) {
  if (!live(window)) return 0;
  ++end_paints;
  return 1;
}

int plat_show_cursor(int show) {
  cursor_count += show ? 1 : -1;
  plat_backend_cursor(cursor_count >= 0);
  return cursor_count;
}

int plat_get_window_rect(WINDOW_TYP* window, RECT* rect) {
  if (!live(window) || !rect) return 0;
  *rect = window->rect;
  return 1;
}

int plat_cursor_count() { return cursor_count; }
int plat_begin_paint_count() { return begin_paints; }
int plat_end_paint_count() { return end_paints; }

void plat_windows_reset() {
  classes.clear();
  windows.clear();
  queue.clear();
  quit_posted = 0;
  quit_code = 0;
  cursor_count = 0;
  begin_paints = 0;
  end_paints = 0;
}
