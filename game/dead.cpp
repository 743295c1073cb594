// The laser-firing dead: they turn by at most 45 degrees, face four ways, never decay, and fire
// along their facing whenever a target stands in the beam while the laser is ready.
#include "engine/audio/sound.h"
#include "game/actor_list.h"
#include "game/actor_rules.h"
#include "game/collide.h"
#include "game/updates.h"
#include "game/world.h"

namespace {

// The facing of a heading as the dead walk: 0 east, 6 south, 4 west, 2 north (315 is north).
int dead_facing(int heading) {
  if (heading <= 45 || heading >= 316) return 0;
  if (heading <= 135) return 6;
  if (heading <= 225) return 4;
  return 2;
}

// Only a living player pushes the dead back or strikes them.
void dead_meets_player(BOB_TYP* d) {
  BOB_TYP* p = player();
  if (!boxes_overlap_dead(p, d) || p->health <= 0) return;
  if (bodies_overlap_dead(p, d, DEAD_BODY_RIGHT)) {
    step_back(d);
    player_step_back(p);
  }
  if (p->attack_timer == 0) {
    d->health -= 25;
    play_sound(bat_sound_id, 0);
  }
}

}  // namespace

void update_dead_actors() {
  if (skeleton_list.empty()) return;  // no player: no game in progress
  for (int i = 0; i < static_cast<int>(dead_list.size()); ++i) {
    BOB_TYP* d = &dead_list[i];
    // The dead never decay: they keep no damage timer.
    d->turn_timer -= frame_dt();
    d->attack_timer += frame_dt();
    d->action_timer += frame_dt();
    cap_strike_timers(d);
    if (wander_turn(d, 90)) bob_set_sequence(d, dead_facing(d->direction));
    d->x += d->vel_x;
    d->y += d->vel_y;
    dead_meets_player(d);
    bounce_off_edges(d, &DEAD_EDGE_TURNS);
    // A dead player is no target: the laser stays ready.
    if (player()->health > 0) fire_laser(i, player(), BEAM_NARROWING);
    dead_pair_remove_if_no_health(&i);
  }
}

int fire_laser(int pair, BOB_TYP* target, int narrowing) {
  BOB_TYP* d = &dead_list[pair];
  if (!beam_hits(&laser_list[pair], target, d->sequence, narrowing) ||
      d->attack_timer != STRIKE_READY_MS)
    return 0;
  d->attack_timer = 0;
  d->action_timer = 0;
  target->health -= 25;
  play_sound(weapon_sound_id, 0);
  return 1;
}

void place_laser(int index) {
  const BOB_TYP* d = &dead_list[index];
  BOB_TYP* l = &laser_list[index];
  l->frame = (d->sequence / 2) % 2;
  switch (d->sequence) {
    case 0:
      l->x = d->x + d->width;
      l->y = d->y - 50;
      break;
    case 2:
      l->x = d->x - 39;
      l->y = d->y - l->height;
      break;
    case 4:
      l->x = d->x - l->width;
      l->y = d->y - 50;
      break;
    case 6:
      l->x = d->x - 39;
      l->y = d->y + d->height;
      break;
    default:
      break;
  }
}
