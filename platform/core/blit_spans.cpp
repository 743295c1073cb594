// Keyed rows from each row's span (its first to its last pixel that is not the key): the span is
// merged with the destination 16 bytes at a time, the key leaving the destination as it is. A
// merge is the same when done twice, so a span's last block may overlap the one before it, and
// a span shorter than a block is merged as a whole block that stays inside the visible row (the
// extra pixels are the key's and leave the destination alone). Without SSE2 nothing is drawn
// here: plat_spans_pay says 0 and the runs are used.
#include <cstring>

#include "platform/core/blit_rows.h"
#include "platform/core/surface_internal.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace {

template <int BYTES>
inline void merge_block(uint8_t* to, const uint8_t* from, __m128i key) {
  const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to));
  const __m128i hole = BYTES == 1 ? _mm_cmpeq_epi8(s, key) : _mm_cmpeq_epi16(s, key);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to),
                   _mm_or_si128(_mm_and_si128(hole, d), _mm_andnot_si128(hole, s)));
}

// Source columns [from_x, from_x + n) of `rows` rows; to[0] stands for column from_x.
template <int BYTES>
void draw_spans(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
                const KEY_RUN_TYP* spans, int rows, int from_x, int n, uint32_t key) {
  constexpr int BLOCK = 16 / BYTES;  // pixels in one merge
  const __m128i k = BYTES == 1 ? _mm_set1_epi8(static_cast<char>(key))
                               : _mm_set1_epi16(static_cast<short>(key));
  const int end_x = from_x + n;
  uint8_t* base = to - static_cast<ptrdiff_t>(from_x) * BYTES;  // column 0 of the row
  for (int y = 0; y < rows; ++y, row += row_pitch, base += to_pitch) {
    int a = spans[y].start, b = spans[y].end;
    a = a > from_x ? a : from_x;
    b = b < end_x ? b : end_x;
    if (a >= b) continue;
    if (n < BLOCK) {
      // Too narrow a view for one block: pixel by pixel.
      for (int x = a; x < b; ++x) {
        uint16_t v = 0;
        std::memcpy(&v, row + x * BYTES, BYTES);
        if (v != static_cast<uint16_t>(key)) std::memcpy(base + x * BYTES, &v, BYTES);
      }
      continue;
    }
    if (b - a < BLOCK) {
      a = a < end_x - BLOCK ? a : end_x - BLOCK;
      merge_block<BYTES>(base + a * BYTES, row + a * BYTES, k);
      continue;
    }
    for (int x = a; x < b - BLOCK; x += BLOCK) merge_block<BYTES>(base + x * BYTES, row + x * BYTES, k);
    merge_block<BYTES>(base + (b - BLOCK) * BYTES, row + (b - BLOCK) * BYTES, k);
  }
}

}  // namespace

int plat_spans_pay(size_t runs, size_t blocks) { return 2 * blocks <= runs; }

void plat_spans_draw(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
                     const KEY_RUNS_TYP* runs, int first_row, int rows, int from_x, int n,
                     int bytes) {
  const KEY_RUN_TYP* spans = runs->spans.data() + first_row;
  if (bytes == 1)
    draw_spans<1>(to, to_pitch, row, row_pitch, spans, rows, from_x, n, runs->key & 0xFF);
  else
    draw_spans<2>(to, to_pitch, row, row_pitch, spans, rows, from_x, n, runs->key & 0xFFFF);
}

#else

int plat_spans_pay(size_t, size_t) { return 0; }

void plat_spans_draw(uint8_t*, size_t, const uint8_t*, size_t, const KEY_RUNS_TYP*, int, int, int,
                     int, int) {}

#endif
