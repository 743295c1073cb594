// The real audio output, implemented by each backend: the sdl backend opens an audio device
// whose callback pulls plat_mix_render; the headless backend plays nothing (the caller pulls
// the mix). Starts and stops are counted: the output closes when the last user stops it.
#pragma once

// 1 when a device now plays the mix, 0 when the mix is silent (no device: never an error).
int plat_audio_output_start();
void plat_audio_output_stop();
