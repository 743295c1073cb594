#include "game/actor_art.h"

#include <cstdio>
#include <string_view>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/palette.h"
#include "game/world.h"

namespace {

constexpr int SPRITE_ATTRIBUTES = ATTR_SEQUENCED | ATTR_VISIBLE;
constexpr int SYSTEM_MEMORY = 0x800;

// A facing's four frames come from four cells of its sheet; which four differs by kind.
void load_group(BOB_TYP* bob, int d, const int (&cells)[4][2]) {
  for (int k = 0; k < 4; ++k) bob_load_frame(bob, &work_bitmap, 4 * d + k, cells[k][0], cells[k][1], 0);
}

// A sheet that cannot be read must leave its frames blank, not refill them from the sheet read
// before it, so the old pixels go first.
void read_sheet(const char* pattern, int d) {
  char filename[80];
  std::snprintf(filename, sizeof filename, pattern, d);
  bitmap_unload_file(&work_bitmap);
  bitmap_load_file(&work_bitmap, filename);
}

constexpr int STRIKE_CELLS[4][2] = {{0, 0}, {1, 0}, {2, 0}, {4, 0}};
constexpr int SWEEP_CELLS[4][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}};
constexpr int DEAD_CELLS[4][2] = {{0, 0}, {1, 0}, {2, 0}, {1, 1}};
constexpr int LASER_CELLS[2][2] = {{0, 0}, {1, 0}};  // the horizontal beam, the vertical one

// The least width and height a sheet must have for every cell in `cells` of w x h.
template <size_t N>
void grow_to_hold(const int (&cells)[N][2], int w, int h, int* width, int* height) {
  for (const auto& cell : cells) {
    int64_t x, y;
    bitmap_cell_corner(cell[0], cell[1], 0, w, h, &x, &y);
    if (x + w > *width) *width = int(x + w);
    if (y + h > *height) *height = int(y + h);
  }
}

}  // namespace

int actor_sheet_extent(const char* file_name, int* width, int* height) {
  if (!file_name || !width || !height) return 0;
  *width = *height = 0;
  int d = 0;
  char rest = 0;
  if (std::sscanf(file_name, "SKELSP%d.BM%c", &d, &rest) == 2 && d >= 0 && d <= 8) {
    grow_to_hold(STRIKE_CELLS, SKELETON_WIDTH, SKELETON_HEIGHT, width, height);
    grow_to_hold(SWEEP_CELLS, SKELETON_WIDTH, SKELETON_HEIGHT, width, height);
    return 1;
  }
  if (std::sscanf(file_name, "DEDSP%d.BM%c", &d, &rest) == 2 && d >= 0 && d <= 6) {
    grow_to_hold(DEAD_CELLS, DEAD_WIDTH, DEAD_HEIGHT, width, height);
    return 1;
  }
  if (std::string_view(file_name) == "laser.bmp") {
    grow_to_hold(LASER_CELLS, LASER_SIZE, LASER_SIZE, width, height);
    return 1;
  }
  return 0;
}

int skeleton_sprite_build(BOB_TYP* s) {
  if (!bob_create(s, 0, 0, SKELETON_WIDTH, SKELETON_HEIGHT, SKELETON_FRAMES, SPRITE_ATTRIBUTES,
                  SYSTEM_MEMORY, 0, 8))
    return 0;
  for (int d = 0; d <= 8; ++d) {
    read_sheet("SKELSP%d.BMP", d);
    load_group(s, d, STRIKE_CELLS);
    bob_add_sequence(s, d, 4, skeleton_sequences[d]);
  }
  bob_set_sequence(s, 0);
  bob_set_anim_period(s, 4);
  return 1;
}

int player_sprite_build(BOB_TYP* p, const PALETTEENTRY* palette) {
  if (!bob_create(p, 0, 0, SKELETON_WIDTH, SKELETON_HEIGHT, SKELETON_FRAMES, SPRITE_ATTRIBUTES,
                  SYSTEM_MEMORY, 0, 8))
    return 0;
  for (int d = 0; d <= 8; ++d) {
    read_sheet("SKELSP%d.BMP", d);
    if (palette) palette_set_all(palette);
    load_group(p, d, d < 8 ? SWEEP_CELLS : STRIKE_CELLS);
    bitmap_unload_file(&work_bitmap);
    bob_add_sequence(p, d, 4, skeleton_sequences[d]);
  }
  bob_set_sequence(p, 0);
  bob_set_anim_period(p, 4);
  bob_set_velocity(p, 0.0f, 0.0f);
  bob_set_position(p, 320 - p->width / 2, 240 - p->height / 2);
  p->health = 100;
  p->spawn_charge = 0;
  return 1;
}

int dead_pair_build(BOB_TYP* dead, BOB_TYP* laser) {
  if (!bob_create(dead, 0, 0, DEAD_WIDTH, DEAD_HEIGHT, DEAD_FRAMES, SPRITE_ATTRIBUTES,
                  SYSTEM_MEMORY, 0, 8))
    return 0;
  if (!bob_create(laser, 0, 0, LASER_SIZE, LASER_SIZE, LASER_FRAMES, SPRITE_ATTRIBUTES,
                  SYSTEM_MEMORY, 0, 8))
    return 0;
  // Frame 0 the horizontal beam (beside an actor facing east or west), 1 the vertical one.
  bitmap_unload_file(&work_bitmap);
  bitmap_load_file(&work_bitmap, "laser.bmp");
  bob_load_frame(laser, &work_bitmap, 0, LASER_CELLS[0][0], LASER_CELLS[0][1], 0);
  bob_load_frame(laser, &work_bitmap, 1, LASER_CELLS[1][0], LASER_CELLS[1][1], 0);
  bitmap_unload_file(&work_bitmap);
  // The dead face four ways only: the odd groups stay blank and no sequence shows them.
  for (int d = 0; d <= 6; d += 2) {
    read_sheet("DEDSP%d.BMP", d);
    load_group(dead, d, DEAD_CELLS);
    bitmap_unload_file(&work_bitmap);
    bob_add_sequence(dead, d, 4, skeleton_sequences[d]);
  }
  return 1;
}
