#include "tools/assetgen/generate.h"

#include <cstdio>

#include "tools/assetgen/dead_art.h"
#include "tools/assetgen/file_writers.h"
#include "tools/assetgen/laser_art.h"
#include "tools/assetgen/music.h"
#include "tools/assetgen/palettes.h"
#include "tools/assetgen/screens.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/skeleton_art.h"
#include "tools/assetgen/sounds.h"

namespace {

int fail(const std::string& what) {
  std::fprintf(stderr, "assetgen: cannot write %s\n", what.c_str());
  return 0;
}

// Everything in the play field is mapped to its palette by day and shown at night.
int write_sheet(const std::string& path, const SHEET_TYP* sheet, const PALETTEENTRY palette[256]) {
  PALETTEENTRY night[256];
  palette_playfield_at_night(palette, night);
  return bmp_write_8bit(path, &sheet->picture, night) ? 1 : fail(path);
}

// A skeleton sheet: (0,0) stands mid-stride, (1,0) and (2,0) the two steps, (3,0) a wind-up,
// (4,0) the chop that hostile and summoned skeletons strike with, (0,1) the player's sweep.
int write_skeleton_sheet(const std::string& dir, int direction, const PALETTEENTRY palette[256]) {
  SHEET_TYP sheet;
  sheet_create(&sheet, SKELETON_WIDTH, SKELETON_HEIGHT, 5, 2);
  struct CELL {
    int cx, cy;
    SKELETON_POSE_TYP pose;
  };
  const CELL cells[] = {
      {0, 0, {0.0f, ARMS_WALK, 0}},  {1, 0, {1.0f, ARMS_WALK, 0}}, {2, 0, {-1.0f, ARMS_WALK, 0}},
      {3, 0, {0.3f, ARMS_WINDUP, 0}}, {4, 0, {0.5f, ARMS_CHOP, 0}}, {0, 1, {-0.4f, ARMS_SWEEP, 0}},
  };
  PAINT_TYP cell;
  for (const CELL& c : cells) {
    skeleton_paint(&cell, direction, &c.pose);
    sheet_put_cell(&sheet, c.cx, c.cy, &cell, palette);
  }
  return write_sheet(dir + "/SKELSP" + std::to_string(direction) + ".BMP", &sheet, palette);
}

// The wounded look, facing the viewer: frames 32..35 from cells (0,0), (1,0), (2,0) and (4,0).
// 32 stands, 33 and 34 walk at ever lower health, 35 is the last wreck and the wounded strike.
int write_wound_sheet(const std::string& dir, const PALETTEENTRY palette[256]) {
  SHEET_TYP sheet;
  sheet_create(&sheet, SKELETON_WIDTH, SKELETON_HEIGHT, 5, 2);
  const int columns[4] = {0, 1, 2, 4};
  const SKELETON_POSE_TYP poses[4] = {{0.0f, ARMS_WALK, 1}, {0.6f, ARMS_WALK, 2}, {0.3f, ARMS_WALK, 3}, {0.0f, ARMS_LUNGE, 4}};
  PAINT_TYP cell;
  for (int k = 0; k < 4; ++k) {
    skeleton_paint(&cell, 6, &poses[k]);
    sheet_put_cell(&sheet, columns[k], 0, &cell, palette);
  }
  return write_sheet(dir + "/SKELSP8.BMP", &sheet, palette);
}

// A dead actor's sheet: (0,0), (1,0), (2,0) drifting, (1,1) firing.
int write_dead_sheet(const std::string& dir, int direction, const PALETTEENTRY palette[256]) {
  SHEET_TYP sheet;
  sheet_create(&sheet, DEAD_WIDTH, DEAD_HEIGHT, 3, 2);
  const int cells[4][3] = {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {1, 1, 3}};
  PAINT_TYP cell;
  for (auto& c : cells) {
    dead_paint(&cell, direction, c[2]);
    sheet_put_cell(&sheet, c[0], c[1], &cell, palette);
  }
  return write_sheet(dir + "/DEDSP" + std::to_string(direction) + ".BMP", &sheet, palette);
}

int write_laser_sheet(const std::string& dir, const PALETTEENTRY palette[256]) {
  SHEET_TYP sheet;
  sheet_create(&sheet, LASER_SIZE, LASER_SIZE, 2, 1);
  PAINT_TYP cell;
  laser_paint(&cell, false);
  sheet_put_cell(&sheet, 0, 0, &cell, palette);
  laser_paint(&cell, true);
  sheet_put_cell(&sheet, 1, 0, &cell, palette);
  return write_sheet(dir + "/laser.bmp", &sheet, palette);
}

int write_screen(const std::string& path, const PAINT_TYP* paint, const PALETTEENTRY palette[256], float dither,
                 bool play_field = false) {
  PICTURE_TYP picture;
  screen_quantize(paint, palette, dither, &picture);
  PALETTEENTRY night[256];
  if (play_field) palette_playfield_at_night(palette, night);
  return bmp_write_8bit(path, &picture, play_field ? night : palette) ? 1 : fail(path);
}

}  // namespace

int generate_all(const std::string& dir) {
  PALETTEENTRY field[256], title[256];
  palette_build_playfield(field);
  palette_build_title(title);

  PAINT_TYP screen;
  screen_paint_grass(&screen);
  if (!write_screen(dir + "/GRASS.BMP", &screen, field, 10.0f, true)) return 0;
  if (!screen_paint_title(&screen)) return fail("title.BMP (no font)");
  if (!write_screen(dir + "/title.BMP", &screen, title, 12.0f)) return 0;
  if (!screen_paint_controls(&screen)) return fail("controls.BMP (no font)");
  if (!write_screen(dir + "/controls.BMP", &screen, title, 12.0f)) return 0;
  if (!screen_paint_game_over(&screen)) return fail("gameover.BMP (no font)");
  if (!write_screen(dir + "/gameover.BMP", &screen, title, 12.0f)) return 0;

  for (int d = 0; d < 8; ++d)
    if (!write_skeleton_sheet(dir, d, field)) return 0;
  if (!write_wound_sheet(dir, field)) return 0;
  for (int d = 0; d < 8; d += 2)
    if (!write_dead_sheet(dir, d, field)) return 0;
  if (!write_laser_sheet(dir, field)) return 0;

  // The display starts on the title screen, so it starts in the title palette.
  if (!palette_write_text(dir + "/PALDATA2.PAL", title)) return fail("PALDATA2.PAL");
  if (!wav_write_8bit(dir + "/bat.WAV", sound_make_strike())) return fail("bat.WAV");
  if (!wav_write_8bit(dir + "/HWEAPON0.WAV", sound_make_laser())) return fail("HWEAPON0.WAV");
  if (!file_write_bytes(dir + "/MIDIFILE9.MID", music_make())) return fail("MIDIFILE9.MID");
  return 1;
}
