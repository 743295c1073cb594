#include "game/player.h"

#include "engine/graphics/display.h"
#include "engine/random/random.h"
#include "game/actor_art.h"
#include "game/actor_list.h"
#include "game/actor_rules.h"
#include "game/spawn.h"
#include "game/world.h"
#include "platform/keys.h"

namespace {

constexpr int CHARGE_PER_SUMMON = 10000;
constexpr int DIFFICULTY_STEP_MS = 10000;
constexpr int DRAIN_MOST = 11;

struct ARROWS_TYP {
  int key_a, key_b;  // both must be down (key_b 0: one key)
  int dx, dy;
  int sequence;
};
// The first row whose keys are all down applies.
constexpr ARROWS_TYP ARROWS[8] = {
    {DIK_RIGHT, DIK_UP, 2, -2, 1}, {DIK_LEFT, DIK_UP, -2, -2, 3}, {DIK_LEFT, DIK_DOWN, -2, 2, 5},
    {DIK_RIGHT, DIK_DOWN, 2, 2, 7}, {DIK_RIGHT, 0, 2, 0, 0},      {DIK_LEFT, 0, -2, 0, 4},
    {DIK_UP, 0, 0, -2, 2},          {DIK_DOWN, 0, 0, 2, 6},
};

const ARROWS_TYP* arrows_down(const uint8_t* keys) {
  for (const ARROWS_TYP& row : ARROWS) {
    if (keys[row.key_a] && (row.key_b == 0 || keys[row.key_b])) return &row;
  }
  return nullptr;
}

}  // namespace

int player_create(const PALETTEENTRY* palette) {
  return player_sprite_build(actor_add(&skeleton_list), palette);
}

void update_wound_look() { apply_wound_look(player()); }

void player_move_and_pose(const uint8_t* keys) {
  BOB_TYP* p = player();
  p->moving = false;
  if (const ARROWS_TYP* row = arrows_down(keys)) {
    if (p->health > 0) {
      p->x += row->dx;
      p->y += row->dy;
      step_x = row->dx;
      step_y = row->dy;
      p->moving = true;
      if (p->sequence != row->sequence) bob_set_sequence(p, row->sequence);
    }
    update_wound_look();
  } else {
    step_x = step_y = 0;
  }
  if (p->moving) {
    bob_animate(p);
    // A step that left the screen is taken back on its own axis, so a diagonal slides. Only a
    // step outward is taken back: a player pushed past an edge by the actors it touched can
    // still walk back in.
    if ((p->x < 0 && step_x < 0) || (p->x > screen_width - p->width && step_x > 0)) p->x -= step_x;
    if ((p->y < 0 && step_y < 0) || (p->y > screen_height - p->height && step_y > 0)) p->y -= step_y;
    if (p->action_timer < STRIKE_POSE_MS && p->health <= 60) {
      bob_set_sequence(p, sector_sequence(p->direction));
      p->frame = attack_pose(p);
    }
  } else if (p->health > 0) {
    p->frame = stand_pose(p);
  } else {
    update_wound_look();
  }
}

void player_summon_key(const uint8_t* keys) {
  if (!keys[DIK_LSHIFT]) {
    summon_latch = false;
  } else if (!summon_latch) {
    summon_skeletons();
    summon_latch = true;
  }
}

void player_and_difficulty_timers() {
  BOB_TYP* p = player();
  p->attack_timer += frame_dt();
  p->action_timer += frame_dt();
  p->damage_timer += frame_dt();
  p->spawn_charge += frame_dt();
  difficulty_timer += frame_dt();
  cap_strike_timers(p);
  if (p->action_timer < STRIKE_POSE_MS) p->frame = attack_pose(p);
  // The player's drain waits at a full timer for player_drain; it never runs over.
  if (p->damage_timer > HEALTH_TICK_MS) p->damage_timer = HEALTH_TICK_MS;
  if (p->spawn_charge > CHARGE_FULL) p->spawn_charge = CHARGE_FULL;
}

void update_difficulty() {
  if (difficulty_timer <= DIFFICULTY_STEP_MS) return;
  difficulty_timer = 0;
  if (drain_amount < DRAIN_MOST) ++drain_amount;
}

void player_attack() {
  BOB_TYP* p = player();
  if (p->attack_timer >= STRIKE_READY_MS && p->health > 0) {
    p->attack_timer = 0;
    p->action_timer = 0;
  }
}

void player_drain() {
  BOB_TYP* p = player();
  if (p->damage_timer != HEALTH_TICK_MS) return;
  p->health -= drain_amount;
  p->damage_timer = 0;
}

void summon_skeletons() {
  actor_list_clear(&summon_list);
  for (int type = 0; type < 4; ++type) {
    if (player()->spawn_charge >= CHARGE_PER_SUMMON) {
      spawn_summon(type);
      player()->spawn_charge -= CHARGE_PER_SUMMON;
    }
  }
  player()->spawn_charge = 0;
}

int spawn_summon(int type) {
  BOB_TYP* m = actor_add(&summon_list);
  if (!skeleton_sprite_build(m)) return 0;
  const BOB_TYP* p = player();
  float x = p->x, y = p->y;
  int heading = 0;
  switch (type) {
    case 0:
      x += static_cast<float>(p->width);
      heading = random_next() % 120 - 60;
      if (heading < 0) heading += 360;
      break;
    case 1:
      x -= static_cast<float>(p->width);
      heading = 120 + random_next() % 120;
      break;
    case 2:
      y -= static_cast<float>(p->height);
      heading = 210 + random_next() % 120;
      break;
    default:
      y += static_cast<float>(p->height);
      heading = 30 + random_next() % 120;
      break;
  }
  bob_set_position(m, static_cast<int>(x), static_cast<int>(y));
  set_heading_velocity(m, heading);
  skeleton_tail(m, heading);
  return 1;
}
