// The frame clock's wait in a page, which must never block: the wait only notes its deadline,
// and the page's loop starts the next pass once the tick count has reached it, as the native
// wait would have returned then.
#pragma once
#include <cstdint>

struct WEB_PACE_TYP {
  uint32_t deadline;  // the tick the next pass may start on
  int waiting;        // a wait is owed
};

// A wait of `period` ms from the tick `start` (later waits replace earlier ones).
void web_pace_wait(WEB_PACE_TYP* pace, uint32_t start, uint32_t period);
// Whole ms from the tick `now` until the next pass may start: 0 when no wait is owed or its
// deadline is reached or past (unsigned, right across the wrap of the tick count). Timers fire
// no sooner than asked, so a pass started after this delay starts on or past its tick.
uint32_t web_pace_delay(const WEB_PACE_TYP* pace, uint32_t now);
