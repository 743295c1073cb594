#include "tools/assetgen/mix_meter/mix_measure.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "platform/mix.h"

namespace {

const double PI = 3.14159265358979323846;
const int BLOCK = 4096;
const size_t PULL = 441;  // 10 ms

void fft(std::vector<std::complex<double>>& a) {
  size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    std::complex<double> w(std::cos(-2 * PI / len), std::sin(-2 * PI / len));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> u(1, 0);
      for (size_t k = 0; k < len / 2; ++k, u *= w) {
        std::complex<double> x = a[i + k], y = a[i + k + len / 2] * u;
        a[i + k] = x + y;
        a[i + k + len / 2] = x - y;
      }
    }
  }
}

// The first frame at or after `from` where the left channel is not silent.
size_t onset(const std::vector<float>& stereo, size_t from) {
  for (size_t i = from; i < stereo.size() / 2; ++i)
    if (std::fabs(stereo[2 * i]) > 1e-6f) return i;
  return from;
}

}  // namespace

std::vector<float> mix_render(const MIX_RUN_TYP& run) {
  sound_first_start = 1;
  start_sound_system();
  start_music_system();
  int music = run.midi.empty() ? -1 : load_midi(run.midi.c_str());
  int effect = run.effect.empty() ? -1 : load_wav_sound(run.effect.c_str(), DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME);
  if (effect >= 0) set_sound_volume(effect, run.effect_volume);
  if (music >= 0) play_midi(music);
  size_t frames = size_t(run.seconds * MIX_RATE);
  std::vector<float> out(frames * 2);
  size_t shot = 0;
  for (size_t done = 0; done < frames; done += PULL) {
    while (effect >= 0 && shot < run.shots.size() && run.shots[shot] * MIX_RATE <= done) {
      play_sound(effect, 0);
      ++shot;
    }
    plat_mix_render(out.data() + done * 2, int(std::min(PULL, frames - done)));
  }
  stop_all_sounds();
  delete_all_sounds();
  delete_all_midi();
  shutdown_music_system();
  shutdown_sound_system();
  return out;
}

double mix_flat(double) { return 1.0; }

double mix_a_weight(double f) {
  double f2 = f * f;
  double ra = 12194.0 * 12194.0 * f2 * f2 /
              ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9)) * (f2 + 12194.0 * 12194.0));
  double db = 20 * std::log10(ra) + 2.0;
  return std::pow(10.0, db / 10);
}

double mix_band_1k_4k(double f) { return f >= 1000 && f <= 4000 ? 1.0 : 0.0; }

// Hann-windowed blocks overlapping by half; Parseval, so a flat weight gives the plain mean square.
double mix_weighted_power(const std::vector<float>& stereo, size_t first, size_t count,
                          double (*weight)(double hz)) {
  double total = 0;
  int blocks = 0;
  std::vector<std::complex<double>> a(BLOCK);
  for (size_t start = first; start + BLOCK <= first + count && (start + BLOCK) * 2 <= stereo.size();
       start += BLOCK / 2) {
    double wsum = 0;
    for (int i = 0; i < BLOCK; ++i) {
      double w = 0.5 - 0.5 * std::cos(2 * PI * i / BLOCK);
      a[i] = stereo[(start + i) * 2] * w;
      wsum += w * w;
    }
    fft(a);
    double p = 0;
    for (int k = 1; k < BLOCK / 2; ++k) p += 2 * std::norm(a[k]) * weight(double(k) * MIX_RATE / BLOCK);
    total += p / (BLOCK * wsum);
    ++blocks;
  }
  return blocks ? total / blocks : 0;
}

double mix_plain_power(const std::vector<float>& stereo, size_t first, size_t count) {
  double sum = 0;
  size_t n = 0;
  for (size_t i = first; i < first + count && 2 * i < stereo.size(); ++i, ++n) sum += double(stereo[2 * i]) * stereo[2 * i];
  return n ? sum / double(n) : 0;
}

double mix_peak(const std::vector<float>& stereo) {
  double peak = 0;
  for (float v : stereo) peak = std::max(peak, double(std::fabs(v)));
  return peak;
}

double mix_db(double power) { return 10 * std::log10(std::max(power, 1e-20)); }

MIX_SHOTS_TYP mix_measure_shots(const std::string& dir, const std::vector<double>& shots,
                                double seconds) {
  const std::string midi = dir + "/MIDIFILE9.MID", laser = dir + "/HWEAPON0.WAV", strike = dir + "/bat.WAV";
  MIX_SHOTS_TYP out;
  out.music = mix_render({midi, "", 100, {}, seconds});
  // The game turns the laser all the way down (volume 0) and leaves the strike at full.
  const std::vector<float> laser_both = mix_render({midi, laser, 0, shots, seconds});
  const std::vector<float> laser_alone = mix_render({"", laser, 0, shots, seconds});
  const std::vector<float> strike_both = mix_render({midi, strike, 100, shots, seconds});
  const std::vector<float> strike_alone = mix_render({"", strike, 100, shots, seconds});
  const size_t laser_span = size_t(0.3 * MIX_RATE), strike_span = size_t(0.025 * MIX_RATE);
  for (double t : shots) {
    const size_t at = size_t(t * MIX_RATE);
    const size_t first = at + PULL;  // after the pull the shot starts in
    out.laser.push_back({mix_db(mix_weighted_power(out.music, first, laser_span, mix_band_1k_4k)),
                         mix_db(mix_weighted_power(laser_alone, first, laser_span, mix_band_1k_4k)),
                         mix_db(mix_weighted_power(laser_both, first, laser_span, mix_band_1k_4k))});
    out.laser_alone_a.push_back(mix_db(mix_weighted_power(laser_alone, first, laser_span, mix_a_weight)));
    const size_t hit = onset(strike_alone, at);
    out.strike.push_back({mix_db(mix_plain_power(out.music, hit, strike_span)),
                          mix_db(mix_plain_power(strike_alone, hit, strike_span)),
                          mix_db(mix_plain_power(strike_both, hit, strike_span))});
  }
  return out;
}
