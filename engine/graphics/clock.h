// The frame clock: each frame notes its start tick and, after its work, waits until the
// period has passed. Unsigned 32-bit arithmetic keeps it right across the tick count's wrap.
#pragma once
#include <cstdint>

extern uint32_t clock_start_tick;

uint32_t clock_get();
uint32_t clock_start();
uint32_t clock_wait(uint32_t period);
