// Pure conversion and scaling, no SDL calls: tests and benchmarks can compile it on its own.
#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/sdl/sdl_frame.h"

// The inner loops: one row converted, one row widened to the view. Each has a portable form and a
// wide one for processors with AVX-512 (VBMI), chosen at run time.
//
// Widening a converted row to the view: out[i] = row[columns[i]]. The wide form copies 16 view
// pixels at a time from the 16 row pixels at `base`, which holds while the view is at least as
// wide as the frame; the row must have 16 readable pixels past its end.
namespace {
struct FRAME_EXPAND_TYP {
  int usable = 0;
  std::vector<int> base;         // per block of 16 view pixels
  std::vector<uint32_t> offset;  // 16 per block: columns[i] - base
};
}  // namespace

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define FRAME_WIDE 1
#include <immintrin.h>
#endif

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if FRAME_WIDE
#define WIDE_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi")))

namespace {

// 64 pixels: each byte plane of the colour looked up 128 entries at a time (VPERMI2B), the two
// halves chosen by the index's top bit, then the four planes interleaved into 32-bit pixels.
WIDE_TARGET void row8_wide(const uint8_t* from, int n, const FRAME_COLOURS_TYP& colours,
                           uint32_t* out) {
  __m512i table[4][4];
  for (int b = 0; b < 4; ++b)
    for (int q = 0; q < 4; ++q) table[b][q] = _mm512_load_si512(colours.planes[b] + 64 * q);
  // Four pixels' index bytes in the order the byte interleave below puts them back in: output
  // dword D of the vector comes from input dword 4 * (D % 4) + D / 4.
  const __m512i order = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
  // Whole blocks, then one more ending at the row's end (it repeats a few pixels, identically).
  for (int i = 0;; i += 64) {
    const int at = i + 64 <= n ? i : n - 64;
    __m512i index = _mm512_maskz_permutexvar_epi32(0xFFFF, order, _mm512_loadu_si512(from + at));
    const __mmask64 top = _mm512_movepi8_mask(index);
    __m512i plane[4];
    for (int b = 0; b < 4; ++b) {
      if (colours.plane_constant[b]) {
        plane[b] = _mm512_set1_epi8(static_cast<char>(colours.planes[b][0]));
        continue;
      }
      const __m512i lo = _mm512_permutex2var_epi8(table[b][0], index, table[b][1]);
      const __m512i hi = _mm512_permutex2var_epi8(table[b][2], index, table[b][3]);
      plane[b] = _mm512_mask_blend_epi8(top, lo, hi);
    }
    const __m512i t0 = _mm512_unpacklo_epi8(plane[0], plane[1]);
    const __m512i t1 = _mm512_unpackhi_epi8(plane[0], plane[1]);
    const __m512i t2 = _mm512_unpacklo_epi8(plane[2], plane[3]);
    const __m512i t3 = _mm512_unpackhi_epi8(plane[2], plane[3]);
    _mm512_storeu_si512(out + at, _mm512_unpacklo_epi16(t0, t2));
    _mm512_storeu_si512(out + at + 16, _mm512_unpackhi_epi16(t0, t2));
    _mm512_storeu_si512(out + at + 32, _mm512_unpacklo_epi16(t1, t3));
    _mm512_storeu_si512(out + at + 48, _mm512_unpackhi_epi16(t1, t3));
    if (at + 64 >= n) return;
  }
}

// View pixels x0 .. x1 - 1 alone: the blocks they touch are permuted whole and stored with a
// mask, so no pixel outside them is written.
WIDE_TARGET void expand_wide(const uint32_t* row, int x0, int x1, const FRAME_EXPAND_TYP& expand,
                             uint32_t* out) {
  for (int k = x0 / 16; 16 * k < x1; ++k) {
    const __m512i pixels = _mm512_loadu_si512(row + expand.base[static_cast<size_t>(k)]);
    const __m512i offset = _mm512_loadu_si512(expand.offset.data() + 16 * static_cast<size_t>(k));
    const __m512i v = _mm512_maskz_permutexvar_epi32(0xFFFF, offset, pixels);
    const int lo = x0 > 16 * k ? x0 - 16 * k : 0, hi = x1 - 16 * k < 16 ? x1 - 16 * k : 16;
    const uint32_t lanes = ((1u << hi) - 1) & ~((1u << lo) - 1);
    if (lanes == 0xFFFFu)
      _mm512_storeu_si512(out + 16 * k, v);
    else
      _mm512_mask_storeu_epi32(out + 16 * k, static_cast<__mmask16>(lanes), v);
  }
}

}  // namespace
#endif

static bool frame_wide_available() {
#if FRAME_WIDE
  static const bool available = __builtin_cpu_supports("avx512f") &&
                                __builtin_cpu_supports("avx512bw") &&
                                __builtin_cpu_supports("avx512vbmi");
  return available;
#else
  return false;
#endif
}

static void frame_row8(const uint8_t* from, int n, const FRAME_COLOURS_TYP& colours,
                       uint32_t* out, bool wide) {
  int i = 0;
#if FRAME_WIDE
  if (wide && n >= 64) return row8_wide(from, n, colours, out);
#else
  (void)wide;
#endif
  const uint32_t* lookup = colours.low;
  // Eight indices per read; four pixels per write where SSE2 is there, else two.
  for (; i + 8 <= n; i += 8) {
    uint64_t v;
    std::memcpy(&v, from + i, 8);
#if defined(__SSE2__)
    auto at = [&](int k) { return static_cast<int>(lookup[(v >> (8 * k)) & 0xFF]); };
    const __m128i a = _mm_setr_epi32(at(0), at(1), at(2), at(3));
    const __m128i b = _mm_setr_epi32(at(4), at(5), at(6), at(7));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), b);
#else
    for (int k = 0; k < 8; k += 2) {
      const uint64_t pair = lookup[(v >> (8 * k)) & 0xFF] |
                            (uint64_t{lookup[(v >> (8 * k + 8)) & 0xFF]} << 32);
      std::memcpy(out + i + k, &pair, 8);
    }
#endif
  }
  for (; i < n; ++i) out[i] = lookup[from[i]];
}

static void frame_row16(const uint8_t* from, int n, const FRAME_COLOURS_TYP& colours,
                        uint32_t* out) {
  for (int i = 0; i < n; ++i) {
    uint16_t v;
    std::memcpy(&v, from + 2 * i, 2);
    out[i] = colours.low[v & 0xFF] | colours.high[v >> 8];
  }
}

static void frame_expand_prepare(const int* columns, int count, FRAME_EXPAND_TYP* expand) {
  const int blocks = (count + 15) / 16;
  expand->usable = 1;
  expand->base.assign(static_cast<size_t>(blocks), 0);
  expand->offset.assign(static_cast<size_t>(blocks) * 16, 0);
  for (int k = 0; k < blocks; ++k) {
    const int base = columns[16 * k];
    expand->base[static_cast<size_t>(k)] = base;
    for (int j = 0; j < 16 && 16 * k + j < count; ++j) {
      const int offset = columns[16 * k + j] - base;
      if (offset < 0 || offset > 15) expand->usable = 0;  // a view narrower than the frame
      expand->offset[static_cast<size_t>(16 * k + j)] = static_cast<uint32_t>(offset & 15);
    }
  }
}

// out[i] = row[columns[i]] for view pixels x0 .. x1 - 1.
static void frame_expand(const uint32_t* row, const int* columns, int x0, int x1,
                         const FRAME_EXPAND_TYP& expand, uint32_t* out, bool wide) {
#if FRAME_WIDE
  if (wide && expand.usable) return expand_wide(row, x0, x1, expand, out);
#else
  (void)wide;
  (void)expand;
#endif
  for (int i = x0; i < x1; ++i) out[i] = row[columns[i]];
}

namespace {

uint32_t place(const FRAME_FORMAT_TYP& f, uint32_t red, uint32_t green, uint32_t blue) {
  return (red << f.red_shift) | (green << f.green_shift) | (blue << f.blue_shift);
}

// Widens a 5- or 6-bit channel to 8 bits by copying its top bits into the new low ones.
uint32_t widen5(uint32_t v) { return (v << 3) | (v >> 2); }
uint32_t widen6(uint32_t v) { return (v << 2) | (v >> 4); }

int wide_allowed = 1;

// The frame column under each view column and the row the expander reads, kept from frame to
// frame while the sizes stay.
struct SCALE_MAP_TYP {
  int width = 0, view_width = 0;
  std::vector<int> columns;
  std::vector<uint32_t> row;  // one converted frame row (padded for the wide expander)
  FRAME_EXPAND_TYP expand;
};
SCALE_MAP_TYP scale_map;

void prepare_map(int width, int view_width) {
  SCALE_MAP_TYP& m = scale_map;
  if (m.width == width && m.view_width == view_width) return;
  m.width = width;
  m.view_width = view_width;
  m.columns.resize(static_cast<size_t>(view_width));
  for (int i = 0; i < view_width; ++i)
    m.columns[static_cast<size_t>(i)] =
        static_cast<int>((int64_t{2} * i + 1) * width / (int64_t{2} * view_width));
  m.row.assign(static_cast<size_t>(width) + 32, 0);
  frame_expand_prepare(m.columns.data(), view_width, &m.expand);
}

void fill32(uint8_t* row, int count, uint32_t value) {
  uint32_t* out = reinterpret_cast<uint32_t*>(row);
  for (int i = 0; i < count; ++i) out[i] = value;
}

void convert_row(const uint8_t* from, int n, const FRAME_COLOURS_TYP& colours, uint32_t* out,
                 bool wide) {
  if (colours.bpp == 8)
    frame_row8(from, n, colours, out, wide);
  else
    frame_row16(from, n, colours, out);
}

// The byte planes of the 8-bit lookup, and which of them never change.
void make_planes(FRAME_COLOURS_TYP* colours) {
  for (int b = 0; b < 4; ++b) {
    colours->plane_constant[b] = 1;
    for (int i = 0; i < 256; ++i) {
      colours->planes[b][i] = static_cast<uint8_t>(colours->low[i] >> (8 * b));
      if (colours->planes[b][i] != colours->planes[b][0]) colours->plane_constant[b] = 0;
    }
  }
}

}  // namespace

void sdl_frame_colours8(const FRAME_FORMAT_TYP& format, const PALETTEENTRY palette[256],
                        FRAME_COLOURS_TYP* colours) {
  colours->bpp = 8;
  colours->black = format.fixed;
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = format.fixed | place(format, palette[i].red, palette[i].green, palette[i].blue);
    colours->low[i] = c;
    colours->high[i] = 0;
  }
  make_planes(colours);
}

void sdl_frame_colours16(const FRAME_FORMAT_TYP& format, int pixel_format,
                         FRAME_COLOURS_TYP* colours) {
  colours->bpp = 16;
  colours->black = format.fixed;
  for (uint32_t i = 0; i < 256; ++i) {
    // The low byte holds blue and the low green bits; the high byte red and the other green bits.
    const uint32_t lo = i, hi = i << 8;
    if (pixel_format == 15) {
      colours->low[i] = place(format, 0, widen5((lo >> 5) & 31), widen5(lo & 31));
      colours->high[i] = format.fixed | place(format, widen5((hi >> 10) & 31), widen5((hi >> 5) & 31), 0);
    } else {
      colours->low[i] = place(format, 0, widen6((lo >> 5) & 63), widen5(lo & 31));
      colours->high[i] = format.fixed | place(format, widen5((hi >> 11) & 31), widen6((hi >> 5) & 63), 0);
    }
  }
}

FRAME_VIEW_TYP sdl_frame_fit(int width, int height, int target_width, int target_height) {
  if (width <= 0 || height <= 0 || target_width <= 0 || target_height <= 0) return {0, 0, 0, 0};
  int view_width = target_width, view_height = target_height;
  if (int64_t{target_width} * height > int64_t{target_height} * width)
    view_width = static_cast<int>(int64_t{target_height} * width / height);  // bars left and right
  else
    view_height = static_cast<int>(int64_t{target_width} * height / width);  // bars above and below
  if (view_width < 1) view_width = 1;
  if (view_height < 1) view_height = 1;
  return {(target_width - view_width) / 2, (target_height - view_height) / 2, view_width, view_height};
}

void sdl_frame_draw(const uint8_t* pixels, int pitch, int width, int height,
                    const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                    int target_width, int target_height) {
  sdl_frame_draw_rows(pixels, pitch, width, height, colours, target, target_pitch, target_width,
                      target_height, 0, target_height);
}

void sdl_frame_draw_rows(const uint8_t* pixels, int pitch, int width, int height,
                         const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                         int target_width, int target_height, int first, int end) {
  sdl_frame_draw_rect(pixels, pitch, width, height, colours, target, target_pitch, target_width,
                      target_height, first, end, 0, target_width);
}

void sdl_frame_draw_rect(const uint8_t* pixels, int pitch, int width, int height,
                         const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                         int target_width, int target_height, int first, int end, int left,
                         int right) {
  if (first < 0) first = 0;
  if (end > target_height) end = target_height;
  if (left < 0) left = 0;
  if (right > target_width) right = target_width;
  const FRAME_VIEW_TYP view = sdl_frame_fit(width, height, target_width, target_height);
  if (!pixels || !target || view.width <= 0 || left >= right) return;
  const bool wide = wide_allowed && frame_wide_available();
  const bool same_size = view.width == width && view.height == height;
  if (!same_size) prepare_map(width, view.width);
  const size_t bytes = static_cast<size_t>(colours.bpp / 8);
  // The view's columns inside the rectangle, and the bars' on either side of it.
  const int x0 = left > view.x ? left - view.x : 0;
  const int x1 = right - view.x < view.width ? right - view.x : view.width;
  const int bar_left_end = right < view.x ? right : view.x;
  const int bar_right_start = left > view.x + view.width ? left : view.x + view.width;
  int converted = -1;  // the frame row now in scale_map.row
  const uint32_t* last_out = nullptr;  // the view row it was last widened into
  for (int y = first; y < end; ++y) {
    uint8_t* line = target + static_cast<ptrdiff_t>(y) * target_pitch;
    if (y < view.y || y >= view.y + view.height) {
      fill32(line + static_cast<size_t>(left) * 4, right - left, colours.black);
      continue;
    }
    if (left < bar_left_end) fill32(line + static_cast<size_t>(left) * 4, bar_left_end - left, colours.black);
    if (bar_right_start < right)
      fill32(line + static_cast<size_t>(bar_right_start) * 4, right - bar_right_start, colours.black);
    if (x0 >= x1) continue;
    uint32_t* out = reinterpret_cast<uint32_t*>(line) + view.x;
    const int v = y - view.y;
    if (same_size) {
      convert_row(pixels + static_cast<ptrdiff_t>(v) * pitch + bytes * static_cast<size_t>(x0),
                  x1 - x0, colours, out + x0, wide);
      continue;
    }
    const int from_row = static_cast<int>((int64_t{2} * v + 1) * height / (int64_t{2} * view.height));
    if (from_row == converted) {
      // A frame row shown twice: the row above is this one already (and still in the cache).
      std::memcpy(out + x0, last_out + x0, static_cast<size_t>(x1 - x0) * 4);
      continue;
    }
    // Only the frame columns these view columns show are converted.
    const int c0 = scale_map.columns[static_cast<size_t>(x0)];
    const int c1 = scale_map.columns[static_cast<size_t>(x1 - 1)] + 1;
    convert_row(pixels + static_cast<ptrdiff_t>(from_row) * pitch + bytes * static_cast<size_t>(c0),
                c1 - c0, colours, scale_map.row.data() + c0, wide);
    converted = from_row;
    frame_expand(scale_map.row.data(), scale_map.columns.data(), x0, x1, scale_map.expand, out,
                 wide);
    last_out = out;
  }
}

void sdl_frame_convert_row(const uint8_t* from, int width, const FRAME_COLOURS_TYP& colours,
                           uint32_t* out) {
  convert_row(from, width, colours, out, wide_allowed && frame_wide_available());
}

void sdl_frame_allow_wide(int allow) { wide_allowed = allow ? 1 : 0; }
int sdl_frame_wide_in_use() { return wide_allowed && frame_wide_available() ? 1 : 0; }

void sdl_frame_build_lookup(const PALETTEENTRY palette[256], uint32_t lookup[256]) {
  for (int i = 0; i < 256; ++i)
    lookup[i] = FRAME_ARGB8888.fixed | place(FRAME_ARGB8888, palette[i].red, palette[i].green, palette[i].blue);
}

void sdl_frame_convert(const uint8_t* pixels, int pitch, int width, int height, int bpp,
                       int pixel_format, const uint32_t lookup[256], uint8_t* dst, int dst_pitch) {
  static FRAME_COLOURS_TYP colours;
  if (bpp == 8) {
    colours.bpp = 8;
    colours.black = FRAME_ARGB8888.fixed;
    for (int i = 0; i < 256; ++i) colours.low[i] = lookup[i];
    make_planes(&colours);
  } else {
    sdl_frame_colours16(FRAME_ARGB8888, pixel_format, &colours);
  }
  sdl_frame_draw(pixels, pitch, width, height, colours, dst, dst_pitch, width, height);
}
