// The system millisecond tick count: 32 bits, wrapping after about 49.7 days.
#pragma once
#include <cstdint>

uint32_t plat_get_tick_count();
