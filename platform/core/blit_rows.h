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
