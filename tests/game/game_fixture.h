// A fresh world on a stopped virtual clock (every timer step exactly 30 ms), and bare actors:
// records with a box and health but no sprite, which is all the rules look at.
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

// A still actor that will not turn for ages, its strike neither ready nor just made.
inline BOB_TYP bare(float x, float y, int w, int h, int health) {
  BOB_TYP a{};
  a.x = x;
  a.y = y;
  a.width = w;
  a.height = h;
  a.health = health;
  a.turn_timer = 1 << 20;
  a.attack_timer = 500;
  a.action_timer = 150;
  return a;
}

// Appenders; a pointer is good until its list grows.
inline BOB_TYP* put_skeleton(float x, float y, int health = 100) {
  return &(*actor_add(&skeleton_list) = bare(x, y, 56, 72, health));
}
inline BOB_TYP* put_summon(float x, float y, int health = 100) {
  return &(*actor_add(&summon_list) = bare(x, y, 56, 72, health));
}
// The player (element 0) with the real walking and wound sequences.
inline BOB_TYP* put_player(float x, float y, int health) {
  BOB_TYP* p = put_skeleton(x, y, health);
  p->attributes = ATTR_SEQUENCED;
  p->anim_period = 4;
  for (int d = 0; d <= 8; ++d) bob_add_sequence(p, d, 4, skeleton_sequences[d]);
  return p;
}
// A dead actor facing `sequence`, its laser ready and its laser box at (lx, ly).
inline BOB_TYP* put_dead(float x, float y, int sequence, float lx, float ly) {
  const int k = dead_pair_add();
  laser_list[k] = bare(lx, ly, 150, 150, 0);
  BOB_TYP* d = &(dead_list[k] = bare(x, y, 72, 80, 100));
  d->sequence = sequence;
  d->attack_timer = 1000;
  return d;
}

// Several figures checked at once, printed together when they differ.
using V = std::vector<int>;
inline int count(const std::vector<BOB_TYP>& list) { return static_cast<int>(list.size()); }
