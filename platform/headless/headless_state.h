// State shared by the headless backend's files.
#pragma once
#include <cstdint>

// Drops the script and the pass count; the clock back to 0 with a step of 1.
void headless_script_reset();
void headless_clock_reset();
// Drops frames and counters of presentation and modes.
void headless_output_reset();
