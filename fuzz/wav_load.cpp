// libFuzzer target: any bytes as a WAV file for the sound loader, read from memory. A load
// either fails with -1 or gives a slot whose buffer holds no more than the input holds.
#include <cstdint>
#include <cstdlib>

#include "engine/audio/sound.h"
#include "platform/riff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The device is closed at exit, so the sound library has nothing left open to complain of.
  static const bool started =
      start_sound_system() == 1 && std::atexit([] { shutdown_sound_system(); }) == 0;
  if (!started) std::abort();
  int id = load_wav_riff(plat_riff_open_memory(data, size),
                         DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME);
  if (id >= 0) {
    if (sound_slots[id].size < 0 || size_t(sound_slots[id].size) > size) std::abort();
    play_sound(id, 0);
  }
  // Empty the table for the next input.
  start_sound_system();
  return 0;
}
