// Loading WAV files into sound slots: real files, damaged files, and the slot table's rules.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/refusal.h"
#include "tests/audio/audio_helpers.h"
#include "tests/audio/sound_fixture.h"

namespace {

using WavLoad = SoundTest;

#define NOT_A_SOUND "not a sound the game can read "

// Open file descriptors of this process: a failed load must close its file.
int open_files() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

// Loads a file made from bytes.
int load_bytes(const std::string& name, const std::vector<uint8_t>& bytes) {
  return load_wav_sound(write_temp(name, bytes).c_str(), GAME_FLAGS);
}

TEST_F(WavLoad, RealFilesLoadWithTheirRateRecorded) {
  int tone = load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS);
  ASSERT_EQ(tone, 0);
  EXPECT_EQ(sound_slots[tone].rate, 11025);
  EXPECT_EQ(sound_slots[tone].size, 3307);
  EXPECT_EQ(sound_slots[tone].state, SLOT_LOADED);
  EXPECT_EQ(sound_slots[tone].id, tone);

  // 16-bit stereo 44100 loads; its bytes play as 8-bit mono 11025 by the game's rule.
  int stereo = load_wav_sound(audio_fixture("stereo16.wav").c_str(), GAME_FLAGS);
  ASSERT_EQ(stereo, 1);
  EXPECT_EQ(sound_slots[stereo].rate, 44100);
  EXPECT_EQ(sound_slots[stereo].size, 8820);

  // 8820 bytes at one byte a sample and 11025 samples a second: 0.8 s, not the file's 0.05 s.
  ASSERT_EQ(play_sound(stereo, 0), 1);
  pull_mix(mix_frames(0.75));
  EXPECT_EQ(sound_status(stereo), DSBSTATUS_PLAYING);
  pull_mix(mix_frames(0.1));
  EXPECT_EQ(sound_status(stereo), 0);

  int speech = load_wav_sound(audio_fixture("speech.wav").c_str(), GAME_FLAGS);
  ASSERT_EQ(speech, 2);
  EXPECT_EQ(sound_slots[speech].rate, 22050);
}

TEST_F(WavLoad, EveryRealFileSounds) {
  for (const char* name : {"tone8.wav", "stereo16.wav", "speech.wav"}) {
    SCOPED_TRACE(name);
    int id = load_wav_sound(audio_fixture(name).c_str(), GAME_FLAGS);
    ASSERT_GE(id, 0);
    ASSERT_EQ(play_sound(id, 0), 1);
    std::vector<float> mix = pull_mix(mix_frames(0.05));
    EXPECT_GT(channel_rms(mix, 0, 0, mix_frames(0.05)), 0.01);
    stop_sound(id);
  }
}

TEST_F(WavLoad, SameFileTwiceGivesTwoSlots) {
  int first = load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS);
  int second = load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  EXPECT_NE(sound_slots[first].sound_buffer, sound_slots[second].sound_buffer);
}

TEST_F(WavLoad, SixteenByteAndEighteenByteFormatChunksBothLoad) {
  EXPECT_EQ(load_bytes("fmt16.wav", make_wav(1, 1, 11025, 8, sine8(100, 25), 16)), 0);
  EXPECT_EQ(load_bytes("fmt18.wav", make_wav(1, 1, 11025, 8, sine8(100, 25), 18)), 1);
  EXPECT_EQ(load_bytes("four.wav", make_wav(1, 1, 11025, 8, {128, 200, 128, 56})), 2);
  EXPECT_EQ(sound_slots[2].size, 4);
}

TEST_F(WavLoad, DamagedAndForeignFilesAreRefusedAndLeaveTheSlotEmpty) {
  std::vector<uint8_t> good = make_wav(1, 1, 11025, 8, sine8(100, 25));

  std::vector<uint8_t> truncated(good.begin(), good.end() - 30);
  std::vector<uint8_t> truncated_data = truncated;  // form size fixed, data size still too big
  put_le32(truncated_data, 4, uint32_t(truncated_data.size() - 8));
  std::vector<uint8_t> absurd = good;
  put_le32(absurd, 40, 0xFFFFFFF0u);
  std::vector<uint8_t> absurd_form = good;
  put_le32(absurd_form, 4, 0xFFFFFFF0u);
  std::vector<uint8_t> not_riff = good;
  not_riff[0] = 'X';
  std::vector<uint8_t> not_wave = good;
  not_wave[8] = 'A';
  std::vector<uint8_t> no_fmt = good;
  no_fmt[12] = 'x';
  std::vector<uint8_t> no_data = good;
  no_data[36] = 'x';
  std::vector<uint8_t> short_fmt = {'R', 'I', 'F', 'F', 18, 0, 0, 0, 'W', 'A', 'V', 'E',
                                    'f', 'm', 't', ' ', 6,  0, 0, 0, 1,   0,   1,   0, 0, 0};
  std::vector<uint8_t> data_before_fmt = make_wav(1, 1, 11025, 8, sine8(100, 25));
  {
    // "data" first, then "fmt ": the data chunk is looked for only after the format.
    std::vector<uint8_t> fmt(data_before_fmt.begin() + 12, data_before_fmt.begin() + 36);
    std::vector<uint8_t> data(data_before_fmt.begin() + 36, data_before_fmt.end());
    data_before_fmt.resize(12);
    data_before_fmt.insert(data_before_fmt.end(), data.begin(), data.end());
    data_before_fmt.insert(data_before_fmt.end(), fmt.begin(), fmt.end());
  }
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* said;  // why, as the player is told
  } cases[] = {
      {"truncated", truncated, "cut short (expected 144 bytes, found 114)"},
      {"truncated_data", truncated_data, "cut short (expected 144 bytes, found 114)"},
      {"absurd_data_size", absurd, NOT_A_SOUND "(\"data\" chunk with size field 4 GB)"},
      {"absurd_form_size", absurd_form, NOT_A_SOUND "(\"RIFF\" chunk with size field 4 GB)"},
      {"not_riff", not_riff, NOT_A_SOUND "(no RIFF header)"},
      {"not_wave", not_wave, NOT_A_SOUND "(RIFF but not WAVE)"},
      {"no_fmt", no_fmt, NOT_A_SOUND "(no \"fmt \" chunk)"},
      {"no_data", no_data, NOT_A_SOUND "(no \"data\" chunk)"},
      {"short_fmt", short_fmt, "cut short (the file ends inside its sound format)"},
      // The format, last in the file, is two bytes short of what the loader reads.
      {"data_before_fmt", data_before_fmt, "cut short (the file ends inside its sound format)"},
      {"float_tag", make_wav(3, 1, 11025, 32, std::vector<uint8_t>(400, 0)),
       NOT_A_SOUND "(WAVE in format 3, not plain PCM)"},
      // A buffer holds at least 4 bytes: smaller data cannot become one.
      {"no_samples", make_wav(1, 1, 11025, 8, {}),
       NOT_A_SOUND "(0 bytes of samples, fewer than 4)"},
      {"three_samples", make_wav(1, 1, 11025, 8, {128, 200, 56}),
       NOT_A_SOUND "(3 bytes of samples, fewer than 4)"},
      {"empty", {}, "cut short (expected at least 12 bytes, found 0)"},
      {"header_only", {'R', 'I', 'F', 'F'}, "cut short (expected at least 12 bytes, found 4)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = write_temp(std::string(c.name) + ".wav", c.bytes);
    int files = open_files();
    plat_refusal_clear();
    EXPECT_EQ(load_wav_sound(path.c_str(), GAME_FLAGS), -1);
    const char* said = plat_refusal_take();
    EXPECT_STREQ(said ? said : "nothing", c.said);
    EXPECT_EQ(open_files(), files);
    EXPECT_EQ(sound_slots[0].state, SLOT_EMPTY);
    EXPECT_EQ(sound_slots[0].sound_buffer, nullptr);
  }
  EXPECT_EQ(load_wav_sound(audio_fixture("alaw.wav").c_str(), GAME_FLAGS), -1);
  EXPECT_EQ(load_wav_sound("/nonexistent/bat.WAV", GAME_FLAGS), -1);
  EXPECT_EQ(load_wav_sound(nullptr, GAME_FLAGS), -1);
  EXPECT_EQ(load_wav_sound(std::filesystem::temp_directory_path().c_str(), GAME_FLAGS), -1);
  // The table is untouched: the next good load takes slot 0, and is not refused.
  plat_refusal_clear();
  EXPECT_EQ(load_bytes("good.wav", good), 0);
  EXPECT_EQ(plat_refusal_take(), nullptr);
}

TEST_F(WavLoad, TwoHundredFiftySixLoadsFillTheTable) {
  std::string path = audio_fixture("tone8.wav");
  for (int i = 0; i < MAX_SOUNDS; ++i) ASSERT_EQ(load_wav_sound(path.c_str(), GAME_FLAGS), i);
  EXPECT_EQ(load_wav_sound(path.c_str(), GAME_FLAGS), -1);
  EXPECT_EQ(replicate_sound(0), -1);
  // Every one of them still plays on its own.
  EXPECT_EQ(play_sound(255, 0), 1);
  EXPECT_EQ(sound_status(255) & DSBSTATUS_PLAYING, DSBSTATUS_PLAYING);
}

TEST_F(WavLoad, DeletedSlotIsNotReusedUntilTheNextStart) {
  std::string path = audio_fixture("tone8.wav");
  ASSERT_EQ(load_wav_sound(path.c_str(), GAME_FLAGS), 0);
  ASSERT_EQ(load_wav_sound(path.c_str(), GAME_FLAGS), 1);
  EXPECT_EQ(delete_sound(0), 1);
  EXPECT_EQ(sound_slots[0].sound_buffer, nullptr);
  EXPECT_EQ(sound_slots[0].state, SLOT_LOADED);
  EXPECT_EQ(sound_status(0), -1);
  EXPECT_EQ(play_sound(0, 0), 1);  // nothing to play, not a failure
  EXPECT_EQ(load_wav_sound(path.c_str(), GAME_FLAGS), 2);

  // A later start empties the table and keeps the device.
  PLAT_SOUND_DEVICE_TYP* device = sound_device;
  EXPECT_EQ(start_sound_system(), 1);
  EXPECT_EQ(sound_device, device);
  for (int i = 0; i < MAX_SOUNDS; ++i) {
    EXPECT_EQ(sound_slots[i].state, SLOT_EMPTY);
    EXPECT_EQ(sound_slots[i].id, i);
  }
  EXPECT_EQ(load_wav_sound(path.c_str(), GAME_FLAGS), 0);
}

TEST_F(WavLoad, BufferFailureLeavesTheSlotEmpty) {
  plat_fault_set(CALL_SOUND_BUFFER, 0);
  EXPECT_EQ(load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS), -1);
  EXPECT_EQ(sound_slots[0].state, SLOT_EMPTY);
  EXPECT_EQ(sound_slots[0].sound_buffer, nullptr);
  plat_fault_clear_all();
  EXPECT_EQ(load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS), 0);
}

TEST(SoundDevice, WithoutADeviceStartFailsAndEverythingElseIsHarmless) {
  plat_fault_clear_all();
  sound_first_start = 1;
  plat_fault_set(CALL_SOUND_DEVICE, 0);
  EXPECT_EQ(start_sound_system(), 0);
  plat_fault_clear_all();
  // The device is not tried again, and the game carries on silently.
  EXPECT_EQ(start_sound_system(), 1);
  EXPECT_EQ(sound_device, nullptr);
  EXPECT_EQ(load_wav_sound(audio_fixture("tone8.wav").c_str(), GAME_FLAGS), -1);
  EXPECT_EQ(replicate_sound(0), -1);
  EXPECT_EQ(play_sound(0, 0), 1);
  EXPECT_EQ(sound_status(0), -1);
  std::vector<float> mix = pull_mix(256);
  EXPECT_EQ(channel_rms(mix, 0, 0, 256), 0.0);
  EXPECT_EQ(stop_all_sounds(), 1);
  EXPECT_EQ(delete_all_sounds(), 1);
  EXPECT_EQ(shutdown_sound_system(), 1);
}

}  // namespace
