#include "game/spawn.h"

#include "engine/math/trig.h"
#include "engine/random/random.h"
#include "game/actor_art.h"
#include "game/actor_list.h"
#include "game/world.h"

namespace {

struct EDGE_TYP {
  int base;    // heading = base + random_next() % spread
  int spread;
};
// Right, left, top and bottom middles, then the top-right, bottom-left, top-left and
// bottom-right corners. Every heading points into the arena; edge 1 starts at -60 and wraps.
constexpr EDGE_TYP EDGES[8] = {{120, 120}, {-60, 120}, {30, 120}, {210, 120},
                               {120, 30},  {300, 30},  {0, 30},   {210, 30}};

constexpr int PERIOD_AT_SECOND_SPAWN = 4990;
constexpr int PERIOD_AT_FIFTH_SPAWN = 4975;

}  // namespace

int sector_sequence(int heading) {
  if (heading < 23 || heading > 337) return 0;
  if (heading <= 67) return 7;
  if (heading <= 112) return 6;
  if (heading <= 157) return 5;
  if (heading <= 202) return 4;
  if (heading <= 247) return 3;
  if (heading <= 292) return 2;
  return 1;
}

int dead_spawn_sequence(int heading) {
  if (heading < 46 || heading > 314) return 0;
  if (heading <= 135) return 6;
  if (heading <= 225) return 4;
  return 2;
}

void edge_position(int edge, int w, int h, int* x, int* y) {
  switch (edge) {
    case 0: *x = 640 - w; *y = 240 - h / 2; break;
    case 1: *x = 0; *y = 240 - h / 2; break;
    case 2: *x = 320 - w / 2; *y = 0; break;
    case 3: *x = 320 - w / 2; *y = 480 - h; break;
    case 4: *x = 640 - w; *y = 0; break;
    case 5: *x = 0; *y = 480 - h; break;
    case 6: *x = 0; *y = 0; break;
    default: *x = 640 - w; *y = 480 - h; break;
  }
}

int edge_heading(int edge) {
  const EDGE_TYP& row = EDGES[edge & 7];
  int heading = row.base + random_next() % row.spread;
  if (heading < 0) heading += 360;
  return heading;
}

void set_heading_velocity(BOB_TYP* actor, int heading) {
  bob_set_velocity(actor, 2 * cos_table[heading], 2 * sin_table[heading]);
}

namespace {
// The game fields every new actor starts with: its heading, a full wander timer and health, its
// strike ready and no strike pose.
void starting_fields(BOB_TYP* actor, int heading) {
  actor->direction = heading;
  actor->turn_timer = WANDER_TURN_MS;
  actor->health = 100;
  actor->spare_int = -2;
  actor->attack_timer = STRIKE_READY_MS;
  actor->action_timer = STRIKE_POSE_MS;
}
}  // namespace

void skeleton_tail(BOB_TYP* s, int heading) {
  bob_set_sequence(s, sector_sequence(heading));
  starting_fields(s, heading);
}

int spawn_edge_skeleton() {
  const int edge = random_next() % 8;
  BOB_TYP* s = actor_add(&skeleton_list);
  if (!skeleton_sprite_build(s)) return 0;
  int x = 0, y = 0;
  edge_position(edge, s->width, s->height, &x, &y);
  bob_set_position(s, x, y);
  const int heading = edge_heading(edge);
  set_heading_velocity(s, heading);
  skeleton_tail(s, heading);
  return 1;
}

int spawn_dead_pair() {
  const int edge = random_next() % 8;
  const int index = dead_pair_add();
  BOB_TYP* dead = &dead_list[index];
  if (!dead_pair_build(dead, &laser_list[index])) return 0;
  int x = 0, y = 0;
  edge_position(edge, DEAD_WIDTH, DEAD_HEIGHT, &x, &y);
  bob_set_position(dead, x, y);
  const int heading = edge_heading(edge);
  set_heading_velocity(dead, heading);
  bob_set_sequence(dead, 0);
  bob_set_anim_period(dead, 8);
  bob_set_sequence(dead, dead_spawn_sequence(heading));
  starting_fields(dead, heading);
  return 1;
}

void update_spawn_timers() {
  for (int i = 0; i < SPAWN_SLOTS; ++i) {
    if (spawn_period[i] != -1) spawn_timer[i] -= frame_dt();
    if (spawn_timer[i] >= 0) continue;
    spawn_period[i] -= 5;
    spawn_timer[i] = spawn_period[i];
    spawn_edge_skeleton();
    if (spawn_period[i] == PERIOD_AT_FIFTH_SPAWN && i < SPAWN_SLOTS - 1) {
      spawn_period[i + 1] = 5000;
      spawn_dead_pair();
    }
    if (spawn_period[i] == PERIOD_AT_SECOND_SPAWN) spawn_dead_pair();
  }
}
