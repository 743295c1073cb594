// The page's audio output, silent for now: it pulls the mix in real time and plays nothing,
// so effects still end and the music still reaches its end as a player who could hear would
// have them. A pass that comes late (a busy page, a tab shown again) moves the mix on by a
// quarter of a second at most: time the page did not run is not played.
#include <emscripten.h>

#include <algorithm>
#include <vector>

#include "platform/audio_output.h"
#include "platform/mix.h"
#include "platform/web/web_state.h"

namespace {

constexpr int MAX_STEP_FRAMES = MIX_RATE / 4;
constexpr int BLOCK_FRAMES = 1024;

int users = 0;
double last_ms = -1.0;
double owed_frames = 0.0;

}  // namespace

int plat_audio_output_start() {
  if (users++ == 0) {
    last_ms = emscripten_get_now();
    owed_frames = 0.0;
  }
  return 0;  // silent: nothing is heard, never an error
}

void plat_audio_output_stop() {
  if (users == 0 || --users > 0) return;
  last_ms = -1.0;
}

void web_audio_output_pump() {
  if (users == 0) return;
  const double now = emscripten_get_now();
  owed_frames += (now - last_ms) * MIX_RATE / 1000.0;
  last_ms = now;
  int frames = static_cast<int>(std::min<double>(owed_frames, MAX_STEP_FRAMES));
  owed_frames = owed_frames > MAX_STEP_FRAMES ? 0.0 : owed_frames - frames;
  static std::vector<float> block(size_t(BLOCK_FRAMES) * MIX_CHANNELS);
  while (frames > 0) {
    const int step = std::min(frames, BLOCK_FRAMES);
    plat_mix_render(block.data(), step);
    frames -= step;
  }
}
