// The two sound effects, synthesised as 8-bit unsigned mono samples at 11025 Hz.
#pragma once
#include <cstdint>
#include <vector>

constexpr int SOUND_RATE = 11025;

// "bat.WAV": the strike, a bony thump and crack that land within the first 20 ms.
std::vector<uint8_t> sound_make_strike();
// "HWEAPON0.WAV": the laser, a falling, hard-limited electric buzz held for 0.4 s.
std::vector<uint8_t> sound_make_laser();
