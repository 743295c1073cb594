// Sound effects: one device and static buffers of 8-bit mono samples at 11025 Hz, played once
// or looped, with volume, frequency, pan, status and duplicates, like the old buffer API. The
// buffers play into the one mix (platform/mix.h) that the backend's audio output pulls.
#pragma once
#include <cstdint>

struct PLAT_SOUND_DEVICE_TYP;
struct PLAT_SOUND_BUFFER_TYP;

// Every buffer holds unsigned 8-bit mono samples at this rate.
constexpr int32_t SOUND_BUFFER_RATE = 11025;

// Buffer capabilities: which settings a buffer accepts after creation.
constexpr int32_t DSBCAPS_STATIC = 0x2;
constexpr int32_t DSBCAPS_LOCSOFTWARE = 0x8;
constexpr int32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr int32_t DSBCAPS_CTRLPAN = 0x40;
constexpr int32_t DSBCAPS_CTRLVOLUME = 0x80;

constexpr int32_t DSBPLAY_LOOPING = 0x1;

constexpr int32_t DSBSTATUS_PLAYING = 0x1;
constexpr int32_t DSBSTATUS_LOOPING = 0x4;

// Ranges the buffer settings accept; anything outside is refused.
constexpr int32_t DSBVOLUME_MIN = -10000;  // hundredths of a decibel
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr int32_t DSBPAN_LEFT = -10000;
constexpr int32_t DSBPAN_RIGHT = 10000;
constexpr int32_t DSBFREQUENCY_ORIGINAL = 0;
constexpr int32_t DSBFREQUENCY_MIN = 100;
constexpr int32_t DSBFREQUENCY_MAX = 200000;

// The smallest and largest buffer in bytes.
constexpr int32_t DSBSIZE_MIN = 4;
constexpr int32_t DSBSIZE_MAX = 0x0FFFFFFF;

// Opens the sound device, a software mixer rendering into the mix. Null on failure.
PLAT_SOUND_DEVICE_TYP* plat_sound_create_device();
// Releases the device; its buffers must have been released first.
void plat_sound_release_device(PLAT_SOUND_DEVICE_TYP* device);

// A buffer holding a copy of `bytes` samples, with `caps` (DSBCAPS_ bits). Null on failure,
// including a size outside DSBSIZE_MIN..DSBSIZE_MAX.
PLAT_SOUND_BUFFER_TYP* plat_sound_create_buffer(PLAT_SOUND_DEVICE_TYP* device,
                                                const uint8_t* samples, int32_t bytes,
                                                int32_t caps);
// A second buffer sharing the samples of `source`, stopped at the start, with its settings.
PLAT_SOUND_BUFFER_TYP* plat_sound_duplicate_buffer(PLAT_SOUND_DEVICE_TYP* device,
                                                   PLAT_SOUND_BUFFER_TYP* source);
void plat_sound_release_buffer(PLAT_SOUND_BUFFER_TYP* buffer);

// Each returns 1 on success and 0 on failure (null buffer, a setting the buffer was not
// created to accept, or a value out of range).
int plat_sound_play(PLAT_SOUND_BUFFER_TYP* buffer, int32_t flags);  // from the current position
int plat_sound_stop(PLAT_SOUND_BUFFER_TYP* buffer);                 // keeps the position
int plat_sound_set_position(PLAT_SOUND_BUFFER_TYP* buffer, int32_t byte_offset);
int plat_sound_set_volume(PLAT_SOUND_BUFFER_TYP* buffer, int32_t hundredths_db);
int plat_sound_set_frequency(PLAT_SOUND_BUFFER_TYP* buffer, int32_t samples_per_second);
// Pan turns only the far side down by that much (negative: the right side); the near side
// stays at the buffer's volume, as both sides are at the centre.
int plat_sound_set_pan(PLAT_SOUND_BUFFER_TYP* buffer, int32_t hundredths_db);
// DSBSTATUS_ bits; 0 for a null buffer.
int32_t plat_sound_status(PLAT_SOUND_BUFFER_TYP* buffer);
