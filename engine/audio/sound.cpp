// The sound slot table: starting and stopping the sound system, playing and controlling the
// loaded effects by id.
#include "engine/audio/sound.h"

#include <cstring>

#include "platform/audio_output.h"

SOUND_SLOT_TYP sound_slots[MAX_SOUNDS];
PLAT_SOUND_DEVICE_TYP* sound_device = nullptr;
int32_t sound_first_start = 1;

namespace {

// The buffer of a slot, or null for an id outside the table (the game passes on the -1 of a
// failed load) or a slot without one.
PLAT_SOUND_BUFFER_TYP* buffer_of(int id) {
  if (id < 0 || id >= MAX_SOUNDS) return nullptr;
  return sound_slots[id].sound_buffer;
}

}  // namespace

int lowest_empty_sound_slot() {
  int index = 0;
  while (index < MAX_SOUNDS && sound_slots[index].state != SLOT_EMPTY) ++index;
  return index < MAX_SOUNDS ? index : -1;
}

int start_sound_system() {
  if (sound_first_start) {
    std::memset(sound_slots, 0, sizeof(sound_slots));
    sound_first_start = 0;
    sound_device = plat_sound_create_device();
    if (!sound_device) return 0;
    plat_audio_output_start();
  }
  for (int index = 0; index < MAX_SOUNDS; ++index) {
    SOUND_SLOT_TYP& slot = sound_slots[index];
    if (slot.sound_buffer) {
      plat_sound_stop(slot.sound_buffer);
      plat_sound_release_buffer(slot.sound_buffer);
    }
    slot = SOUND_SLOT_TYP{};
    slot.state = SLOT_EMPTY;
    slot.id = index;
  }
  return 1;
}

int shutdown_sound_system() {
  stop_all_sounds();
  // Pointers are cleared as they are released, so nothing can reach a released buffer.
  for (SOUND_SLOT_TYP& slot : sound_slots) {
    if (slot.sound_buffer) {
      plat_sound_release_buffer(slot.sound_buffer);
      slot.sound_buffer = nullptr;
    }
  }
  if (sound_device) {
    plat_audio_output_stop();
    plat_sound_release_device(sound_device);
    sound_device = nullptr;
  }
  return 1;
}

int replicate_sound(int source_id) {
  if (source_id < 0 || source_id >= MAX_SOUNDS) return -1;
  int index = lowest_empty_sound_slot();
  if (index < 0) return -1;
  SOUND_SLOT_TYP& slot = sound_slots[index];
  slot = sound_slots[source_id];
  slot.sound_buffer = plat_sound_duplicate_buffer(sound_device, sound_slots[source_id].sound_buffer);
  // The copy brought the source's id along; the slot keeps its own whether or not this works.
  slot.id = index;
  if (!slot.sound_buffer) {
    slot.state = SLOT_EMPTY;
    return -1;
  }
  return index;
}

int play_sound(int id, int flags) {
  if (id < 0 || id >= MAX_SOUNDS) return 0;
  PLAT_SOUND_BUFFER_TYP* buffer = sound_slots[id].sound_buffer;
  if (!buffer) return 1;
  if (!plat_sound_set_position(buffer, 0)) return 0;
  if (!plat_sound_play(buffer, flags)) return 0;
  return 1;
}

int set_sound_volume(int id, int volume) {
  // Worked out wide: an unclamped volume far outside 0..100 must not overflow.
  long long hundredths = -30LL * (100LL - volume);
  if (hundredths < INT32_MIN) hundredths = INT32_MIN;
  if (hundredths > INT32_MAX) hundredths = INT32_MAX;
  return plat_sound_set_volume(buffer_of(id), int32_t(hundredths));
}

int set_sound_frequency(int id, int frequency) {
  return plat_sound_set_frequency(buffer_of(id), frequency);
}

int set_sound_pan(int id, int pan) { return plat_sound_set_pan(buffer_of(id), pan); }

int stop_sound(int id) {
  PLAT_SOUND_BUFFER_TYP* buffer = buffer_of(id);
  if (buffer) {
    plat_sound_stop(buffer);
    plat_sound_set_position(buffer, 0);
  }
  return 1;
}

int stop_all_sounds() {
  for (int id = 0; id < MAX_SOUNDS; ++id) stop_sound(id);
  return 1;
}

int delete_sound(int id) {
  stop_sound(id);
  PLAT_SOUND_BUFFER_TYP* buffer = buffer_of(id);
  if (buffer) {
    plat_sound_release_buffer(buffer);
    sound_slots[id].sound_buffer = nullptr;
  }
  return 1;
}

int delete_all_sounds() {
  for (int id = 0; id < MAX_SOUNDS; ++id) delete_sound(id);
  return 1;
}

int sound_status(int id) {
  PLAT_SOUND_BUFFER_TYP* buffer = buffer_of(id);
  if (!buffer) return -1;
  return plat_sound_status(buffer);
}
