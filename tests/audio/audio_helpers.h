// Shared by the audio tests: pulling the headless mix, measuring it, and writing WAV files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Pulls `frames` stereo frames from the mix, as the sdl output's callback would.
std::vector<float> pull_mix(int frames);
// Frames in the given seconds of mix.
int mix_frames(double seconds);

// Root mean square of one channel (0 left, 1 right) over frames [first, first + count).
double channel_rms(const std::vector<float>& stereo, int channel, int first, int count);
// Sign changes of the left channel over frames [first, first + count).
int zero_crossings(const std::vector<float>& stereo, int first, int count);

// Amplitude of the left channel's component at `hertz` over frames [first, first + count).
double tone_level(const std::vector<float>& stereo, double hertz, int first, int count);

// A committed fixture file of tests/fixtures/audio.
std::string audio_fixture(const char* name);

// The bytes of a RIFF WAVE file with a format chunk of `fmt_size` bytes (16 or 18) and a data
// chunk holding `samples`.
std::vector<uint8_t> make_wav(uint16_t format_tag, uint16_t channels, uint32_t rate,
                              uint16_t bits, const std::vector<uint8_t>& samples,
                              uint32_t fmt_size = 16);
// `count` bytes of an 8-bit sine at `cycle` samples a cycle.
std::vector<uint8_t> sine8(int count, int cycle);
// Writes bytes to a fresh file under the test's temporary folder and returns its path.
std::string write_temp(const std::string& name, const std::vector<uint8_t>& bytes);
// Little-endian helpers for patching sizes into made files.
void put_le32(std::vector<uint8_t>& bytes, size_t at, uint32_t value);
