// mix_meter DATA_DIR: how the game's sounds sit in the game's own mix, rendered headlessly.
//   - the music's level per instrument (one MIDI channel audible at a time), A-weighted;
//   - the laser (HWEAPON0.WAV at volume 0, as the game plays it) against the music in the
//     1-4 kHz band, fired at eight moments through the piece.
// Levels are RMS of the left channel in dB relative to full scale.
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "platform/mix.h"

namespace {

const double PI = 3.14159265358979323846;
const int BLOCK = 4096;

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Silences every note-on of the channels other than `keep` (velocity 0), leaving timing,
// programs and controllers as they are. keep < 0 keeps everything.
std::vector<uint8_t> only_channel(std::vector<uint8_t> b, int keep) {
  if (keep < 0 || b.size() < 14) return b;
  size_t at = 14;
  while (at + 8 <= b.size()) {
    size_t len = size_t(b[at + 4]) << 24 | size_t(b[at + 5]) << 16 | size_t(b[at + 6]) << 8 | b[at + 7];
    size_t p = at + 8, end = std::min(b.size(), p + len);
    uint8_t running = 0;
    while (p < end) {
      while (p < end && (b[p] & 0x80)) ++p;  // delta time
      ++p;
      if (p >= end) break;
      uint8_t status = b[p];
      if (status & 0x80) ++p;
      else status = running;
      if (status == 0xFF) {
        p += 2 + b[p + 1];
        continue;
      }
      running = status;
      int n = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
      if ((status & 0xF0) == 0x90 && (status & 0x0F) != keep) b[p + 1] = 0;
      p += n;
    }
    at = end;
  }
  return b;
}

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

// The A-weighting curve's gain (power) at f Hz, 0 dB at 1 kHz.
double a_weight_power(double f) {
  double f2 = f * f;
  double ra = 12194.0 * 12194.0 * f2 * f2 /
              ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9)) * (f2 + 12194.0 * 12194.0));
  double db = 20 * std::log10(ra) + 2.0;
  return std::pow(10.0, db / 10);
}

// Mean power of the left channel over frames [first, first + count), weighted per frequency by
// weight(f) (Hann-windowed blocks; Parseval, so a flat weight of 1 gives the plain RMS squared).
template <class WEIGHT>
double weighted_power(const std::vector<float>& stereo, size_t first, size_t count, WEIGHT weight) {
  double total = 0;
  int blocks = 0;
  std::vector<std::complex<double>> a(BLOCK);
  for (size_t start = first; start + BLOCK <= first + count; start += BLOCK / 2) {
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

double db(double power) { return 10 * std::log10(std::max(power, 1e-20)); }

struct RUN {
  std::string midi;  // empty: no music
  std::string laser; // empty: no laser
  std::vector<double> shots;  // seconds at which the laser fires
  double seconds;
};

std::vector<float> render(const RUN& run) {
  sound_first_start = 1;
  start_sound_system();
  start_music_system();
  int music = run.midi.empty() ? -1 : load_midi(run.midi.c_str());
  int laser = run.laser.empty() ? -1 : load_wav_sound(run.laser.c_str(), DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME);
  if (laser >= 0) set_sound_volume(laser, 0);
  if (music >= 0) play_midi(music);
  size_t frames = size_t(run.seconds * MIX_RATE);
  std::vector<float> out(frames * 2);
  const size_t step = 441;  // 10 ms pulls
  size_t shot = 0;
  for (size_t done = 0; done < frames; done += step) {
    while (laser >= 0 && shot < run.shots.size() && run.shots[shot] * MIX_RATE <= done) {
      play_sound(laser, 0);
      ++shot;
    }
    plat_mix_render(out.data() + done * 2, int(std::min(step, frames - done)));
  }
  stop_all_sounds();
  delete_all_sounds();
  delete_all_midi();
  shutdown_music_system();
  shutdown_sound_system();
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mix_meter DATA_DIR\n");
    return 2;
  }
  std::string dir = argv[1], midi = dir + "/MIDIFILE9.MID", laser = dir + "/HWEAPON0.WAV";
  std::vector<uint8_t> song = read_file(midi);
  if (song.empty()) return 1;
  const double length = 84.0;
  auto flat = [](double) { return 1.0; };
  auto band = [](double f) { return f >= 1000 && f <= 4000 ? 1.0 : 0.0; };

  std::printf("music per instrument, A-weighted RMS (dBFS), whole piece:\n");
  struct PART {
    const char* name;
    int channel;
  };
  const PART parts[] = {{"all", -1}, {"bass", 0}, {"guitar", 1}, {"lead", 2}, {"strings", 3}, {"drums", 9}};
  std::string temp = (std::filesystem::temp_directory_path() / ("mix_meter_" + std::to_string(getpid()) + ".mid")).string();
  for (const PART& p : parts) {
    std::vector<uint8_t> one = only_channel(song, p.channel);
    std::ofstream(temp, std::ios::binary).write(reinterpret_cast<const char*>(one.data()), std::streamsize(one.size()));
    std::vector<float> mix = render({temp, "", {}, length});
    std::printf("  %-8s %6.1f dB(A)   %6.1f dB unweighted\n", p.name,
                db(weighted_power(mix, 0, mix.size() / 2, a_weight_power)), db(weighted_power(mix, 0, mix.size() / 2, flat)));
  }
  std::filesystem::remove(temp);

  // The laser: fired at eight moments; each shot measured over its first 0.3 s.
  std::vector<double> shots;
  for (int k = 0; k < 8; ++k) shots.push_back(6.0 + 9.7 * k);
  std::vector<float> music = render({midi, "", {}, length});
  std::vector<float> both = render({midi, laser, shots, length});
  std::vector<float> alone = render({"", laser, shots, length});
  const size_t window = size_t(0.3 * MIX_RATE);
  double sum_music = 0, sum_both = 0, sum_alone = 0, worst = 1e9;
  for (double t : shots) {
    size_t first = size_t(t * MIX_RATE) + 441;  // after the pull the shot starts in
    double m = weighted_power(music, first, window, band), b = weighted_power(both, first, window, band),
           a = weighted_power(alone, first, window, band);
    sum_music += m, sum_both += b, sum_alone += a;
    worst = std::min(worst, db(b) - db(m));
  }
  std::printf("laser at volume 0 against the music, 1-4 kHz band, mean of %zu shots (first 0.3 s):\n", shots.size());
  std::printf("  music alone     %6.1f dBFS\n", db(sum_music / shots.size()));
  std::printf("  laser alone     %6.1f dBFS  (%+.1f dB against the music)\n", db(sum_alone / shots.size()),
              db(sum_alone) - db(sum_music));
  std::printf("  music + laser   %6.1f dBFS  (band rises %+.1f dB; least %+.1f dB)\n", db(sum_both / shots.size()),
              db(sum_both) - db(sum_music), worst);
  double full_m = weighted_power(music, 0, music.size() / 2, a_weight_power);
  double full_a = 0;
  for (double t : shots) full_a += weighted_power(alone, size_t(t * MIX_RATE) + 441, window, a_weight_power);
  std::printf("  A-weighted: laser alone %.1f dB(A), music %.1f dB(A)\n", db(full_a / shots.size()), db(full_m));
  return 0;
}
