// The silent mix of the browser's build: the sound device's buffers and the music keep their
// time as the native mix renders them, but make no sound. Whoever pulls the mix (the page's
// audio output, in real time) moves them on; nobody pulling (the headless backend) leaves them
// where they are, as natively. A later audio output only has to hear what is here.
#pragma once
#include <cstdint>
#include <vector>

struct PLAT_SOUND_BUFFER_TYP;
struct PLAT_MUSIC_SYNTH_TYP;

struct SILENT_MIX_TYP {
  std::vector<PLAT_SOUND_BUFFER_TYP*> buffers;  // every buffer of the open device
  PLAT_MUSIC_SYNTH_TYP* music;                  // the open synthesizer, or null
};

SILENT_MIX_TYP& silent_mix();

// Moves every playing buffer and the piece playing on by `frames` frames of the mix.
void silent_sound_advance(int frames);
void silent_music_advance(int frames);
