// The system millisecond tick count: 32 bits, wrapping after about 49.7 days.
#pragma once
#include <cstdint>

uint32_t plat_get_tick_count();

// Gives the processor back for about `ms` milliseconds (the headless backend moves its virtual
// clock on instead). Waits that must end on an exact tick sleep short and spin the rest.
void plat_sleep_ms(uint32_t ms);

// Real time in microseconds from an arbitrary start, for measuring work (never game time).
uint64_t plat_real_time_us();
