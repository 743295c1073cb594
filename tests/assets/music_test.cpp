// "MIDIFILE9.MID": a Standard MIDI File of General MIDI parts, one to two minutes long, ending on
// a bar line with every note closed so the game's restart loops it cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "tests/assets/asset_files.h"

namespace {

struct EVENT {
  uint32_t tick;
  int track;
  uint8_t status;  // 0xFF for meta
  uint8_t a, b;    // data bytes, or meta type in a
  std::vector<uint8_t> meta;
};

struct SONG {
  int format = -1, division = 0;
  std::vector<EVENT> events;
  std::vector<uint32_t> track_ends;  // tick of each track's End of Track
};

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

// A strict reader: every length is checked, running status is followed, each track must end with
// End of Track exactly at its chunk's end.
bool parse(const std::vector<uint8_t>& b, SONG* song) {
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || be32(b, 4) != 6) return false;
  song->format = b[8] << 8 | b[9];
  int tracks = b[10] << 8 | b[11];
  song->division = b[12] << 8 | b[13];
  size_t at = 14;
  for (int t = 0; t < tracks; ++t) {
    if (at + 8 > b.size() || std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + 4)) != "MTrk")
      return false;
    size_t end = at + 8 + be32(b, at + 4);
    if (end > b.size()) return false;
    at += 8;
    uint32_t tick = 0;
    uint8_t running = 0;
    bool ended = false;
    while (at < end && !ended) {
      uint32_t delta = 0;
      for (int k = 0; k < 4; ++k) {
        if (at >= end) return false;
        uint8_t c = b[at++];
        delta = delta << 7 | (c & 0x7F);
        if (!(c & 0x80)) break;
      }
      tick += delta;
      if (at >= end) return false;
      uint8_t status = b[at];
      if (status & 0x80) ++at;
      else status = running;
      EVENT e{tick, t, status, 0, 0, {}};
      if (status == 0xFF) {
        if (at + 2 > end) return false;
        e.a = b[at];
        size_t len = b[at + 1];
        at += 2;
        if (at + len > end) return false;
        e.meta.assign(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + len));
        at += len;
        if (e.a == 0x2F) {
          ended = true;
          song->track_ends.push_back(tick);
        }
      } else if (status >= 0x80 && status < 0xF0) {
        running = status;
        int n = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (at + n > end) return false;
        e.a = b[at];
        e.b = n == 2 ? b[at + 1] : 0;
        at += n;
      } else {
        return false;  // no SysEx needed here
      }
      song->events.push_back(e);
    }
    if (!ended || at != end) return false;
  }
  return at == b.size();
}

SONG load_song() {
  SONG s;
  EXPECT_TRUE(parse(read_bytes(data_path("MIDIFILE9.MID")), &s));
  return s;
}

// Seconds at a tick, following every tempo change.
double seconds_at(const SONG& s, uint32_t tick) {
  std::map<uint32_t, uint32_t> tempo = {{0, 500000}};
  for (const EVENT& e : s.events)
    if (e.status == 0xFF && e.a == 0x51 && e.meta.size() == 3)
      tempo[e.tick] = static_cast<uint32_t>(e.meta[0] << 16 | e.meta[1] << 8 | e.meta[2]);
  double seconds = 0;
  for (auto it = tempo.begin(); it != tempo.end(); ++it) {
    auto next = std::next(it);
    uint32_t stop = next == tempo.end() ? tick : std::min(tick, next->first);
    if (stop > it->first) seconds += double(stop - it->first) / s.division * it->second / 1e6;
  }
  return seconds;
}

TEST(Music, IsAStandardMidiFileOfOneToTwoMinutes) {
  SONG s = load_song();
  EXPECT_TRUE(s.format == 0 || s.format == 1);
  ASSERT_GT(s.division, 0);
  ASSERT_FALSE(s.track_ends.empty());
  uint32_t end = *std::max_element(s.track_ends.begin(), s.track_ends.end());
  double length = seconds_at(s, end);
  EXPECT_GE(length, 60.0);
  EXPECT_LE(length, 120.0);
}

// A clean loop: the first note sounds at the very start, the piece ends on a bar line, and no
// note is left hanging past the end.
TEST(Music, LoopsCleanly) {
  SONG s = load_song();
  ASSERT_FALSE(s.track_ends.empty());
  uint32_t end = *std::max_element(s.track_ends.begin(), s.track_ends.end());
  uint32_t bar = 4 * static_cast<uint32_t>(s.division);
  EXPECT_EQ(end % bar, 0u) << "ends on a bar line of 4/4";
  uint32_t first_note = UINT32_MAX;
  std::map<std::pair<int, int>, int> open;  // (channel, key) -> sounding notes
  int unmatched_offs = 0;
  for (const EVENT& e : s.events) {
    int kind = e.status & 0xF0, channel = e.status & 0x0F;
    if (kind == 0x90 && e.b > 0) {
      first_note = std::min(first_note, e.tick);
      ++open[{channel, e.a}];
    } else if (kind == 0x80 || (kind == 0x90 && e.b == 0)) {
      if (open[{channel, e.a}] > 0) --open[{channel, e.a}];
      else ++unmatched_offs;
      EXPECT_LE(e.tick, end);
    }
  }
  EXPECT_EQ(first_note, 0u);
  EXPECT_EQ(unmatched_offs, 0);
  for (auto& [note, count] : open) EXPECT_EQ(count, 0) << "channel " << note.first << " key " << note.second;
}

// General MIDI parts: drums on channel 10, every other channel that plays is given its instrument
// before its first note; a bass line and a melody above it.
TEST(Music, UsesGeneralMidiPartsWithDrumsOnChannelTen) {
  SONG s = load_song();
  std::map<int, uint32_t> program_at, first_note;
  std::map<int, int> notes;
  std::map<int, double> pitch_sum;
  for (const EVENT& e : s.events) {
    int kind = e.status & 0xF0, channel = e.status & 0x0F;
    if (kind == 0xC0 && !program_at.count(channel)) program_at[channel] = e.tick;
    if (kind == 0x90 && e.b > 0) {
      if (!first_note.count(channel)) first_note[channel] = e.tick;
      pitch_sum[channel] += e.a;
      ++notes[channel];
    }
  }
  EXPECT_GT(notes[9], 100) << "drums on channel 10";
  int melodic = 0;
  bool bass = false, melody = false;
  for (auto& [channel, tick] : first_note) {
    if (channel == 9) continue;
    ++melodic;
    ASSERT_TRUE(program_at.count(channel)) << "channel " << channel + 1 << " has no instrument";
    EXPECT_LE(program_at[channel], tick);
    double mean = pitch_sum[channel] / notes[channel];
    bass = bass || mean < 52;     // below E3 on average
    melody = melody || mean > 64; // above E4 on average
  }
  EXPECT_GE(melodic, 2);
  EXPECT_TRUE(bass);
  EXPECT_TRUE(melody);
}

TEST(Music, LoadsAndPlaysThroughTheEngine) {
  sound_first_start = 1;
  ASSERT_EQ(start_sound_system(), 1);
  ASSERT_EQ(start_music_system(), 1);
  int id = load_midi(data_path("MIDIFILE9.MID").c_str());
  ASSERT_GE(id, 0);
  EXPECT_EQ(play_midi(id), 1);
  EXPECT_EQ(midi_status(id), SLOT_PLAYING);
  delete_all_midi();
  shutdown_sound_system();
  shutdown_music_system();
}

}  // namespace
