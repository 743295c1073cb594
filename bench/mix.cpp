// Cost of the one mix: rendering a second of audio (music plus eight effects) in the blocks the
// sdl output pulls. Each benchmark reports `realtime_x`, seconds of audio made per second of
// work; the share of one second that the full mix costs is 1 / realtime_x.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "platform/mix.h"

namespace {

constexpr int BLOCK = 1024;  // the sdl output's block
constexpr int EFFECTS = 8;

// The game's music when assetgen has written it, else the test tune.
std::string music_file() {
  std::string game = std::string(ASHFALLOW_DATA_DIR) + "/MIDIFILE9.MID";
  if (std::filesystem::exists(game)) return game;
  return (std::filesystem::path(__FILE__).parent_path().parent_path() /
          "tests/fixtures/audio/tune.mid").string();
}

std::string effect_file() {
  return (std::filesystem::path(__FILE__).parent_path().parent_path() /
          "tests/fixtures/audio/tone8.wav").string();
}

struct Audio {
  Audio() {
    start_sound_system();
    start_music_system();
    midi = load_midi(music_file().c_str());
    for (int i = 0; i < EFFECTS; ++i) {
      effects[i] = load_wav_sound(effect_file().c_str(), 224);
      // Different rates and places, so every voice is resampled and panned.
      set_sound_frequency(effects[i], 8000 + 1000 * i);
      set_sound_pan(effects[i], -2000 + 500 * i);
    }
  }
  ~Audio() {
    stop_all_sounds();
    delete_all_sounds();
    shutdown_sound_system();
    delete_all_midi();
    shutdown_music_system();
  }
  int midi = -1;
  int effects[EFFECTS] = {};
};

Audio& audio() {
  static Audio a;
  return a;
}

void render_second(benchmark::State& state, bool music, bool effects) {
  Audio& a = audio();
  std::vector<float> block(BLOCK * MIX_CHANNELS);
  for (auto _ : state) {
    stop_all_sounds();
    stop_midi(a.midi);
    if (music) play_midi(a.midi);
    if (effects)
      for (int id : a.effects) play_sound(id, DSBPLAY_LOOPING);
    for (int done = 0; done < MIX_RATE; done += BLOCK) {
      plat_mix_render(block.data(), BLOCK);
      benchmark::DoNotOptimize(block.data());
    }
  }
  state.counters["realtime_x"] =
      benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MixSilence(benchmark::State& state) { render_second(state, false, false); }
void BM_MixEightEffects(benchmark::State& state) { render_second(state, false, true); }
void BM_MixMusic(benchmark::State& state) { render_second(state, true, false); }
void BM_MixMusicAndEightEffects(benchmark::State& state) { render_second(state, true, true); }

BENCHMARK(BM_MixSilence)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixEightEffects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixMusic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixMusicAndEightEffects)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
