// Contact between actors: a plain touch of boxes, body contact (narrowed sides, upper halves), and
// a laser beam through the middle of its box. Sums are formed in double from the float positions
// and int sizes; heights are halved by integer division.
#pragma once
#include "engine/graphics/bob.h"

// The right bound of a dead actor's narrowed body: 62 for skeletons and the player, 60 as the
// summons measure it.
constexpr int DEAD_BODY_RIGHT = 62;
constexpr int DEAD_BODY_RIGHT_FOR_SUMMONS = 60;
// Beam narrowing of a target's sides: skeletons and the player, and summons.
constexpr int BEAM_NARROWING = 12;
constexpr int BEAM_NARROWING_SUMMON = 0;

// The boxes overlap, each side strictly (boxes that share only an edge do not touch).
int boxes_overlap(const BOB_TYP* a, const BOB_TYP* b);
// The same with b a dead actor, whose box is always 72 x 80.
int boxes_overlap_dead(const BOB_TYP* a, const BOB_TYP* dead);
// Body contact: both boxes narrowed by 12 at each side, only their upper halves count.
int bodies_overlap(const BOB_TYP* a, const BOB_TYP* b);
// Body contact with a dead actor: its body spans x + 7 .. x + right_bound and its upper 40 rows.
int bodies_overlap_dead(const BOB_TYP* a, const BOB_TYP* dead, int right_bound);
// The beam of `laser` crosses the target: horizontal when the owner's sequence faces east or west
// (rows 72 to 75 of the laser's box), vertical otherwise (columns 72 to 75). `narrowing` trims the
// target's sides against a horizontal beam.
int beam_hits(const BOB_TYP* laser, const BOB_TYP* target, int owner_sequence, int narrowing);

// An actor undoes its last move by its velocity.
void step_back(BOB_TYP* actor);
// The player undoes its last step.
void player_step_back(BOB_TYP* player);
