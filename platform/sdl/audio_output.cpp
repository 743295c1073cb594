// The real audio output: an SDL audio device whose callback pulls the mix. With no sound card
// (or no audio driver) SDL's dummy driver pulls it instead: nothing is heard, but effects still
// end and music still reaches its end in real time, as they would for a player who could hear.
#include "platform/audio_output.h"

#include <SDL.h>

#include "platform/mix.h"

namespace {

SDL_AudioDeviceID output_device = 0;
int output_users = 0;
bool subsystem_started = false;  // through SDL_InitSubSystem
bool dummy_started = false;      // the dummy driver, started directly

void pull_mix(void*, Uint8* stream, int bytes) {
  plat_mix_render(reinterpret_cast<float*>(stream), bytes / int(sizeof(float) * MIX_CHANNELS));
}

bool open_output() {
  SDL_AudioSpec want{};
  want.freq = MIX_RATE;
  want.format = AUDIO_F32SYS;
  want.channels = MIX_CHANNELS;
  want.samples = 1024;  // about 23 ms: short enough for a strike to sound with its frame
  want.callback = pull_mix;
  // SDL converts to whatever the device wants, so the mix is always float stereo 44100 Hz.
  output_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (output_device == 0) return false;
  SDL_PauseAudioDevice(output_device, 0);
  return true;
}

}  // namespace

int plat_audio_output_start() {
  if (output_users++ > 0) return output_device != 0 && !dummy_started ? 1 : 0;
  subsystem_started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (subsystem_started && open_output()) return 1;
  // No device: keep time with the dummy driver and play silently; never fail start-up.
  dummy_started = SDL_AudioInit("dummy") == 0;
  if (dummy_started) open_output();
  return 0;
}

void plat_audio_output_stop() {
  if (output_users == 0 || --output_users > 0) return;
  // Waits for a callback in progress; callers must not hold the mix's lock here.
  if (output_device != 0) SDL_CloseAudioDevice(output_device);
  output_device = 0;
  if (dummy_started) SDL_AudioQuit();
  if (subsystem_started) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  dummy_started = false;
  subsystem_started = false;
}
