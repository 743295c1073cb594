// Whole-factor and sharp scaling on the processor, still in one pass over the target: the sharp
// path never builds the blown-up picture, it samples it through per-pixel taps of the frame.
#include "platform/sdl/sdl_frame_scale.h"

#include <cstddef>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define SHARP_WIDE 1
#include <immintrin.h>
#define SHARP_WIDE_TARGET __attribute__((target("avx512f,avx512bw")))
#endif

namespace {

void fill32(uint8_t* row, int count, uint32_t value) {
  uint32_t* out = reinterpret_cast<uint32_t*>(row);
  int i = 0;
#if defined(__SSE2__)
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), v);
#endif
  for (; i < count; ++i) out[i] = value;
}

// Black everywhere in the target's rectangle (rows first .. end - 1, columns left .. right - 1)
// but the view.
void fill_bars(uint8_t* target, int target_pitch, int first, int end, int left, int right,
               const FRAME_VIEW_TYP& view, uint32_t black) {
  const int bar_left_end = right < view.x ? right : view.x;
  const int bar_right_start = left > view.x + view.width ? left : view.x + view.width;
  for (int y = first; y < end; ++y) {
    uint8_t* line = target + static_cast<ptrdiff_t>(y) * target_pitch;
    if (y < view.y || y >= view.y + view.height) {
      fill32(line + static_cast<size_t>(left) * 4, right - left, black);
      continue;
    }
    if (left < bar_left_end) fill32(line + static_cast<size_t>(left) * 4, bar_left_end - left, black);
    if (bar_right_start < right)
      fill32(line + static_cast<size_t>(bar_right_start) * 4, right - bar_right_start, black);
  }
}

// a and b mixed by t / 256 in each of the four bytes, rounded (so a colour mixed with itself
// stays exactly itself, alpha included). Two bytes at a time in 16-bit lanes: 255 * 256 + 128
// fits.
inline uint32_t mix(uint32_t a, uint32_t b, int t) {
  const uint32_t m = 0x00FF00FFu, u = static_cast<uint32_t>(256 - t), v = static_cast<uint32_t>(t);
  const uint32_t low = (((a & m) * u + (b & m) * v + 0x00800080u) >> 8) & m;
  const uint32_t high = ((((a >> 8) & m) * u + ((b >> 8) & m) * v + 0x00800080u) >> 8) & m;
  return low | (high << 8);
}

#if defined(__SSE2__)
// The same for four pixels, each byte widened to 16 bits; t_low and t_high hold the weights of
// pixels 0-1 and 2-3, one per byte lane.
inline __m128i mix4(__m128i a, __m128i b, __m128i t_low, __m128i t_high) {
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(256), half = _mm_set1_epi16(128);
  auto lanes = [&](__m128i x, __m128i y, __m128i t) {
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(x, _mm_sub_epi16(full, t)), _mm_mullo_epi16(y, t));
    return _mm_srli_epi16(_mm_add_epi16(sum, half), 8);
  };
  const __m128i low = lanes(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), t_low);
  const __m128i high = lanes(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), t_high);
  return _mm_packus_epi16(low, high);
}
#endif

// out[i] = a[i] and b[i] mixed by t / 256.
void mix_rows(const uint32_t* a, const uint32_t* b, int t, int count, uint32_t* out) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i weight = _mm_set1_epi16(static_cast<short>(t));
  for (; i + 4 <= count; i += 4) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), mix4(x, y, weight, weight));
  }
#endif
  for (; i < count; ++i) out[i] = mix(a[i], b[i], t);
}

#if SHARP_WIDE
// mix4 for sixteen pixels: weights for each 128-bit lane's pixels 0-1 (t_low) and 2-3 (t_high).
SHARP_WIDE_TARGET inline __m512i mix_lanes16(__m512i x, __m512i y, __m512i t) {
  const __m512i full = _mm512_set1_epi16(256), half = _mm512_set1_epi16(128);
  const __m512i sum = _mm512_add_epi16(_mm512_mullo_epi16(x, _mm512_sub_epi16(full, t)), _mm512_mullo_epi16(y, t));
  return _mm512_srli_epi16(_mm512_add_epi16(sum, half), 8);
}

SHARP_WIDE_TARGET inline __m512i mix16(__m512i a, __m512i b, __m512i t_low, __m512i t_high) {
  const __m512i zero = _mm512_setzero_si512();
  const __m512i low = mix_lanes16(_mm512_unpacklo_epi8(a, zero), _mm512_unpacklo_epi8(b, zero), t_low);
  const __m512i high = mix_lanes16(_mm512_unpackhi_epi8(a, zero), _mm512_unpackhi_epi8(b, zero), t_high);
  return _mm512_packus_epi16(low, high);
}

SHARP_WIDE_TARGET void mix_rows_wide(const uint32_t* a, const uint32_t* b, int t, int count, uint32_t* out) {
  const __m512i weight = _mm512_set1_epi16(static_cast<short>(t));
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m512i x = _mm512_loadu_si512(a + i), y = _mm512_loadu_si512(b + i);
    _mm512_storeu_si512(out + i, mix16(x, y, weight, weight));
  }
  if (i < count) {
    const __mmask16 lanes = static_cast<__mmask16>((1u << (count - i)) - 1);
    const __m512i x = _mm512_maskz_loadu_epi32(lanes, a + i), y = _mm512_maskz_loadu_epi32(lanes, b + i);
    _mm512_mask_storeu_epi32(out + i, lanes, mix16(x, y, weight, weight));
  }
}
#endif

bool sharp_wide() {
#if SHARP_WIDE
  static const bool available = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
  return available && sdl_frame_wide_in_use();
#else
  return false;
#endif
}

// The frame's columns for the view and the frame rows already widened to it, kept between
// frames while the sizes stay (the rows are refilled each frame).
struct SHARP_TYP {
  int width = 0, height = 0, view_width = 0, view_height = 0, factor = 0;
  std::vector<FRAME_TAP_TYP> columns, rows;
  std::vector<uint16_t> column_weights;  // each column's weight four times, one per byte
  // Per block of 16 view pixels for the wide form: the first frame column read, each pixel's
  // two columns from it, and the weights laid out as the byte unpacking takes them.
  int blocks_usable = 0;
  std::vector<int> block_base;
  std::vector<uint32_t> block_offset_a, block_offset_b;
  std::vector<uint16_t> block_weight_low, block_weight_high;
  std::vector<uint32_t> converted;  // one frame row in the target's format, and 17 pixels more
  std::vector<uint32_t> widened[2];  // two frame rows widened to the view
  int widened_row[2] = {-1, -1};
};
SHARP_TYP sharp;

void prepare_blocks() {
  const size_t blocks = (static_cast<size_t>(sharp.view_width) + 15) / 16;
  sharp.blocks_usable = 1;
  sharp.block_base.assign(blocks, 0);
  sharp.block_offset_a.assign(blocks * 16, 0);
  sharp.block_offset_b.assign(blocks * 16, 0);
  sharp.block_weight_low.assign(blocks * 32, 0);
  sharp.block_weight_high.assign(blocks * 32, 0);
  for (size_t k = 0; k < blocks; ++k) {
    const int base = sharp.columns[16 * k].from;
    sharp.block_base[k] = base;
    for (size_t j = 0; j < 16 && 16 * k + j < sharp.columns.size(); ++j) {
      const FRAME_TAP_TYP t = sharp.columns[16 * k + j];
      const int offset = t.from - base;
      if (offset < 0 || offset + 1 > 15) sharp.blocks_usable = 0;  // a view narrower than the frame
      sharp.block_offset_a[16 * k + j] = static_cast<uint32_t>(offset & 15);
      sharp.block_offset_b[16 * k + j] = static_cast<uint32_t>((offset + 1) & 15);
      // Lane j / 4 of the vector; its pixels 0-1 unpack low, 2-3 high, four bytes each.
      std::vector<uint16_t>& half = (j % 4) < 2 ? sharp.block_weight_low : sharp.block_weight_high;
      for (size_t b = 0; b < 4; ++b)
        half[32 * k + 8 * (j / 4) + 4 * (j % 2) + b] = static_cast<uint16_t>(t.weight);
    }
  }
}

#if SHARP_WIDE
// The view's pixels x0 .. x1 - 1 of one converted frame row (from) widened, 16 at a time: each
// block's pixels read within 16 frame pixels of its first; only pixels in x0 .. x1 are stored.
SHARP_WIDE_TARGET void widen_wide(const uint32_t* from, int x0, int x1, uint32_t* out) {
  for (int k = x0 / 16; 16 * k < x1; ++k) {
    const size_t kk = static_cast<size_t>(k);
    const __m512i pixels = _mm512_loadu_si512(from + sharp.block_base[kk]);
    const __m512i a = _mm512_maskz_permutexvar_epi32(0xFFFF, _mm512_loadu_si512(sharp.block_offset_a.data() + 16 * kk), pixels);
    const __m512i b = _mm512_maskz_permutexvar_epi32(0xFFFF, _mm512_loadu_si512(sharp.block_offset_b.data() + 16 * kk), pixels);
    const __m512i v = mix16(a, b, _mm512_loadu_si512(sharp.block_weight_low.data() + 32 * kk),
                            _mm512_loadu_si512(sharp.block_weight_high.data() + 32 * kk));
    const int lo = x0 > 16 * k ? x0 - 16 * k : 0, hi = x1 - 16 * k < 16 ? x1 - 16 * k : 16;
    const uint32_t lanes = ((1u << hi) - 1) & ~((1u << lo) - 1);
    if (lanes == 0xFFFFu)
      _mm512_storeu_si512(out + 16 * k, v);
    else
      _mm512_mask_storeu_epi32(out + 16 * k, static_cast<__mmask16>(lanes), v);
  }
}
#endif

void prepare_sharp(int width, int height, const FRAME_VIEW_TYP& view, int factor) {
  if (sharp.width != width || sharp.height != height || sharp.view_width != view.width ||
      sharp.view_height != view.height || sharp.factor != factor) {
    sharp.width = width;
    sharp.height = height;
    sharp.view_width = view.width;
    sharp.view_height = view.height;
    sharp.factor = factor;
    sharp.columns.resize(static_cast<size_t>(view.width));
    sdl_frame_sharp_taps(width, view.width, factor, sharp.columns.data());
    sharp.column_weights.resize(static_cast<size_t>(view.width) * 4);
    for (size_t i = 0; i < sharp.columns.size(); ++i)
      for (size_t b = 0; b < 4; ++b)
        sharp.column_weights[4 * i + b] = static_cast<uint16_t>(sharp.columns[i].weight);
    sharp.rows.resize(static_cast<size_t>(view.height));
    sdl_frame_sharp_taps(height, view.height, factor, sharp.rows.data());
    sharp.converted.assign(static_cast<size_t>(width) + 17, 0);
    prepare_blocks();
    for (std::vector<uint32_t>& row : sharp.widened) row.assign(static_cast<size_t>(view.width), 0);
  }
  sharp.widened_row[0] = sharp.widened_row[1] = -1;
}

// Frame row `row` widened to the view's columns x0 .. x1 - 1 (the rest of the slot is left as
// it was), in a slot other than the one holding row `keep`. The slots hold rows widened over the
// same columns: each draw starts them afresh.
const uint32_t* widened(int row, int keep, const uint8_t* pixels, int pitch,
                        const FRAME_COLOURS_TYP& colours, int x0, int x1) {
  for (int s = 0; s < 2; ++s)
    if (sharp.widened_row[s] == row) return sharp.widened[s].data();
  const int slot = sharp.widened_row[0] == keep ? 1 : 0;
  const FRAME_TAP_TYP* taps = sharp.columns.data();
  // Only the frame columns these view columns read are converted, the blended neighbour included.
  const int c0 = taps[x0].from;
  int c1 = taps[x1 - 1].from + 2;
  if (c1 > sharp.width) c1 = sharp.width;
  const size_t bytes = static_cast<size_t>(colours.bpp / 8);
  uint32_t* from = sharp.converted.data();
  sdl_frame_convert_row(pixels + static_cast<ptrdiff_t>(row) * pitch + bytes * static_cast<size_t>(c0),
                        c1 - c0, colours, from + c0);
  from[sharp.width] = from[sharp.width - 1];  // read with weight 0 by the four-pixel form
  uint32_t* out = sharp.widened[slot].data();
#if SHARP_WIDE
  if (sharp.blocks_usable && sharp_wide()) {
    widen_wide(from, x0, x1, out);
    sharp.widened_row[slot] = row;
    return out;
  }
#endif
  int i = x0;
#if defined(__SSE2__)
  const uint16_t* weights = sharp.column_weights.data();
  for (; i + 4 <= x1; i += 4) {
    const FRAME_TAP_TYP* t = taps + i;
    const __m128i a = _mm_setr_epi32(static_cast<int>(from[t[0].from]), static_cast<int>(from[t[1].from]),
                                     static_cast<int>(from[t[2].from]), static_cast<int>(from[t[3].from]));
    const __m128i b = _mm_setr_epi32(static_cast<int>(from[t[0].from + 1]), static_cast<int>(from[t[1].from + 1]),
                                     static_cast<int>(from[t[2].from + 1]), static_cast<int>(from[t[3].from + 1]));
    const __m128i t_low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 4 * i));
    const __m128i t_high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 4 * i + 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), mix4(a, b, t_low, t_high));
  }
#endif
  for (; i < x1; ++i) {
    const FRAME_TAP_TYP t = taps[i];
    out[i] = t.weight ? mix(from[t.from], from[t.from + 1], t.weight) : from[t.from];
  }
  sharp.widened_row[slot] = row;
  return out;
}

void draw_sharp(const uint8_t* pixels, int pitch, int width, int height,
                const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                int target_width, int target_height, int first, int end, int left, int right) {
  const FRAME_VIEW_TYP view = sdl_frame_fit(width, height, target_width, target_height);
  int factor = sdl_frame_whole_factor(width, height, target_width, target_height);
  if (factor < 1) factor = 1;  // smaller than the frame: filtered straight down to the view
  // At a whole factor the blown-up picture is the view itself: nearest, and its faster path.
  if (view.width == factor * width && view.height == factor * height)
    return sdl_frame_draw_rect(pixels, pitch, width, height, colours, target, target_pitch,
                               target_width, target_height, first, end, left, right);
  fill_bars(target, target_pitch, first, end, left, right, view, colours.black);
  // The view's columns inside the rectangle.
  const int x0 = left > view.x ? left - view.x : 0;
  const int x1 = right - view.x < view.width ? right - view.x : view.width;
  if (x0 >= x1) return;
  prepare_sharp(width, height, view, factor);
  const bool wide = sharp_wide();
  const size_t span = static_cast<size_t>(x1 - x0) * 4;
  const std::vector<FRAME_TAP_TYP>& rows = sharp.rows;
  const uint32_t* last_out = nullptr;
  const int v_end = end - view.y < view.height ? end - view.y : view.height;
  for (int v = first > view.y ? first - view.y : 0; v < v_end; ++v) {
    uint32_t* out = reinterpret_cast<uint32_t*>(target + static_cast<ptrdiff_t>(view.y + v) * target_pitch) + view.x;
    const FRAME_TAP_TYP t = rows[static_cast<size_t>(v)];
    if (last_out && t.weight == 0 && rows[static_cast<size_t>(v) - 1].weight == 0 &&
        rows[static_cast<size_t>(v) - 1].from == t.from) {
      // The row above shows the same frame row unblended.
      std::memcpy(out + x0, last_out + x0, span);
    } else if (t.weight == 0) {
      std::memcpy(out + x0, widened(t.from, -1, pixels, pitch, colours, x0, x1) + x0, span);
    } else {
      const uint32_t* a = widened(t.from, t.from + 1, pixels, pitch, colours, x0, x1);
      const uint32_t* b = widened(t.from + 1, t.from, pixels, pitch, colours, x0, x1);
#if SHARP_WIDE
      if (wide) {
        mix_rows_wide(a + x0, b + x0, t.weight, x1 - x0, out + x0);
        last_out = out;
        continue;
      }
#endif
      mix_rows(a + x0, b + x0, t.weight, x1 - x0, out + x0);
    }
    last_out = out;
  }
}

// The frame pixels each of the target's pixels along one axis is drawn from (see
// sdl_frame_rows_read): size frame pixels shown over a view at view_at .. view_at + view_size.
void read_along(bool blended, int size, int view_at, int view_size, int factor, int* low,
                int* high) {
  if (blended) {
    std::vector<FRAME_TAP_TYP> taps(static_cast<size_t>(view_size));
    sdl_frame_sharp_taps(size, view_size, factor, taps.data());
    for (int v = 0; v < view_size; ++v) {
      const FRAME_TAP_TYP t = taps[static_cast<size_t>(v)];
      low[view_at + v] = t.from;
      high[view_at + v] = t.weight ? t.from + 1 : t.from;
    }
    return;
  }
  for (int v = 0; v < view_size; ++v)
    low[view_at + v] = high[view_at + v] =
        static_cast<int>((int64_t{2} * v + 1) * size / (int64_t{2} * view_size));
}

// Both axes: rows (1) or columns (0).
void read_axis(int rows, int scale, int width, int height, int target_width, int target_height,
               int* low, int* high) {
  const int target_size = rows ? target_height : target_width;
  if (!low || !high || target_size <= 0) return;
  for (int i = 0; i < target_size; ++i) low[i] = high[i] = -1;
  if (width <= 0 || height <= 0 || target_width <= 0 || target_height <= 0) return;
  int factor = sdl_frame_whole_factor(width, height, target_width, target_height);
  if (factor < 1) factor = 1;
  const FRAME_VIEW_TYP fit = sdl_frame_fit(width, height, target_width, target_height);
  const bool blended = scale == SCALE_SHARP && (fit.width != factor * width || fit.height != factor * height);
  const FRAME_VIEW_TYP view = sdl_frame_fit_scaled(scale, width, height, target_width, target_height);
  if (rows)
    read_along(blended, height, view.y, view.height, factor, low, high);
  else
    read_along(blended, width, view.x, view.width, factor, low, high);
}

}  // namespace

int sdl_frame_whole_factor(int width, int height, int target_width, int target_height) {
  if (width <= 0 || height <= 0 || target_width <= 0 || target_height <= 0) return 0;
  const int across = target_width / width, down = target_height / height;
  return across < down ? across : down;
}

FRAME_VIEW_TYP sdl_frame_fit_scaled(int scale, int width, int height, int target_width,
                                    int target_height) {
  const int factor = sdl_frame_whole_factor(width, height, target_width, target_height);
  if (scale != SCALE_INTEGER || factor < 1)
    return sdl_frame_fit(width, height, target_width, target_height);
  return {(target_width - factor * width) / 2, (target_height - factor * height) / 2,
          factor * width, factor * height};
}

void sdl_frame_sharp_taps(int size, int view_size, int factor, FRAME_TAP_TYP* taps) {
  if (size <= 0 || view_size <= 0 || !taps) return;
  if (factor < 1) factor = 1;
  // Target pixel i's centre on the blown-up picture of `big` pixels: u = (i + 1/2) big / view - 1/2,
  // kept exact as a count of halves of a target pixel, num / (2 view).
  const int64_t big = int64_t{factor} * size, halves = int64_t{2} * view_size;
  for (int i = 0; i < view_size; ++i) {
    const int64_t num = (int64_t{2} * i + 1) * big - view_size;
    FRAME_TAP_TYP tap = {0, 0};
    if (num > 0) {
      const int64_t at = num / halves, rem = num % halves;
      if (at >= big - 1) {
        tap.from = size - 1;  // the last half pixel holds its colour to the edge
      } else {
        const int a = static_cast<int>(at / factor), b = static_cast<int>((at + 1) / factor);
        const int weight = static_cast<int>((rem * 256 + view_size) / halves);
        // Inside a pixel's block both neighbours are that pixel: only block edges blend.
        if (a == b || weight == 0)
          tap = {a, 0};
        else if (weight == 256)
          tap = {b, 0};
        else
          tap = {a, weight};
      }
    }
    taps[i] = tap;
  }
}

void sdl_frame_draw_scaled(int scale, const uint8_t* pixels, int pitch, int width, int height,
                           const FRAME_COLOURS_TYP& colours, uint8_t* target, int target_pitch,
                           int target_width, int target_height) {
  sdl_frame_draw_scaled_rows(scale, pixels, pitch, width, height, colours, target, target_pitch,
                             target_width, target_height, 0, target_height);
}

void sdl_frame_draw_scaled_rows(int scale, const uint8_t* pixels, int pitch, int width, int height,
                                const FRAME_COLOURS_TYP& colours, uint8_t* target,
                                int target_pitch, int target_width, int target_height, int first,
                                int end) {
  sdl_frame_draw_scaled_rect(scale, pixels, pitch, width, height, colours, target, target_pitch,
                             target_width, target_height, first, end, 0, target_width);
}

void sdl_frame_draw_scaled_rect(int scale, const uint8_t* pixels, int pitch, int width, int height,
                                const FRAME_COLOURS_TYP& colours, uint8_t* target,
                                int target_pitch, int target_width, int target_height, int first,
                                int end, int left, int right) {
  if (!pixels || !target || width <= 0 || height <= 0 || target_width <= 0 || target_height <= 0)
    return;
  if (first < 0) first = 0;
  if (end > target_height) end = target_height;
  if (left < 0) left = 0;
  if (right > target_width) right = target_width;
  if (first >= end || left >= right) return;
  if (scale == SCALE_SHARP)
    return draw_sharp(pixels, pitch, width, height, colours, target, target_pitch, target_width,
                      target_height, first, end, left, right);
  const FRAME_VIEW_TYP view = sdl_frame_fit_scaled(scale, width, height, target_width, target_height);
  if (scale != SCALE_INTEGER || (view.width == target_width && view.height == target_height))
    return sdl_frame_draw_rect(pixels, pitch, width, height, colours, target, target_pitch,
                               target_width, target_height, first, end, left, right);
  // Whole factor: the nearest draw into the view alone, which it fills exactly.
  fill_bars(target, target_pitch, first, end, left, right, view, colours.black);
  sdl_frame_draw_rect(pixels, pitch, width, height, colours,
                      target + static_cast<ptrdiff_t>(view.y) * target_pitch + static_cast<ptrdiff_t>(view.x) * 4,
                      target_pitch, view.width, view.height, first - view.y, end - view.y,
                      left - view.x, right - view.x);
}

void sdl_frame_rows_read(int scale, int width, int height, int target_width, int target_height,
                         int* low, int* high) {
  read_axis(1, scale, width, height, target_width, target_height, low, high);
}

void sdl_frame_columns_read(int scale, int width, int height, int target_width, int target_height,
                            int* low, int* high) {
  read_axis(0, scale, width, height, target_width, target_height, low, high);
}
