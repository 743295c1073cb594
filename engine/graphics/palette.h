// Palettes: the display palette and its shadow kept in step, palette files, rotation, blinking.
#pragma once
#include "platform/types.h"

constexpr int BLINK_ADD = 0;
constexpr int BLINK_DELETE = 1;
constexpr int BLINK_UPDATE = 2;
constexpr int BLINK_RUN = 3;

struct BLINK_TYP {
  int color_index;
  PALETTEENTRY on_color;
  PALETTEENTRY off_color;
  int on_time;
  int off_time;
  int counter;
  int phase;
};

extern BLINK_TYP blink_table[256];

// Palette files: 256 lines of "red green blue flags". Loading reads each entry as "%d %d %d %d"
// would, keeps each number's low 8 bits and leaves the fields it could not read as they were;
// 0 when the file cannot be opened.
int palette_file_load(const char* file_name, PALETTEENTRY* palette);
int palette_file_save(const char* file_name, const PALETTEENTRY* palette);
int palette_set_all(const PALETTEENTRY* palette);
int palette_save(PALETTEENTRY* palette);
int palette_set_entry(int index, const PALETTEENTRY* entry);
int palette_get_entry(int index, PALETTEENTRY* entry);
// Rotates entries first..last up by one, the last wrapping to first. 0 unless 0 <= first < last <= 255.
int palette_rotate(int first, int last);
// BLINK_ADD gives the new slot, or -1 when the table is full or the entry is not 0..255;
// BLINK_DELETE and BLINK_UPDATE give the slot id, or -1 when it is not in use; BLINK_RUN (one per
// frame) and unknown commands give 1. Blinking changes the display palette only, not the shadow.
int palette_blink(int command, const BLINK_TYP* record, int id);
