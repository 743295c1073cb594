// The virtual clock: tests decide what time it is; each read moves it on by the step. It counts
// microseconds, so a run can model a machine whose reads cost almost nothing (a 1 us step: a
// frame's hundreds of reads add well under a millisecond) while the tick count stays in ms.
#include "platform/core/backend.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"

namespace {
uint64_t now_us = 0;
uint64_t step_us = 1000;
uint64_t slept_ms = 0;

uint32_t ms_of(uint64_t us) { return static_cast<uint32_t>(us / 1000); }  // wraps as ticks do
}  // namespace

uint32_t plat_backend_ticks() {
  const uint32_t read = ms_of(now_us);
  now_us += step_us;
  return read;
}

void plat_backend_sleep(uint32_t ms) {
  now_us += uint64_t(ms) * 1000;
  slept_ms += ms;
}

// The modelled machine's frame wait: it sleeps to within 2 ms of the deadline and the caller's
// reads cover the rest, as a wait that trusts its sleep no further would.
void plat_backend_sleep_until(uint32_t now, uint32_t deadline) {
  const uint32_t remaining = deadline - now;
  if (remaining > 2 && remaining < 0x80000000u) plat_backend_sleep(remaining - 2);
}

uint32_t plat_backend_wait_ticks(uint32_t start, uint32_t period) {
  return plat_wait_ticks_sleeping(start, period);
}

void headless_set_ticks(uint32_t ticks) { now_us = uint64_t(ticks) * 1000; }
void headless_advance(uint32_t ms) { now_us += uint64_t(ms) * 1000; }
void headless_set_tick_step(uint32_t ms) { step_us = uint64_t(ms) * 1000; }
void headless_set_tick_step_us(uint32_t us) { step_us = us; }
uint32_t headless_ticks() { return ms_of(now_us); }
uint64_t headless_slept_ms() { return slept_ms; }

void headless_clock_reset() {
  now_us = 0;
  step_us = 1000;
  slept_ms = 0;
}
