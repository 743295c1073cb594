// The graphics engine's hot paths, each beside a baseline measured in the same run:
//   bob_draw of a 56x72 keyed sprite          vs SDL_BlitSurface with a colour key, same data
//   image_draw of a 640x480 background        vs memcpy of its 480 rows of 640 bytes (a row size
//                                             known only at run time, as image_draw's is)
//   bitmap_load_file of a 640x480 8-bit file  vs reading the same file's bytes
//   bitmap_load_file of a skeleton sheet      vs reading the same file's bytes
//   bob_create + bob_destroy with 36 frames   vs 36 calloc + free of the frame size
// The ratios (engine / baseline, medians, lower is faster) are printed at the end of the run.
//
//   build/bench/bench_graphics --benchmark_repetitions=9
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/keyed_sprite.h"
#include "bench/ratio_report.h"
#include "engine/graphics/bitmap.h"
#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"
#include "engine/graphics/image.h"
#include "platform/headless/headless.h"
#include "platform/window.h"

namespace {

// The headless display in the game's mode, brought up once for the whole run.
bool display_ready() {
  static const bool ready = [] {
    headless_reset();
    char reason[128];
    if (!plat_startup(reason, sizeof reason)) return false;
    static WNDCLASS_TYP window_class = {CS_OWNDC, plat_def_window_proc, "BENCHCLASS", 1};
    if (!plat_register_class(&window_class)) return false;
    main_window = plat_create_window("BENCHCLASS", "bench", WS_POPUP | WS_VISIBLE, 0, 0, SCREEN_W, SCREEN_H);
    return main_window && display_init(SCREEN_W, SCREEN_H, 8, 0) == 1;
  }();
  return ready;
}

// An 8-bit .BMP file of width x height (rows padded to 4 bytes) with a full colour table.
std::vector<uint8_t> bmp8(int width, int height) {
  const size_t stride = (size_t(width) + 3) & ~size_t(3);
  std::vector<uint8_t> file(54 + 1024 + stride * size_t(height), 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, uint32_t(file.size()));
  put32(10, 54 + 1024);
  put32(14, 40);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  file[26] = 1;
  file[28] = 8;
  put32(34, uint32_t(stride * size_t(height)));
  put32(46, 256);
  for (int i = 0; i < 256; ++i) file[54 + 4 * i] = file[55 + 4 * i] = file[56 + 4 * i] = uint8_t(i);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) file[54 + 1024 + size_t(y) * stride + size_t(x)] = uint8_t((x ^ y) * 7);
  return file;
}

std::string write_temp(const char* name, const std::vector<uint8_t>& bytes) {
  const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  const std::string path = std::string(dir) + "/ashfallow-bench-" + std::to_string(::getpid()) + "-" + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return path;
}

// The background and a skeleton sheet (36 cells of 56x72 in 8 columns with 1-pixel borders).
struct Files {
  std::string background = write_temp("background.bmp", bmp8(640, 480));
  std::string sheet = write_temp("sheet.bmp", bmp8(8 * (SPRITE_W + 1) + 1, 5 * (SPRITE_H + 1) + 1));
  ~Files() {
    std::remove(background.c_str());
    std::remove(sheet.c_str());
  }
};

const Files& files() {
  static const Files made;
  return made;
}

void BM_BobDraw(benchmark::State& state) {
  if (!display_ready()) return state.SkipWithError("no display");
  BOB_TYP bob{};
  bob_create(&bob, 0, 0, SPRITE_W, SPRITE_H, 1, ATTR_VISIBLE, DDSCAPS_SYSTEMMEMORY, 0, 8);
  int pitch = 0;
  uint8_t* memory = display_lock_surface(bob.frame_surfaces[0], &pitch);
  const std::vector<uint8_t> pixels = sprite_pixels();
  for (int y = 0; y < SPRITE_H; ++y) std::memcpy(memory + y * pitch, &pixels[size_t(y * SPRITE_W)], SPRITE_W);
  display_unlock_surface(bob.frame_surfaces[0]);
  size_t i = 0;
  for (auto _ : state) {
    const auto [x, y] = sprite_place(i++);
    bob_set_position(&bob, x, y);
    benchmark::DoNotOptimize(bob_draw(&bob, back_surface));
  }
  benchmark::ClobberMemory();
  bob_destroy(&bob);
}
BENCHMARK(BM_BobDraw);

BENCHMARK(BM_SdlKeyedBlit);
BENCHMARK(BM_SdlKeyedBlitRle);

void BM_ImageDraw(benchmark::State& state) {
  if (!display_ready()) return state.SkipWithError("no display");
  BMP_FILE_TYP bitmap{};
  IMAGE_TYP image{};
  bitmap_load_file(&bitmap, files().background.c_str());
  image_create(&image, 0, 0, SCREEN_W, SCREEN_H, 8);
  image_load(&image, &bitmap, 0, 0, 1);
  bitmap_unload_file(&bitmap);
  uint8_t* memory = display_lock_back();
  for (auto _ : state) {
    benchmark::DoNotOptimize(image_draw(&image, memory, back_pitch, 0));
    benchmark::ClobberMemory();
  }
  display_unlock_back();
  image_destroy(&image);
}
BENCHMARK(BM_ImageDraw);

// The same rows copied by hand from a plain buffer into the same locked back surface (one large
// memcpy may take a different, non-temporal path and is no fair measure). The row size is hidden
// from the compiler: a constant one would be inlined as a few moves, which image_draw cannot be.
void BM_MemcpyRows640x480(benchmark::State& state) {
  if (!display_ready()) return state.SkipWithError("no display");
  std::vector<uint8_t> from(SCREEN_W * SCREEN_H);
  for (size_t i = 0; i < from.size(); ++i) from[i] = uint8_t(i * 7);
  size_t row = SCREEN_W;
  int rows = SCREEN_H;
  benchmark::DoNotOptimize(row);
  benchmark::DoNotOptimize(rows);
  uint8_t* memory = display_lock_back();
  for (auto _ : state) {
    for (int y = 0; y < rows; ++y) std::memcpy(memory + y * back_pitch, &from[size_t(y) * row], row);
    benchmark::ClobberMemory();
  }
  display_unlock_back();
}
BENCHMARK(BM_MemcpyRows640x480);

void load_file(benchmark::State& state, const std::string& path) {
  BMP_FILE_TYP bitmap{};
  for (auto _ : state) benchmark::DoNotOptimize(bitmap_load_file(&bitmap, path.c_str()));
  bitmap_unload_file(&bitmap);
}

void read_file(benchmark::State& state, const std::string& path) {
  std::vector<uint8_t> buffer(4 << 20);
  for (auto _ : state) {
    FILE* file = std::fopen(path.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
    std::fclose(file);
    benchmark::ClobberMemory();
  }
}

void BM_LoadBackground(benchmark::State& state) { load_file(state, files().background); }
void BM_ReadBackground(benchmark::State& state) { read_file(state, files().background); }
void BM_LoadSheet(benchmark::State& state) { load_file(state, files().sheet); }
void BM_ReadSheet(benchmark::State& state) { read_file(state, files().sheet); }
BENCHMARK(BM_LoadBackground);
BENCHMARK(BM_ReadBackground);
BENCHMARK(BM_LoadSheet);
BENCHMARK(BM_ReadSheet);

void BM_BobCreate36(benchmark::State& state) {
  if (!display_ready()) return state.SkipWithError("no display");
  for (auto _ : state) {
    BOB_TYP bob{};
    benchmark::DoNotOptimize(bob_create(&bob, 0, 0, SPRITE_W, SPRITE_H, 36, ATTR_VISIBLE | ATTR_SEQUENCED,
                                        DDSCAPS_SYSTEMMEMORY, 0, 8));
    bob_destroy(&bob);
  }
}
BENCHMARK(BM_BobCreate36);

void BM_Alloc36Frames(benchmark::State& state) {
  for (auto _ : state) {
    void* frames[36];
    for (void*& frame : frames) frame = std::calloc(SPRITE_W * SPRITE_H, 1);
    benchmark::DoNotOptimize(frames);
    for (void* frame : frames) std::free(frame);
  }
}
BENCHMARK(BM_Alloc36Frames);

}  // namespace

int main(int argc, char** argv) {
  const BENCH_PAIR_TYP pairs[] = {
      {"bob_draw 56x72 keyed vs SDL", "BM_BobDraw", "BM_SdlKeyedBlit"},
      {"bob_draw 56x72 keyed vs SDL RLE", "BM_BobDraw", "BM_SdlKeyedBlitRle"},
      {"image_draw 640x480", "BM_ImageDraw", "BM_MemcpyRows640x480"},
      {"bitmap_load_file 640x480 8-bit", "BM_LoadBackground", "BM_ReadBackground"},
      {"bitmap_load_file sprite sheet", "BM_LoadSheet", "BM_ReadSheet"},
      {"bob_create 36 frames (+destroy)", "BM_BobCreate36", "BM_Alloc36Frames"},
  };
  bench_run_with_ratios(&argc, argv, pairs, 6);
  if (display_ready()) display_shutdown();
  return 0;
}
