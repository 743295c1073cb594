// One row of a fill or a blit, the inner loops of blit.cpp.
#pragma once
#include <cstdint>

void plat_row_fill16(uint8_t* to, int n, uint16_t color);
// Copies n pixels, leaving the destination where the source holds the key.
void plat_row_key8(uint8_t* to, const uint8_t* from, int n, uint8_t key);
void plat_row_key16(uint8_t* to, const uint8_t* from, int n, uint16_t key);
// Stretched rows: pixel i comes from source column columns[i] of the row `from`.
void plat_row_map8(uint8_t* to, const uint8_t* from, const int* columns, int n, bool keyed,
                   uint8_t key);
void plat_row_map16(uint8_t* to, const uint8_t* from, const int* columns, int n, bool keyed,
                    uint16_t key);
// Keyed rows from key runs: copies the runs of source rows first_row .. first_row + rows - 1
// (`row` is the first of them) that lie in source columns [from_x, from_x + n) of a surface
// `width` pixels wide; to[0] stands for column from_x of the first row.
#include <cstddef>
struct KEY_RUNS_TYP;
void plat_runs_draw(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
                    const KEY_RUNS_TYP* runs, int first_row, int rows, int from_x, int n, int width,
                    int bytes);
// The same rows from each row's span (KEY_RUNS_TYP::spans), where the runs say by_spans.
void plat_spans_draw(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
                     const KEY_RUNS_TYP* runs, int first_row, int rows, int from_x, int n,
                     int bytes);
// 1 when merging `blocks` 16-byte blocks beats copying `runs` runs (0 where there is no SSE2).
int plat_spans_pay(size_t runs, size_t blocks);
// Whole rows from the blocks the runs chose (KEY_RUNS_TYP::block_count): rows first_row ..
// first_row + rows - 1, to[0] standing for column 0 of the first.
void plat_blocks_draw(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
                      const KEY_RUNS_TYP* runs, int first_row, int rows, int bytes);
// The widest merge this machine has (32 bytes with AVX2, 16 with SSE2, 0 without either), or
// the narrower one a test asks for with plat_blocks_limit (0: no limit).
int plat_block_bytes();
void plat_blocks_limit(int bytes);
// 1 when the limit a test set allows merges of `bytes`. The blends under a mask register
// (AVX-512) count as 64 bytes wide, so a limit of 32 or 16 keeps the AVX2 or SSE2 merges.
int plat_merge_limit_allows(int bytes);
