// The silent music: pieces load and are refused as natively, play for their length counted in
// the mix's frames, and then report stopped so the game starts them again.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/faults.h"
#include "platform/mix.h"
#include "platform/music.h"
#include "tests/support/temp_path.h"

namespace {

void render(long frames) {
  std::vector<float> block(4096 * MIX_CHANNELS);
  for (; frames > 0; frames -= 4096) plat_mix_render(block.data(), frames < 4096 ? int(frames) : 4096);
}

std::string write_file(const char* name, const std::vector<uint8_t>& bytes) {
  const std::string path = test_temp_path(name);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              std::streamsize(bytes.size()));
  return path;
}

// One quarter note at 480 ticks a quarter and the default tempo: half a second.
const std::vector<uint8_t> HALF_SECOND = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                                          'M', 'T', 'r', 'k', 0, 0, 0, 12, 0x00, 0x90, 60, 100,
                                          0x83, 0x60, 0x80, 60, 0, 0xFF, 0x2F, 0x00};

class SilentMusic : public ::testing::Test {
 protected:
  void SetUp() override {
    plat_fault_clear_all();
    synth = plat_music_create_synth();
    ASSERT_NE(synth, nullptr);
  }
  void TearDown() override { plat_music_release_synth(synth); }
  PLAT_MUSIC_SYNTH_TYP* synth = nullptr;
};

TEST_F(SilentMusic, LoadsWhatTheNativeMusicLoads) {
  EXPECT_EQ(plat_music_create_synth(), nullptr);  // one synthesizer
  EXPECT_EQ(plat_music_load(synth, "/no/such/file.mid"), nullptr);
  EXPECT_EQ(plat_music_load(synth, ::testing::TempDir().c_str()), nullptr);  // a folder
  std::vector<uint8_t> wave = HALF_SECOND;
  wave[0] = 'R';
  EXPECT_EQ(plat_music_load(synth, write_file("wave.mid", wave).c_str()), nullptr);
  EXPECT_EQ(plat_music_load(synth, write_file("short.mid", {'M', 'T', 'h', 'd'}).c_str()), nullptr);
  // A header with no tracks is still a piece: it ends at once.
  PLAT_MIDI_TYP* empty = plat_music_load(
      synth, write_file("empty.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 0, 0x01, 0xE0}).c_str());
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(plat_music_play(synth, empty), 1);
  EXPECT_EQ(plat_music_is_playing(synth, empty), 0);
  plat_music_release(synth, empty);
  plat_fault_set(CALL_MUSIC_LOAD, 0);
  EXPECT_EQ(plat_music_load(synth, write_file("half.mid", HALF_SECOND).c_str()), nullptr);
}

TEST_F(SilentMusic, APiecePlaysForItsLengthAndStartsAgainFromTheTop) {
  PLAT_MIDI_TYP* piece = plat_music_load(synth, write_file("half.mid", HALF_SECOND).c_str());
  ASSERT_NE(piece, nullptr);
  EXPECT_EQ(plat_music_is_playing(synth, piece), 0);
  ASSERT_EQ(plat_music_play(synth, piece), 1);
  render(MIX_RATE / 2 - 1);
  EXPECT_EQ(plat_music_is_playing(synth, piece), 1);
  render(1);
  EXPECT_EQ(plat_music_is_playing(synth, piece), 0);  // the keep-alive plays it again now
  ASSERT_EQ(plat_music_play(synth, piece), 1);
  render(MIX_RATE / 4);
  EXPECT_EQ(plat_music_is_playing(synth, piece), 1);
  EXPECT_EQ(plat_music_stop(synth, piece), 1);
  EXPECT_EQ(plat_music_is_playing(synth, piece), 0);
  plat_music_play(synth, piece);
  plat_music_stop_all(synth);
  EXPECT_EQ(plat_music_is_playing(synth, piece), 0);
  // Releasing the piece that plays stops it; nothing refers to it afterwards.
  plat_music_play(synth, piece);
  plat_music_release(synth, piece);
  render(MIX_RATE);
  EXPECT_EQ(plat_music_play(synth, nullptr), 0);
  EXPECT_EQ(plat_music_is_playing(nullptr, nullptr), 0);
}

TEST(SilentMusicSynth, AFaultRefusesTheSynthesizer) {
  plat_fault_set(CALL_MUSIC_SYNTH, 0);
  EXPECT_EQ(plat_music_create_synth(), nullptr);
  plat_fault_clear_all();
}

}  // namespace
