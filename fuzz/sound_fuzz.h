// What the sound fuzz targets share: the sound system started once (and closed at exit), and the
// checks made on whatever a load gave.
#pragma once
#include <cstddef>
#include <cstdlib>

#include "engine/audio/sound.h"

// Starts the sound system on the first call; aborts when it cannot start. The device is closed
// at exit, so the sound library has nothing left open to complain of.
inline void fuzz_sound_started() {
  static const bool started =
      start_sound_system() == 1 && std::atexit([] { shutdown_sound_system(); }) == 0;
  if (!started) std::abort();
}

// A load either failed (-1) or gave a slot holding no more than the input held, which plays.
// The table is then emptied for the next input.
inline void fuzz_check_load(int id, size_t input_size) {
  if (id >= 0) {
    if (sound_slots[id].size < 0 || size_t(sound_slots[id].size) > input_size) std::abort();
    play_sound(id, 0);
  }
  start_sound_system();
}
