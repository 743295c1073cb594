// The run's mix as a WAV file: the headless mix rendered along the game's own clock (each frame's
// sounds start where that frame started), 16-bit stereo PCM at the mix rate, streamed as it is
// rendered, its sizes filled in when it is closed.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

struct SIM_MIX_WAV_TYP {
  std::FILE* file = nullptr;
  std::string path;
  std::string failure;  // the first write that failed; nothing is written after it
  uint64_t frames = 0;  // stereo frames written
  int started = 0;      // the clock's origin is set
  uint32_t origin_ms = 0;
};

// Creates the file and writes a header for an empty mix. 1, or 0 with the reason in failure.
int sim_mix_wav_open(SIM_MIX_WAV_TYP* wav, const std::string& path);
// Appends `frames` stereo frames (interleaved, -1..1; beyond is clipped).
void sim_mix_wav_add(SIM_MIX_WAV_TYP* wav, const float* stereo, int frames);
// Renders the mix on from where it stands to the game clock's `now_ms`; the first call only
// marks where the mix starts. A clock that goes back renders nothing.
void sim_mix_wav_until(SIM_MIX_WAV_TYP* wav, uint32_t now_ms);
// Renders `ms` more of the mix (the last frame's own span, a tail that rings out).
void sim_mix_wav_extra(SIM_MIX_WAV_TYP* wav, uint32_t ms);
// Fills in the sizes and closes the file, every write checked. 1, or 0 with the reason.
int sim_mix_wav_close(SIM_MIX_WAV_TYP* wav);
