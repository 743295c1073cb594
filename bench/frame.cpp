// A frame of the game's shape through the engine on the sdl backend: the 640 x 480 background
// drawn into the locked back buffer (image_draw), 50 keyed 56 x 72 sprites (bob_draw), and the
// flip that shows it, in a 640 x 480 window and full screen (1024 x 768 on the dummy driver).
// Each is reported as its share of the game's 30 ms frame and against the memory bound of the
// frame's presentation (reading 300 KB and writing the 1.2 MB picture), measured in the same run.
// Runs on SDL's dummy video driver unless SDL_VIDEODRIVER says otherwise.
//
//   build/bench/bench_frame --benchmark_repetitions=9
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/keyed_sprite.h"
#include "bench/ratio_report.h"
#include "bench/sdl_display.h"
#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"
#include "engine/graphics/image.h"
#include "platform/sdl/sdl_state.h"

namespace {

constexpr int SPRITES = 50;
constexpr double GAME_FRAME_NS = 30e6;

struct SCENE_TYP {
  IMAGE_TYP background{};
  BOB_TYP bobs[SPRITES]{};
};

bool open_scene(int windowed_flag, SCENE_TYP* scene) {
  main_window = bench_sdl_window();
  if (!main_window || !display_init(SCREEN_W, SCREEN_H, 8, windowed_flag)) return false;
  PALETTEENTRY entries[256];
  bench_palette(entries);
  plat_palette_set_entries(display_palette, 0, 256, entries);
  if (!image_create(&scene->background, 0, 0, SCREEN_W, SCREEN_H, 8)) return false;
  const std::vector<uint8_t> busy = bench_busy_frame();
  std::memcpy(scene->background.pixels, busy.data(), busy.size());
  scene->background.attributes |= IMAGE_LOADED;
  // Every sprite has a frame surface of its own, as every skeleton of the arena has.
  const std::vector<uint8_t> pixels = sprite_pixels();
  for (BOB_TYP& bob : scene->bobs) {
    if (!bob_create(&bob, 0, 0, SPRITE_W, SPRITE_H, 1, ATTR_VISIBLE, DDSCAPS_SYSTEMMEMORY, 0, 8)) return false;
    int pitch = 0;
    uint8_t* memory = display_lock_surface(bob.frame_surfaces[0], &pitch);
    for (int y = 0; y < SPRITE_H; ++y) std::memcpy(memory + y * pitch, &pixels[size_t(y * SPRITE_W)], SPRITE_W);
    display_unlock_surface(bob.frame_surfaces[0]);
  }
  return true;
}

void close_scene(SCENE_TYP* scene) {
  for (BOB_TYP& bob : scene->bobs)
    if (bob.frame_surfaces[0]) bob_destroy(&bob);
  if (scene->background.pixels) image_destroy(&scene->background);
  display_shutdown();
}

void game_frame(benchmark::State& state, int windowed_flag) {
  static SCENE_TYP scene;
  scene = SCENE_TYP{};
  if (!open_scene(windowed_flag, &scene)) {
    close_scene(&scene);
    return state.SkipWithError("no sdl display");
  }
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl_backend.window, &w, &h);
  state.SetLabel(std::to_string(w) + "x" + std::to_string(h));
  size_t turn = 0;
  for (auto _ : state) {
    uint8_t* memory = display_lock_back();
    image_draw(&scene.background, memory, back_pitch, 0);
    display_unlock_back();
    for (BOB_TYP& bob : scene.bobs) {
      const auto [x, y] = sprite_place(turn++);
      bob_set_position(&bob, x, y);
      bob_draw(&bob, back_surface);
    }
    if (!display_flip()) {
      state.SkipWithError("flip refused");
      break;
    }
  }
  close_scene(&scene);
}

void BM_GameFrameWindowed(benchmark::State& state) { game_frame(state, 1); }
void BM_GameFrameFullScreen(benchmark::State& state) { game_frame(state, 0); }
BENCHMARK(BM_GameFrameWindowed);
BENCHMARK(BM_GameFrameFullScreen);

// The memory bound of showing a frame: its 300 KB read once and its 1.2 MB picture written once.
void BM_Read300KWrite1200K(benchmark::State& state) {
  const std::vector<uint8_t> frame = bench_busy_frame();
  std::vector<uint8_t> target(frame.size() * 4);
  for (auto _ : state) {
    const uint64_t sum = bench_read_frame(frame);
    benchmark::DoNotOptimize(sum);
    std::memset(target.data(), int(sum & 0x7F), target.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Read300KWrite1200K);

}  // namespace

int main(int argc, char** argv) {
  if (!bench_sdl_window()) {
    std::fprintf(stderr, "bench_frame: cannot start the sdl backend: %s\n", SDL_GetError());
    return 1;
  }
  std::printf("SDL video driver: %s\n", SDL_GetCurrentVideoDriver());
  BenchRatioReporter reporter;
  bench_run_with(&reporter, &argc, argv);
  const BENCH_PAIR_TYP pairs[] = {
      {"frame in a 640x480 window / bound", "BM_GameFrameWindowed", "BM_Read300KWrite1200K"},
      {"frame full screen 1024x768 / bound", "BM_GameFrameFullScreen", "BM_Read300KWrite1200K"},
  };
  bench_print_ratios(reporter, pairs, 2);
  std::printf("\nshare of the game's 30 ms frame (medians):\n");
  for (const char* name : {"BM_GameFrameWindowed", "BM_GameFrameFullScreen"}) {
    const double cpu = bench_ns(reporter, name), real = bench_ns(reporter, name, false);
    if (cpu > 0)
      std::printf("  %-24s CPU %8.1f us = %5.2f %%   real %8.1f us = %5.2f %%\n", name, cpu / 1e3,
                  100 * cpu / GAME_FRAME_NS, real / 1e3, 100 * real / GAME_FRAME_NS);
  }
  benchmark::Shutdown();
  plat_shutdown();
  return 0;
}
