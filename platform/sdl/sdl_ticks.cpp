// The tick count: milliseconds since the system started, wrapping at 32 bits, as the old system
// count did. It is large from the first read, so a frame clock that was never started (its start
// tick still 0) finds its period long past instead of waiting it out.
#include <chrono>

#include "platform/core/backend.h"
#include "platform/sdl/sdl_state.h"

uint32_t plat_backend_ticks() {
  // The steady clock counts from boot on Linux.
  const auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count());
}

void plat_backend_sleep(uint32_t ms) { SDL_Delay(ms); }
