// The sprite of the blit benchmarks and SDL's keyed blit of it, the baseline ours is measured
// against: a 56x72 8-bit figure with key pixels (0) around it and gaps between its ribs, drawn
// at places spread over a 640x480 8-bit screen.
#pragma once
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

constexpr int SPRITE_W = 56, SPRITE_H = 72, SCREEN_W = 640, SCREEN_H = 480;

inline std::vector<uint8_t> sprite_pixels() {
  std::vector<uint8_t> p(SPRITE_W * SPRITE_H, 0);
  for (int y = 0; y < SPRITE_H; ++y)
    for (int x = 0; x < SPRITE_W; ++x) {
      const int dx = x - SPRITE_W / 2, dy = y - SPRITE_H / 2;
      const bool body = dx * dx * 36 * 36 + dy * dy * 24 * 24 < 24 * 24 * 36 * 36;
      const bool rib_gap = (y % 6 == 0) && dx != 0;
      if (body && !rib_gap) p[size_t(y * SPRITE_W + x)] = uint8_t(1 + (x * 3 + y) % 200);
    }
  return p;
}

// Places wholly inside the screen, visited in turn.
inline std::pair<int, int> sprite_place(size_t i) {
  return {int(i * 97 % (SCREEN_W - SPRITE_W)), int(i * 53 % (SCREEN_H - SPRITE_H))};
}

// SDL's keyed blit of the sprite, per pixel (rle 0) or with RLE acceleration on (rle 1), which
// encodes the sprite's runs on its first blit as our key runs do.
inline void sdl_keyed_blit(benchmark::State& state, int rle) {
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, SCREEN_W, SCREEN_H, 8, SDL_PIXELFORMAT_INDEX8);
  SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, SPRITE_W, SPRITE_H, 8, SDL_PIXELFORMAT_INDEX8);
  // One palette for both, so SDL copies indices as they are (no colour mapping), as ours does.
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
  SDL_SetColorKey(sprite, SDL_TRUE, 0);
  SDL_SetSurfaceRLE(sprite, rle);
  SDL_SetClipRect(screen, nullptr);
  size_t i = 0;
  for (auto _ : state) {
    const auto [x, y] = sprite_place(i++);
    SDL_Rect dest = {x, y, SPRITE_W, SPRITE_H};
    benchmark::DoNotOptimize(SDL_BlitSurface(sprite, nullptr, screen, &dest));
  }
  benchmark::ClobberMemory();
  SDL_FreeSurface(sprite);
  SDL_FreeSurface(screen);
  SDL_FreePalette(palette);
}

inline void BM_SdlKeyedBlit(benchmark::State& state) { sdl_keyed_blit(state, 0); }
inline void BM_SdlKeyedBlitRle(benchmark::State& state) { sdl_keyed_blit(state, 1); }
