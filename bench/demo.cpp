// The cost of recording a demo: the whole game's frame in play (the simulator's frame on the
// headless backend: 30 ms of virtual time, a few dozen clock readings, a keyboard read, the
// down-now reads, the drawing and the flip) with and without the recorder beneath it, and a
// frame's reads alone (the readings the recorder adds to) with and without it. Reported as
// ratios in the same run.
//
//   build/bench/bench_demo --benchmark_repetitions=9
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/entry.h"
#include "app/game_shell.h"
#include "bench/ratio_report.h"
#include "game/world.h"
#include "platform/demo.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/ticks.h"

namespace {

const std::string demo_path = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                              "/ashfallow-bench-" + std::to_string(::getpid()) + ".dem";

// The game's frame as the program runs it: the demo's frame mark first; the player kept alive
// so that every frame does the work of play.
int bench_frame() {
  plat_demo_frame();
  if (!skeleton_list.empty()) skeleton_list[0].health = 100;
  return game_main();
}

int start_game() {
  if (::chdir(ASHFALLOW_DATA_DIR) != 0) return 0;
  char reason[256];
  if (!plat_startup(reason, static_cast<int>(sizeof reason))) return 0;
  headless_reset();
  headless_set_tick_step_us(1);
  headless_set_frame_cap(1);
  game_fixed_seed = 1;
  static const GAME_CALLS_TYP calls = {game_init, bench_frame, game_shutdown};
  if (!app_start(&calls)) return 0;
  // Title, controls, play: then a second of play for the first skeletons to come.
  for (int press = 0; press < 2; ++press) {
    headless_key(DIK_SPACE, 1);
    app_pass();
    headless_key(DIK_SPACE, 0);
    app_pass();
  }
  for (int i = 0; i < 33; ++i) app_pass();
  return game_state == STATE_PLAY;
}

int record(benchmark::State& state) {
  const DEMO_HEADER_TYP header = {1, 0};
  char reason[512];
  if (plat_demo_record_start(demo_path.c_str(), &header, reason, static_cast<int>(sizeof reason))) return 1;
  state.SkipWithError(reason);
  return 0;
}

void finish(benchmark::State& state) {
  char reason[512];
  if (!plat_demo_record_finish(reason, static_cast<int>(sizeof reason))) state.SkipWithError(reason);
  std::remove(demo_path.c_str());
}

void BM_PlayFrame(benchmark::State& state) {
  for (auto _ : state) app_pass();
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

void BM_PlayFrameRecording(benchmark::State& state) {
  if (!record(state)) return;
  for (auto _ : state) app_pass();
  finish(state);
}
BENCHMARK(BM_PlayFrameRecording)->Unit(benchmark::kMicrosecond);

// A frame's reads: the frame mark, 40 clock readings, one keyboard state, two down-now reads.
void frame_reads() {
  uint8_t keys[256];
  plat_demo_frame();
  for (int i = 0; i < 40; ++i) benchmark::DoNotOptimize(plat_get_tick_count());
  plat_keyboard_get_state(256, keys);
  benchmark::DoNotOptimize(plat_key_down_now(VK_ESCAPE));
  benchmark::DoNotOptimize(plat_key_down_now(VK_SPACE));
  benchmark::ClobberMemory();
}

void BM_FrameReads(benchmark::State& state) {
  for (auto _ : state) frame_reads();
}
BENCHMARK(BM_FrameReads)->Unit(benchmark::kNanosecond);

void BM_FrameReadsRecording(benchmark::State& state) {
  if (!record(state)) return;
  for (auto _ : state) frame_reads();
  finish(state);
}
BENCHMARK(BM_FrameReadsRecording)->Unit(benchmark::kNanosecond);

}  // namespace

int main(int argc, char** argv) {
  if (!start_game()) {
    std::fprintf(stderr, "bench_demo: the game could not start in %s\n", ASHFALLOW_DATA_DIR);
    return 1;
  }
  const BENCH_PAIR_TYP pairs[] = {
      {"play frame recording / not", "BM_PlayFrameRecording", "BM_PlayFrame"},
      {"a frame's reads recording / not", "BM_FrameReadsRecording", "BM_FrameReads"},
  };
  bench_run_with_ratios(&argc, argv, pairs, 2);
  app_finish();
  plat_shutdown();
  return 0;
}
