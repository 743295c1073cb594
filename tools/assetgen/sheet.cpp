#include "tools/assetgen/sheet.h"

#include "tools/assetgen/palettes.h"

void sheet_create(SHEET_TYP* sheet, int cell_width, int cell_height, int columns, int rows) {
  sheet->cell_width = cell_width;
  sheet->cell_height = cell_height;
  int width = columns * (cell_width + 1) + 1;
  width = (width + 3) / 4 * 4;
  picture_create(&sheet->picture, width, rows * (cell_height + 1) + 1);
}

void sheet_put_cell(SHEET_TYP* sheet, int cx, int cy, const PAINT_TYP* paint, const PALETTEENTRY palette[256]) {
  int left = cx * (sheet->cell_width + 1) + 1, top = cy * (sheet->cell_height + 1) + 1;
  for (int y = 0; y < sheet->cell_height && y < paint->height; ++y)
    for (int x = 0; x < sheet->cell_width && x < paint->width; ++x) {
      size_t i = static_cast<size_t>(y) * paint->width + x;
      uint8_t index = 0;
      if (paint->cover[i] >= 0.5f) index = static_cast<uint8_t>(palette_nearest(palette, paint->color[i], 1));
      sheet->picture.pixels[static_cast<size_t>(top + y) * sheet->picture.width + left + x] = index;
    }
}
