// Hostile skeletons: wander, decay, strike the player and the dead they touch, die to the
// player's strike, lasers, summons and their own decay.
#include "engine/audio/sound.h"
#include "game/actor_list.h"
#include "game/actor_rules.h"
#include "game/collide.h"
#include "game/updates.h"
#include "game/world.h"

void skeleton_strike(int skeleton, int target) {
  skeleton_list[skeleton].action_timer = 0;
  if (target == STRIKE_PLAYER) {
    player()->health -= 15;
  } else {
    dead_list[target].health -= 25;
  }
}

namespace {

// The player's strike is worth less the more skeletons there are: half the skeleton's health
// less two for every skeleton in the list, the player included (`count`, the list's length with
// this pass's removals so far taken out).
void skeleton_meets_player(int i, int count) {
  BOB_TYP* s = &skeleton_list[i];
  BOB_TYP* p = player();
  if (!boxes_overlap(s, p)) {
    s->moving = true;
    return;
  }
  if (p->health > 0) {
    if (bodies_overlap(s, p)) {
      step_back(s);
      s->moving = false;
      player_step_back(p);
    }
    if (s->attack_timer == STRIKE_READY_MS) {
      s->attack_timer = 0;
      skeleton_strike(i, STRIKE_PLAYER);
    }
    if (p->attack_timer == 0) {
      p->health += s->health / 2 - 2 * count;
      s->health = 0;
    }
  }
  if (s->attack_timer == 0) play_sound(bat_sound_id, 0);
}

const DEAD_CONTACT_TYP SKELETON_AMONG_DEAD = {BEAM_NARROWING, DEAD_BODY_RIGHT, skeleton_strike};

}  // namespace

void update_skeletons() {
  ACTOR_SWEEP_TYP sweep = actor_sweep_begin(&skeleton_list, 1);
  for (int i = 0; actor_sweep_next(&sweep, &i);) {
    BOB_TYP* s = &skeleton_list[i];
    advance_skeleton_timers(s, 10);
    skeleton_wander(s);
    s->x += s->vel_x;
    s->y += s->vel_y;
    skeleton_meets_player(i, actor_sweep_count(&sweep));
    meet_the_dead(&skeleton_list, i, &SKELETON_AMONG_DEAD);
    apply_wound_look(s);
    bounce_off_edges(s, &SKELETON_EDGE_TURNS);
    actor_sweep_remove_if_no_health(&sweep, i, SCORE_SKELETON);
  }
  actor_sweep_end(&sweep);
}
