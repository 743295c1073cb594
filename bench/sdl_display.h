// The sdl backend brought up for a benchmark as the game brings it up: SDL on the dummy video
// driver (unless SDL_VIDEODRIVER names another), the game's window, and a busy 8-bit picture
// with a full palette.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/types.h"
#include "platform/window.h"

constexpr int BENCH_FRAME_W = 640, BENCH_FRAME_H = 480;

// A busy picture: every index used, no long runs.
inline std::vector<uint8_t> bench_busy_frame() {
  std::vector<uint8_t> frame(BENCH_FRAME_W * BENCH_FRAME_H);
  uint32_t state = 12345;
  for (uint8_t& pixel : frame) {
    state = state * 1664525u + 1013904223u;
    pixel = static_cast<uint8_t>(state >> 24);
  }
  return frame;
}

// Reads every byte of the frame once (eight at a time, four sums in flight): the read half of
// the memory bound of showing it. The sum keeps the reads from being optimised away.
inline uint64_t bench_read_frame(const std::vector<uint8_t>& frame) {
  uint64_t sum[4] = {0, 0, 0, 0};
  for (size_t i = 0; i + 32 <= frame.size(); i += 32)
    for (int k = 0; k < 4; ++k) {
      uint64_t v;
      std::memcpy(&v, &frame[i + 8 * k], 8);
      sum[k] += v;
    }
  return sum[0] + sum[1] + sum[2] + sum[3];
}

inline void bench_palette(PALETTEENTRY palette[256]) {
  for (int i = 0; i < 256; ++i)
    palette[i] = PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                              static_cast<uint8_t>(i * 7), 0};
}

// Starts the backend and opens the game's window once per run; null when SDL cannot.
inline WINDOW_TYP* bench_sdl_window() {
  static WINDOW_TYP* window = [] () -> WINDOW_TYP* {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    char reason[256];
    if (!plat_startup(reason, sizeof reason)) return nullptr;
    static WNDCLASS_TYP window_class = {CS_OWNDC, plat_def_window_proc, "BENCHCLASS", 1};
    if (!plat_register_class(&window_class)) return nullptr;
    return plat_create_window("BENCHCLASS", "bench", WS_POPUP | WS_VISIBLE, 0, 0, BENCH_FRAME_W,
                              BENCH_FRAME_H);
  }();
  return window;
}
