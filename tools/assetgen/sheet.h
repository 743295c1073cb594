// Sprite sheets: cells of one size with 1-pixel key borders, cell (cx, cy) with its top-left at
// (cx * (w + 1) + 1, cy * (h + 1) + 1), the sheet padded to a width divisible by 4.
#pragma once
#include "tools/assetgen/file_writers.h"
#include "tools/assetgen/paint.h"

struct SHEET_TYP {
  PICTURE_TYP picture;
  int cell_width;
  int cell_height;
};

void sheet_create(SHEET_TYP* sheet, int cell_width, int cell_height, int columns, int rows);
// Maps a cell-sized painting into the cell: covered pixels take the nearest palette entry other
// than the key, the rest stay key (0).
void sheet_put_cell(SHEET_TYP* sheet, int cx, int cy, const PAINT_TYP* paint, const PALETTEENTRY palette[256]);
