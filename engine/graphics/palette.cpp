// The display palette and its shadow kept in step, palette rotation and blinking entries.
#include "engine/graphics/palette.h"

#include <cstring>

#include "engine/graphics/display.h"

BLINK_TYP blink_table[256];

namespace {

bool blink_table_cleared = false;

bool valid_index(int index) { return index >= 0 && index < 256; }

bool slot_in_use(int id) { return valid_index(id) && blink_table[id].phase != 0; }

void show_entry(int index, const PALETTEENTRY& color) {
  if (valid_index(index)) plat_palette_set_entries(display_palette, index, 1, &color);
}

}  // namespace

int palette_set_all(const PALETTEENTRY* palette) {
  if (!palette) return 0;
  std::memmove(palette_shadow, palette, sizeof palette_shadow);
  plat_palette_set_entries(display_palette, 0, 256, palette_shadow);
  return 1;
}

int palette_save(PALETTEENTRY* palette) {
  if (!palette) return 0;
  std::memmove(palette, palette_shadow, sizeof palette_shadow);
  return 1;
}

int palette_set_entry(int index, const PALETTEENTRY* entry) {
  if (!entry || !valid_index(index)) return 0;
  plat_palette_set_entries(display_palette, index, 1, entry);
  palette_shadow[index] = *entry;
  return 1;
}

int palette_get_entry(int index, PALETTEENTRY* entry) {
  if (!entry || !valid_index(index)) return 0;
  *entry = palette_shadow[index];
  return 1;
}

int palette_rotate(int first, int last) {
  if (!valid_index(first) || !valid_index(last) || first >= last || !display_palette) return 0;
  const int n = last - first + 1;
  PALETTEENTRY work_pal[256];
  plat_palette_get_entries(display_palette, first, n, work_pal);
  plat_palette_set_entries(display_palette, first + 1, n - 1, work_pal);
  plat_palette_set_entries(display_palette, first, 1, &work_pal[n - 1]);
  plat_palette_get_entries(display_palette, 0, 256, palette_shadow);
  return 1;
}

int palette_blink(int command, const BLINK_TYP* record, int id) {
  if (!blink_table_cleared) {
    std::memset(blink_table, 0, sizeof blink_table);
    blink_table_cleared = true;
  }
  switch (command) {
    case BLINK_ADD: {
      if (!record || !valid_index(record->color_index)) return -1;
      for (int slot = 0; slot < 256; ++slot) {
        BLINK_TYP& blink = blink_table[slot];
        if (blink.phase != 0) continue;
        blink = *record;
        blink.counter = 0;
        blink.phase = -1;
        show_entry(blink.color_index, blink.off_color);
        return slot;
      }
      return -1;  // no free slot: not a slot number a caller could mistake
    }
    case BLINK_DELETE:
      if (!slot_in_use(id)) return -1;
      std::memset(&blink_table[id], 0, sizeof blink_table[id]);
      return id;
    case BLINK_UPDATE: {
      if (!record || !slot_in_use(id)) return -1;
      BLINK_TYP& blink = blink_table[id];
      blink.on_color = record->on_color;
      blink.off_color = record->off_color;
      blink.on_time = record->on_time;
      blink.off_time = record->off_time;
      show_entry(blink.color_index, blink.phase == -1 ? blink.off_color : blink.on_color);
      return id;
    }
    case BLINK_RUN:
      for (BLINK_TYP& blink : blink_table) {
        if (blink.phase == 0) continue;
        ++blink.counter;
        if (blink.phase == -1 && blink.counter >= blink.off_time) {
          blink.counter = 0;
          blink.phase = 1;
          show_entry(blink.color_index, blink.on_color);
        } else if (blink.phase == 1 && blink.counter >= blink.on_time) {
          blink.counter = 0;
          blink.phase = -1;
          show_entry(blink.color_index, blink.off_color);
        }
      }
      return 1;
    default:
      return 1;
  }
}
