// Test helpers: reading and writing a surface's pixels through a lock.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/surface.h"

// The surface's pixels, packed (width x bytes per pixel per row).
inline std::vector<uint8_t> surface_bytes(SURFACE_TYP* surface) {
  const int bytes = plat_surface_bpp(surface) / 8;
  const int width = plat_surface_width(surface), height = plat_surface_height(surface);
  std::vector<uint8_t> out(size_t(width) * height * bytes);
  int pitch = 0;
  uint8_t* memory = plat_surface_lock(surface, &pitch);
  EXPECT_NE(memory, nullptr);
  if (!memory) return out;
  for (int y = 0; y < height; ++y) std::memcpy(&out[size_t(y) * width * bytes], memory + y * pitch, size_t(width) * bytes);
  plat_surface_unlock(surface);
  return out;
}

// Writes value(x, y) into every pixel of an 8-bit surface.
template <typename Fn>
void surface_paint8(SURFACE_TYP* surface, Fn value) {
  int pitch = 0;
  uint8_t* memory = plat_surface_lock(surface, &pitch);
  ASSERT_NE(memory, nullptr);
  for (int y = 0; y < plat_surface_height(surface); ++y)
    for (int x = 0; x < plat_surface_width(surface); ++x) memory[y * pitch + x] = uint8_t(value(x, y));
  plat_surface_unlock(surface);
}
