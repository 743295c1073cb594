// Hostile skeletons: wander, decay, strike the player and the dead they touch, die to the
// player's strike, lasers, summons and their own decay.
#include <cstddef>

#include "engine/audio/sound.h"
#include "game/actor_list.h"
#include "game/actor_rules.h"
#include "game/collide.h"
#include "game/updates.h"
#include "game/world.h"

void skeleton_strike(int skeleton, int target) {
  skeleton_list[skeleton].action_timer = 0;
  if (target == STRIKE_PLAYER) {
    skeleton_list[0].health -= 15;
  } else {
    dead_list[target].health -= 25;
  }
}

namespace {

// Contact with the living player: bodies push apart, a ready skeleton strikes, and the player's
// strike this frame kills the skeleton for a health change that shrinks as the list grows.
void meet_player(int i) {
  BOB_TYP* s = &skeleton_list[i];
  BOB_TYP* p = &skeleton_list[0];
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
    if (s->attack_timer == 1000) {
      s->attack_timer = 0;
      skeleton_strike(i, STRIKE_PLAYER);
    }
    if (p->attack_timer == 0) {
      p->health += s->health / 2 - 2 * static_cast<int>(skeleton_list.size());
      s->health = 0;
    }
  }
  if (s->attack_timer == 0) play_sound(bat_sound_id, 0);
}

// The dead: a ready laser whose beam covers the skeleton fires; a touched dead actor is pushed
// back on body contact and struck when the skeleton is ready (only the first one it can).
void meet_dead(int i) {
  BOB_TYP* s = &skeleton_list[i];
  for (size_t j = 0; j < dead_list.size(); ++j) {
    fire_laser(static_cast<int>(j), s, BEAM_NARROWING);
    BOB_TYP* d = &dead_list[j];
    if (boxes_overlap_dead(s, d)) {
      if (bodies_overlap_dead(s, d, DEAD_BODY_RIGHT)) step_back(d);
      if (s->attack_timer == 1000) {
        s->attack_timer = 0;
        skeleton_strike(i, static_cast<int>(j));
        play_sound(bat_sound_id, 0);
      }
    }
  }
}

}  // namespace

void update_skeletons() {
  for (int i = 1; i < static_cast<int>(skeleton_list.size()); ++i) {
    BOB_TYP* s = &skeleton_list[i];
    advance_skeleton_timers(s, 10);
    skeleton_wander(s);
    s->x += s->vel_x;
    s->y += s->vel_y;
    meet_player(i);
    meet_dead(i);
    apply_wound_look(s);
    bounce_off_edges(s, &SKELETON_EDGE_TURNS);
    remove_if_dead(&skeleton_list, &i, SCORE_SKELETON);
  }
}
