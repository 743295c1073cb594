// The tick count is the backend's: a steady clock for the game, the virtual clock headless.
#include "platform/ticks.h"
#include "platform/core/backend.h"
#include "platform/core/ticks_internal.h"

namespace {
uint32_t last_read = 0;
}

uint32_t plat_get_tick_count() {
  last_read = plat_backend_ticks();
  return last_read;
}

uint32_t plat_last_tick_count() { return last_read; }
