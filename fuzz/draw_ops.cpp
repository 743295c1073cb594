// libFuzzer target: a short script of drawing operations with hostile arguments (huge, NaN and
// infinite coordinates, inverted clip rectangles, tangled polygons, blits and fills with clip
// lists, palette rotation). After every operation each written pixel must lie where that
// operation may write: inside the clip rectangle for the clipped operations, inside the
// outline's bounding box for a polygon fill (whose vertices the caller keeps in the buffer),
// and inside the destination rectangle and the clip list for blits and fills. A pixel written
// anywhere else aborts the run.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/graphics/display.h"
#include "engine/graphics/lines.h"
#include "engine/graphics/pixels.h"
#include "engine/graphics/rect.h"
#include "engine/graphics/palette.h"
#include "engine/math/polygon.h"
#include "engine/math/triangle.h"
#include "platform/surface.h"

namespace {

// The drawing memory: a picture of W x H with a guard border of G all round, so that a write
// just outside the picture is seen rather than landing in other memory.
constexpr int W = 40, H = 32, G = 12;
constexpr int STRIDE = W + 2 * G;
constexpr uint8_t MARK8 = 0xA5;
constexpr uint16_t MARK16 = 0xA5A5;

uint8_t cells8[STRIDE * (H + 2 * G)];
uint16_t cells16[STRIDE * (H + 2 * G)];

[[noreturn]] void fail(const char* what, int x, int y) {
  std::fprintf(stderr, "%s wrote (%d, %d): clip %d..%d x %d..%d\n", what, x, y, clip_min_x,
               clip_max_x, clip_min_y, clip_max_y);
  std::abort();
}

// Every written cell must pass allowed(x, y); the canvas is cleared for the next operation.
// Rows still all mark are passed over whole, which keeps the run fast.
template <typename Pixel, typename Allowed>
void check(Pixel* cells, Pixel mark, const char* what, Allowed allowed) {
  static Pixel clean[STRIDE];
  if (clean[0] != mark)
    for (Pixel& c : clean) c = mark;
  for (int y = -G; y < H + G; ++y) {
    Pixel* row = &cells[(y + G) * STRIDE];
    if (std::memcmp(row, clean, sizeof clean) == 0) continue;
    for (int x = -G; x < W + G; ++x) {
      Pixel& cell = row[x + G];
      if (cell == mark) continue;
      if (!allowed(x, y)) fail(what, x, y);
      cell = mark;
    }
  }
}

bool in_clip(int x, int y) {
  return x >= clip_min_x && x <= clip_max_x && y >= clip_min_y && y <= clip_max_y;
}

// Any colour but the mark (in either depth).
int color(FuzzedDataProvider& in) {
  const int c = in.ConsumeIntegral<int>();
  return (c & 0xFF) == MARK8 ? c ^ 2 : c;
}

int coordinate(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 6: return in.PickValueInArray({INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, -65536, 65536});
    case 7: return in.ConsumeIntegral<int>();
    default: return in.ConsumeIntegralInRange(-2 * G, W + 2 * G);
  }
}

float float_coordinate(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 9)) {
    case 7: return in.PickValueInArray({NAN, INFINITY, -INFINITY, 3.0e38f, -3.0e38f, 2147483648.0f,
                                        -2147483904.0f, 1.0e9f, -1.0e9f, 0.5f});
    case 8: return in.ConsumeFloatingPoint<float>();
    case 9: return static_cast<float>(in.ConsumeIntegralInRange(-8 * W, 8 * W)) / 8.0f;
    default: return static_cast<float>(in.ConsumeIntegralInRange(-2, W + 2));
  }
}

void set_clip(FuzzedDataProvider& in) {
  // Anywhere inside the picture, inverted or not.
  clip_min_x = in.ConsumeIntegralInRange(0, W - 1);
  clip_max_x = in.ConsumeIntegralInRange(0, W - 1);
  clip_min_y = in.ConsumeIntegralInRange(0, H - 1);
  clip_max_y = in.ConsumeIntegralInRange(0, H - 1);
}

uint8_t* memory8() { return reinterpret_cast<uint8_t*>(&cells8[G * STRIDE + G]); }
uint8_t* memory16() { return reinterpret_cast<uint8_t*>(&cells16[G * STRIDE + G]); }
constexpr int PITCH8 = STRIDE;
constexpr int PITCH16 = STRIDE * 2;

void spans_and_lines(FuzzedDataProvider& in) {
  const int kind = in.ConsumeIntegralInRange(0, 5);
  const int a = coordinate(in), b = coordinate(in), c = coordinate(in), d = coordinate(in);
  const int k = color(in);
  switch (kind) {
    case 0: hline8(a, b, c, k, memory8(), PITCH8); break;
    case 1: vline8(a, b, c, k, memory8(), PITCH8); break;
    case 2: draw_clip_line8(a, b, c, d, k, memory8(), PITCH8); break;
    case 3: hline16(a, b, c, k, memory16(), PITCH16); break;
    case 4: vline16(a, b, c, k, memory16(), PITCH16); break;
    default: draw_clip_line16(a, b, c, d, k, memory16(), PITCH16); break;
  }
  if (kind < 3)
    check(cells8, MARK8, "a span or line", in_clip);
  else
    check(cells16, MARK16, "a span or line", in_clip);
}

using TriangleFn = void (*)(int, int, int, int, int, int, int, uint8_t*, int);

void triangle(FuzzedDataProvider& in) {
  static const TriangleFn eight[] = {draw_triangle_8, draw_triangle_fixed_8, draw_flat_top_8,
                                     draw_flat_bottom_8, draw_flat_top_fixed_8,
                                     draw_flat_bottom_fixed_8};
  static const TriangleFn sixteen[] = {draw_triangle_16, draw_flat_top_16, draw_flat_bottom_16};
  const bool wide = in.ConsumeBool();
  const TriangleFn f = wide ? sixteen[in.ConsumeIntegralInRange(0, 2)]
                            : eight[in.ConsumeIntegralInRange(0, 5)];
  int v[6];
  for (int& e : v) e = coordinate(in);
  f(v[0], v[1], v[2], v[3], v[4], v[5], color(in), wide ? memory16() : memory8(),
    wide ? PITCH16 : PITCH8);
  if (wide)
    check(cells16, MARK16, "a triangle", in_clip);
  else
    check(cells8, MARK8, "a triangle", in_clip);
}

// The fill's truncation of a screen position: saturated, NaN as 0.
int64_t screen(float v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483648.0f) return INT32_MAX;
  if (v < -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(v);
}

void polygon(FuzzedDataProvider& in) {
  std::vector<VERTEX_TYP> v(in.ConsumeIntegralInRange(0, 10));
  for (VERTEX_TYP& e : v) e = {float_coordinate(in), float_coordinate(in)};
  POLY_TYP p{};
  p.state = in.ConsumeIntegralInRange(0, 3);
  p.vertex_count = static_cast<int>(v.size());
  p.color = color(in);
  p.vertices = v.data();
  const bool fill = in.ConsumeBool(), wide = in.ConsumeBool();
  p.x0 = fill ? in.ConsumeIntegralInRange(-4, 4) : coordinate(in);
  p.y0 = fill ? in.ConsumeIntegralInRange(-4, 4) : coordinate(in);
  uint8_t* memory = wide ? memory16() : memory8();
  const int pitch = wide ? PITCH16 : PITCH8;
  if (!fill) {
    if (wide)
      draw_polygon_16(&p, memory, pitch);
    else
      draw_polygon_8(&p, memory, pitch);
    if (wide)
      check(cells16, MARK16, "a polygon outline", in_clip);
    else
      check(cells8, MARK8, "a polygon outline", in_clip);
    return;
  }
  // The fill is not clipped: it is only asked for outlines whose vertices lie in the picture,
  // and then must keep to their bounding box.
  int64_t min_x = W, max_x = -1, min_y = H, max_y = -1;
  for (const VERTEX_TYP& e : v) {
    const int64_t x = screen(static_cast<float>(p.x0) + e.x);
    const int64_t y = screen(static_cast<float>(p.y0) + e.y);
    if (x < 0 || x >= W || y < 0 || y >= H) return;
    if (x < min_x) min_x = x;
    if (x > max_x) max_x = x;
    if (y < min_y) min_y = y;
    if (y > max_y) max_y = y;
  }
  if (wide)
    fill_polygon_16(&p, memory, pitch);
  else
    fill_polygon_8(&p, memory, pitch);
  auto in_box = [&](int x, int y) { return x >= min_x && x <= max_x && y >= min_y && y <= max_y; };
  if (wide)
    check(cells16, MARK16, "a polygon fill", in_box);
  else
    check(cells8, MARK8, "a polygon fill", in_box);
}

// Surfaces for the blits and fills: two destinations and two sources, made once.
struct Surfaces {
  SURFACE_TYP* dst[2];
  SURFACE_TYP* src[2];
  CLIPPER_TYP* clipper;
};

const Surfaces& surfaces() {
  static const Surfaces s = [] {
    Surfaces made{};
    for (int i = 0; i < 2; ++i) {
      made.dst[i] = plat_surface_create(24, 20, i ? 16 : 8, DDSCAPS_OFFSCREENPLAIN);
      made.src[i] = plat_surface_create(16, 12, i ? 16 : 8, DDSCAPS_OFFSCREENPLAIN);
      int pitch = 0;
      uint8_t* p = plat_surface_lock(made.src[i], &pitch);
      if (!p) std::abort();
      // Source pixels never equal the destination's mark.
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
          const uint16_t value = static_cast<uint16_t>(1 + (x * 7 + y * 13) % 150);
          if (i)
            std::memcpy(p + y * pitch + 2 * x, &value, 2);
          else
            p[y * pitch + x] = static_cast<uint8_t>(value);
        }
      plat_surface_unlock(made.src[i]);
    }
    made.clipper = plat_clipper_create();
    if (!made.dst[0] || !made.dst[1] || !made.src[0] || !made.src[1] || !made.clipper) std::abort();
    return made;
  }();
  return s;
}

int surface_coordinate(FuzzedDataProvider& in) {
  if (in.ConsumeIntegralInRange(0, 7) == 0) return coordinate(in);
  return in.ConsumeIntegralInRange(-6, 30);
}

RECT rect(FuzzedDataProvider& in) {
  RECT r;
  r.left = surface_coordinate(in);
  r.top = surface_coordinate(in);
  r.right = surface_coordinate(in);
  r.bottom = surface_coordinate(in);
  return r;
}

bool in_rect(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void blit_or_fill(FuzzedDataProvider& in) {
  const Surfaces& s = surfaces();
  const int depth = in.ConsumeIntegralInRange(0, 1);
  SURFACE_TYP* dst = s.dst[depth];
  const int width = 24, height = 20;

  // The clip list: none (the surface itself), or up to four rectangles anywhere.
  const bool clipped = in.ConsumeBool();
  std::vector<RECT> list(clipped ? in.ConsumeIntegralInRange(1, 4) : 0);
  for (RECT& r : list) r = rect(in);
  if (clipped) {
    plat_clipper_set_list(s.clipper, list.data(), static_cast<int>(list.size()));
    plat_surface_set_clipper(dst, s.clipper);
  } else {
    plat_surface_set_clipper(dst, nullptr);
  }

  int pitch = 0;
  uint8_t* p = plat_surface_lock(dst, &pitch);
  if (!p) std::abort();
  for (int y = 0; y < height; ++y) {
    if (depth)
      for (int x = 0; x < width; ++x) std::memcpy(p + y * pitch + 2 * x, &MARK16, 2);
    else
      std::memset(p + y * pitch, MARK8, width);
  }
  plat_surface_unlock(dst);

  const bool whole_dst = in.ConsumeBool();
  const RECT dst_rect = rect(in);
  const char* what;
  if (in.ConsumeBool()) {
    what = "a fill";
    const int c = color(in);
    if (whole_dst)
      plat_surface_fill(dst, nullptr, static_cast<uint32_t>(c));
    else
      fill_rect(dst_rect.left, dst_rect.top, dst_rect.right, dst_rect.bottom, c, dst);
  } else {
    what = "a blit";
    const bool whole_src = in.ConsumeBool();
    const RECT src_rect = rect(in);
    const uint32_t key = in.ConsumeIntegralInRange(0, 160);
    plat_surface_set_color_key(s.src[depth], key, key);
    plat_surface_blt(dst, whole_dst ? nullptr : &dst_rect, s.src[depth],
                     whole_src ? nullptr : &src_rect, in.ConsumeBool() ? BLT_KEYSRC : 0);
  }

  p = plat_surface_lock(dst, &pitch);
  if (!p) std::abort();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint16_t value;
      if (depth)
        std::memcpy(&value, p + y * pitch + 2 * x, 2);
      else
        value = p[y * pitch + x];
      if (value == (depth ? MARK16 : MARK8)) continue;
      bool visible = !clipped;
      for (const RECT& r : list) visible = visible || in_rect(r, x, y);
      if (!visible || (!whole_dst && !in_rect(dst_rect, x, y))) {
        plat_surface_unlock(dst);
        fail(what, x, y);
      }
    }
  plat_surface_unlock(dst);
}

void rotate(FuzzedDataProvider& in) {
  static PALETTE_TYP* palette = [] {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
      entries[i] = {uint8_t(i), uint8_t(i * 3), uint8_t(i * 7), 0};
    return plat_palette_create(entries);
  }();
  display_palette = palette;
  PALETTEENTRY before[256], after[256];
  plat_palette_get_entries(palette, 0, 256, before);
  const int first = in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 258) : in.ConsumeIntegral<int>();
  const int last = in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 258) : in.ConsumeIntegral<int>();
  const int done = palette_rotate(first, last);
  plat_palette_get_entries(palette, 0, 256, after);
  auto same = [](const PALETTEENTRY& a, const PALETTEENTRY& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.flags == b.flags;
  };
  for (int i = 0; i < 256; ++i) {
    const bool moved = done && i >= first && i <= last;
    const PALETTEENTRY& expected = !moved ? before[i] : before[i == first ? last : i - 1];
    if (!same(after[i], expected)) {
      std::fprintf(stderr, "palette_rotate(%d, %d) gave %d and changed entry %d\n", first, last,
                   done, i);
      std::abort();
    }
    if (done && !same(palette_shadow[i], after[i])) std::abort();
  }
  display_palette = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    std::memset(cells8, MARK8, sizeof cells8);
    for (uint16_t& c : cells16) c = MARK16;
    return true;
  }();
  (void)ready;
  FuzzedDataProvider in(data, size);
  clip_min_x = 0;
  clip_max_x = W - 1;
  clip_min_y = 0;
  clip_max_y = H - 1;
  for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
      case 0: set_clip(in); break;
      case 1: spans_and_lines(in); break;
      case 2: triangle(in); break;
      case 3: polygon(in); break;
      case 4: blit_or_fill(in); break;
      default: rotate(in); break;
    }
  }
  return 0;
}
