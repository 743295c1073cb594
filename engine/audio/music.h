// Music: Standard MIDI files in a table of 64 slots, one playing at a time.
#pragma once
#include <cstdint>

#include "engine/audio/slot_state.h"
#include "platform/music.h"

constexpr int MAX_MIDI = 64;

struct MIDI_SLOT_TYP {
  PLAT_MIDI_TYP* segment;  // null when empty
  int32_t id;              // the slot's own index
  int32_t state;           // SLOT_EMPTY, SLOT_LOADED, SLOT_PLAYING or SLOT_STOPPED
};

extern MIDI_SLOT_TYP midi_slots[MAX_MIDI];
extern PLAT_MUSIC_SYNTH_TYP* music_performance;
extern int32_t current_midi;  // the id last started by play_midi, or -1

// Starts the synthesizer after the sound system; 1 or 0.
int start_music_system();
int shutdown_music_system();
// Loads a MIDI file named relative to the working directory; the new id, or -1.
int load_midi(const char* file_name);
// Starts a piece from its beginning, stopping the current one first. 1, or 0 for an empty slot.
int play_midi(int id);
int stop_midi(int id);
// SLOT_PLAYING or SLOT_STOPPED (a piece that has reached its end), or 0 for an empty slot.
int midi_status(int id);
int delete_midi(int id);
int delete_all_midi();
