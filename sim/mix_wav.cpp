#include "sim/mix_wav.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/checked_write.h"
#include "platform/image/byte_out.h"
#include "platform/mix.h"

namespace {

constexpr int HEADER_BYTES = 44;
constexpr int BYTES_PER_FRAME = 2 * MIX_CHANNELS;
constexpr int BLOCK_FRAMES = 4096;

std::vector<uint8_t> header(uint64_t frames) {
  // A mix too long for the format's 32-bit sizes says the most it can.
  const uint32_t data = uint32_t(std::min<uint64_t>(frames * BYTES_PER_FRAME, 0xFFFFFFFFu - 36));
  std::vector<uint8_t> out;
  plat_put_tag(out, "RIFF");
  plat_put_le32(out, 36 + data);
  plat_put_tag(out, "WAVE");
  plat_put_tag(out, "fmt ");
  plat_put_le32(out, 16);
  plat_put_le16(out, 1);  // PCM
  plat_put_le16(out, MIX_CHANNELS);
  plat_put_le32(out, MIX_RATE);
  plat_put_le32(out, MIX_RATE * BYTES_PER_FRAME);
  plat_put_le16(out, BYTES_PER_FRAME);
  plat_put_le16(out, 16);
  plat_put_tag(out, "data");
  plat_put_le32(out, data);
  return out;
}

void failed(SIM_MIX_WAV_TYP* wav, const char* why) {
  if (wav->failure.empty())
    wav->failure = "cannot write " + wav->path + ": " + (why ? why : std::strerror(errno));
}

void write(SIM_MIX_WAV_TYP* wav, const std::vector<uint8_t>& bytes) {
  if (!wav->file || !wav->failure.empty()) return;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), wav->file) != bytes.size())
    failed(wav, errno ? nullptr : "write failed");
}

void render(SIM_MIX_WAV_TYP* wav, uint64_t frames) {
  std::vector<float> block(size_t(BLOCK_FRAMES) * MIX_CHANNELS);
  while (frames > 0) {
    const int step = int(std::min<uint64_t>(frames, BLOCK_FRAMES));
    plat_mix_render(block.data(), step);
    sim_mix_wav_add(wav, block.data(), step);
    frames -= uint64_t(step);
  }
}

}  // namespace

int sim_mix_wav_open(SIM_MIX_WAV_TYP* wav, const std::string& path) {
  *wav = SIM_MIX_WAV_TYP{};
  wav->path = path;
  errno = 0;
  wav->file = std::fopen(path.c_str(), "wb");
  if (!wav->file) {
    failed(wav, errno ? nullptr : "cannot create it");
    return 0;
  }
  write(wav, header(0));
  return wav->failure.empty();
}

void sim_mix_wav_add(SIM_MIX_WAV_TYP* wav, const float* stereo, int frames) {
  if (frames <= 0) return;
  std::vector<uint8_t> bytes;
  bytes.reserve(size_t(frames) * BYTES_PER_FRAME);
  for (int i = 0; i < frames * MIX_CHANNELS; ++i) {
    const float v = std::clamp(stereo[i], -1.0f, 1.0f);
    plat_put_le16(bytes, uint16_t(int16_t(std::lround(v * 32767.0f))));
  }
  write(wav, bytes);
  wav->frames += uint64_t(frames);
}

void sim_mix_wav_until(SIM_MIX_WAV_TYP* wav, uint32_t now_ms) {
  if (!wav->started) {
    wav->started = 1;
    wav->origin_ms = now_ms;
    return;
  }
  const uint64_t due = uint64_t(uint32_t(now_ms - wav->origin_ms)) * MIX_RATE / 1000;
  // More than half the clock's range ahead is a clock that went back.
  if (uint32_t(now_ms - wav->origin_ms) >= 0x80000000u || due <= wav->frames) return;
  render(wav, due - wav->frames);
}

void sim_mix_wav_extra(SIM_MIX_WAV_TYP* wav, uint32_t ms) {
  render(wav, uint64_t(ms) * MIX_RATE / 1000);
}

int sim_mix_wav_close(SIM_MIX_WAV_TYP* wav) {
  if (wav->file) {
    errno = 0;
    if (wav->failure.empty() && std::fseek(wav->file, 0, SEEK_SET) != 0) failed(wav, nullptr);
    write(wav, header(wav->frames));
    const char* reason = nullptr;
    if (!plat_close_checked(wav->file, &reason)) failed(wav, reason);
    wav->file = nullptr;
  }
  return wav->failure.empty();
}
