// What the mix renders, shared by the sound device, the synthesizer and the mix itself. The
// audio output's thread renders while the game thread plays and stops: everything that
// touches these objects holds `lock`.
#pragma once
#include <AL/alc.h>
#include <fluidsynth.h>

#include <mutex>

struct MIX_STATE_TYP {
  std::recursive_mutex lock;
  ALCdevice* effects = nullptr;     // the loopback device of the open sound device
  fluid_synth_t* music = nullptr;   // the synthesizer, when one exists
};

MIX_STATE_TYP& plat_mix_state();
