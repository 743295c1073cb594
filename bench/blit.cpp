// The sprite hot path: a keyed 8-bit 56x72 blit onto a 640x480 8-bit surface with a 640x480
// clip list, ours against SDL_BlitSurface with a colour key on the same sprite data, per pixel
// and with SDL's RLE acceleration; then the game's own 36 skeleton frames (cut from the data's
// sheets as a spawn cuts them) drawn in turn, as a crowded arena draws them, ours against SDL's
// RLE blit of the same frames. The ratios (ours / SDL, lower is faster, medians of the
// repetitions) are printed at the end of the run.
//
//   build/bench/bench_blit --benchmark_repetitions=9
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstring>
#include <vector>

#include "bench/keyed_sprite.h"
#include "bench/ratio_report.h"
#include "engine/graphics/bob.h"
#include "game/actor_art.h"
#include "platform/surface.h"

namespace {

// The 640x480 8-bit screen the sprites are drawn on, with a clip list of the whole screen.
SURFACE_TYP* clipped_screen() {
  SURFACE_TYP* screen = plat_surface_create(SCREEN_W, SCREEN_H, 8, DDSCAPS_SYSTEMMEMORY);
  CLIPPER_TYP* clipper = plat_clipper_create();
  const RECT screen_rect = {0, 0, SCREEN_W, SCREEN_H};
  plat_clipper_set_list(clipper, &screen_rect, 1);
  plat_surface_set_clipper(screen, clipper);
  plat_clipper_release(clipper);
  return screen;
}

void BM_PlatKeyedBlit(benchmark::State& state) {
  SURFACE_TYP* screen = clipped_screen();
  SURFACE_TYP* sprite = plat_surface_create(SPRITE_W, SPRITE_H, 8, DDSCAPS_SYSTEMMEMORY);
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

constexpr int FRAMES = SKELETON_FRAMES;

// The 36 frames of a hostile skeleton as the game cuts them; false without the data.
bool skeleton_frames(BOB_TYP* bob) {
  std::memset(bob, 0, sizeof *bob);
  return chdir(ASHFALLOW_DATA_DIR) == 0 && skeleton_sprite_build(bob);
}

// Frame i % 36 at place i, a frame's pixels from what our surface holds.
std::vector<uint8_t> frame_pixels(SURFACE_TYP* frame) {
  std::vector<uint8_t> pixels(size_t(SKELETON_WIDTH) * SKELETON_HEIGHT);
  int pitch = 0;
  const uint8_t* mem = plat_surface_lock(frame, &pitch);
  for (int y = 0; mem && y < SKELETON_HEIGHT; ++y)
    std::memcpy(&pixels[size_t(y) * SKELETON_WIDTH], mem + y * pitch, SKELETON_WIDTH);
  plat_surface_unlock(frame);
  return pixels;
}

void BM_PlatSkeletonFrames(benchmark::State& state) {
  BOB_TYP bob;
  if (!skeleton_frames(&bob)) state.SkipWithError("no skeleton frames");
  SURFACE_TYP* screen = clipped_screen();
  const RECT source = {0, 0, SKELETON_WIDTH, SKELETON_HEIGHT};
  size_t i = 0;
  for (auto _ : state) {
    const auto [x, y] = sprite_place(i);
    const RECT dest = {x, y, x + SKELETON_WIDTH, y + SKELETON_HEIGHT};
    benchmark::DoNotOptimize(plat_surface_blt(screen, &dest, bob.frame_surfaces[i++ % FRAMES], &source,
                                              BLT_WAIT | BLT_KEYSRC));
  }
  benchmark::ClobberMemory();
  plat_surface_release(screen);
  bob_destroy(&bob);
}
BENCHMARK(BM_PlatSkeletonFrames);

void BM_SdlSkeletonFramesRle(benchmark::State& state) {
  BOB_TYP bob;
  if (!skeleton_frames(&bob)) state.SkipWithError("no skeleton frames");
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, SCREEN_W, SCREEN_H, 8, SDL_PIXELFORMAT_INDEX8);
  SDL_Palette* palette = SDL_AllocPalette(256);
  SDL_SetSurfacePalette(screen, palette);
  SDL_Surface* frames[FRAMES];
  for (int f = 0; f < FRAMES; ++f) {
    frames[f] = SDL_CreateRGBSurfaceWithFormat(0, SKELETON_WIDTH, SKELETON_HEIGHT, 8, SDL_PIXELFORMAT_INDEX8);
    SDL_SetSurfacePalette(frames[f], palette);
    const std::vector<uint8_t> pixels = frame_pixels(bob.frame_surfaces[f]);
    SDL_LockSurface(frames[f]);
    for (int y = 0; y < SKELETON_HEIGHT; ++y)
      std::memcpy(static_cast<uint8_t*>(frames[f]->pixels) + y * frames[f]->pitch,
                  &pixels[size_t(y) * SKELETON_WIDTH], SKELETON_WIDTH);
    SDL_UnlockSurface(frames[f]);
    uint32_t key = 0;
    plat_surface_get_color_key(bob.frame_surfaces[f], &key, nullptr);
    SDL_SetColorKey(frames[f], SDL_TRUE, key);
    SDL_SetSurfaceRLE(frames[f], 1);
  }
  size_t i = 0;
  for (auto _ : state) {
    const auto [x, y] = sprite_place(i);
    SDL_Rect dest = {x, y, SKELETON_WIDTH, SKELETON_HEIGHT};
    benchmark::DoNotOptimize(SDL_BlitSurface(frames[i++ % FRAMES], nullptr, screen, &dest));
  }
  benchmark::ClobberMemory();
  for (SDL_Surface* frame : frames) SDL_FreeSurface(frame);
  SDL_FreeSurface(screen);
  SDL_FreePalette(palette);
  bob_destroy(&bob);
}
BENCHMARK(BM_SdlSkeletonFramesRle);

}  // namespace

int main(int argc, char** argv) {
  const BENCH_PAIR_TYP pairs[] = {
      {"keyed 8-bit 56x72 blit vs SDL", "BM_PlatKeyedBlit", "BM_SdlKeyedBlit"},
      {"keyed 8-bit 56x72 blit vs SDL RLE", "BM_PlatKeyedBlit", "BM_SdlKeyedBlitRle"},
      {"36 skeleton frames vs SDL RLE", "BM_PlatSkeletonFrames", "BM_SdlSkeletonFramesRle"},
  };
  bench_run_with_ratios(&argc, argv, pairs, 3);
  return 0;
}
