// The cost of showing one 640 x 480 8-bit frame through the sdl backend's presentation path
// (256-entry lookup into the locked streaming texture, then clear, copy and present), against a
// plain copy of the frame's bytes measured in the same run. Runs on SDL's dummy video driver
// with the software renderer unless SDL_VIDEODRIVER says otherwise.
//
//   build-*/bench/bench_present
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ratio_report.h"

// The presentation code itself, compiled in: this program links the headless backend, whose
// hooks would clash with the sdl backend's library.
#include "platform/sdl/sdl_frame.cpp"
#include "platform/sdl/sdl_frame_convert.cpp"

namespace {

constexpr int frame_width = 640;
constexpr int frame_height = 480;

struct PRESENT_TARGET_TYP {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
};

PRESENT_TARGET_TYP target;
std::vector<uint8_t> frame(frame_width * frame_height);
PALETTEENTRY palette[256];

void make_frame() {
  // A busy picture: every index used, no long runs.
  uint32_t state = 12345;
  for (uint8_t& pixel : frame) {
    state = state * 1664525u + 1013904223u;
    pixel = static_cast<uint8_t>(state >> 24);
  }
  for (int i = 0; i < 256; ++i) {
    palette[i] = PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                              static_cast<uint8_t>(i * 7), 0};
  }
}

int open_target() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 0;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  target.window = SDL_CreateWindow("present", 0, 0, frame_width, frame_height, 0);
  if (!target.window) return 0;
  target.renderer = SDL_CreateRenderer(target.window, -1, SDL_RENDERER_SOFTWARE);
  if (!target.renderer) return 0;
  SDL_RenderSetLogicalSize(target.renderer, frame_width, frame_height);
  target.texture = SDL_CreateTexture(target.renderer, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, frame_width, frame_height);
  return target.texture ? 1 : 0;
}

void close_target() {
  if (target.texture) SDL_DestroyTexture(target.texture);
  if (target.renderer) SDL_DestroyRenderer(target.renderer);
  if (target.window) SDL_DestroyWindow(target.window);
  SDL_Quit();
}

void BM_CopyFrameBytes(benchmark::State& state) {
  std::vector<uint8_t> copy(frame.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), frame.data(), frame.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyFrameBytes);

void BM_ConvertFrame(benchmark::State& state) {
  std::vector<uint8_t> argb(frame.size() * 4);
  uint32_t lookup[256];
  for (auto _ : state) {
    sdl_frame_build_lookup(palette, lookup);
    sdl_frame_convert(frame.data(), frame_width, frame_width, frame_height, 8, 8, lookup,
                      argb.data(), frame_width * 4);
    benchmark::DoNotOptimize(argb.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ConvertFrame);

void BM_PresentFrame(benchmark::State& state) {
  uint32_t lookup[256];
  for (auto _ : state) {
    sdl_frame_build_lookup(palette, lookup);
    if (!sdl_frame_present(target.renderer, target.texture, frame.data(), frame_width,
                           frame_width, frame_height, 8, 8, lookup)) {
      state.SkipWithError("SDL refused to present");
      break;
    }
  }
}
BENCHMARK(BM_PresentFrame);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  make_frame();
  if (!open_target()) {
    std::fprintf(stderr, "bench_present: cannot open an SDL renderer: %s\n", SDL_GetError());
    close_target();
    return 1;
  }
  std::printf("SDL video driver: %s\n", SDL_GetCurrentVideoDriver());
  const BENCH_PAIR_TYP pairs[] = {
      {"present / memcpy of the frame", "BM_PresentFrame", "BM_CopyFrameBytes"},
      {"conversion / memcpy of the frame", "BM_ConvertFrame", "BM_CopyFrameBytes"},
      {"present / conversion alone", "BM_PresentFrame", "BM_ConvertFrame"},
  };
  bench_run_with_ratios(&argc, argv, pairs, 3);
  close_target();
  return 0;
}
