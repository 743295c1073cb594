// The sprite hot path: a keyed 8-bit 56x72 blit onto a 640x480 8-bit surface with a 640x480
// clip list, ours against SDL_BlitSurface with a colour key on the same sprite data. The ratio
// (ours / SDL, lower is faster) is printed at the end of the run.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace {

constexpr int SPRITE_W = 56, SPRITE_H = 72, SCREEN_W = 640, SCREEN_H = 480;
constexpr uint8_t KEY = 0;

// A skeleton-like figure: an oval body with holes, key pixels (0) around it.
std::vector<uint8_t> sprite_pixels() {
  std::vector<uint8_t> p(SPRITE_W * SPRITE_H, KEY);
  for (int y = 0; y < SPRITE_H; ++y)
    for (int x = 0; x < SPRITE_W; ++x) {
      const int dx = x - SPRITE_W / 2, dy = y - SPRITE_H / 2;
      const bool body = dx * dx * 36 * 36 + dy * dy * 24 * 24 < 24 * 24 * 36 * 36;
      const bool rib_gap = (y % 6 == 0) && dx != 0;
      if (body && !rib_gap) p[static_cast<size_t>(y * SPRITE_W + x)] = uint8_t(1 + (x * 3 + y) % 200);
    }
  return p;
}

// Places spread over the screen, all fully inside it, visited in turn.
std::vector<std::pair<int, int>> places() {
  std::vector<std::pair<int, int>> out;
  for (int i = 0; i < 64; ++i)
    out.push_back({(i * 97) % (SCREEN_W - SPRITE_W), (i * 53) % (SCREEN_H - SPRITE_H)});
  return out;
}

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
  plat_surface_set_color_key(sprite, KEY, KEY);
  const auto at = places();
  const RECT source = {0, 0, SPRITE_W, SPRITE_H};
  size_t i = 0;
  for (auto _ : state) {
    const auto [x, y] = at[i++ % at.size()];
    const RECT dest = {x, y, x + SPRITE_W, y + SPRITE_H};
    benchmark::DoNotOptimize(plat_surface_blt(screen, &dest, sprite, &source, BLT_WAIT | BLT_KEYSRC));
  }
  benchmark::ClobberMemory();
  plat_surface_release(sprite);
  plat_surface_release(screen);
}
BENCHMARK(BM_PlatKeyedBlit);

void BM_SdlKeyedBlit(benchmark::State& state) {
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, SCREEN_W, SCREEN_H, 8, SDL_PIXELFORMAT_INDEX8);
  SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, SPRITE_W, SPRITE_H, 8, SDL_PIXELFORMAT_INDEX8);
  // One palette for both so SDL copies indices as they are (no colour mapping), as ours does.
  SDL_Palette* palette = SDL_AllocPalette(256);
  SDL_Color colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = {Uint8(i), Uint8(255 - i), Uint8(i / 2), 255};
  SDL_SetPaletteColors(palette, colours, 0, 256);
  SDL_SetSurfacePalette(screen, palette);
  SDL_SetSurfacePalette(sprite, palette);
  const std::vector<uint8_t> pixels = sprite_pixels();
  SDL_LockSurface(sprite);
  for (int y = 0; y < SPRITE_H; ++y)
    std::memcpy(static_cast<uint8_t*>(sprite->pixels) + y * sprite->pitch, &pixels[size_t(y * SPRITE_W)], SPRITE_W);
  SDL_UnlockSurface(sprite);
  SDL_SetColorKey(sprite, SDL_TRUE, KEY);
  SDL_SetClipRect(screen, nullptr);
  const auto at = places();
  size_t i = 0;
  for (auto _ : state) {
    const auto [x, y] = at[i++ % at.size()];
    SDL_Rect dest = {x, y, SPRITE_W, SPRITE_H};
    benchmark::DoNotOptimize(SDL_BlitSurface(sprite, nullptr, screen, &dest));
  }
  benchmark::ClobberMemory();
  SDL_FreeSurface(sprite);
  SDL_FreeSurface(screen);
  SDL_FreePalette(palette);
}
BENCHMARK(BM_SdlKeyedBlit);

// Keeps each benchmark's time per blit so the ratio can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}  // plain text: the figures go into reports
  std::map<std::string, std::pair<double, double>> ns;  // real, CPU
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean")
        ns[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ours = reporter.ns.find("BM_PlatKeyedBlit");
  auto sdl = reporter.ns.find("BM_SdlKeyedBlit");
  // CPU time is the steadier figure on a shared machine; both are printed.
  if (ours != reporter.ns.end() && sdl != reporter.ns.end() && sdl->second.first > 0 &&
      sdl->second.second > 0) {
    std::printf("keyed 8-bit 56x72 blit, real: ours %.1f ns, SDL %.1f ns, ratio ours/SDL = %.3f\n",
                ours->second.first, sdl->second.first, ours->second.first / sdl->second.first);
    std::printf("keyed 8-bit 56x72 blit, CPU:  ours %.1f ns, SDL %.1f ns, ratio ours/SDL = %.3f\n",
                ours->second.second, sdl->second.second, ours->second.second / sdl->second.second);
  }
  benchmark::Shutdown();
  return 0;
}
