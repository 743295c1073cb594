#include "tests/audio/audio_helpers.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/mix.h"

std::vector<float> pull_mix(int frames) {
  std::vector<float> stereo(size_t(frames) * MIX_CHANNELS);
  plat_mix_render(stereo.data(), frames);
  return stereo;
}

int mix_frames(double seconds) { return int(seconds * MIX_RATE); }

double channel_rms(const std::vector<float>& stereo, int channel, int first, int count) {
  double sum = 0.0;
  for (int i = first; i < first + count; ++i) {
    double v = stereo[size_t(i) * MIX_CHANNELS + size_t(channel)];
    sum += v * v;
  }
  return count > 0 ? std::sqrt(sum / count) : 0.0;
}

int zero_crossings(const std::vector<float>& stereo, int first, int count) {
  int crossings = 0;
  for (int i = first + 1; i < first + count; ++i) {
    bool before = stereo[size_t(i - 1) * MIX_CHANNELS] >= 0.0f;
    bool now = stereo[size_t(i) * MIX_CHANNELS] >= 0.0f;
    if (before != now) ++crossings;
  }
  return crossings;
}

double tone_level(const std::vector<float>& stereo, double hertz, int first, int count) {
  double re = 0.0, im = 0.0;
  for (int i = 0; i < count; ++i) {
    double v = stereo[size_t(first + i) * MIX_CHANNELS];
    double phase = 2.0 * M_PI * hertz * i / MIX_RATE;
    re += v * std::cos(phase);
    im -= v * std::sin(phase);
  }
  return count > 0 ? 2.0 * std::sqrt(re * re + im * im) / count : 0.0;
}

std::string audio_fixture(const char* name) {
  return std::string(ASHFALLOW_FIXTURES) + "/audio/" + name;
}

void put_le32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

namespace {
void append_le(std::vector<uint8_t>& bytes, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
}
void append_id(std::vector<uint8_t>& bytes, const char* id) {
  for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(id[i]));
}
}  // namespace

std::vector<uint8_t> make_wav(uint16_t format_tag, uint16_t channels, uint32_t rate,
                              uint16_t bits, const std::vector<uint8_t>& samples,
                              uint32_t fmt_size) {
  std::vector<uint8_t> b;
  append_id(b, "RIFF");
  append_le(b, 0, 4);  // patched below
  append_id(b, "WAVE");
  append_id(b, "fmt ");
  append_le(b, fmt_size, 4);
  uint16_t align = uint16_t(channels * bits / 8);
  append_le(b, format_tag, 2);
  append_le(b, channels, 2);
  append_le(b, rate, 4);
  append_le(b, rate * align, 4);
  append_le(b, align, 2);
  append_le(b, bits, 2);
  for (uint32_t i = 16; i < fmt_size; ++i) b.push_back(0);
  append_id(b, "data");
  append_le(b, uint32_t(samples.size()), 4);
  b.insert(b.end(), samples.begin(), samples.end());
  if (samples.size() & 1) b.push_back(0);
  put_le32(b, 4, uint32_t(b.size() - 8));
  return b;
}

std::vector<uint8_t> sine8(int count, int cycle) {
  std::vector<uint8_t> samples(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    samples[size_t(i)] = uint8_t(128 + std::lround(100 * std::sin(2 * M_PI * i / cycle)));
  return samples;
}

std::string write_temp(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("ashfallow-audio-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::path path = folder / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path.string();
}
