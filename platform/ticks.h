// The system millisecond tick count: 32 bits, wrapping after about 49.7 days.
#pragma once
#include <cstdint>

uint32_t plat_get_tick_count();

// Gives the processor back for about `ms` milliseconds (the headless backend moves its virtual
// clock on instead).
void plat_sleep_ms(uint32_t ms);

// The frame clock's wait: returns once at least `period` ms have passed since the tick `start`
// (unsigned, right across the wrap), on the first tick at or past it, with the processor given
// back meanwhile; the result is a fresh read of the tick count taken after the wait.
uint32_t plat_wait_ticks(uint32_t start, uint32_t period);

// Real time in microseconds from an arbitrary start, for measuring work (never game time).
uint64_t plat_real_time_us();
