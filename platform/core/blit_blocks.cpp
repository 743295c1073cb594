// Whole rows of a narrow keyed frame: each row that holds pixels is merged with the destination
// as the same few blocks (32 bytes with AVX2, blended under a mask register where AVX-512 is
// present, 16 with SSE2), the key leaving the destination as it is. Every block lies inside
// the frame's row and the blocks of a row never overlap, so no block reads what the one before
// it has just written. The wider merges are chosen once, by what the processor says it has;
// without SSE2 the runs say no blocks and nothing is drawn here.
#include <cstring>

#include "platform/core/blit_rows.h"
#include "platform/core/surface_internal.h"

namespace {
int limit_bytes = 0;
}  // namespace

void plat_blocks_limit(int bytes) { limit_bytes = bytes; }
int plat_merge_limit_allows(int bytes) { return limit_bytes <= 0 || limit_bytes >= bytes ? 1 : 0; }

#if defined(__SSE2__)
#include <immintrin.h>

namespace {

using DRAW_BLOCKS = void (*)(uint8_t*, size_t, const uint8_t*, size_t, const uint16_t*, int, int,
                             uint32_t);

template <int BYTES>
void draw_sse2(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
               const uint16_t* row_block, int rows, int count, uint32_t key) {
  const __m128i k = BYTES == 1 ? _mm_set1_epi8(static_cast<char>(key))
                               : _mm_set1_epi16(static_cast<short>(key));
  for (int y = 0; y < rows; ++y, row += row_pitch, to += to_pitch) {
    if (row_block[y] == NO_BLOCKS) continue;
    for (int c = 0, at = row_block[y]; c < count; ++c, at += 16) {
      const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
      const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + at));
      const __m128i hole = BYTES == 1 ? _mm_cmpeq_epi8(s, k) : _mm_cmpeq_epi16(s, k);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at),
                       _mm_or_si128(_mm_and_si128(hole, d), _mm_andnot_si128(hole, s)));
    }
  }
}

template <int BYTES>
__attribute__((target("avx2"))) void draw_avx2(uint8_t* to, size_t to_pitch, const uint8_t* row,
                                               size_t row_pitch, const uint16_t* row_block,
                                               int rows, int count, uint32_t key) {
  const __m256i k = BYTES == 1 ? _mm256_set1_epi8(static_cast<char>(key))
                               : _mm256_set1_epi16(static_cast<short>(key));
  for (int y = 0; y < rows; ++y, row += row_pitch, to += to_pitch) {
    if (row_block[y] == NO_BLOCKS) continue;
    for (int c = 0, at = row_block[y]; c < count; ++c, at += 32) {
      const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + at));
      const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(to + at));
      const __m256i hole = BYTES == 1 ? _mm256_cmpeq_epi8(s, k) : _mm256_cmpeq_epi16(s, k);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + at), _mm256_blendv_epi8(s, d, hole));
    }
  }
}

// The same merges where AVX-512 (BW, VL) is present: the key comparison gives a mask register
// and the blend is a single operation on it. WIDTH is the block's bytes, 32 or 16.
template <int BYTES, int WIDTH>
__attribute__((target("avx2,avx512bw,avx512vl"))) inline void merge_masked(uint8_t* to,
                                                                         const uint8_t* from,
                                                                         uint32_t key) {
  const short k16 = static_cast<short>(key);
  const char k8 = static_cast<char>(key);
  if constexpr (WIDTH == 32) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(to));
    const __m256i merged =
        BYTES == 1 ? _mm256_mask_blend_epi8(_mm256_cmpeq_epi8_mask(s, _mm256_set1_epi8(k8)), s, d)
                   : _mm256_mask_blend_epi16(_mm256_cmpeq_epi16_mask(s, _mm256_set1_epi16(k16)), s, d);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), merged);
  } else {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to));
    const __m128i merged =
        BYTES == 1 ? _mm_mask_blend_epi8(_mm_cmpeq_epi8_mask(s, _mm_set1_epi8(k8)), s, d)
                   : _mm_mask_blend_epi16(_mm_cmpeq_epi16_mask(s, _mm_set1_epi16(k16)), s, d);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), merged);
  }
}

template <int BYTES, int WIDTH>
__attribute__((target("avx2,avx512bw,avx512vl"))) void draw_avx512(uint8_t* to, size_t to_pitch,
                                                                  const uint8_t* row, size_t row_pitch,
                                                                  const uint16_t* row_block, int rows,
                                                                  int count, uint32_t key) {
  for (int y = 0; y < rows; ++y, row += row_pitch, to += to_pitch) {
    if (row_block[y] == NO_BLOCKS) continue;
    for (int c = 0, at = row_block[y]; c < count; ++c, at += WIDTH)
      merge_masked<BYTES, WIDTH>(to + at, row + at, key);
  }
}

bool has_avx512() {
  static const bool avx512 = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
  return avx512;
}

bool has_avx2() {
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2;
}

}  // namespace

int plat_block_bytes() {
  const int best = has_avx2() ? 32 : 16;
  return limit_bytes > 0 && limit_bytes < best ? limit_bytes : best;
}

void plat_blocks_draw(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
                      const KEY_RUNS_TYP* runs, int first_row, int rows, int bytes) {
  const bool wide = runs->block_bytes == 32;
  const bool masks = has_avx512() && plat_merge_limit_allows(64);
  DRAW_BLOCKS draw;
  if (bytes == 1)
    draw = wide ? (masks ? draw_avx512<1, 32> : draw_avx2<1>)
                : (masks ? draw_avx512<1, 16> : draw_sse2<1>);
  else
    draw = wide ? (masks ? draw_avx512<2, 32> : draw_avx2<2>)
                : (masks ? draw_avx512<2, 16> : draw_sse2<2>);
  draw(to, to_pitch, row, row_pitch, runs->row_block.data() + first_row, rows, runs->block_count,
       bytes == 1 ? runs->key & 0xFF : runs->key & 0xFFFF);
}

#else

int plat_block_bytes() { return 0; }

void plat_blocks_draw(uint8_t*, size_t, const uint8_t*, size_t, const KEY_RUNS_TYP*, int, int, int) {}

#endif
