#include "game/actor_rules.h"

#include "engine/audio/sound.h"
#include "engine/random/random.h"
#include "game/collide.h"
#include "game/spawn.h"
#include "game/updates.h"
#include "game/world.h"

int stand_pose(const BOB_TYP* a) { return a->frame - a->frame % 4; }
int attack_pose(const BOB_TYP* a) { return a->frame - a->frame % 4 + 3; }

void cap_strike_timers(BOB_TYP* a) {
  if (a->attack_timer > STRIKE_READY_MS) a->attack_timer = STRIKE_READY_MS;
  if (a->action_timer > STRIKE_POSE_MS) a->action_timer = STRIKE_POSE_MS;
}

void advance_skeleton_timers(BOB_TYP* a, int decay) {
  a->attack_timer += frame_dt();
  a->action_timer += frame_dt();
  a->turn_timer -= frame_dt();
  a->damage_timer += frame_dt();
  cap_strike_timers(a);
  if (a->damage_timer > HEALTH_TICK_MS) {
    a->health -= decay;
    a->damage_timer = 0;
  }
}

int wrap_heading(int heading) {
  if (heading > 360) return heading - 360;
  if (heading < 0) return heading + 360;
  return heading;
}

int wander_turn(BOB_TYP* a, int spread) {
  if (a->turn_timer >= 0) return 0;
  a->turn_timer = WANDER_TURN_MS;
  a->direction = wrap_heading(a->direction + random_next() % spread - spread / 2);
  set_heading_velocity(a, a->direction);
  return 1;
}

void skeleton_wander(BOB_TYP* a) {
  if (wander_turn(a, 180) && a->health > 60) bob_set_sequence(a, sector_sequence(a->direction));
}

void apply_wound_look(BOB_TYP* a) {
  if (a->health > 30 && a->health <= 60) {
    bob_set_sequence(a, WOUND_SEQUENCE);
    a->sequence_pos = 0;
  }
  if (a->health > 10 && a->health <= 30) {
    bob_set_sequence(a, WOUND_SEQUENCE);
    a->sequence_pos = 1;
  }
  if (a->health <= 10) {
    bob_set_sequence(a, WOUND_SEQUENCE);
    a->sequence_pos = 2;
  }
}

#define NO_TURNS -1, -1, -1, -1, -1, -1, -1, -1
// Sequences by facing: 0 E, 1 NE, 2 N, 3 NW, 4 W, 5 SW, 6 S, 7 SE.
const EDGE_TURNS_TYP SKELETON_EDGE_TURNS = {
    {-1, -1, -1, 1, 0, 7, -1, -1, NO_TURNS},                           // left: NW>NE, W>E, SW>SE
    {4, 3, -1, -1, -1, -1, -1, 5, NO_TURNS},                           // right: E>W, NE>NW, SE>SW
    {-1, 7, 6, 5, -1, -1, -1, -1, NO_TURNS},                           // top: NE>SE, N>S, NW>SW
    {-1, -1, -1, -1, -1, 3, 2, 1, NO_TURNS},                           // bottom: SW>NW, S>N, SE>NE
};
const EDGE_TURNS_TYP DEAD_EDGE_TURNS = {
    {-1, -1, -1, -1, 0, -1, -1, -1, NO_TURNS},  // left: W>E
    {4, -1, -1, -1, -1, -1, -1, -1, NO_TURNS},  // right: E>W
    {-1, -1, 6, -1, -1, -1, -1, -1, NO_TURNS},  // top: N>S
    {-1, -1, -1, -1, -1, -1, 2, -1, NO_TURNS},  // bottom: S>N
};
#undef NO_TURNS

namespace {
void turn(BOB_TYP* a, const int (&table)[16]) {
  if (a->sequence < 0 || a->sequence >= 16 || table[a->sequence] < 0) return;
  bob_set_sequence(a, table[a->sequence]);
}
}  // namespace

void bounce_off_edges(BOB_TYP* a, const EDGE_TURNS_TYP* turns) {
  if (a->x < 0) {
    a->x = 0;
    a->vel_x = -a->vel_x;
    turn(a, turns->left);
  } else if (a->x > ARENA_WIDTH - a->width) {
    a->x = static_cast<float>(ARENA_WIDTH - a->width);
    a->vel_x = -a->vel_x;
    turn(a, turns->right);
  }
  if (a->y < 0) {
    a->y = 0;
    a->vel_y = -a->vel_y;
    turn(a, turns->top);
  } else if (a->y > ARENA_HEIGHT - a->height) {
    a->y = static_cast<float>(ARENA_HEIGHT - a->height);
    a->vel_y = -a->vel_y;
    turn(a, turns->bottom);
  }
}

void update_actor_poses() {
  for (size_t i = 1; i < skeleton_list.size(); ++i) {
    BOB_TYP* s = &skeleton_list[i];
    if (s->moving) {
      bob_animate(s);
    } else {
      s->frame = stand_pose(s);
    }
    if (s->action_timer < STRIKE_POSE_MS) s->frame = attack_pose(s);
  }
  for (BOB_TYP& m : summon_list) {
    bob_animate(&m);
    if (m.action_timer < STRIKE_POSE_MS) m.frame = attack_pose(&m);
  }
  for (BOB_TYP& d : dead_list) {
    bob_animate(&d);
    if (d.action_timer < STRIKE_POSE_MS) d.frame = attack_pose(&d);
  }
}

void meet_the_dead(std::vector<BOB_TYP>* list, int striker, const DEAD_CONTACT_TYP* contact) {
  BOB_TYP* a = &(*list)[striker];
  for (size_t j = 0; j < dead_list.size(); ++j) {
    fire_laser(static_cast<int>(j), a, contact->beam_narrowing);
    BOB_TYP* d = &dead_list[j];
    if (!boxes_overlap_dead(a, d)) continue;
    if (bodies_overlap_dead(a, d, contact->body_right)) step_back(d);
    if (a->attack_timer == STRIKE_READY_MS) {
      a->attack_timer = 0;
      contact->strike(striker, static_cast<int>(j));
      play_sound(bat_sound_id, 0);
    }
  }
}
