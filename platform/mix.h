// The one mix: the sound device's effects plus the synthesizer's music, stereo float at
// 44100 Hz. The sdl backend's audio output pulls it from its own thread; the headless backend
// pulls nothing, and tests call plat_mix_render themselves.
#pragma once

constexpr int MIX_RATE = 44100;
constexpr int MIX_CHANNELS = 2;

// Renders `frames` stereo frames (interleaved left, right) into `stereo`, clipped to -1..1.
// Silence when neither a sound device nor a synthesizer exists. Safe from any thread.
void plat_mix_render(float* stereo, int frames);
