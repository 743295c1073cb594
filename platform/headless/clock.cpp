// The virtual clock: tests decide what time it is; each read moves it on by the step.
#include "platform/core/backend.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"

namespace {
uint32_t now = 0;
uint32_t step = 1;
}  // namespace

uint32_t plat_backend_ticks() {
  uint32_t read = now;
  now += step;  // unsigned: wraps as the real tick count does
  return read;
}

void headless_set_ticks(uint32_t ticks) { now = ticks; }
void headless_advance(uint32_t ms) { now += ms; }
void headless_set_tick_step(uint32_t ms) { step = ms; }
uint32_t headless_ticks() { return now; }

void headless_clock_reset() {
  now = 0;
  step = 1;
}
