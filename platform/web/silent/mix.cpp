// The one mix, silent: rendering it moves the effects and the music on in time and writes
// silence.
#include "platform/mix.h"

#include "platform/web/silent/silent_state.h"

SILENT_MIX_TYP& silent_mix() {
  static SILENT_MIX_TYP mix = {};
  return mix;
}

void plat_mix_render(float* stereo, int frames) {
  if (!stereo || frames <= 0) return;
  for (int i = 0; i < frames * MIX_CHANNELS; ++i) stereo[i] = 0.0f;
  silent_sound_advance(frames);
  silent_music_advance(frames);
}
