// mix_meter DATA_DIR: how the game's sounds sit in the game's own mix, rendered headlessly.
//   - the music's level per instrument (one MIDI channel audible at a time), A-weighted, and
//     the whole piece's RMS and peak;
//   - the laser (HWEAPON0.WAV at volume 0, as the game plays it) against the music in the
//     1-4 kHz band, and the strike (bat.WAV at full volume) against the music in its first
//     25 ms, each fired at eight moments through the piece.
// Levels are RMS of the left channel in dB relative to full scale.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/mix.h"
#include "tools/assetgen/mix_meter/mix_measure.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mix_meter DATA_DIR\n");
    return 2;
  }
  std::string dir = argv[1], midi = dir + "/MIDIFILE9.MID";
  std::vector<uint8_t> song = read_file(midi);
  if (song.empty()) return 1;
  const double length = 84.0;

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
    std::vector<float> mix = mix_render({temp, "", 100, {}, length});
    std::printf("  %-8s %6.1f dB(A)   %6.1f dB unweighted\n", p.name,
                mix_db(mix_weighted_power(mix, 0, mix.size() / 2, mix_a_weight)),
                mix_db(mix_weighted_power(mix, 0, mix.size() / 2, mix_flat)));
  }
  std::filesystem::remove(temp);

  // The laser and the strike: each fired at eight moments.
  std::vector<double> shots;
  for (int k = 0; k < 8; ++k) shots.push_back(6.0 + 9.7 * k);
  const MIX_SHOTS_TYP measured = mix_measure_shots(dir, shots, length);
  const std::vector<float>& music = measured.music;
  std::printf("  whole mix: RMS %.1f dBFS, peak %.1f dBFS\n", mix_db(mix_plain_power(music, 0, music.size() / 2)),
              mix_db(mix_peak(music) * mix_peak(music)));

  // Means over the shots are of powers; the least is the worst single shot.
  struct SUMS {
    double music = 0, effect = 0, both = 0, least_rise = 1e9, least_over = 1e9;
  };
  auto sum = [](const std::vector<MIX_SHOT_TYP>& shot_list) {
    SUMS s;
    for (const MIX_SHOT_TYP& m : shot_list) {
      s.music += std::pow(10.0, m.music_db / 10);
      s.effect += std::pow(10.0, m.effect_db / 10);
      s.both += std::pow(10.0, m.both_db / 10);
      s.least_rise = std::min(s.least_rise, m.both_db - m.music_db);
      s.least_over = std::min(s.least_over, m.effect_db - m.music_db);
    }
    return s;
  };
  const double n = double(shots.size());
  const SUMS laser = sum(measured.laser), strike = sum(measured.strike);
  std::printf("laser at volume 0 against the music, 1-4 kHz band, mean of %zu shots (first 0.3 s):\n", shots.size());
  std::printf("  music alone     %6.1f dBFS\n", mix_db(laser.music / n));
  std::printf("  laser alone     %6.1f dBFS  (%+.1f dB against the music)\n", mix_db(laser.effect / n),
              mix_db(laser.effect) - mix_db(laser.music));
  std::printf("  music + laser   %6.1f dBFS  (band rises %+.1f dB; least %+.1f dB)\n", mix_db(laser.both / n),
              mix_db(laser.both) - mix_db(laser.music), laser.least_rise);
  double laser_a = 0;
  for (double db : measured.laser_alone_a) laser_a += std::pow(10.0, db / 10);
  std::printf("  A-weighted: laser alone %.1f dB(A), music %.1f dB(A)\n", mix_db(laser_a / n),
              mix_db(mix_weighted_power(music, 0, music.size() / 2, mix_a_weight)));
  std::printf("strike at full volume against the music, whole band, mean of %zu shots (first 25 ms):\n", shots.size());
  std::printf("  music alone     %6.1f dBFS\n", mix_db(strike.music / n));
  std::printf("  strike alone    %6.1f dBFS  (%+.1f dB against the music; least %+.1f dB)\n",
              mix_db(strike.effect / n), mix_db(strike.effect) - mix_db(strike.music), strike.least_over);
  std::printf("  music + strike  %6.1f dBFS\n", mix_db(strike.both / n));
  return 0;
}
