// Measuring the game's mix as the game plays it, rendered on the headless backend: the music
// through the synthesizer, the effects through the sound device at the game's volumes. Levels
// are powers of the left channel relative to full scale (mix_db turns them into dBFS).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct MIX_RUN_TYP {
  std::string midi;           // empty: no music
  std::string effect;         // empty: no effect
  int effect_volume = 100;    // 0..100, as set_sound_volume takes it
  std::vector<double> shots;  // seconds at which the effect plays
  double seconds = 0;
};

// The run's mix, stereo interleaved at the mix rate, pulled 10 ms at a time; an effect plays at
// the first pull at or after each of its shots.
std::vector<float> mix_render(const MIX_RUN_TYP& run);

// Frequency weights (power) for mix_weighted_power.
double mix_flat(double hz);
double mix_a_weight(double hz);  // the A curve, 0 dB at 1 kHz
double mix_band_1k_4k(double hz);  // 1 for 1-4 kHz, else 0

// Mean power of frames [first, first + count), weighted per frequency (Hann-windowed blocks of
// 4096 frames, so count must be at least that); 0 when no block fits.
double mix_weighted_power(const std::vector<float>& stereo, size_t first, size_t count,
                          double (*weight)(double hz));
// Mean square of frames [first, first + count), for spans too short for the blocks.
double mix_plain_power(const std::vector<float>& stereo, size_t first, size_t count);
// The largest magnitude of any sample, either channel.
double mix_peak(const std::vector<float>& stereo);
double mix_db(double power_or_square_of_amplitude);

// Per shot: the music alone, the effect alone and both, over the span measured.
struct MIX_SHOT_TYP {
  double music_db;
  double effect_db;
  double both_db;
};
struct MIX_SHOTS_TYP {
  std::vector<MIX_SHOT_TYP> laser;   // 1-4 kHz band, the first 0.3 s of each shot
  std::vector<MIX_SHOT_TYP> strike;  // whole band, the first 25 ms from the strike's onset
  std::vector<double> laser_alone_a;  // the laser alone, A-weighted, the first 0.3 s (dBFS)
  std::vector<float> music;          // the music alone over the whole run
};
// The laser ("HWEAPON0.WAV" at volume 0) and the strike ("bat.WAV" at full volume) fired at
// each shot over "MIDIFILE9.MID", all read from dir.
MIX_SHOTS_TYP mix_measure_shots(const std::string& dir, const std::vector<double>& shots,
                                double seconds);
