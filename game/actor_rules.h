// Rules the skeleton-type actors and the dead share: timers, wandering, poses, the wound look and
// bouncing off the arena's edges.
#pragma once
#include <vector>

#include "engine/graphics/bob.h"

// A facing group's first frame (standing) and fourth frame (striking).
int stand_pose(const BOB_TYP* actor);
int attack_pose(const BOB_TYP* actor);

// A strike timer stops when the strike is ready and a pose timer when the pose is over, so
// "ready" and "over" are tests of equality with the limits.
void cap_strike_timers(BOB_TYP* actor);
// Attack, action, wander and decay timers advance by the frame's step; then the strike and pose
// timers are capped, and a decay timer past its tick costs `decay` health and starts again.
void advance_skeleton_timers(BOB_TYP* actor, int decay);

// A heading turned past a whole circle comes back into 0..360: above 360 loses 360, below 0
// gains 360; 360 itself stays (the tables have an entry for it).
int wrap_heading(int heading);
// Below 0 the wander timer restarts at WANDER_TURN_MS and the heading turns by
// random_next() % spread - spread / 2, wrapped into 0..360 (360 itself stays); the velocity follows.
// 1 when it turned.
int wander_turn(BOB_TYP* actor, int spread);
// The skeleton-type wander: a turn of up to 90 degrees either way, the walk facing following the
// heading only while the actor looks healthy (health above 60).
void skeleton_wander(BOB_TYP* actor);

// The wounded sequence with its position by health band: 31..60, 11..30, 10 or less.
void apply_wound_look(BOB_TYP* actor);

// Which sequence becomes which when an actor bounces off each edge (-1: unchanged).
struct EDGE_TURNS_TYP {
  int left[16], right[16], top[16], bottom[16];
};
extern const EDGE_TURNS_TYP SKELETON_EDGE_TURNS;
extern const EDGE_TURNS_TYP DEAD_EDGE_TURNS;
// Clamps the actor into the arena, negating the velocity across the crossed edge and turning its
// sequence by the table; the heading is left as it was.
void bounce_off_edges(BOB_TYP* actor, const EDGE_TURNS_TYP* turns);

// The play pass's poses: hostile skeletons walk while moving and stand otherwise, summons and the
// dead always walk; anyone whose strike pose is not over shows the strike frame.
void update_actor_poses();

// How a skeleton-type actor meets the dead: how far a beam's narrowing trims its sides, where a
// dead actor's body ends as it measures it, and its strike (striker: its index in its own list).
struct DEAD_CONTACT_TYP {
  int beam_narrowing;
  int body_right;
  void (*strike)(int striker, int dead);
};
// Actor `striker` of `list` among the dead: every ready laser whose beam covers it fires at it;
// each dead actor it touches is pushed back on body contact, and struck while its strike is ready,
// which spends the strike (so only the first touched is struck).
void meet_the_dead(std::vector<BOB_TYP>* list, int striker, const DEAD_CONTACT_TYP* contact);
