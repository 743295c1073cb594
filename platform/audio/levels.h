// What a buffer's volume and pan mean as gains, shared by every backend that plays the buffers
// so the page and the native mix agree on them.
#pragma once
#include <cmath>
#include <cstdint>

// Gain from hundredths of a decibel (0 is full, -10000 is 100 dB down).
inline float sound_gain_of(int32_t hundredths_db) {
  return float(std::pow(10.0, hundredths_db / 2000.0));
}

// The far side's gain for a pan in hundredths of a decibel (negative turns the right side
// down); the near side stays at full.
inline float sound_far_side_gain(int32_t pan) { return sound_gain_of(-std::abs(pan)); }
