// Summons: the player's allies. They wander like skeletons, decay faster, fight hostile skeletons
// and the dead, take skeletons' strikes and lasers, and can be absorbed by the player's strike.
#include <cstddef>

#include "engine/audio/sound.h"
#include "game/actor_list.h"
#include "game/actor_rules.h"
#include "game/collide.h"
#include "game/updates.h"
#include "game/world.h"

namespace {

// The player's strike trades a touching summon for half its health, capped at 100 (nothing is
// gained when that half equals twice the list's length).
void absorb(BOB_TYP* m) {
  BOB_TYP* p = &skeleton_list[0];
  if (!boxes_overlap(m, p) || p->health <= 0 || p->attack_timer != 0) return;
  if (m->health / 2 != 2 * static_cast<int>(skeleton_list.size())) p->health += m->health / 2;
  if (p->health > 100) p->health = 100;
  m->health = 0;
}

// Living hostile skeletons it touches: bodies push both back, a ready summon strikes the first,
// and every skeleton that struck this frame (whatever it aimed at) hurts it.
void fight_skeletons(BOB_TYP* m) {
  for (size_t j = 1; j < skeleton_list.size(); ++j) {
    BOB_TYP* s = &skeleton_list[j];
    if (!boxes_overlap(s, m) || s->health <= 0) continue;
    if (bodies_overlap(m, s)) {
      step_back(m);
      step_back(s);
    }
    if (m->attack_timer == 1000) {
      m->attack_timer = 0;
      s->health -= 50;
      play_sound(bat_sound_id, 0);
      m->action_timer = 0;
    }
    if (s->attack_timer == 0) {
      m->health -= 25;
      s->action_timer = 0;
    }
  }
}

void fight_dead(BOB_TYP* m) {
  for (size_t j = 0; j < dead_list.size(); ++j) {
    fire_laser(static_cast<int>(j), m, BEAM_NARROWING_SUMMON);
    BOB_TYP* d = &dead_list[j];
    if (boxes_overlap_dead(m, d)) {
      if (bodies_overlap_dead(m, d, DEAD_BODY_RIGHT_FOR_SUMMONS)) step_back(d);
      if (m->attack_timer == 1000) {
        m->attack_timer = 0;
        d->health -= 25;
        m->action_timer = 0;
        play_sound(bat_sound_id, 0);
      }
    }
  }
}

}  // namespace

void update_summons() {
  if (skeleton_list.empty()) return;  // no player: nothing to fight for
  for (int i = 0; i < static_cast<int>(summon_list.size()); ++i) {
    BOB_TYP* m = &summon_list[i];
    advance_skeleton_timers(m, 15);
    skeleton_wander(m);
    m->x += m->vel_x;
    m->y += m->vel_y;
    absorb(m);
    fight_skeletons(m);
    fight_dead(m);
    apply_wound_look(m);
    bounce_off_edges(m, &SKELETON_EDGE_TURNS);
    remove_if_dead(&summon_list, &i, SCORE_SUMMON);
  }
}
