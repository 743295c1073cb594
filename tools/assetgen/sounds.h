// The two sound effects, synthesised as 8-bit unsigned mono samples at 11025 Hz.
#pragma once
#include <cstdint>
#include <vector>

constexpr int SOUND_RATE = 11025;

// "bat.WAV": the strike, a whoosh of air ending in a bony thump.
std::vector<uint8_t> sound_make_strike();
// "HWEAPON0.WAV": the laser, a falling electric zap.
std::vector<uint8_t> sound_make_laser();
