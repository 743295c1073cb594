// Playing effects, heard through the headless mix exactly as the sdl output would pull it.
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "tests/audio/audio_helpers.h"
#include "tests/audio/sound_fixture.h"

namespace {

// tone8.wav: 0.3 s of a 441 Hz sine, 8-bit mono 11025 Hz.
class SoundPlay : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    tone = load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS);
    ASSERT_EQ(tone, 0);
  }
  // Level of the left channel between two times (seconds) of a pulled block.
  static double level(const std::vector<float>& mix, double from, double to, int channel = 0) {
    return channel_rms(mix, channel, mix_frames(from), mix_frames(to) - mix_frames(from));
  }
  int tone = -1;
};

TEST_F(SoundPlay, PlayedEffectSoundsThenFallsSilent) {
  EXPECT_EQ(sound_status(tone), 0);
  ASSERT_EQ(play_sound(tone, 0), 1);
  EXPECT_EQ(sound_status(tone), DSBSTATUS_PLAYING);
  std::vector<float> mix = pull_mix(mix_frames(0.5));
  EXPECT_GT(level(mix, 0.0, 0.28), 0.1);
  EXPECT_GT(level(mix, 0.0, 0.28, 1), 0.1);
  // Float output: silence after the end is exactly zero.
  EXPECT_EQ(level(mix, 0.32, 0.5), 0.0);
  EXPECT_EQ(level(mix, 0.32, 0.5, 1), 0.0);
  EXPECT_EQ(sound_status(tone), 0);
}

TEST_F(SoundPlay, PlayingAgainRestartsFromTheBeginning) {
  ASSERT_EQ(play_sound(tone, 0), 1);
  std::vector<float> first = pull_mix(mix_frames(0.2));
  ASSERT_EQ(play_sound(tone, 0), 1);
  std::vector<float> again = pull_mix(mix_frames(0.4));
  // Without the restart it would have ended 0.1 s into this block.
  EXPECT_GT(level(again, 0.15, 0.28), 0.1);
  EXPECT_EQ(level(again, 0.32, 0.4), 0.0);
  // One voice per id: the restart does not add a second copy on top.
  EXPECT_NEAR(level(again, 0.02, 0.2), level(first, 0.02, 0.2), 0.02);
}

TEST_F(SoundPlay, StopSilencesAndThePlayAfterStartsOver) {
  ASSERT_EQ(play_sound(tone, 0), 1);
  pull_mix(mix_frames(0.2));
  EXPECT_EQ(stop_sound(tone), 1);
  EXPECT_EQ(sound_status(tone), 0);
  std::vector<float> stopped = pull_mix(mix_frames(0.1));
  EXPECT_LT(level(stopped, 0.02, 0.1), 1e-6);
  ASSERT_EQ(play_sound(tone, 0), 1);
  std::vector<float> mix = pull_mix(mix_frames(0.3));
  EXPECT_GT(level(mix, 0.15, 0.28), 0.1);
}

TEST_F(SoundPlay, VolumeZeroIsThirtyDecibelsBelowFull) {
  ASSERT_EQ(set_sound_volume(tone, 100), 1);
  play_sound(tone, 0);
  double full = level(pull_mix(mix_frames(0.4)), 0.02, 0.25);
  ASSERT_EQ(set_sound_volume(tone, 0), 1);
  play_sound(tone, 0);
  double quiet = level(pull_mix(mix_frames(0.4)), 0.02, 0.25);
  ASSERT_GT(quiet, 0.0);
  EXPECT_NEAR(20.0 * std::log10(full / quiet), 30.0, 0.5);
  ASSERT_EQ(set_sound_volume(tone, 50), 1);
  play_sound(tone, 0);
  double half = level(pull_mix(mix_frames(0.4)), 0.02, 0.25);
  EXPECT_NEAR(20.0 * std::log10(full / half), 15.0, 0.5);
}

TEST_F(SoundPlay, FullVolumeAtTheCentrePlaysTheSamplesAtTheirOwnLevelOnBothSides) {
  // 8-bit samples 128 +/- 100: a sine of amplitude 100/128 whose level is that over root 2.
  std::string path = write_temp("level.wav", make_wav(1, 1, 11025, 8, sine8(3300, 25)));
  int id = load_wav_sound(path.c_str(), GAME_FLAGS);
  ASSERT_GE(id, 0);
  ASSERT_EQ(play_sound(id, 0), 1);
  std::vector<float> mix = pull_mix(mix_frames(0.3));
  double own = 100.0 / 128.0 / std::sqrt(2.0);
  EXPECT_NEAR(20.0 * std::log10(level(mix, 0.02, 0.25, 0) / own), 0.0, 0.2);
  EXPECT_NEAR(20.0 * std::log10(level(mix, 0.02, 0.25, 1) / own), 0.0, 0.2);
}

TEST_F(SoundPlay, VolumeOutsideTheBufferRangeIsRefused) {
  EXPECT_EQ(set_sound_volume(tone, 101), 0);   // +30 hundredths: louder than full
  EXPECT_EQ(set_sound_volume(tone, -233), 1);  // -9990
  EXPECT_EQ(set_sound_volume(tone, -234), 0);  // -10020, below the quietest
  EXPECT_EQ(set_sound_volume(tone, INT_MIN), 0);
  EXPECT_EQ(set_sound_volume(tone, INT_MAX), 0);
  // A buffer loaded without volume control refuses volume changes.
  int plain = load_wav_sound(audio_fixture("tone8.wav").c_str(), 0);
  ASSERT_GE(plain, 0);
  EXPECT_EQ(set_sound_volume(plain, 50), 0);
  EXPECT_EQ(set_sound_pan(plain, 100), 0);
  EXPECT_EQ(set_sound_frequency(plain, 22050), 0);
}

TEST_F(SoundPlay, DoublingTheFrequencyDoublesThePitch) {
  play_sound(tone, 0);
  int normal = zero_crossings(pull_mix(mix_frames(0.12)), mix_frames(0.01), mix_frames(0.1));
  EXPECT_NEAR(normal, 2 * 441 / 10, 2);
  ASSERT_EQ(set_sound_frequency(tone, 22050), 1);
  play_sound(tone, 0);
  std::vector<float> fast = pull_mix(mix_frames(0.3));
  int doubled = zero_crossings(fast, mix_frames(0.01), mix_frames(0.1));
  EXPECT_NEAR(doubled, 2 * normal, 3);
  // Twice as fast is over in half the time.
  EXPECT_EQ(level(fast, 0.16, 0.3), 0.0);
  ASSERT_EQ(set_sound_frequency(tone, DSBFREQUENCY_ORIGINAL), 1);
  play_sound(tone, 0);
  EXPECT_NEAR(zero_crossings(pull_mix(mix_frames(0.12)), mix_frames(0.01), mix_frames(0.1)),
              normal, 2);
  EXPECT_EQ(set_sound_frequency(tone, 50), 0);
}

TEST_F(SoundPlay, PanMovesTheSoundLeftAndRight) {
  struct Heard {
    double left, right;
  };
  auto hear = [&](int pan) {
    EXPECT_EQ(set_sound_pan(tone, pan), 1);
    play_sound(tone, 0);
    std::vector<float> mix = pull_mix(mix_frames(0.35));
    return Heard{level(mix, 0.02, 0.25, 0), level(mix, 0.02, 0.25, 1)};
  };
  auto db = [](double a, double b) { return 20.0 * std::log10(a / b); };
  Heard centre = hear(0);
  EXPECT_NEAR(centre.left, centre.right, 1e-4);
  // Panning only turns the far side down: the near side stays as loud as at the centre.
  Heard left = hear(DSBPAN_LEFT);
  EXPECT_NEAR(db(left.left, centre.left), 0.0, 0.2);
  EXPECT_LT(left.right, 1e-4);
  Heard right = hear(DSBPAN_RIGHT);
  EXPECT_LT(right.left, 1e-4);
  EXPECT_NEAR(db(right.right, centre.right), 0.0, 0.2);
  // 600 hundredths: the far side 6 dB down, the near side untouched.
  Heard slight = hear(-600);
  EXPECT_NEAR(db(slight.left, slight.right), 6.0, 0.3);
  EXPECT_NEAR(db(slight.left, centre.left), 0.0, 0.2);
  Heard more = hear(1500);
  EXPECT_NEAR(db(more.right, more.left), 15.0, 0.3);
  EXPECT_NEAR(db(more.right, centre.right), 0.0, 0.2);
  EXPECT_EQ(set_sound_pan(tone, 10001), 0);
}

TEST_F(SoundPlay, LoopingKeepsPlayingUntilStopped) {
  ASSERT_EQ(play_sound(tone, DSBPLAY_LOOPING), 1);
  EXPECT_EQ(sound_status(tone), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  std::vector<float> mix = pull_mix(mix_frames(1.0));
  EXPECT_GT(level(mix, 0.9, 1.0), 0.1);
  EXPECT_EQ(sound_status(tone), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  // Playing once again rewinds and ends the loop.
  ASSERT_EQ(play_sound(tone, 0), 1);
  EXPECT_EQ(sound_status(tone), DSBSTATUS_PLAYING);
  std::vector<float> after = pull_mix(mix_frames(0.5));
  EXPECT_EQ(level(after, 0.32, 0.5), 0.0);
  ASSERT_EQ(play_sound(tone, DSBPLAY_LOOPING), 1);
  stop_all_sounds();
  EXPECT_EQ(sound_status(tone), 0);
}

TEST_F(SoundPlay, ReplicaPlaysTheSameSamplesOnItsOwn) {
  int copy = replicate_sound(tone);
  ASSERT_EQ(copy, 1);
  EXPECT_EQ(sound_slots[copy].id, copy);
  EXPECT_EQ(sound_slots[copy].rate, sound_slots[tone].rate);
  EXPECT_EQ(sound_slots[copy].size, sound_slots[tone].size);
  EXPECT_EQ(sound_slots[copy].state, SLOT_LOADED);
  EXPECT_NE(sound_slots[copy].sound_buffer, sound_slots[tone].sound_buffer);

  play_sound(tone, 0);
  pull_mix(mix_frames(0.1));
  play_sound(copy, 0);
  pull_mix(mix_frames(0.1));
  stop_sound(tone);
  EXPECT_EQ(sound_status(copy), DSBSTATUS_PLAYING);
  std::vector<float> copy_alone = pull_mix(mix_frames(0.1));
  EXPECT_GT(level(copy_alone, 0.0, 0.1), 0.1);
  // Deleting the original leaves the replica's samples in place.
  delete_sound(tone);
  play_sound(copy, 0);
  EXPECT_GT(level(pull_mix(mix_frames(0.1)), 0.0, 0.1), 0.1);
}

TEST_F(SoundPlay, ReplicaOfNothingIsRefused) {
  EXPECT_EQ(replicate_sound(-1), -1);
  EXPECT_EQ(replicate_sound(MAX_SOUNDS), -1);
  EXPECT_EQ(replicate_sound(INT_MIN), -1);
  EXPECT_EQ(replicate_sound(7), -1);  // an empty slot
  EXPECT_EQ(sound_slots[1].state, SLOT_EMPTY);
  delete_sound(tone);
  EXPECT_EQ(replicate_sound(tone), -1);  // deleted: loaded but without a buffer
  // The failed copy leaves slot 1 empty and still numbered 1, so a load there is too.
  EXPECT_EQ(sound_slots[1].state, SLOT_EMPTY);
  EXPECT_EQ(sound_slots[1].sound_buffer, nullptr);
  EXPECT_EQ(sound_slots[1].id, 1);
  ASSERT_EQ(load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS), 1);
  EXPECT_EQ(sound_slots[1].id, 1);
  plat_fault_set(CALL_SOUND_BUFFER, 0);
  int fresh = load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS);
  EXPECT_EQ(fresh, -1);
}

TEST_F(SoundPlay, IdsOutsideTheTableDoNothing) {
  for (int id : {-1, MAX_SOUNDS, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(play_sound(id, 0), 0);
    EXPECT_EQ(set_sound_volume(id, 50), 0);
    EXPECT_EQ(set_sound_frequency(id, 22050), 0);
    EXPECT_EQ(set_sound_pan(id, 0), 0);
    EXPECT_EQ(stop_sound(id), 1);
    EXPECT_EQ(delete_sound(id), 1);
    EXPECT_EQ(sound_status(id), -1);
  }
  EXPECT_EQ(sound_status(tone), 0);  // the loaded sound is untouched
}

TEST_F(SoundPlay, ShutdownLeavesNothingBehindToReach) {
  play_sound(tone, DSBPLAY_LOOPING);
  ASSERT_EQ(shutdown_sound_system(), 1);
  EXPECT_EQ(sound_device, nullptr);
  EXPECT_EQ(sound_slots[tone].sound_buffer, nullptr);
  EXPECT_EQ(sound_status(tone), -1);
  EXPECT_EQ(play_sound(tone, 0), 1);
  std::vector<float> mix = pull_mix(256);
  EXPECT_EQ(channel_rms(mix, 0, 0, 256), 0.0);
}

}  // namespace
