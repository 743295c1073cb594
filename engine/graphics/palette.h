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

int palette_file_load(const char* file_name, PALETTEENTRY* palette);
int palette_file_save(const char* file_name, const PALETTEENTRY* palette);
int palette_set_all(const PALETTEENTRY* palette);
int palette_save(PALETTEENTRY* palette);
int palette_set_entry(int index, const PALETTEENTRY* entry);
int palette_get_entry(int index, PALETTEENTRY* entry);
int palette_rotate(int first, int last);
int palette_blink(int command, const BLINK_TYP* record, int id);
