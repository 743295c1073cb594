#include "engine/graphics/clock.h"

#include "platform/ticks.h"

uint32_t clock_start_tick = 0;

uint32_t clock_get() { return plat_get_tick_count(); }

uint32_t clock_start() {
  clock_start_tick = plat_get_tick_count();
  return clock_start_tick;
}

uint32_t clock_wait(uint32_t period) {
  // The platform's wait gives the processor back and still ends on the first tick at or past
  // the period; the unsigned difference keeps it right across the wrap of the tick count.
  return plat_wait_ticks(clock_start_tick, period);
}
