// The two sound effects: RIFF WAVE, PCM 8-bit mono 11025 Hz, short, loud enough and unlike
// each other; and both load through the engine's sound table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/audio/sound.h"
#include "tests/assets/asset_files.h"

namespace {

struct WAV {
  uint16_t format = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  uint32_t fmt_size = 0;
  std::vector<uint8_t> samples;
};

// Walks the RIFF chunks, checking every size against the file.
bool parse_wav(const std::vector<uint8_t>& b, WAV* out) {
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" || std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    return false;
  if (le32(b, 4) + 8 != b.size()) return false;
  size_t at = 12;
  bool fmt = false, data = false;
  while (at + 8 <= b.size()) {
    std::string id(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + 4));
    uint32_t size = le32(b, at + 4);
    if (at + 8 + size > b.size()) return false;
    if (id == "fmt " && size >= 16) {
      out->format = le16(b, at + 8);
      out->channels = le16(b, at + 10);
      out->rate = le32(b, at + 12);
      out->bits = le16(b, at + 22);
      out->fmt_size = size;
      fmt = true;
    } else if (id == "data") {
      if (!fmt) return false;  // the format must come first
      out->samples.assign(b.begin() + static_cast<long>(at + 8), b.begin() + static_cast<long>(at + 8 + size));
      data = true;
    }
    at += 8 + size + (size & 1);
  }
  return fmt && data;
}

WAV load(const char* name) {
  WAV w;
  EXPECT_TRUE(parse_wav(read_bytes(data_path(name)), &w)) << name;
  return w;
}

int peak(const std::vector<uint8_t>& s, size_t from, size_t to) {
  int p = 0;
  for (size_t i = from; i < to && i < s.size(); ++i) p = std::max(p, std::abs(static_cast<int>(s[i]) - 128));
  return p;
}

int crossings(const std::vector<uint8_t>& s, size_t from, size_t to) {
  int n = 0;
  for (size_t i = from + 1; i < to && i < s.size(); ++i) n += (s[i - 1] < 128) != (s[i] < 128);
  return n;
}

TEST(Sounds, AreShortEightBitMonoPcmAt11025) {
  for (const char* name : {"bat.WAV", "HWEAPON0.WAV"}) {
    WAV w = load(name);
    SCOPED_TRACE(name);
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.rate, 11025u);
    EXPECT_EQ(w.bits, 8);
    EXPECT_GE(w.fmt_size, 18u) << "the loader reads a full 18-byte format record";
    double seconds = w.samples.size() / 11025.0;
    EXPECT_GT(seconds, 0.1);
    EXPECT_LT(seconds, 1.0);
    EXPECT_GT(peak(w.samples, 0, w.samples.size()), 90) << "audible at the game's volume";
    // It dies away: the last 20 ms are quiet.
    EXPECT_LT(peak(w.samples, w.samples.size() - 220, w.samples.size()), 40);
  }
}

double rms(const std::vector<uint8_t>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += (s[i] - 128.0) * (s[i] - 128.0);
  return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

// The strike's blow lands at once (a restarted strike must not lose its hit) and it is over in
// about a quarter second; the laser starts at full cry, holds a dense level the whole way (it is
// played 30 dB down, under the music) and its pitch falls.
TEST(Sounds, StrikeAndLaserSoundDifferent) {
  WAV bat = load("bat.WAV"), laser = load("HWEAPON0.WAV");
  ASSERT_FALSE(bat.samples.empty());
  ASSERT_FALSE(laser.samples.empty());
  EXPECT_NE(bat.samples.size(), laser.samples.size());
  EXPECT_EQ(peak(bat.samples, 0, 221), peak(bat.samples, 0, bat.samples.size())) << "the hit is in the first 20 ms";
  EXPECT_GT(peak(bat.samples, 0, 221), 4 * peak(bat.samples, 0, 55)) << "a short swing before the hit";
  EXPECT_NEAR(bat.samples.size() / 11025.0, 0.25, 0.04);
  size_t n = laser.samples.size();
  EXPECT_GE(peak(laser.samples, 0, 551), peak(laser.samples, 551, n) * 8 / 10) << "the zap is loud at once";
  EXPECT_GT(rms(laser.samples, 0, n * 3 / 4), 0.7 * 127) << "held near full scale";
  EXPECT_GT(crossings(laser.samples, 0, 551), 3 * crossings(laser.samples, n - 1102, n - 551))
      << "the pitch sweeps down";
}

TEST(Sounds, LoadThroughTheEngine) {
  sound_first_start = 1;
  ASSERT_EQ(start_sound_system(), 1);
  for (const char* name : {"bat.WAV", "HWEAPON0.WAV"}) {
    WAV w = load(name);
    int id = load_wav_sound(data_path(name).c_str(), DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME);
    ASSERT_GE(id, 0) << name;
    EXPECT_EQ(sound_slots[id].state, SLOT_LOADED);
    EXPECT_EQ(sound_slots[id].rate, 11025);
    EXPECT_EQ(sound_slots[id].size, static_cast<int32_t>(w.samples.size()));
    EXPECT_EQ(play_sound(id, 0), 1);
  }
  stop_all_sounds();
  delete_all_sounds();
  shutdown_sound_system();
}

}  // namespace
