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
  BOB_TYP* p = player();
  if (!boxes_overlap(m, p) || p->health <= 0 || p->attack_timer != 0) return;
  if (m->health / 2 != 2 * static_cast<int>(skeleton_list.size())) p->health += m->health / 2;
  if (p->health > 100) p->health = 100;
  m->health = 0;
}

// A summon fights every living skeleton it touches, but its own ready strike lands on the first
// only; a skeleton that struck anything this frame hurts it too.
void fight_skeletons(BOB_TYP* m) {
  for (size_t j = 1; j < skeleton_list.size(); ++j) {
    BOB_TYP* s = &skeleton_list[j];
    if (!boxes_overlap(s, m) || s->health <= 0) continue;
    if (bodies_overlap(m, s)) {
      step_back(m);
      step_back(s);
    }
    if (m->attack_timer == STRIKE_READY_MS) {
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

void summon_strike(int summon, int dead) {
  summon_list[summon].action_timer = 0;
  dead_list[dead].health -= 25;
}

// Summons stand a little wider in a beam than skeletons do, and measure the dead narrower.
const DEAD_CONTACT_TYP SUMMON_AMONG_DEAD = {BEAM_NARROWING_SUMMON, DEAD_BODY_RIGHT_FOR_SUMMONS,
                                            summon_strike};

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
    meet_the_dead(&summon_list, i, &SUMMON_AMONG_DEAD);
    apply_wound_look(m);
    bounce_off_edges(m, &SKELETON_EDGE_TURNS);
    actor_remove_if_no_health(&summon_list, &i, SCORE_SUMMON);
  }
}
