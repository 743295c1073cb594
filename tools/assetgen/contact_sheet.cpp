#include "tools/assetgen/contact_sheet.h"

#include <cstdio>
#include <vector>

#include "tools/assetgen/file_writers.h"
#include "tools/assetgen/font.h"
#include "tools/assetgen/paint.h"

namespace {

struct LOADED_TYP {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;    // top-down
  std::vector<uint8_t> index;  // top-down
};

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Reads back the 8-bit files assetgen writes (and nothing fancier).
bool load(const std::string& path, LOADED_TYP* out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> b;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) b.insert(b.end(), buf, buf + n);
  std::fclose(f);
  if (b.size() < 1078 || b[0] != 'B' || b[1] != 'M' || b[28] != 8) return false;
  int w = static_cast<int>(le32(b, 18)), h = static_cast<int>(le32(b, 22));
  if (w <= 0 || h <= 0 || b.size() < 1078 + static_cast<size_t>(w) * h) return false;
  out->width = w;
  out->height = h;
  out->rgb.resize(static_cast<size_t>(w) * h * 3);
  out->index.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t i = b[1078 + static_cast<size_t>(h - 1 - y) * w + x];
      size_t o = static_cast<size_t>(y) * w + x;
      out->index[o] = i;
      out->rgb[o * 3] = b[54 + i * 4 + 2];
      out->rgb[o * 3 + 1] = b[54 + i * 4 + 1];
      out->rgb[o * 3 + 2] = b[54 + i * 4];
    }
  return true;
}

struct CANVAS {
  int width, height;
  std::vector<uint8_t> rgb;
  void put(int x, int y, const uint8_t* c) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    std::copy(c, c + 3, rgb.begin() + (static_cast<size_t>(y) * width + x) * 3);
  }
};

void label(CANVAS* canvas, int x, int y, const std::string& text) {
  MASK_TYP mask;
  mask_create(&mask, canvas->width, canvas->height);
  font_draw(&mask, FONT_SANS_BOLD, 14, x, y + 13, text.c_str());
  for (size_t i = 0; i < mask.value.size(); ++i)
    if (mask.value[i] > 0.4f) canvas->rgb[i * 3] = canvas->rgb[i * 3 + 1] = canvas->rgb[i * 3 + 2] = 240;
}

// A sheet scaled by k; key pixels show the grass beneath, the cell borders a thin dark line.
void draw_sheet(CANVAS* c, const LOADED_TYP& sheet, const LOADED_TYP& grass, int cell_w, int cell_h, int x0, int y0,
                int k) {
  for (int y = 0; y < sheet.height * k; ++y)
    for (int x = 0; x < sheet.width * k; ++x) {
      int sx = x / k, sy = y / k;
      size_t o = static_cast<size_t>(sy) * sheet.width + sx;
      const uint8_t* px = &sheet.rgb[o * 3];
      if (sheet.index[o] == 0) {
        bool border = sx % (cell_w + 1) == 0 || sy % (cell_h + 1) == 0;
        static const uint8_t line[3] = {70, 30, 70};
        px = border ? line : &grass.rgb[(static_cast<size_t>((y0 + y) % grass.height) * grass.width + (x0 + x) % grass.width) * 3];
      }
      c->put(x0 + x, y0 + y, px);
    }
}

}  // namespace

int contact_sheet_write(const std::string& dir, const std::string& png_path) {
  LOADED_TYP grass;
  if (!load(dir + "/GRASS.BMP", &grass)) {
    std::fprintf(stderr, "contact sheet: cannot read %s/GRASS.BMP\n", dir.c_str());
    return 0;
  }
  CANVAS c{1320, 0, {}};
  // Plan: skeleton sheets two to a row at 2x, then dead sheets, the laser, then the screens.
  struct ITEM {
    std::string name;
    int cell_w, cell_h, k;
  };
  std::vector<ITEM> items;
  for (int d = 0; d <= 8; ++d) items.push_back({"SKELSP" + std::to_string(d) + ".BMP", 56, 72, 2});
  for (int d = 0; d < 8; d += 2) items.push_back({"DEDSP" + std::to_string(d) + ".BMP", 72, 80, 2});
  items.push_back({"laser.bmp", 150, 150, 1});
  const char* screens[4] = {"GRASS.BMP", "title.BMP", "controls.BMP", "gameover.BMP"};

  std::vector<LOADED_TYP> loaded(items.size());
  for (size_t i = 0; i < items.size(); ++i)
    if (!load(dir + "/" + items[i].name, &loaded[i])) {
      std::fprintf(stderr, "contact sheet: cannot read %s\n", items[i].name.c_str());
      return 0;
    }
  std::vector<LOADED_TYP> shots(4);
  for (int i = 0; i < 4; ++i)
    if (!load(dir + "/" + screens[i], &shots[i])) return 0;

  // Lay out in rows that fit the width.
  struct PLACE {
    int x, y;
  };
  std::vector<PLACE> places;
  int x = 10, y = 10, row_h = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    int w = loaded[i].width * items[i].k, h = loaded[i].height * items[i].k + 20;
    if (x + w > c.width - 10) {
      x = 10;
      y += row_h + 10;
      row_h = 0;
    }
    places.push_back({x, y});
    x += w + 16;
    row_h = std::max(row_h, h);
  }
  y += row_h + 10;
  int screens_y = y;
  c.height = screens_y + 2 * (480 + 30) + 10;
  c.rgb.assign(static_cast<size_t>(c.width) * c.height * 3, 28);

  for (size_t i = 0; i < items.size(); ++i) {
    label(&c, places[i].x, places[i].y, items[i].name);
    draw_sheet(&c, loaded[i], grass, items[i].cell_w, items[i].cell_h, places[i].x, places[i].y + 20, items[i].k);
  }
  for (int i = 0; i < 4; ++i) {
    int sx = 10 + (i % 2) * 660, sy = screens_y + (i / 2) * 510;
    label(&c, sx, sy, screens[i]);
    for (int py = 0; py < shots[i].height; ++py)
      for (int px = 0; px < shots[i].width; ++px)
        c.put(sx + px, sy + 20 + py, &shots[i].rgb[(static_cast<size_t>(py) * shots[i].width + px) * 3]);
  }
  return png_write_rgb(png_path, c.rgb, c.width, c.height);
}
