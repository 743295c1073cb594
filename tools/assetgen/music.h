// "MIDIFILE9.MID": a dark, driving piece in E minor, 48 bars at 138 beats a minute (about 83 s).
// It starts on the downbeat and ends exactly on the last bar line with nothing left ringing, so
// the game's restart when it stops loops it without a seam.
#pragma once
#include <cstdint>
#include <vector>

constexpr int MUSIC_TICKS_PER_QUARTER = 480;
constexpr int MUSIC_BARS = 48;
constexpr int MUSIC_BEATS_PER_MINUTE = 138;

std::vector<uint8_t> music_make();
