// The tick count: milliseconds since the system started, wrapping at 32 bits. It is large from
// the first read, so a frame clock that was never started (its start tick still 0) finds its
// period long past instead of waiting it out.
#include <cerrno>
#include <chrono>
#include <ctime>

#include "platform/core/backend.h"
#include "platform/sdl/sdl_state.h"

namespace {

// The steady clock counts from boot on Linux, on CLOCK_MONOTONIC.
int64_t monotonic_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

uint32_t plat_backend_ticks() { return static_cast<uint32_t>(monotonic_ms()); }

void plat_backend_sleep(uint32_t ms) { SDL_Delay(ms); }

void plat_backend_sleep_until(uint32_t, uint32_t deadline) {
  // An absolute deadline: the thread wakes at the deadline's first nanosecond however late the
  // call was made, so the wait ends on that tick with no spinning.
  const int64_t now_ms = monotonic_ms();
  const uint32_t ahead = deadline - static_cast<uint32_t>(now_ms);
  if (ahead == 0 || ahead >= 0x80000000u) return;  // already there, or past it
  const int64_t wake_ms = now_ms + ahead;
  const timespec wake = {static_cast<time_t>(wake_ms / 1000),
                         static_cast<long>(wake_ms % 1000) * 1000000L};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
  }
}

uint32_t plat_backend_wait_ticks(uint32_t start, uint32_t period) {
  return plat_wait_ticks_sleeping(start, period);
}
