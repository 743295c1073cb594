// A fresh world on a stopped virtual clock, so every timer step is exactly 30 ms, and bare actors
// for the rule tests: records with a box and health but no sprite (the rules never need one).
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/graphics/clock.h"
#include "engine/graphics/display.h"
#include "engine/math/trig.h"
#include "game/actor_list.h"
#include "game/world.h"
#include "platform/headless/headless.h"

class GameRules : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_reset();
    headless_set_tick_step(0);
    clock_start();
    screen_width = 640;
    screen_height = 480;
    build_trig_tables();
    world_reset();
    std::srand(1);
  }
  void TearDown() override {
    world_reset();
    headless_reset();
  }
};

// A still actor that does not turn for ages and whose strike is not ready.
inline int put(std::vector<BOB_TYP>* list, float x, float y, int w, int h, int health) {
  BOB_TYP* a = actor_add(list);
  a->x = x;
  a->y = y;
  a->width = w;
  a->height = h;
  a->health = health;
  a->turn_timer = 1 << 20;
  a->action_timer = 150;
  return static_cast<int>(list->size()) - 1;
}

// The player (element 0) with the real walking and wound sequences, neither ready nor striking.
inline BOB_TYP* put_player(float x, float y, int health) {
  put(&skeleton_list, x, y, 56, 72, health);
  BOB_TYP* p = &skeleton_list[0];
  p->attributes = ATTR_SEQUENCED;
  p->anim_period = 4;
  p->attack_timer = 500;
  p->turn_timer = 0;
  for (int d = 0; d <= 8; ++d) bob_add_sequence(p, d, 4, skeleton_sequences[d]);
  return p;
}

inline int put_skeleton(float x, float y, int health = 100) {
  return put(&skeleton_list, x, y, 56, 72, health);
}
inline int put_summon(float x, float y, int health = 100) {
  return put(&summon_list, x, y, 56, 72, health);
}

// A dead actor facing `sequence` with its laser box at (lx, ly), ready to fire.
inline int put_dead(float x, float y, int sequence, float lx, float ly) {
  const int k = dead_pair_add();
  BOB_TYP* d = &dead_list[k];
  d->x = x;
  d->y = y;
  d->width = 72;
  d->height = 80;
  d->health = 100;
  d->sequence = sequence;
  d->turn_timer = 1 << 20;
  d->attack_timer = 1000;
  d->action_timer = 150;
  BOB_TYP* l = &laser_list[k];
  l->x = lx;
  l->y = ly;
  l->width = l->height = 150;
  return k;
}

inline BOB_TYP* player() { return &skeleton_list[0]; }
