// Helpers of the platform tests: a fresh headless process per test, pixel access through
// locks, and a plain per-pixel reference of what a blit must do.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/core/backend.h"
#include "platform/faults.h"
#include "platform/headless/headless.h"
#include "platform/surface.h"

class Headless : public ::testing::Test {
 protected:
  void SetUp() override { headless_reset(); }
  void TearDown() override { headless_reset(); }
};

// A surface's pixels, row after row without padding (16-bit values widened to 32).
inline std::vector<uint32_t> pixels_of(SURFACE_TYP* s) {
  int pitch = 0;
  uint8_t* p = plat_surface_lock(s, &pitch);
  EXPECT_NE(p, nullptr);
  std::vector<uint32_t> out;
  if (!p) return out;
  const int w = plat_surface_width(s), h = plat_surface_height(s), bpp = plat_surface_bpp(s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (bpp == 8) {
        out.push_back(p[y * pitch + x]);
      } else {
        uint16_t v;
        std::memcpy(&v, p + y * pitch + 2 * x, 2);
        out.push_back(v);
      }
    }
  plat_surface_unlock(s);
  return out;
}

// The pixels as they are, read without a lock (a lock is itself a write).
inline std::vector<uint32_t> raw_pixels(const SURFACE_TYP* s) {
  int pitch = 0;
  const uint8_t* p = plat_surface_pixels(s, &pitch);
  const int w = plat_surface_width(s), h = plat_surface_height(s), bpp = plat_surface_bpp(s);
  std::vector<uint32_t> out;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint16_t v = p[y * pitch + x * (bpp / 8)];
      if (bpp == 16) std::memcpy(&v, p + y * pitch + 2 * x, 2);
      out.push_back(v);
    }
  return out;
}

inline void set_pixels(SURFACE_TYP* s, const std::vector<uint32_t>& values) {
  int pitch = 0;
  uint8_t* p = plat_surface_lock(s, &pitch);
  ASSERT_NE(p, nullptr);
  const int w = plat_surface_width(s), h = plat_surface_height(s), bpp = plat_surface_bpp(s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t v = values[static_cast<size_t>(y * w + x)];
      if (bpp == 8) {
        p[y * pitch + x] = static_cast<uint8_t>(v);
      } else {
        uint16_t v16 = static_cast<uint16_t>(v);
        std::memcpy(p + y * pitch + 2 * x, &v16, 2);
      }
    }
  plat_surface_unlock(s);
}

// Fills a surface with a pattern where every pixel differs from its neighbours.
inline void pattern(SURFACE_TYP* s, uint32_t seed) {
  const int w = plat_surface_width(s), h = plat_surface_height(s);
  std::vector<uint32_t> v(static_cast<size_t>(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) v[static_cast<size_t>(y * w + x)] = (seed + 7u * x + 31u * y) & 0xFFFF;
  if (plat_surface_bpp(s) == 8)
    for (auto& p : v) p &= 0xFF;
  set_pixels(s, v);
}

// What a blit must leave in the destination, decided pixel by pixel: a destination pixel
// changes when it lies in the destination rectangle, in the surface and in any clip rectangle;
// it takes the source pixel at the same proportion of the source rectangle unless that is the
// key. Rectangles are assumed valid (the call's refusals are tested on their own).
inline std::vector<uint32_t> reference_blit(std::vector<uint32_t> dst, int dst_w, int dst_h,
                                            RECT d, const std::vector<uint32_t>& src, int src_w,
                                            RECT s, const std::vector<RECT>& clips, bool keyed,
                                            uint32_t key) {
  const int64_t sw = s.right - s.left, sh = s.bottom - s.top;
  const int64_t dw = int64_t{d.right} - d.left, dh = int64_t{d.bottom} - d.top;
  for (int y = 0; y < dst_h; ++y)
    for (int x = 0; x < dst_w; ++x) {
      if (x < d.left || x >= d.right || y < d.top || y >= d.bottom) continue;
      bool shown = clips.empty();
      for (const RECT& c : clips)
        if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) shown = true;
      if (!shown) continue;
      int64_t sx = s.left + (x - d.left) * sw / dw;
      int64_t sy = s.top + (y - d.top) * sh / dh;
      uint32_t v = src[static_cast<size_t>(sy * src_w + sx)];
      if (keyed && v == key) continue;
      dst[static_cast<size_t>(y * dst_w + x)] = v;
    }
  return dst;
}
