#include "engine/graphics/clock.h"

#include "platform/ticks.h"

uint32_t clock_start_tick = 0;

uint32_t clock_get() { return plat_get_tick_count(); }

uint32_t clock_start() {
  clock_start_tick = plat_get_tick_count();
  return clock_start_tick;
}

uint32_t clock_wait(uint32_t period) {
  // Unsigned difference: right across the wrap of the 32-bit tick count. The processor is given
  // back until about 2 ms before the end; the last stretch spins so the frame ends on its tick.
  for (;;) {
    const uint32_t elapsed = static_cast<uint32_t>(plat_get_tick_count() - clock_start_tick);
    if (elapsed >= period) break;
    const uint32_t remaining = period - elapsed;
    if (remaining > 2) plat_sleep_ms(remaining - 2);
  }
  return plat_get_tick_count();
}
