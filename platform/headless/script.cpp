// The script of a headless run: key changes and messages by loop pass, applied by the pump at
// the start of each plat_peek_message.
#include <vector>

#include "platform/core/backend.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"

namespace {

enum ENTRY_KIND { ENTRY_KEY, ENTRY_MESSAGE, ENTRY_CLOSE, ENTRY_EXPOSE };

struct ENTRY_REC {
  int pass;
  ENTRY_KIND kind;
  int dik;
  int down;
  unsigned message;
  WPARAM wparam;
  LPARAM lparam;
};

std::vector<ENTRY_REC> script;
int passes = 0;

void apply(const ENTRY_REC& e) {
  WINDOW_TYP* window = plat_first_window();
  switch (e.kind) {
    case ENTRY_KEY:
      plat_keys_set(e.dik, e.down);
      break;
    case ENTRY_MESSAGE:
      if (window) plat_post_message(window, e.message, e.wparam, e.lparam);
      break;
    case ENTRY_CLOSE:
      if (window) plat_post_message(window, WM_CLOSE, 0, 0);
      break;
    case ENTRY_EXPOSE:
      if (window) plat_window_invalidate(window);
      break;
  }
}

}  // namespace

void plat_backend_pump_events() {
  const int pass = passes++;
  for (const ENTRY_REC& e : script)
    if (e.pass == pass) apply(e);
}

void headless_script_key(int pass, int dik, int down) {
  script.push_back({pass, ENTRY_KEY, dik, down, 0, 0, 0});
}

void headless_script_message(int pass, unsigned message, WPARAM wparam, LPARAM lparam) {
  script.push_back({pass, ENTRY_MESSAGE, 0, 0, message, wparam, lparam});
}

void headless_script_close(int pass) { script.push_back({pass, ENTRY_CLOSE, 0, 0, 0, 0, 0}); }
void headless_script_expose(int pass) { script.push_back({pass, ENTRY_EXPOSE, 0, 0, 0, 0, 0}); }

int headless_pass() { return passes; }

void headless_key(int dik, int down) { plat_keys_set(dik, down); }

void headless_script_reset() {
  script.clear();
  passes = 0;
}
