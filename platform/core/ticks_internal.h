// The value of the last tick count read, for stamping messages without reading the clock again
// (a read advances the headless clock).
#pragma once
#include <cstdint>

uint32_t plat_last_tick_count();
