// The MIDI slot table: the synthesizer, loading pieces by name and the current piece.
#include "engine/audio/music.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/audio_output.h"

MIDI_SLOT_TYP midi_slots[MAX_MIDI];
PLAT_MUSIC_SYNTH_TYP* music_performance = nullptr;
int32_t current_midi = -1;

namespace {

// The slot of a loaded piece, or null for an id outside the table (the game passes on the -1
// of a failed load) or an empty slot.
MIDI_SLOT_TYP* loaded(int id) {
  if (id < 0 || id >= MAX_MIDI) return nullptr;
  MIDI_SLOT_TYP& slot = midi_slots[id];
  if (!slot.segment || slot.state == SLOT_EMPTY) return nullptr;
  return &slot;
}

}  // namespace

int start_music_system() {
  if (music_performance) {
    // Started again: release what the table holds rather than losing it.
    delete_all_midi();
  } else {
    music_performance = plat_music_create_synth();
    if (!music_performance) return 0;
    plat_audio_output_start();
  }
  for (int index = 0; index < MAX_MIDI; ++index)
    midi_slots[index] = MIDI_SLOT_TYP{nullptr, index, SLOT_EMPTY};
  current_midi = -1;
  return 1;
}

int shutdown_music_system() {
  if (music_performance) plat_music_stop_all(music_performance);
  delete_all_midi();
  if (music_performance) {
    plat_audio_output_stop();
    plat_music_release_synth(music_performance);
    music_performance = nullptr;
  }
  return 1;
}

int load_midi(const char* file_name) {
  int index = 0;
  while (index < MAX_MIDI && midi_slots[index].state != SLOT_EMPTY) ++index;
  if (index == MAX_MIDI || !file_name || !music_performance) return -1;
  std::error_code error;
  std::filesystem::path directory = std::filesystem::current_path(error);
  if (error) return -1;
  // Any length of directory or name: the path is built, not copied into a fixed buffer.
  std::filesystem::path path = directory / std::filesystem::path(file_name);
  PLAT_MIDI_TYP* segment = plat_music_load(music_performance, path.string().c_str());
  if (!segment) return -1;
  midi_slots[index].segment = segment;
  midi_slots[index].state = SLOT_LOADED;
  return index;
}

int play_midi(int id) {
  MIDI_SLOT_TYP* slot = loaded(id);
  if (!slot) return 0;
  if (current_midi != -1) stop_midi(current_midi);
  plat_music_play(music_performance, slot->segment);
  slot->state = SLOT_PLAYING;
  current_midi = id;
  return 1;
}

int stop_midi(int id) {
  MIDI_SLOT_TYP* slot = loaded(id);
  if (!slot) return 0;
  plat_music_stop(music_performance, slot->segment);
  slot->state = SLOT_STOPPED;
  current_midi = -1;
  return 1;
}

int midi_status(int id) {
  MIDI_SLOT_TYP* slot = loaded(id);
  if (!slot) return 0;
  slot->state = plat_music_is_playing(music_performance, slot->segment) ? SLOT_PLAYING
                                                                        : SLOT_STOPPED;
  return slot->state;
}

int delete_midi(int id) {
  if (id < 0 || id >= MAX_MIDI) return 1;
  MIDI_SLOT_TYP& slot = midi_slots[id];
  if (slot.segment) {
    plat_music_release(music_performance, slot.segment);
    slot.segment = nullptr;
    slot.state = SLOT_EMPTY;
  }
  return 1;
}

int delete_all_midi() {
  for (int id = 0; id < MAX_MIDI; ++id) delete_midi(id);
  return 1;
}
