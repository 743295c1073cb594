#include "engine/graphics/clock.h"

#include "platform/ticks.h"

uint32_t clock_start_tick = 0;

uint32_t clock_get() { return plat_get_tick_count(); }

uint32_t clock_start() {
  clock_start_tick = plat_get_tick_count();
  return clock_start_tick;
}

uint32_t clock_wait(uint32_t period) {
  // Unsigned difference: right across the wrap of the 32-bit tick count.
  while (static_cast<uint32_t>(plat_get_tick_count() - clock_start_tick) < period) {
  }
  return plat_get_tick_count();
}
