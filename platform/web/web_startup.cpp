// Bringing the web backend up and down: the canvas must be there; the page's events are
// listened to from then on.
#include <emscripten.h>

#include <cstdio>

#include "platform/core/backend.h"
#include "platform/display.h"
#include "platform/ticks.h"
#include "platform/web/web.h"
#include "platform/web/web_state.h"
#include "platform/window.h"

WEB_BACKEND_TYP web_backend = {};

int plat_startup(char* reason, int reason_size) {
  if (reason && reason_size > 0) reason[0] = '\0';
  const int has_canvas = EM_ASM_INT({ return Module['canvas'] ? 1 : 0; });
  if (!has_canvas) {
    if (reason && reason_size > 0)
      std::snprintf(reason, static_cast<size_t>(reason_size), "%s",
                    "the page has no canvas to draw the game in");
    return 0;
  }
  web_backend = WEB_BACKEND_TYP{};
  web_backend.started = 1;
  web_events_start();
  return 1;
}

void plat_shutdown() {
  if (!web_backend.started) return;
  web_events_stop();
  web_audio_stop();
  web_backend = WEB_BACKEND_TYP{};
}

// The page always fills its window: there is no desktop to choose a window on.
void plat_display_prefer_window(int) {}

// The page's loop reads the clock for itself, beneath any demo: its reads are not the game's,
// and a recording of them could never be replayed where no page loop runs.
uint32_t web_ms_until_next_pass() { return web_pace_delay(&web_backend.pace, plat_backend_ticks()); }

int web_page_hidden() { return web_backend.hidden; }

void web_on_page_shown(void (*shown)()) { web_backend.shown = shown; }

void web_show_line(const char* text) {
  EM_ASM({ if (Module['showLine']) Module['showLine'](UTF8ToString($0)); }, text ? text : "");
}
