#include "game/world.h"

#include <cstring>

#include "engine/graphics/clock.h"
#include "game/actor_list.h"

std::vector<BOB_TYP> skeleton_list;
std::vector<BOB_TYP> summon_list;
std::vector<BOB_TYP> dead_list;
std::vector<BOB_TYP> laser_list;

int score = 0;
int step_x = 0, step_y = 0;
int bat_sound_id = -1;
int weapon_sound_id = -1;
int spawn_period[SPAWN_SLOTS] = {5000, -1, -1, -1, -1, -1, -1, -1};
int spawn_timer[SPAWN_SLOTS] = {0, 5000, 5000, 5000, 5000, 5000, 5000, 5000};
int drain_amount = 2;
int difficulty_timer = 0;
bool summon_latch = false;
BMP_FILE_TYP work_bitmap;

const int skeleton_sequences[9][4] = {
    {0, 1, 0, 2},     {4, 5, 4, 6},     {8, 9, 8, 10},    {12, 13, 12, 14}, {16, 17, 16, 18},
    {20, 21, 20, 22}, {24, 25, 24, 26}, {28, 29, 28, 30}, {32, 33, 34, 35},
};

int frame_dt() { return static_cast<int>(clock_get() - clock_start_tick) + 30; }

void spawn_slots_reset() {
  for (int i = 0; i < SPAWN_SLOTS; ++i) {
    spawn_period[i] = i == 0 ? 5000 : -1;
    spawn_timer[i] = i == 0 ? 0 : 5000;
  }
}

void world_reset() {
  dead_pairs_clear();
  actor_list_clear(&skeleton_list);
  actor_list_clear(&summon_list);
  score = 0;
  step_x = step_y = 0;
  bat_sound_id = weapon_sound_id = -1;
  spawn_slots_reset();
  drain_amount = 2;
  difficulty_timer = 0;
  summon_latch = false;
  bitmap_unload_file(&work_bitmap);
  std::memset(&work_bitmap, 0, sizeof work_bitmap);
}
