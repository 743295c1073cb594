// The tick count is the backend's: a steady clock for the game, the virtual clock headless.
#include "platform/ticks.h"

#include <chrono>

#include "platform/core/backend.h"
#include "platform/core/demo_tap.h"
#include "platform/core/ticks_internal.h"

namespace {
uint32_t last_read = 0;
}

uint32_t plat_get_tick_count() {
  if (demo_mode == DEMO_REPLAYING) {
    last_read = demo_replay_clock(0);
    return last_read;
  }
  last_read = plat_backend_ticks();
  demo_record_clock(last_read);
  return last_read;
}

// The wait's own reads come straight from the backend and are never recorded: only the
// reading it ends on (a plat_get_tick_count) changes the game's course. A replay has nothing
// to wait for but, when paced, the recording's time.
uint32_t plat_wait_ticks(uint32_t start, uint32_t period) {
  if (demo_mode == DEMO_REPLAYING) {
    last_read = demo_replay_clock(1);
    return last_read;
  }
  return plat_backend_wait_ticks(start, period);
}

uint32_t plat_wait_ticks_sleeping(uint32_t start, uint32_t period) {
  for (;;) {
    const uint32_t now = plat_backend_ticks();
    last_read = now;
    if (static_cast<uint32_t>(now - start) >= period) break;
    plat_backend_sleep_until(now, start + period);
  }
  return plat_get_tick_count();
}

uint32_t plat_last_tick_count() { return last_read; }

void plat_sleep_ms(uint32_t ms) {
  if (ms) plat_backend_sleep(ms);
}

uint64_t plat_real_time_us() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}
