// Loading a RIFF WAVE file into a sound slot.
#include <cstdlib>

#include "engine/audio/sound.h"
#include "platform/refusal.h"
#include "platform/riff.h"

namespace {

constexpr uint16_t WAVE_FORMAT_PCM = 1;

// The file's format chunk as stored: 18 little-endian bytes.
struct WAVE_FORMAT_TYP {
  uint16_t format_tag;
  uint16_t channels;
  uint32_t samples_per_sec;
  uint32_t avg_bytes_per_sec;
  uint16_t block_align;
  uint16_t bits_per_sample;
  uint16_t extra_size;
};

WAVE_FORMAT_TYP parse_format(const uint8_t* b) {
  auto u16 = [b](int at) { return uint16_t(b[at] | b[at + 1] << 8); };
  auto u32 = [u16](int at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
  return WAVE_FORMAT_TYP{u16(0), u16(2), u32(4), u32(8), u16(12), u16(14), u16(16)};
}

int fail(RIFF_FILE_TYP* file) {
  plat_riff_close(file);
  return -1;
}

}  // namespace

int load_wav_sound(const char* file_name, int control_flags) {
  // A full table refuses the load before the file is opened.
  if (lowest_empty_sound_slot() < 0) return -1;
  RIFF_FILE_TYP* file = plat_riff_open(file_name);
  if (!file) return -1;
  return load_wav_riff(file, control_flags);
}

int load_wav_riff(RIFF_FILE_TYP* file, int control_flags) {
  int index = lowest_empty_sound_slot();
  if (!file || index < 0) return fail(file);

  RIFF_CHUNK_TYP parent{};
  RIFF_CHUNK_TYP child{};

  parent.fcc_type = plat_riff_fourcc('W', 'A', 'V', 'E');
  if (!plat_riff_descend(file, &parent, nullptr, RIFF_FIND_RIFF)) return fail(file);

  child.ckid = plat_riff_fourcc('f', 'm', 't', ' ');
  if (!plat_riff_descend(file, &child, &parent, RIFF_FIND_CHUNK)) return fail(file);
  // 18 bytes even from a 16-byte chunk: the two beyond it are read and ignored.
  uint8_t format_bytes[18];
  if (plat_riff_read(file, format_bytes, 18) != 18) {
    plat_refusal_note("cut short (the file ends inside its sound format)");
    return fail(file);
  }
  WAVE_FORMAT_TYP wfmtx = parse_format(format_bytes);
  if (wfmtx.format_tag != WAVE_FORMAT_PCM) {
    plat_refusal_note("not a sound the game can read (WAVE in format %u, not plain PCM)",
                      unsigned(wfmtx.format_tag));
    return fail(file);
  }
  if (!plat_riff_ascend(file, &child)) return fail(file);

  child.ckid = plat_riff_fourcc('d', 'a', 't', 'a');
  if (!plat_riff_descend(file, &child, &parent, RIFF_FIND_CHUNK)) return fail(file);
  // The descend checked the size against the file, so the block is never larger than what
  // the file holds; a buffer cannot be larger than DSBSIZE_MAX anyway.
  if (child.cksize > uint32_t(DSBSIZE_MAX)) {
    char size[32];
    plat_size_words(child.cksize, size, sizeof size);
    plat_refusal_note("not a sound the game can read (%s of samples)", size);
    return fail(file);
  }
  int32_t size = int32_t(child.cksize);
  auto* samples = static_cast<uint8_t*>(std::malloc(size > 0 ? size_t(size) : 1));
  if (!samples) return fail(file);
  int32_t got = plat_riff_read(file, samples, size);
  plat_riff_close(file);
  if (got != size) {
    plat_refusal_note("cut short (expected %d bytes of samples, found %d)", int(size), int(got));
    std::free(samples);
    return -1;
  }

  SOUND_SLOT_TYP& slot = sound_slots[index];
  slot.rate = int32_t(wfmtx.samples_per_sec);
  slot.size = size;
  slot.state = SLOT_LOADED;

  // Every buffer is 8-bit mono 11025 Hz; the sample bytes go in unchanged.
  slot.sound_buffer = plat_sound_create_buffer(sound_device, samples, size,
                                               control_flags | DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE);
  std::free(samples);
  if (!slot.sound_buffer) {
    // Too few samples for any buffer is the file's fault; the others are the sound device's.
    if (size < DSBSIZE_MIN)
      plat_refusal_note("not a sound the game can read (%d bytes of samples, fewer than %d)",
                        int(size), int(DSBSIZE_MIN));
    slot.state = SLOT_EMPTY;
    return -1;
  }
  return index;
}
