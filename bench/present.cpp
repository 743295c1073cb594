// The cost of showing one 640 x 480 8-bit frame through the sdl backend, as the game shows it:
// full-screen desktop (1024 x 768 on the dummy driver, scaled up 1.6 times) and in a 640 x 480
// window, at each scale the player may choose (nearest is the presentation as it was before the
// choice, and the backend's default). Baselines measured in the same run:
//   - the presentation this replaced: a 256-entry lookup into an ARGB8888 streaming texture,
//     then SDL's clear, copy (scale and convert) and present on its software renderer;
//   - the memory bound of the conversion: reading the 300 KB frame and writing its 1.2 MB
//     (windowed) or 3 MB (1024 x 768) picture with the fastest plain code there is.
// Runs on SDL's dummy video driver unless SDL_VIDEODRIVER says otherwise.
//
// And a frame of play drawn where its column blocks changed against the same change drawn in
// whole rows.
//
//   build/bench/bench_present --benchmark_repetitions=9
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <emmintrin.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/ratio_report.h"
#include "bench/sdl_display.h"
#include "platform/display.h"
#include "platform/sdl/sdl_frame.h"
#include "platform/sdl/sdl_frame_scale.h"
#include "platform/sdl/sdl_state.h"
#include "platform/surface.h"

namespace {

const std::vector<uint8_t> frame = bench_busy_frame();

// The game's primary (with its back buffer) in the mode, holding the busy frame.
struct SHOWN_TYP {
  SURFACE_TYP* primary = nullptr;
  PALETTE_TYP* palette = nullptr;
};

bool open_mode(int fullscreen, SHOWN_TYP* shown) {
  WINDOW_TYP* window = bench_sdl_window();
  if (!window || !plat_display_set_mode(window, BENCH_FRAME_W, BENCH_FRAME_H, 8, fullscreen)) return false;
  shown->primary = plat_display_create_primary(1);
  PALETTEENTRY entries[256];
  bench_palette(entries);
  shown->palette = plat_palette_create(entries);
  if (!shown->primary || !shown->palette) return false;
  plat_surface_set_palette(shown->primary, shown->palette);
  int pitch = 0;
  uint8_t* memory = plat_surface_lock(shown->primary, &pitch);
  for (int y = 0; y < BENCH_FRAME_H; ++y)
    std::memcpy(memory + y * pitch, &frame[size_t(y) * BENCH_FRAME_W], BENCH_FRAME_W);
  plat_surface_unlock(shown->primary);
  return true;
}

void close_mode(SHOWN_TYP* shown) {
  if (shown->primary) plat_surface_release(shown->primary);
  if (shown->palette) plat_palette_release(shown->palette);
  plat_display_restore_mode();
}

void present(benchmark::State& state, int fullscreen, int scale = SCALE_NEAREST) {
  plat_display_set_scale(scale);
  SHOWN_TYP shown;
  if (!open_mode(fullscreen, &shown)) {
    close_mode(&shown);
    return state.SkipWithError("no sdl display");
  }
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl_backend.window, &w, &h);
  state.SetLabel(std::to_string(w) + "x" + std::to_string(h) +
                 (sdl_backend.window_surface ? " window surface" : " renderer"));
  for (auto _ : state) {
    if (!plat_display_present(shown.primary)) {
      state.SkipWithError("present refused");
      break;
    }
  }
  close_mode(&shown);
  plat_display_set_scale(SCALE_NEAREST);
}

void BM_PresentFullScreen(benchmark::State& state) { present(state, 1); }
void BM_PresentFullScreenSharp(benchmark::State& state) { present(state, 1, SCALE_SHARP); }
void BM_PresentFullScreenInteger(benchmark::State& state) { present(state, 1, SCALE_INTEGER); }
void BM_PresentWindowed(benchmark::State& state) { present(state, 0); }
BENCHMARK(BM_PresentFullScreen);
BENCHMARK(BM_PresentFullScreenSharp);
BENCHMARK(BM_PresentFullScreenInteger);
BENCHMARK(BM_PresentWindowed);

// The presentation this replaced, step for step, in a window of its own.
void previous_present(benchmark::State& state, int fullscreen) {
  if (!bench_sdl_window()) return state.SkipWithError("no sdl display");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_Window* window = SDL_CreateWindow("previous", 0, 0, BENCH_FRAME_W, BENCH_FRAME_H,
                                        fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                      SDL_TEXTUREACCESS_STREAMING, BENCH_FRAME_W,
                                                      BENCH_FRAME_H)
                                  : nullptr;
  if (texture) {
    SDL_RenderSetLogicalSize(renderer, BENCH_FRAME_W, BENCH_FRAME_H);
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h) + " software renderer");
    PALETTEENTRY palette[256];
    bench_palette(palette);
    uint32_t lookup[256];
    for (auto _ : state) {
      for (int i = 0; i < 256; ++i)
        lookup[i] = 0xFF000000u | (uint32_t(palette[i].red) << 16) | (uint32_t(palette[i].green) << 8) |
                    palette[i].blue;
      void* memory = nullptr;
      int pitch = 0;
      SDL_LockTexture(texture, nullptr, &memory, &pitch);
      for (int y = 0; y < BENCH_FRAME_H; ++y) {
        const uint8_t* src = &frame[size_t(y) * BENCH_FRAME_W];
        uint32_t* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(memory) + y * pitch);
        for (int x = 0; x < BENCH_FRAME_W; ++x) out[x] = lookup[src[x]];
      }
      SDL_UnlockTexture(texture);
      SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
      SDL_RenderClear(renderer);
      SDL_RenderCopy(renderer, texture, nullptr, nullptr);
      SDL_RenderPresent(renderer);
    }
  } else {
    state.SkipWithError("SDL cannot make the previous renderer");
  }
  if (texture) SDL_DestroyTexture(texture);
  if (renderer) SDL_DestroyRenderer(renderer);
  if (window) SDL_DestroyWindow(window);
}

void BM_PreviousPresentFullScreen(benchmark::State& state) { previous_present(state, 1); }
void BM_PreviousPresentWindowed(benchmark::State& state) { previous_present(state, 0); }
BENCHMARK(BM_PreviousPresentFullScreen);
BENCHMARK(BM_PreviousPresentWindowed);

// The conversion alone, into plain memory of the target's size.
void convert(benchmark::State& state, int target_w, int target_h, int wide, int scale = SCALE_NEAREST) {
  std::vector<uint32_t> target(size_t(target_w) * target_h);
  PALETTEENTRY palette[256];
  bench_palette(palette);
  static FRAME_COLOURS_TYP colours;
  sdl_frame_allow_wide(wide);
  state.SetLabel(sdl_frame_wide_in_use() ? "wide" : "portable");
  for (auto _ : state) {
    sdl_frame_colours8(FRAME_ARGB8888, palette, &colours);
    sdl_frame_draw_scaled(scale, frame.data(), BENCH_FRAME_W, BENCH_FRAME_W, BENCH_FRAME_H, colours,
                          reinterpret_cast<uint8_t*>(target.data()), target_w * 4, target_w, target_h);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  sdl_frame_allow_wide(1);
}

void BM_Convert640x480(benchmark::State& state) { convert(state, 640, 480, 1); }
void BM_Convert640x480Portable(benchmark::State& state) { convert(state, 640, 480, 0); }
void BM_Convert1024x768(benchmark::State& state) { convert(state, 1024, 768, 1); }
void BM_Convert1024x768Portable(benchmark::State& state) { convert(state, 1024, 768, 0); }
BENCHMARK(BM_Convert640x480);
BENCHMARK(BM_Convert640x480Portable);
BENCHMARK(BM_Convert1024x768);
BENCHMARK(BM_Convert1024x768Portable);

// Each scale at the two desktops of the pictures: 1.6 times (sharp: factor 1, then linear) and
// 2.25 times into 1920 x 1080 (sharp: factor 2, then linear; integer: 2, with wide bars).
void BM_Sharp1024x768(benchmark::State& state) { convert(state, 1024, 768, 1, SCALE_SHARP); }
void BM_Sharp1024x768Portable(benchmark::State& state) { convert(state, 1024, 768, 0, SCALE_SHARP); }
void BM_Integer1024x768(benchmark::State& state) { convert(state, 1024, 768, 1, SCALE_INTEGER); }
void BM_Convert1920x1080(benchmark::State& state) { convert(state, 1920, 1080, 1); }
void BM_Sharp1920x1080(benchmark::State& state) { convert(state, 1920, 1080, 1, SCALE_SHARP); }
void BM_Integer1920x1080(benchmark::State& state) { convert(state, 1920, 1080, 1, SCALE_INTEGER); }
BENCHMARK(BM_Sharp1024x768);
BENCHMARK(BM_Sharp1024x768Portable);
BENCHMARK(BM_Integer1024x768);
BENCHMARK(BM_Convert1920x1080);
BENCHMARK(BM_Sharp1920x1080);
BENCHMARK(BM_Integer1920x1080);

// The memory bound: every byte of the frame read once (eight at a time, four sums in flight)
// and every byte of the picture written once (the C library's memset, its fastest store).
void read_write_bound(benchmark::State& state, int target_w, int target_h) {
  std::vector<uint8_t> target(size_t(target_w) * target_h * 4);
  for (auto _ : state) {
    const uint64_t sum = bench_read_frame(frame);
    benchmark::DoNotOptimize(sum);
    std::memset(target.data(), int(sum & 0x7F), target.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
}

// The same with the picture written by streaming stores, which bypass the caches: the
// conversion could only gain from them where this beats the plain bound.
void BM_Read300KStream1200K(benchmark::State& state) {
  std::vector<uint8_t> storage(size_t(640) * 480 * 4 + 64);
  uint8_t* target = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(storage.data()) + 63) & ~uintptr_t(63));
  for (auto _ : state) {
    const uint64_t sum = bench_read_frame(frame);
    benchmark::DoNotOptimize(sum);
    const __m128i value = _mm_set1_epi8(static_cast<char>(sum & 0x7F));
    for (size_t i = 0; i < size_t(640) * 480 * 4; i += 16)
      _mm_stream_si128(reinterpret_cast<__m128i*>(target + i), value);
    _mm_sfence();
    benchmark::DoNotOptimize(target);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Read300KStream1200K);

void BM_Read300KWrite1200K(benchmark::State& state) { read_write_bound(state, 640, 480); }
void BM_Read300KWrite3M(benchmark::State& state) { read_write_bound(state, 1024, 768); }
BENCHMARK(BM_Read300KWrite1200K);
BENCHMARK(BM_Read300KWrite3M);

// A frame of play as the window's surface shows it at 1024 x 768, sharp: the arena stays, eight
// 40 x 48 sprites move 3 pixels right and the score's digits change; frames A and B alternate.
// Measured against drawing, for the same change, every target row drawn from a changed frame
// row across the whole width (rows found by the same comparison of the kept frame).
struct PLAY_FRAMES_TYP {
  std::vector<uint8_t> a, b;
  PLAY_FRAMES_TYP() : a(frame), b(frame) {
    for (int s = 0; s < 8; ++s) {
      const int x0 = 30 + s * 73, y0 = 40 + (s * 151) % 380;
      for (int y = y0; y < y0 + 48; ++y)
        for (int x = x0; x < x0 + 40; ++x) {
          a[size_t(y) * BENCH_FRAME_W + x] = static_cast<uint8_t>(200 + s);
          b[size_t(y) * BENCH_FRAME_W + x + 3] = static_cast<uint8_t>(200 + s);
        }
    }
    for (int y = 4; y < 16; ++y)
      for (int x = 560; x < 620; ++x) b[size_t(y) * BENCH_FRAME_W + x] ^= 0x21;
  }
};

void play_frame(benchmark::State& state, bool whole_rows) {
  static const PLAY_FRAMES_TYP frames;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return state.SkipWithError("no surface");
  PALETTEENTRY palette[256];
  bench_palette(palette);
  static FRAME_COLOURS_TYP colours;
  sdl_frame_colours8(FRAME_ARGB8888, palette, &colours);
  // The frame rows each target row is drawn from, for the whole-row draw.
  std::vector<int> low(768), high(768);
  sdl_frame_rows_read(SCALE_SHARP, BENCH_FRAME_W, BENCH_FRAME_H, 1024, 768, low.data(), high.data());
  std::vector<uint8_t> kept = frames.a, changed(BENCH_FRAME_H);
  sdl_frame_forget_drawn();
  SDL_Rect rects[64];
  int flip = 0, sent = 0;
  for (auto _ : state) {
    const std::vector<uint8_t>& now = (flip ^= 1) ? frames.b : frames.a;
    if (!whole_rows) {
      sent += sdl_frame_draw_changed(surface, SCALE_SHARP, now.data(), BENCH_FRAME_W, BENCH_FRAME_W,
                                     BENCH_FRAME_H, 8, 8, palette, colours, rects, 64);
    } else {
      for (int y = 0; y < BENCH_FRAME_H; ++y) {
        const size_t at = size_t(y) * BENCH_FRAME_W;
        changed[size_t(y)] = std::memcmp(&kept[at], &now[at], BENCH_FRAME_W) != 0;
        if (changed[size_t(y)]) std::memcpy(&kept[at], &now[at], BENCH_FRAME_W);
      }
      for (int y = 0; y < 768;) {
        auto hit = [&](int r) { return low[size_t(r)] >= 0 && (changed[size_t(low[size_t(r)])] || changed[size_t(high[size_t(r)])]); };
        if (!hit(y)) {
          ++y;
          continue;
        }
        int end = y + 1;
        while (end < 768 && hit(end)) ++end;
        sdl_frame_draw_scaled_rows(SCALE_SHARP, now.data(), BENCH_FRAME_W, BENCH_FRAME_W, BENCH_FRAME_H,
                                   colours, static_cast<uint8_t*>(surface->pixels), surface->pitch,
                                   1024, 768, y, end);
        ++sent;
        y = end;
      }
    }
    benchmark::DoNotOptimize(surface->pixels);
    benchmark::ClobberMemory();
  }
  state.counters["rects"] = benchmark::Counter(sent, benchmark::Counter::kAvgIterations);
  sdl_frame_forget_drawn();
  SDL_FreeSurface(surface);
}

void BM_PlayFrameChangedBlocks(benchmark::State& state) { play_frame(state, false); }
void BM_PlayFrameChangedRows(benchmark::State& state) { play_frame(state, true); }
BENCHMARK(BM_PlayFrameChangedBlocks);
BENCHMARK(BM_PlayFrameChangedRows);

}  // namespace

int main(int argc, char** argv) {
  if (!bench_sdl_window()) {
    std::fprintf(stderr, "bench_present: cannot start the sdl backend: %s\n", SDL_GetError());
    return 1;
  }
  std::printf("SDL video driver: %s\n", SDL_GetCurrentVideoDriver());
  const BENCH_PAIR_TYP pairs[] = {
      {"present full screen / previous present", "BM_PresentFullScreen", "BM_PreviousPresentFullScreen"},
      {"present sharp / present nearest", "BM_PresentFullScreenSharp", "BM_PresentFullScreen"},
      {"present integer / present nearest", "BM_PresentFullScreenInteger", "BM_PresentFullScreen"},
      {"present windowed / previous present", "BM_PresentWindowed", "BM_PreviousPresentWindowed"},
      {"convert 640x480 / read 300K + write 1.2M", "BM_Convert640x480", "BM_Read300KWrite1200K"},
      {"  portable converter", "BM_Convert640x480Portable", "BM_Read300KWrite1200K"},
      {"convert to 1024x768 / read 300K + write 3M", "BM_Convert1024x768", "BM_Read300KWrite3M"},
      {"  portable converter", "BM_Convert1024x768Portable", "BM_Read300KWrite3M"},
      {"present full screen / its conversion", "BM_PresentFullScreen", "BM_Convert1024x768"},
      {"streamed bound / plain bound", "BM_Read300KStream1200K", "BM_Read300KWrite1200K"},
      {"sharp 1024x768 / nearest 1024x768", "BM_Sharp1024x768", "BM_Convert1024x768"},
      {"  portable converters", "BM_Sharp1024x768Portable", "BM_Convert1024x768Portable"},
      {"integer 1024x768 / nearest 1024x768", "BM_Integer1024x768", "BM_Convert1024x768"},
      {"sharp 1920x1080 / nearest 1920x1080", "BM_Sharp1920x1080", "BM_Convert1920x1080"},
      {"integer 1920x1080 / nearest 1920x1080", "BM_Integer1920x1080", "BM_Convert1920x1080"},
      {"play frame: changed blocks / changed rows", "BM_PlayFrameChangedBlocks", "BM_PlayFrameChangedRows"},
      {"play frame: changed blocks / whole sharp draw", "BM_PlayFrameChangedBlocks", "BM_Sharp1024x768"},
  };
  bench_run_with_ratios(&argc, argv, pairs, static_cast<int>(sizeof pairs / sizeof pairs[0]));
  plat_shutdown();
  return 0;
}
