#include "game/collide.h"

#include "game/actor_art.h"
#include "game/world.h"

namespace {

int overlap(double ax, double ay, int aw, int ah, double bx, double by, int bw, int bh) {
  return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

}  // namespace

int boxes_overlap(const BOB_TYP* a, const BOB_TYP* b) {
  return overlap(a->x, a->y, a->width, a->height, b->x, b->y, b->width, b->height);
}

int boxes_overlap_dead(const BOB_TYP* a, const BOB_TYP* dead) {
  return overlap(a->x, a->y, a->width, a->height, dead->x, dead->y, DEAD_WIDTH, DEAD_HEIGHT);
}

int bodies_overlap(const BOB_TYP* a, const BOB_TYP* b) {
  const double ax = a->x, ay = a->y, bx = b->x, by = b->y;
  return ax + a->width - 12 > bx + 12 && ax + 12 < bx + b->width - 12 &&
         by < ay + a->height / 2 && ay < by + b->height / 2;
}

int bodies_overlap_dead(const BOB_TYP* a, const BOB_TYP* dead, int right_bound) {
  const double ax = a->x, ay = a->y, dx = dead->x, dy = dead->y;
  return ax + a->width - 12 > dx + 7 && ax + 12 < dx + right_bound && dy < ay + a->height / 2 &&
         ay < dy + DEAD_HEIGHT / 2;
}

int beam_hits(const BOB_TYP* laser, const BOB_TYP* target, int owner_sequence, int narrowing) {
  const double lx = laser->x, ly = laser->y, tx = target->x, ty = target->y;
  if ((owner_sequence / 2) % 2 == 0) {
    return lx < tx + target->width - narrowing && tx + narrowing < lx + laser->width &&
           ty + target->height > ly + 72 && ty < ly + 75;
  }
  return tx + target->width > lx + 72 && tx < lx + 75 && ly < ty + target->height &&
         ty < ly + laser->height;
}

void step_back(BOB_TYP* actor) {
  actor->x -= actor->vel_x;
  actor->y -= actor->vel_y;
}

void player_step_back(BOB_TYP* player) {
  player->x -= static_cast<float>(step_x);
  player->y -= static_cast<float>(step_y);
}
