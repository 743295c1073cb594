// The tick count from the page's monotonic clock. It is made large from the first read, as
// the system's count is, so a frame clock that was never started finds its period long past.
// Nothing here blocks: a page that blocks its thread freezes.
#include <emscripten.h>

#include <cmath>

#include "platform/core/backend.h"
#include "platform/ticks.h"
#include "platform/web/web_state.h"

namespace {

double base_ms = -1.0;  // whole ms added to the page's clock

}  // namespace

uint32_t plat_backend_ticks() {
  if (base_ms < 0) base_ms = std::floor(std::fmod(EM_ASM_DOUBLE({ return Date.now(); }), 4294967296.0));
  const double ms = std::floor(emscripten_get_now()) + base_ms;
  return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

// The page cannot sleep: a sleep returns at once.
void plat_backend_sleep(uint32_t) {}
void plat_backend_sleep_until(uint32_t, uint32_t) {}

// The wait is owed, not waited: the page's loop starts the next pass on its deadline.
uint32_t plat_backend_wait_ticks(uint32_t start, uint32_t period) {
  web_pace_wait(&web_backend.pace, start, period);
  return plat_get_tick_count();
}
