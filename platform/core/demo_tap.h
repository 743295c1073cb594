// The demo beneath the platform's reads: the keyboard and clock code records each reading
// through these while a demo is recorded, and takes each reading from them while one is
// replayed.
#pragma once
#include <cstdint>

constexpr int DEMO_OFF = 0;
constexpr int DEMO_RECORDING = 1;
constexpr int DEMO_REPLAYING = 2;
extern int demo_mode;

void demo_record_clock(uint32_t reading);
void demo_record_state(const uint8_t* state);  // the 256 bytes the game was given
void demo_record_down(int down);

// The next recorded reading; `wait_end` for the reading a frame wait ends on (a paced replay
// sleeps until its time has come).
uint32_t demo_replay_clock(int wait_end);
void demo_replay_state(uint8_t* state);
int demo_replay_down();
