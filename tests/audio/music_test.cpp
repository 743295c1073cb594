// Music: MIDI slots on the synthesizer, heard through the headless mix.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "platform/faults.h"
#include "platform/refusal.h"
#include "tests/audio/audio_helpers.h"

namespace {

// The sound system and then the music system, as game start-up brings them up.
class MusicTest : public testing::Test {
 protected:
  void SetUp() override {
    plat_fault_clear_all();
    sound_first_start = 1;
    ASSERT_EQ(start_sound_system(), 1);
    ASSERT_EQ(start_music_system(), 1);
    tune = audio_fixture("tune.mid");
  }
  void TearDown() override {
    delete_all_midi();
    shutdown_sound_system();
    shutdown_music_system();
    plat_fault_clear_all();
  }
  // Renders the mix in game-frame-sized pulls until the piece reports stopped; the seconds
  // that took, or -1 if it had not stopped after `limit` seconds.
  static double seconds_until_stopped(int id, double limit) {
    const int frame = mix_frames(0.03);
    for (int pulled = 0; pulled < mix_frames(limit); pulled += frame) {
      if (midi_status(id) == SLOT_STOPPED) return double(pulled) / mix_frames(1.0);
      pull_mix(frame);
    }
    return -1.0;
  }
  std::string tune;  // one bar at 240 beats a minute: about a second
};

TEST_F(MusicTest, TunePlaysNotesThenReportsStoppedAtItsEnd) {
  int id = load_midi(tune.c_str());
  ASSERT_EQ(id, 0);
  EXPECT_EQ(midi_slots[id].state, SLOT_LOADED);
  EXPECT_EQ(midi_status(id), SLOT_STOPPED);  // loaded, never played
  ASSERT_EQ(play_midi(id), 1);
  EXPECT_EQ(current_midi, id);
  EXPECT_EQ(midi_status(id), SLOT_PLAYING);
  std::vector<float> mix = pull_mix(mix_frames(0.5));
  EXPECT_GT(channel_rms(mix, 0, 0, mix_frames(0.5)), 0.01);
  EXPECT_GT(channel_rms(mix, 1, 0, mix_frames(0.5)), 0.01);
  EXPECT_EQ(midi_status(id), SLOT_PLAYING);
  // Stopped promptly at the last event (one second in), not after the notes have rung out.
  double ended = 0.5 + seconds_until_stopped(id, 3.0);
  EXPECT_NEAR(ended, 1.0, 0.08);
}

TEST_F(MusicTest, PlayAfterTheEndStartsTheTuneAgain) {
  int id = load_midi(tune.c_str());
  ASSERT_EQ(play_midi(id), 1);
  ASSERT_GT(seconds_until_stopped(id, 3.0), 0.0);
  pull_mix(mix_frames(2.0));  // let the last notes die away
  std::vector<float> quiet = pull_mix(mix_frames(0.2));
  EXPECT_LT(channel_rms(quiet, 0, 0, mix_frames(0.2)), 0.001);
  // The game's keep-alive: stopped, so play again.
  ASSERT_EQ(play_midi(id), 1);
  EXPECT_EQ(midi_status(id), SLOT_PLAYING);
  std::vector<float> again = pull_mix(mix_frames(0.3));
  EXPECT_GT(channel_rms(again, 0, 0, mix_frames(0.3)), 0.01);
  EXPECT_GT(seconds_until_stopped(id, 3.0), 0.5);
}

TEST_F(MusicTest, StopSilencesTheTune) {
  int id = load_midi(tune.c_str());
  ASSERT_EQ(play_midi(id), 1);
  pull_mix(mix_frames(0.2));
  EXPECT_EQ(stop_midi(id), 1);
  EXPECT_EQ(current_midi, -1);
  EXPECT_EQ(midi_slots[id].state, SLOT_STOPPED);
  EXPECT_EQ(midi_status(id), SLOT_STOPPED);
  pull_mix(mix_frames(1.5));  // release tails
  std::vector<float> after = pull_mix(mix_frames(0.5));
  EXPECT_LT(channel_rms(after, 0, 0, mix_frames(0.5)), 0.001);
}

TEST_F(MusicTest, PlayingAnotherPieceStopsTheCurrentOne) {
  int a = load_midi(tune.c_str());
  int b = load_midi(tune.c_str());
  ASSERT_EQ(a, 0);
  ASSERT_EQ(b, 1);
  ASSERT_EQ(play_midi(a), 1);
  pull_mix(mix_frames(0.1));
  ASSERT_EQ(play_midi(b), 1);
  EXPECT_EQ(current_midi, b);
  EXPECT_EQ(midi_slots[a].state, SLOT_STOPPED);
  EXPECT_EQ(midi_status(a), SLOT_STOPPED);
  EXPECT_EQ(midi_status(b), SLOT_PLAYING);
  // Stopping a piece that is not current still clears current_midi.
  EXPECT_EQ(stop_midi(a), 1);
  EXPECT_EQ(current_midi, -1);
  EXPECT_EQ(midi_status(b), SLOT_PLAYING);
  // Playing an empty slot fails and leaves the music alone.
  ASSERT_EQ(play_midi(b), 1);
  EXPECT_EQ(play_midi(5), 0);
  EXPECT_EQ(current_midi, b);
  EXPECT_EQ(midi_status(b), SLOT_PLAYING);
}

TEST_F(MusicTest, SixtyFourLoadsFillTheTable) {
  for (int i = 0; i < MAX_MIDI; ++i) ASSERT_EQ(load_midi(tune.c_str()), i);
  EXPECT_EQ(load_midi(tune.c_str()), -1);
  EXPECT_EQ(delete_midi(10), 1);
  EXPECT_EQ(midi_slots[10].state, SLOT_EMPTY);
  EXPECT_EQ(load_midi(tune.c_str()), 10);
}

TEST_F(MusicTest, NamesResolveAgainstTheWorkingDirectory) {
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::path(tune).parent_path());
  int id = load_midi("tune.mid");
  int missing = load_midi("MIDIFILE9.MID");
  std::filesystem::current_path(before);
  EXPECT_EQ(id, 0);
  EXPECT_EQ(missing, -1);
  EXPECT_EQ(midi_slots[1].state, SLOT_EMPTY);
}

TEST_F(MusicTest, FilesThatAreNotMidiAreRefused) {
  std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o', ' ', 'm', 'u', 's', 'i', 'c', '!', '!', '!'};
  EXPECT_EQ(load_midi(write_temp("text.mid", text).c_str()), -1);
  std::vector<uint8_t> header_only = {'M', 'T', 'h', 'd'};
  EXPECT_EQ(load_midi(write_temp("short.mid", header_only).c_str()), -1);
  EXPECT_EQ(load_midi(audio_fixture("tone8.wav").c_str()), -1);
  EXPECT_EQ(load_midi(nullptr), -1);
  EXPECT_EQ(load_midi(std::filesystem::path(tune).parent_path().c_str()), -1);  // a folder
  EXPECT_EQ(midi_slots[0].state, SLOT_EMPTY);
  EXPECT_EQ(load_midi(tune.c_str()), 0);
}

// A file that is not music is refused, a piece whose tracks run past its end is kept as before;
// either way the loader notes what is wrong, and a sound piece notes nothing.
TEST_F(MusicTest, WhatIsWrongWithAFileIsNoted) {
  std::vector<uint8_t> good;
  {
    std::FILE* in = std::fopen(tune.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    for (int c; (c = std::fgetc(in)) != EOF;) good.push_back(uint8_t(c));
    std::fclose(in);
  }
  ASSERT_GT(good.size(), 22u);
  std::vector<uint8_t> half(good.begin(), good.begin() + long(good.size() / 2));
  std::vector<uint8_t> huge_track = good;
  std::fill_n(huge_track.begin() + 18, 4, uint8_t(0xFF));  // the first track's length
  std::vector<uint8_t> short_header = good;
  short_header[7] = 2;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    bool loads;
    std::string said;  // what the note holds, "" for none
  } cases[] = {
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'm', 'u', 's', 'i', 'c', '!', '!', '!'}, false,
       "not a MIDI file (no MThd header)"},
      {"header_only", {'M', 'T', 'h', 'd'}, false, "cut short (expected at least 14 bytes, found 4)"},
      {"short_header", short_header, false, "not a MIDI file the game can read (header length 2)"},
      {"half", half, true, "found " + std::to_string(half.size()) + ")"},
      {"huge_track", huge_track, true, "not a MIDI file the game can read (size field 4 GB)"},
      {"good", good, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    delete_all_midi();
    plat_refusal_clear();
    EXPECT_EQ(load_midi(write_temp(std::string(c.name) + ".mid", c.bytes).c_str()), c.loads ? 0 : -1);
    const char* said = plat_refusal_take();
    if (c.said.empty()) {
      EXPECT_EQ(said, nullptr) << said;
      continue;
    }
    ASSERT_NE(said, nullptr);
    EXPECT_NE(std::string(said).find(c.said), std::string::npos) << said;
    if (c.name == std::string("half")) {
      EXPECT_EQ(std::string(said).rfind("cut short (expected ", 0), 0u) << said;
    }
  }
}

TEST_F(MusicTest, StartingAgainEmptiesTheTableAndKeepsTheSynthesizer) {
  ASSERT_EQ(load_midi(tune.c_str()), 0);
  ASSERT_EQ(play_midi(0), 1);
  PLAT_MUSIC_SYNTH_TYP* synth = music_performance;
  EXPECT_EQ(start_music_system(), 1);
  EXPECT_EQ(music_performance, synth);
  EXPECT_EQ(current_midi, -1);
  EXPECT_EQ(midi_slots[0].state, SLOT_EMPTY);
  EXPECT_EQ(midi_slots[0].segment, nullptr);
  EXPECT_EQ(load_midi(tune.c_str()), 0);
}

TEST_F(MusicTest, IdsOutsideTheTableAndEmptySlotsDoNothing) {
  for (int id : {-1, MAX_MIDI, INT_MIN, INT_MAX, 3}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(play_midi(id), 0);
    EXPECT_EQ(stop_midi(id), 0);
    EXPECT_EQ(midi_status(id), 0);
    EXPECT_EQ(delete_midi(id), 1);
  }
  EXPECT_EQ(current_midi, -1);
}

TEST_F(MusicTest, DeletingThePlayingPieceSilencesIt) {
  int id = load_midi(tune.c_str());
  ASSERT_EQ(play_midi(id), 1);
  pull_mix(mix_frames(0.2));
  EXPECT_EQ(delete_midi(id), 1);
  EXPECT_EQ(midi_slots[id].segment, nullptr);
  EXPECT_EQ(midi_slots[id].state, SLOT_EMPTY);
  EXPECT_EQ(midi_status(id), 0);
  EXPECT_EQ(current_midi, id);  // a delete leaves current_midi alone
  pull_mix(mix_frames(1.5));
  std::vector<float> after = pull_mix(mix_frames(0.3));
  EXPECT_LT(channel_rms(after, 0, 0, mix_frames(0.3)), 0.001);
  // The next piece still starts: stopping the deleted current one just fails on the way.
  int next = load_midi(tune.c_str());
  ASSERT_EQ(next, id);
  ASSERT_EQ(play_midi(next), 1);
  EXPECT_EQ(current_midi, next);
  EXPECT_EQ(midi_status(next), SLOT_PLAYING);
}

TEST_F(MusicTest, EffectsAndMusicShareTheMix) {
  int id = load_midi(tune.c_str());
  int bat = load_wav_sound(audio_fixture("tone8.wav").c_str(), 224);
  ASSERT_GE(bat, 0);
  play_midi(id);
  std::vector<float> music = pull_mix(mix_frames(0.2));
  play_midi(id);
  play_sound(bat, 0);
  std::vector<float> both = pull_mix(mix_frames(0.2));
  // The effect's 441 Hz tone is there on top of the music, which keeps its level.
  int frames = mix_frames(0.2);
  EXPECT_LT(tone_level(music, 441.0, 0, frames), 0.05);
  EXPECT_GT(tone_level(both, 441.0, 0, frames), 0.2);
  EXPECT_GT(channel_rms(both, 0, 0, frames), channel_rms(music, 0, 0, frames));
}

TEST(MusicFailure, WithoutASynthesizerNothingLoadsOrPlays) {
  plat_fault_clear_all();
  plat_fault_set(CALL_MUSIC_SYNTH, 0);
  EXPECT_EQ(start_music_system(), 0);
  EXPECT_EQ(music_performance, nullptr);
  EXPECT_EQ(load_midi(audio_fixture("tune.mid").c_str()), -1);
  EXPECT_EQ(play_midi(0), 0);
  EXPECT_EQ(midi_status(0), 0);
  EXPECT_EQ(delete_all_midi(), 1);
  EXPECT_EQ(shutdown_music_system(), 1);
  plat_fault_clear_all();
}

TEST(MusicFailure, FailedLoadLeavesTheSlotEmpty) {
  plat_fault_clear_all();
  ASSERT_EQ(start_music_system(), 1);
  plat_fault_set(CALL_MUSIC_LOAD, 1);
  EXPECT_EQ(load_midi(audio_fixture("tune.mid").c_str()), 0);
  EXPECT_EQ(load_midi(audio_fixture("tune.mid").c_str()), -1);
  EXPECT_EQ(midi_slots[1].state, SLOT_EMPTY);
  plat_fault_clear_all();
  EXPECT_EQ(load_midi(audio_fixture("tune.mid").c_str()), 1);
  // Music alone, with no sound system, still renders.
  ASSERT_EQ(play_midi(1), 1);
  std::vector<float> mix = pull_mix(mix_frames(0.3));
  EXPECT_GT(channel_rms(mix, 0, 0, mix_frames(0.3)), 0.01);
  shutdown_music_system();
  EXPECT_EQ(music_performance, nullptr);
}

}  // namespace
