// The inner loops of fills and blits. The keyed 8-bit row draws every sprite of every frame,
// so it compares and merges 16 pixels at a time where the processor allows.
#include "platform/core/blit_rows.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
uint16_t get16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
void put16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }
}  // namespace

void plat_row_fill16(uint8_t* to, int n, uint16_t color) {
  for (int i = 0; i < n; ++i) put16(to + 2 * i, color);
}

void plat_row_key8(uint8_t* to, const uint8_t* from, int n, uint8_t key) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi8(static_cast<char>(key));
  for (; i + 16 <= n; i += 16) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
    __m128i hole = _mm_cmpeq_epi8(s, k);
    d = _mm_or_si128(_mm_and_si128(hole, d), _mm_andnot_si128(hole, s));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), d);
  }
  if (i + 8 <= n) {
    __m128i s = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + i));
    __m128i d = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(to + i));
    __m128i hole = _mm_cmpeq_epi8(s, k);
    d = _mm_or_si128(_mm_and_si128(hole, d), _mm_andnot_si128(hole, s));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(to + i), d);
    i += 8;
  }
#endif
  for (; i < n; ++i)
    if (from[i] != key) to[i] = from[i];
}

void plat_row_key16(uint8_t* to, const uint8_t* from, int n, uint16_t key) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi16(static_cast<short>(key));
  for (; i + 8 <= n; i += 8) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 2 * i));
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + 2 * i));
    __m128i hole = _mm_cmpeq_epi16(s, k);
    d = _mm_or_si128(_mm_and_si128(hole, d), _mm_andnot_si128(hole, s));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * i), d);
  }
#endif
  for (; i < n; ++i) {
    uint16_t v = get16(from + 2 * i);
    if (v != key) put16(to + 2 * i, v);
  }
}

void plat_row_map8(uint8_t* to, const uint8_t* from, const int* columns, int n, bool keyed,
                   uint8_t key) {
  if (keyed) {
    for (int i = 0; i < n; ++i) {
      uint8_t v = from[columns[i]];
      if (v != key) to[i] = v;
    }
  } else {
    for (int i = 0; i < n; ++i) to[i] = from[columns[i]];
  }
}

void plat_row_map16(uint8_t* to, const uint8_t* from, const int* columns, int n, bool keyed,
                    uint16_t key) {
  for (int i = 0; i < n; ++i) {
    uint16_t v = get16(from + 2 * columns[i]);
    if (!keyed || v != key) put16(to + 2 * i, v);
  }
}
