// The three actor updates of a play pass, run in this order: hostile skeletons, summons, the dead
// (a skeleton's strike is seen by the summons in the same frame; a ready laser hits the first
// target found in that order and no other).
#pragma once

// Target of skeleton_strike: the player, else an index into dead_list.
constexpr int STRIKE_PLAYER = -1;

// Each needs the player as element 0 of skeleton_list; without it they leave everything as it is.
void update_skeletons();
void update_summons();
void update_dead_actors();

// Skeleton i strikes: its pose timer restarts and the player loses 15 or dead actor `target`
// loses 25. The caller has spent the strike (attack_timer 0) and plays the sound.
void skeleton_strike(int skeleton, int target);

// The laser of pair `pair` (dead_list and laser_list at that index) fires at `target` when the
// beam covers it (its sides narrowed by `narrowing`) and the laser is ready: the target loses 25
// and the laser is spent. 1 when it fired.
int fire_laser(int pair, BOB_TYP* target, int narrowing);

// Puts laser i beside its dead actor for the owner's facing and shows the matching beam; other
// sequences leave the laser where it was.
void place_laser(int index);
