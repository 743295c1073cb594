// libFuzzer target: any bytes as a WAV file for the sound loader, read from memory. A load
// either fails with -1 or gives a slot whose buffer holds no more than the input holds.
#include <cstdint>
#include <cstdlib>

#include "engine/audio/sound.h"
#include "fuzz/sound_fuzz.h"
#include "platform/riff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_sound_started();
  fuzz_check_load(load_wav_riff(plat_riff_open_memory(data, size),
                                DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME),
                  size);
  return 0;
}
