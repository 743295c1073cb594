// The one mix: effects from the loopback device plus music from the synthesizer.
#include "platform/mix.h"

#define AL_ALEXT_PROTOTYPES  // the loopback device's functions, exported by OpenAL Soft
#include <AL/alext.h>

#include <vector>

#include "platform/audio/mix_state.h"

MIX_STATE_TYP& plat_mix_state() {
  static MIX_STATE_TYP state;
  return state;
}

void plat_mix_render(float* stereo, int frames) {
  if (!stereo || frames <= 0) return;
  for (int i = 0; i < frames * MIX_CHANNELS; ++i) stereo[i] = 0.0f;
  MIX_STATE_TYP& mix = plat_mix_state();
  std::lock_guard<std::recursive_mutex> hold(mix.lock);
  if (mix.effects) alcRenderSamplesSOFT(mix.effects, stereo, frames);
  if (mix.music) {
    // The synthesizer adds into its own block; reused across calls to spare the allocator.
    static thread_local std::vector<float> left, right;
    left.assign(size_t(frames), 0.0f);
    right.assign(size_t(frames), 0.0f);
    fluid_synth_write_float(mix.music, frames, left.data(), 0, 1, right.data(), 0, 1);
    for (int i = 0; i < frames; ++i) {
      stereo[2 * i] += left[size_t(i)];
      stereo[2 * i + 1] += right[size_t(i)];
    }
  }
  for (int i = 0; i < frames * MIX_CHANNELS; ++i) {
    if (stereo[i] > 1.0f) stereo[i] = 1.0f;
    if (stereo[i] < -1.0f) stereo[i] = -1.0f;
  }
}
