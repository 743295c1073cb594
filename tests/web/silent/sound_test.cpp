// The silent sound device: the engine's buffer semantics kept, and the time a buffer plays
// counted in the frames of the mix, as a device that could be heard would count it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/faults.h"
#include "platform/mix.h"
#include "platform/sound.h"

namespace {

constexpr int32_t ALL_CONTROLS = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN;

// Mix frames per sample at the buffers' own rate.
constexpr int FRAMES_PER_SAMPLE = MIX_RATE / SOUND_BUFFER_RATE;

void render(int frames) {
  std::vector<float> block(4096 * MIX_CHANNELS, 1.0f);
  while (frames > 0) {
    const int step = frames < 4096 ? frames : 4096;
    plat_mix_render(block.data(), step);
    for (int i = 0; i < step * MIX_CHANNELS; ++i) ASSERT_EQ(block[i], 0.0f);  // silence
    frames -= step;
  }
}

class SilentSound : public ::testing::Test {
 protected:
  void SetUp() override {
    plat_fault_clear_all();
    device = plat_sound_create_device();
    ASSERT_NE(device, nullptr);
    samples.assign(1000, 128);
  }
  void TearDown() override {
    for (PLAT_SOUND_BUFFER_TYP* b : made) plat_sound_release_buffer(b);
    plat_sound_release_device(device);
    plat_fault_clear_all();
  }
  PLAT_SOUND_BUFFER_TYP* buffer(int32_t caps = ALL_CONTROLS, int32_t bytes = 1000) {
    samples.resize(size_t(bytes), 128);
    PLAT_SOUND_BUFFER_TYP* b = plat_sound_create_buffer(device, samples.data(), bytes, caps);
    if (b) made.push_back(b);
    return b;
  }
  PLAT_SOUND_DEVICE_TYP* device = nullptr;
  std::vector<uint8_t> samples;
  std::vector<PLAT_SOUND_BUFFER_TYP*> made;
};

TEST_F(SilentSound, OneDeviceAndBuffersOfTheAllowedSizes) {
  EXPECT_EQ(plat_sound_create_device(), nullptr);  // one per process
  EXPECT_EQ(buffer(ALL_CONTROLS, DSBSIZE_MIN - 1), nullptr);
  EXPECT_NE(buffer(ALL_CONTROLS, DSBSIZE_MIN), nullptr);
  EXPECT_EQ(plat_sound_create_buffer(nullptr, samples.data(), 100, 0), nullptr);
  EXPECT_EQ(plat_sound_create_buffer(device, nullptr, 100, 0), nullptr);
  plat_fault_set(CALL_SOUND_BUFFER, 0);
  EXPECT_EQ(buffer(), nullptr);
}

TEST_F(SilentSound, SettingsNeedTheirCapabilityAndARange) {
  PLAT_SOUND_BUFFER_TYP* plain = buffer(0);
  PLAT_SOUND_BUFFER_TYP* full = buffer();
  ASSERT_TRUE(plain && full);
  const struct {
    int (*set)(PLAT_SOUND_BUFFER_TYP*, int32_t);
    int32_t value;
    int full_result;
  } cases[] = {
      {plat_sound_set_volume, 0, 1},          {plat_sound_set_volume, -10000, 1},
      {plat_sound_set_volume, 1, 0},          {plat_sound_set_volume, -10001, 0},
      {plat_sound_set_pan, -10000, 1},        {plat_sound_set_pan, 10001, 0},
      {plat_sound_set_frequency, 0, 1},       {plat_sound_set_frequency, 100, 1},
      {plat_sound_set_frequency, 99, 0},      {plat_sound_set_frequency, 200001, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.set(full, c.value), c.full_result) << c.value;
    EXPECT_EQ(c.set(plain, c.value), 0) << c.value;
    EXPECT_EQ(c.set(nullptr, c.value), 0) << c.value;
  }
  EXPECT_EQ(plat_sound_set_position(full, 999), 1);
  EXPECT_EQ(plat_sound_set_position(full, 1000), 0);
  EXPECT_EQ(plat_sound_set_position(full, -1), 0);
}

TEST_F(SilentSound, APlayLastsAsLongAsItsSamples) {
  PLAT_SOUND_BUFFER_TYP* b = buffer();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(plat_sound_status(b), 0);
  ASSERT_EQ(plat_sound_play(b, 0), 1);
  EXPECT_EQ(plat_sound_status(b), DSBSTATUS_PLAYING);
  render(1000 * FRAMES_PER_SAMPLE - 8);
  EXPECT_EQ(plat_sound_status(b), DSBSTATUS_PLAYING);
  render(8);
  EXPECT_EQ(plat_sound_status(b), 0);
  // Played out: the next play starts from the beginning and lasts as long again.
  plat_sound_play(b, 0);
  render(1000 * FRAMES_PER_SAMPLE - 8);
  EXPECT_EQ(plat_sound_status(b), DSBSTATUS_PLAYING);
}

TEST_F(SilentSound, FrequencyLoopingStopAndPositionChangeTheTime) {
  PLAT_SOUND_BUFFER_TYP* fast = buffer();
  PLAT_SOUND_BUFFER_TYP* looped = buffer();
  PLAT_SOUND_BUFFER_TYP* paused = buffer();
  PLAT_SOUND_BUFFER_TYP* late = buffer();
  ASSERT_TRUE(fast && looped && paused && late);
  plat_sound_set_frequency(fast, 2 * SOUND_BUFFER_RATE);  // twice as fast: half as long
  plat_sound_set_position(late, 500);                     // starts halfway
  for (PLAT_SOUND_BUFFER_TYP* b : {fast, paused, late}) plat_sound_play(b, 0);
  plat_sound_play(looped, DSBPLAY_LOOPING);
  EXPECT_EQ(plat_sound_status(looped), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  render(250 * FRAMES_PER_SAMPLE);
  plat_sound_stop(paused);  // keeps its place
  render(300 * FRAMES_PER_SAMPLE);
  EXPECT_EQ(plat_sound_status(fast), 0);
  EXPECT_EQ(plat_sound_status(late), 0);
  EXPECT_EQ(plat_sound_status(paused), 0);
  plat_sound_play(paused, 0);
  render(740 * FRAMES_PER_SAMPLE);
  EXPECT_EQ(plat_sound_status(paused), DSBSTATUS_PLAYING);
  render(20 * FRAMES_PER_SAMPLE);
  EXPECT_EQ(plat_sound_status(paused), 0);
  render(100000);
  EXPECT_EQ(plat_sound_status(looped), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  // Playing again only changes the looping.
  plat_sound_play(looped, 0);
  EXPECT_EQ(plat_sound_status(looped), DSBSTATUS_PLAYING);
}

TEST_F(SilentSound, ADuplicateSharesTheSamplesAndOutlivesItsSource) {
  PLAT_SOUND_BUFFER_TYP* source = buffer(DSBCAPS_CTRLVOLUME);
  ASSERT_NE(source, nullptr);
  plat_sound_set_volume(source, -600);
  PLAT_SOUND_BUFFER_TYP* copy = plat_sound_duplicate_buffer(device, source);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(plat_sound_set_frequency(copy, 22050), 0);  // the source's capabilities
  EXPECT_EQ(plat_sound_set_volume(copy, -100), 1);
  made.erase(made.begin());
  plat_sound_release_buffer(source);
  plat_sound_play(copy, 0);
  render(1000 * FRAMES_PER_SAMPLE);
  EXPECT_EQ(plat_sound_status(copy), 0);
  plat_sound_release_buffer(copy);
  EXPECT_EQ(plat_sound_duplicate_buffer(device, nullptr), nullptr);
}

TEST(SilentSoundDevice, AFaultRefusesTheDeviceAndAReleasedOneCanBeOpenedAgain) {
  plat_fault_set(CALL_SOUND_DEVICE, 0);
  EXPECT_EQ(plat_sound_create_device(), nullptr);
  plat_fault_clear_all();
  PLAT_SOUND_DEVICE_TYP* first = plat_sound_create_device();
  ASSERT_NE(first, nullptr);
  plat_sound_release_device(first);
  PLAT_SOUND_DEVICE_TYP* again = plat_sound_create_device();
  EXPECT_NE(again, nullptr);
  plat_sound_release_device(again);
}

}  // namespace
