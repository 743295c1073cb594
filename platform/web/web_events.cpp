// The page's events become key changes and window messages. A key held when the page loses
// focus or is hidden would never see its release: every key is let go then.
#include <emscripten/html5.h>

#include "platform/core/backend.h"
#include "platform/web/web_keymap.h"
#include "platform/web/web_state.h"

namespace {

EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* event, void*) {
  if (type == EMSCRIPTEN_EVENT_KEYDOWN) web_audio_start_on_key();
  const int dik = web_code_to_dik(event->code);
  if (dik != 0) plat_keys_set(dik, type == EMSCRIPTEN_EVENT_KEYDOWN);
  // True keeps the page from scrolling (or going back) on the game's keys.
  return web_code_is_page_key(event->code) ? EM_TRUE : EM_FALSE;
}

EM_BOOL on_blur(int, const EmscriptenFocusEvent*, void*) {
  plat_keys_release_all();
  return EM_FALSE;
}

void set_hidden(int hidden) {
  const int was = web_backend.hidden;
  web_backend.hidden = hidden;
  if (hidden) plat_keys_release_all();
  if (!hidden && was) {
    // Shown again: the picture is repainted and the loop goes on from where it rested.
    if (WINDOW_TYP* window = plat_first_window()) plat_window_invalidate(window);
    if (web_backend.shown) web_backend.shown();
  }
}

EM_BOOL on_visibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
  set_hidden(event->hidden ? 1 : 0);
  return EM_FALSE;
}

EM_BOOL on_resize(int, const EmscriptenUiEvent*, void*) {
  web_fit_canvas();
  return EM_FALSE;
}

}  // namespace

void web_events_start() {
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, nullptr, EM_TRUE, on_key);
  emscripten_set_keyup_callback(window, nullptr, EM_TRUE, on_key);
  emscripten_set_blur_callback(window, nullptr, EM_TRUE, on_blur);
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, on_visibility);
  emscripten_set_resize_callback(window, nullptr, EM_FALSE, on_resize);
  EmscriptenVisibilityChangeEvent now;
  if (emscripten_get_visibility_status(&now) == EMSCRIPTEN_RESULT_SUCCESS)
    web_backend.hidden = now.hidden ? 1 : 0;
  web_audio_show_hint(1);
}

void web_events_stop() {
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, nullptr, EM_TRUE, nullptr);
  emscripten_set_keyup_callback(window, nullptr, EM_TRUE, nullptr);
  emscripten_set_blur_callback(window, nullptr, EM_TRUE, nullptr);
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, nullptr);
  emscripten_set_resize_callback(window, nullptr, EM_FALSE, nullptr);
  plat_keys_release_all();
  web_audio_show_hint(0);
}

void plat_backend_pump_events() {
  // Keys and focus arrived between passes; what is left is the silent mix's time.
  web_audio_output_pump();
}
