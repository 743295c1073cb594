// Music: Standard MIDI files played by a General MIDI synthesizer into the one mix
// (platform/mix.h). One synthesizer; one piece plays at a time.
#pragma once

struct PLAT_MUSIC_SYNTH_TYP;
struct PLAT_MIDI_TYP;

// The General MIDI soundfont the synthesizer plays with.
constexpr const char* MUSIC_SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// Creates the synthesizer with its soundfont. Null on failure.
PLAT_MUSIC_SYNTH_TYP* plat_music_create_synth();
// Stops everything and releases the synthesizer; its pieces must have been released first.
void plat_music_release_synth(PLAT_MUSIC_SYNTH_TYP* synth);

// Reads a Standard MIDI file ("MThd" header) at `path`. Null when it cannot be read or is not
// MIDI.
PLAT_MIDI_TYP* plat_music_load(PLAT_MUSIC_SYNTH_TYP* synth, const char* path);
// Releases a piece, stopping it first if it is the one playing.
void plat_music_release(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi);

// Starts the piece from its beginning, stopping whatever played before. 1 or 0.
int plat_music_play(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi);
// Stops the piece if it is the one playing (its notes are released). 1 or 0.
int plat_music_stop(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi);
// Stops whatever plays.
void plat_music_stop_all(PLAT_MUSIC_SYNTH_TYP* synth);
// 1 while the piece plays and has not reached its last event, else 0.
int plat_music_is_playing(PLAT_MUSIC_SYNTH_TYP* synth, PLAT_MIDI_TYP* midi);
