// Sound buffers that play nothing: every setting is checked and kept as the native device
// keeps it, and a buffer plays for as long as its samples last at its frequency (looped: until
// stopped), counted in the frames of the mix that is pulled.
#include "platform/sound.h"

#include <algorithm>
#include <new>

#include "platform/faults.h"
#include "platform/mix.h"
#include "platform/web/silent/silent_state.h"
#include "platform/web/silent/voices.h"

struct PLAT_SOUND_DEVICE_TYP {
  int open;
};

// Sample data shared by a buffer and its duplicates.
struct SOUND_SAMPLES_TYP {
  std::vector<uint8_t> bytes;
  int refs;
};

struct PLAT_SOUND_BUFFER_TYP {
  SOUND_SAMPLES_TYP* samples;
  int32_t caps;
  int32_t volume;
  int32_t frequency;
  int32_t pan;
  int playing;
  int looping;
  // Where it plays, in 1/65536ths of a sample, so a buffer at any frequency keeps its time.
  int64_t position;
};

namespace {

constexpr int64_t SAMPLE_UNIT = 65536;

PLAT_SOUND_DEVICE_TYP* open_device = nullptr;

int64_t length_of(const PLAT_SOUND_BUFFER_TYP* buffer) {
  return static_cast<int64_t>(buffer->samples->bytes.size()) * SAMPLE_UNIT;
}

// Tells whoever makes the buffers heard how this one stands now.
void tell(PLAT_SOUND_BUFFER_TYP* buffer, int restart) {
  const SILENT_VOICES_TYP* voices = silent_voices();
  if (!voices || !voices->sound_changed) return;
  const SOUND_VOICE_VIEW_TYP view = {
      buffer->samples,  buffer->samples->bytes.data(),
      static_cast<int32_t>(buffer->samples->bytes.size()),
      buffer->volume,   buffer->frequency,
      buffer->pan,      buffer->playing,
      buffer->looping,  static_cast<double>(buffer->position) / SAMPLE_UNIT};
  voices->sound_changed(buffer, &view, restart);
}

PLAT_SOUND_BUFFER_TYP* new_buffer(SOUND_SAMPLES_TYP* samples, int32_t caps) {
  auto* buffer = new (std::nothrow) PLAT_SOUND_BUFFER_TYP{samples, caps, 0, 0, 0, 0, 0, 0};
  if (!buffer) return nullptr;
  silent_mix().buffers.push_back(buffer);
  ++samples->refs;
  return buffer;
}

}  // namespace

void silent_sound_advance(int frames) {
  for (PLAT_SOUND_BUFFER_TYP* buffer : silent_mix().buffers) {
    if (!buffer->playing) continue;
    const int64_t rate =
        buffer->frequency == DSBFREQUENCY_ORIGINAL ? SOUND_BUFFER_RATE : buffer->frequency;
    buffer->position += int64_t{frames} * rate * SAMPLE_UNIT / MIX_RATE;
    const int64_t length = length_of(buffer);
    if (buffer->position < length) continue;
    if (buffer->looping) {
      buffer->position %= length;
    } else {
      // Played out: stopped, and the next play starts from the beginning again.
      buffer->playing = 0;
      buffer->position = 0;
    }
  }
}

PLAT_SOUND_DEVICE_TYP* plat_sound_create_device() {
  if (plat_fault(CALL_SOUND_DEVICE)) return nullptr;
  if (open_device) return nullptr;  // one device per process
  open_device = new (std::nothrow) PLAT_SOUND_DEVICE_TYP{1};
  return open_device;
}

void plat_sound_release_device(PLAT_SOUND_DEVICE_TYP* device) {
  if (!device || device != open_device) return;
  delete device;
  open_device = nullptr;
}

PLAT_SOUND_BUFFER_TYP* plat_sound_create_buffer(PLAT_SOUND_DEVICE_TYP* device,
                                                const uint8_t* samples, int32_t bytes,
                                                int32_t caps) {
  if (plat_fault(CALL_SOUND_BUFFER)) return nullptr;
  if (!device || device != open_device || !samples || bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX)
    return nullptr;
  auto* shared = new (std::nothrow) SOUND_SAMPLES_TYP{};
  if (!shared) return nullptr;
  shared->bytes.assign(samples, samples + bytes);
  PLAT_SOUND_BUFFER_TYP* buffer = new_buffer(shared, caps);
  if (!buffer) delete shared;
  return buffer;
}

PLAT_SOUND_BUFFER_TYP* plat_sound_duplicate_buffer(PLAT_SOUND_DEVICE_TYP* device,
                                                   PLAT_SOUND_BUFFER_TYP* source) {
  if (plat_fault(CALL_SOUND_BUFFER)) return nullptr;
  if (!device || device != open_device || !source) return nullptr;
  PLAT_SOUND_BUFFER_TYP* copy = new_buffer(source->samples, source->caps);
  if (!copy) return nullptr;
  copy->volume = source->volume;
  copy->frequency = source->frequency;
  copy->pan = source->pan;
  return copy;
}

void plat_sound_release_buffer(PLAT_SOUND_BUFFER_TYP* buffer) {
  if (!buffer) return;
  auto& buffers = silent_mix().buffers;
  buffers.erase(std::remove(buffers.begin(), buffers.end(), buffer), buffers.end());
  const int last = --buffer->samples->refs == 0;
  const SILENT_VOICES_TYP* voices = silent_voices();
  if (voices && voices->sound_released) voices->sound_released(buffer, buffer->samples, last);
  if (last) delete buffer->samples;
  delete buffer;
}

int plat_sound_play(PLAT_SOUND_BUFFER_TYP* buffer, int32_t flags) {
  if (!buffer) return 0;
  // Playing a buffer that already plays only changes its looping; it does not restart it.
  const int was_playing = buffer->playing;
  buffer->looping = (flags & DSBPLAY_LOOPING) ? 1 : 0;
  buffer->playing = 1;
  tell(buffer, !was_playing);
  return 1;
}

int plat_sound_stop(PLAT_SOUND_BUFFER_TYP* buffer) {
  if (!buffer) return 0;
  const int was_playing = buffer->playing;
  buffer->playing = 0;
  if (was_playing) tell(buffer, 0);
  return 1;
}

int plat_sound_set_position(PLAT_SOUND_BUFFER_TYP* buffer, int32_t byte_offset) {
  if (!buffer || byte_offset < 0 || byte_offset >= static_cast<int64_t>(buffer->samples->bytes.size()))
    return 0;
  buffer->position = int64_t{byte_offset} * SAMPLE_UNIT;
  if (buffer->playing) tell(buffer, 1);
  return 1;
}

int plat_sound_set_volume(PLAT_SOUND_BUFFER_TYP* buffer, int32_t hundredths_db) {
  if (!buffer || !(buffer->caps & DSBCAPS_CTRLVOLUME)) return 0;
  if (hundredths_db < DSBVOLUME_MIN || hundredths_db > DSBVOLUME_MAX) return 0;
  buffer->volume = hundredths_db;
  tell(buffer, 0);
  return 1;
}

int plat_sound_set_frequency(PLAT_SOUND_BUFFER_TYP* buffer, int32_t samples_per_second) {
  if (!buffer || !(buffer->caps & DSBCAPS_CTRLFREQUENCY)) return 0;
  if (samples_per_second != DSBFREQUENCY_ORIGINAL &&
      (samples_per_second < DSBFREQUENCY_MIN || samples_per_second > DSBFREQUENCY_MAX))
    return 0;
  buffer->frequency = samples_per_second;
  tell(buffer, 0);
  return 1;
}

int plat_sound_set_pan(PLAT_SOUND_BUFFER_TYP* buffer, int32_t hundredths_db) {
  if (!buffer || !(buffer->caps & DSBCAPS_CTRLPAN)) return 0;
  if (hundredths_db < DSBPAN_LEFT || hundredths_db > DSBPAN_RIGHT) return 0;
  buffer->pan = hundredths_db;
  tell(buffer, 0);
  return 1;
}

int32_t plat_sound_status(PLAT_SOUND_BUFFER_TYP* buffer) {
  if (!buffer || !buffer->playing) return 0;
  return DSBSTATUS_PLAYING | (buffer->looping ? DSBSTATUS_LOOPING : 0);
}
