// Sound effects: WAV files in a table of 256 slots, one sound buffer each, played by id.
#pragma once
#include <cstdint>

#include "engine/audio/slot_state.h"
#include "platform/riff.h"
#include "platform/sound.h"

constexpr int MAX_SOUNDS = 256;

struct SOUND_SLOT_TYP {
  PLAT_SOUND_BUFFER_TYP* sound_buffer;  // null when the slot has no buffer
  int32_t state;                        // SLOT_EMPTY or SLOT_LOADED
  int32_t rate;                         // samples per second the file claimed; recorded only
  int32_t size;                         // bytes of sample data
  int32_t id;                           // the slot's own index
};

extern SOUND_SLOT_TYP sound_slots[MAX_SOUNDS];
extern PLAT_SOUND_DEVICE_TYP* sound_device;
extern int32_t sound_first_start;

// The first call opens the device; every call empties the table. 1, or 0 without a device.
int start_sound_system();
int shutdown_sound_system();
// The lowest slot a load or a copy may take (one still empty), or -1 when the table is full.
int lowest_empty_sound_slot();
// Loads a RIFF WAVE PCM file into the lowest empty slot; its samples play as 8-bit mono at
// 11025 Hz whatever the file says. The new id, or -1.
int load_wav_sound(const char* file_name, int control_flags);
// The same from a RIFF reader already open on a file or on memory; closes it.
int load_wav_riff(RIFF_FILE_TYP* file, int control_flags);
// A second slot playing the same samples independently; the new id, or -1.
int replicate_sound(int source_id);
// Rewinds and plays; DSBPLAY_LOOPING in flags loops. 1, or 0 when it fails.
int play_sound(int id, int flags);
// volume 0..100: -30 x (100 - volume) hundredths of a decibel.
int set_sound_volume(int id, int volume);
int set_sound_frequency(int id, int frequency);
int set_sound_pan(int id, int pan);
int stop_sound(int id);
int stop_all_sounds();
// Releases the buffer; the slot stays loaded and is not reused until the next start.
int delete_sound(int id);
int delete_all_sounds();
// DSBSTATUS_ bits, or -1 when the slot has no buffer.
int sound_status(int id);
