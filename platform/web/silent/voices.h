// The silent mix is where the buffers and the music keep their time; whoever makes them heard
// (the page's audio, once the player's first key lets it start) is told of every change here
// and plays along. Nobody told (the simulator, or a page with no audio) leaves them silent.
#pragma once
#include <cstdint>

struct PLAT_SOUND_BUFFER_TYP;

// A buffer as it stands after a change.
struct SOUND_VOICE_VIEW_TYP {
  const void* samples_key;  // the same for a buffer and its duplicates
  const uint8_t* samples;   // unsigned 8-bit mono at SOUND_BUFFER_RATE
  int32_t bytes;
  int32_t volume;     // hundredths of a decibel
  int32_t frequency;  // DSBFREQUENCY_ORIGINAL or samples a second
  int32_t pan;        // hundredths of a decibel
  int playing;
  int looping;
  double position;  // in samples
};

struct SILENT_VOICES_TYP {
  // A buffer changed; `restart` when it now plays afresh from `position`.
  void (*sound_changed)(PLAT_SOUND_BUFFER_TYP* buffer, const SOUND_VOICE_VIEW_TYP* view,
                        int restart);
  // A buffer is gone; `last` when no duplicate shares its samples any more.
  void (*sound_released)(PLAT_SOUND_BUFFER_TYP* buffer, const void* samples_key, int last);
  // The music now plays from `seconds` into the piece, or (playing 0) is silent.
  void (*music_changed)(int playing, double seconds);
};

// Null: nothing is heard. Setting voices tells them of the music playing now; an effect
// already playing is not heard until it plays again.
void silent_set_voices(const SILENT_VOICES_TYP* voices);
const SILENT_VOICES_TYP* silent_voices();

// The page plays one rendered piece, the game's: its length (with its last notes ringing out,
// as the native synthesizer plays them) replaces the MIDI file's own count. 0 or less: none.
void silent_music_set_rendered_length_us(int64_t us);
