// The headless backend has no audio device: the mix plays nowhere and tests pull it
// themselves with plat_mix_render.
#include "platform/audio_output.h"

int plat_audio_output_start() { return 0; }

void plat_audio_output_stop() {}
