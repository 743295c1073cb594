// How long a piece plays in the silent music: against the native synthesizer's own end of
// the same files, and on files that lie about themselves.
#include "platform/web/silent/midi_length.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/mix.h"
#include "platform/music.h"

namespace {

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Frames of the mix the native synthesizer plays a file for, to the block.
constexpr int BLOCK = 512;
long native_frames(const std::string& path) {
  PLAT_MUSIC_SYNTH_TYP* synth = plat_music_create_synth();
  if (!synth) return -1;
  PLAT_MIDI_TYP* midi = plat_music_load(synth, path.c_str());
  long frames = -1;
  if (midi && plat_music_play(synth, midi)) {
    std::vector<float> block(BLOCK * MIX_CHANNELS);
    frames = 0;
    while (plat_music_is_playing(synth, midi) && frames < 600L * MIX_RATE) {
      plat_mix_render(block.data(), BLOCK);
      frames += BLOCK;
    }
  }
  plat_music_release(synth, midi);
  plat_music_release_synth(synth);
  return frames;
}

TEST(MidiLength, EndsWhereTheNativeSynthesizerEnds) {
  for (const std::string& path : {std::string(ASHFALLOW_FIXTURES) + "/audio/tune.mid",
                                 std::string(ASHFALLOW_DATA_DIR) + "/MIDIFILE9.MID"}) {
    const std::vector<uint8_t> bytes = read_file(path);
    ASSERT_FALSE(bytes.empty()) << path;
    const int64_t us = midi_length_us(bytes.data(), bytes.size());
    ASSERT_GT(us, 1000000) << path;  // both are pieces of some seconds
    const long native = native_frames(path);
    ASSERT_GT(native, 0) << path;
    const long silent = static_cast<long>(us * MIX_RATE / 1000000);
    EXPECT_NEAR(silent, native, 2 * BLOCK) << path;
  }
}

// A file of one track from its events (each: delta ticks, then the event's bytes).
std::vector<uint8_t> smf(int division, std::vector<uint8_t> track, int tracks = 1) {
  const uint32_t n = static_cast<uint32_t>(track.size());
  std::vector<uint8_t> b = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, uint8_t(tracks),
                            uint8_t(division >> 8), uint8_t(division), 'M', 'T', 'r', 'k',
                            uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
  for (uint8_t byte : track) b.push_back(byte);
  return b;
}

const std::vector<uint8_t> END = {0xFF, 0x2F, 0x00};

std::vector<uint8_t> join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(MidiLength, TimesTheEventsThroughTheirTempo) {
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    int64_t us;
  } cases[] = {
      // 480 ticks a quarter at the default 120 a minute: a quarter is half a second.
      {"a note a quarter long", smf(480, join({{0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0},
                                               {0x00}, END})), 500000},
      {"running status", smf(480, join({{0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0}, {0x00}, END})),
       500000},
      // A tempo of 1 s a quarter from the start doubles it.
      {"a tempo change", smf(480, join({{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40},
                                        {0x83, 0x60, 0x90, 60, 100}, {0x00}, END})), 1000000},
      // The end of the track two quarters later counts too.
      {"an end after the last note", smf(480, join({{0x00, 0x90, 60, 100}, {0x87, 0x40}, END})),
       1000000},
      // 25 frames a second of 40 ticks: 1000 ticks a second.
      {"frames and ticks", smf(0xE728, join({{0x87, 0x68, 0x90, 60, 100}, {0x00}, END})), 1000000},
      {"a program change has one byte", smf(480, join({{0x00, 0xC0, 5, 0x83, 0x60, 0xC0, 6},
                                                       {0x00}, END})), 500000},
      {"a system message", smf(480, join({{0x83, 0x60, 0xF0, 0x02, 0x7E, 0xF7}, {0x00}, END})),
       500000},
      // Cut short: as far as it goes, with no read past the end.
      {"a track cut in a note", smf(480, {0x83, 0x60, 0x90, 60}), 0},
      {"a track cut in a meta event", smf(480, {0x83, 0x60, 0x90, 60, 1, 0x83, 0x60, 0xFF, 0x01, 0x20, 'a'}),
       500000},
      {"a delta of five bytes", smf(480, {0x00, 0x90, 60, 1, 0x81, 0x81, 0x81, 0x81, 0x01}), 0},
      {"data with no status", smf(480, {0x00, 60, 100}), 0},
      {"a track claims more than the file holds", [] {
         std::vector<uint8_t> b = smf(480, join({{0x83, 0x60, 0x90, 60, 100}, {0x00}, END}));
         b[21] = 0xFF;  // the track's length
         return b;
       }(), 500000},
      {"more tracks than there are", smf(480, join({{0x83, 0x60, 0x90, 60, 1}, END}), 5), 500000},
      {"no division", smf(0, join({{0x83, 0x60, 0x90, 60, 1}, END})), 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(midi_length_us(c.bytes.data(), c.bytes.size()), c.us) << c.what;
}

TEST(MidiLength, RefusesWhatIsNotAMidiFile) {
  std::vector<uint8_t> riff = {'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 1, 0, 1, 1, 0xE0};
  std::vector<uint8_t> short_header = smf(480, END);
  short_header[7] = 5;
  std::vector<uint8_t> tiny = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  EXPECT_EQ(midi_length_us(riff.data(), riff.size()), -1);
  EXPECT_EQ(midi_length_us(short_header.data(), short_header.size()), -1);
  EXPECT_EQ(midi_length_us(tiny.data(), tiny.size()), -1);
  EXPECT_EQ(midi_length_us(nullptr, 100), -1);
}

}  // namespace
