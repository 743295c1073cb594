#include "platform/web/web_pace.h"

void web_pace_wait(WEB_PACE_TYP* pace, uint32_t start, uint32_t period) {
  pace->deadline = start + period;
  pace->waiting = 1;
}

uint32_t web_pace_delay(const WEB_PACE_TYP* pace, uint32_t now) {
  if (!pace->waiting) return 0;
  const uint32_t remaining = pace->deadline - now;
  // More than half the tick range ahead means the deadline is behind us.
  return remaining >= 0x80000000u ? 0 : remaining;
}
