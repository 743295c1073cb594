// The sprite hot path: a keyed 8-bit 56x72 blit onto a 640x480 8-bit surface with a 640x480
// clip list, ours against SDL_BlitSurface with a colour key on the same sprite data, per pixel
// and with SDL's RLE acceleration. The ratios (ours / SDL, lower is faster, medians of the
// repetitions) are printed at the end of the run.
//
//   build/bench/bench_blit --benchmark_repetitions=9
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/keyed_sprite.h"
#include "bench/ratio_report.h"
#include "platform/surface.h"

namespace {

void BM_PlatKeyedBlit(benchmark::State& state) {
  SURFACE_TYP* screen = plat_surface_create(SCREEN_W, SCREEN_H, 8, DDSCAPS_SYSTEMMEMORY);
  SURFACE_TYP* sprite = plat_surface_create(SPRITE_W, SPRITE_H, 8, DDSCAPS_SYSTEMMEMORY);
  CLIPPER_TYP* clipper = plat_clipper_create();
  const RECT screen_rect = {0, 0, SCREEN_W, SCREEN_H};
  plat_clipper_set_list(clipper, &screen_rect, 1);
  plat_surface_set_clipper(screen, clipper);
  plat_clipper_release(clipper);
  int pitch = 0;
  uint8_t* mem = plat_surface_lock(sprite, &pitch);
  const std::vector<uint8_t> pixels = sprite_pixels();
  for (int y = 0; y < SPRITE_H; ++y) std::memcpy(mem + y * pitch, &pixels[size_t(y * SPRITE_W)], SPRITE_W);
  plat_surface_unlock(sprite);
  plat_surface_set_color_key(sprite, 0, 0);
  const RECT source = {0, 0, SPRITE_W, SPRITE_H};
  size_t i = 0;
  for (auto _ : state) {
    const auto [x, y] = sprite_place(i++);
    const RECT dest = {x, y, x + SPRITE_W, y + SPRITE_H};
    benchmark::DoNotOptimize(plat_surface_blt(screen, &dest, sprite, &source, BLT_WAIT | BLT_KEYSRC));
  }
  benchmark::ClobberMemory();
  plat_surface_release(sprite);
  plat_surface_release(screen);
}
BENCHMARK(BM_PlatKeyedBlit);

BENCHMARK(BM_SdlKeyedBlit);
BENCHMARK(BM_SdlKeyedBlitRle);

}  // namespace

int main(int argc, char** argv) {
  const BENCH_PAIR_TYP pairs[] = {
      {"keyed 8-bit 56x72 blit vs SDL", "BM_PlatKeyedBlit", "BM_SdlKeyedBlit"},
      {"keyed 8-bit 56x72 blit vs SDL RLE", "BM_PlatKeyedBlit", "BM_SdlKeyedBlitRle"},
  };
  bench_run_with_ratios(&argc, argv, pairs, 2);
  return 0;
}
