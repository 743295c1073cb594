// New actors: hostile skeletons from a random edge or corner on eight spawn slots whose periods
// shrink, dead actors with their lasers at fixed points of the slots' progress, and the facing
// and starting values every new actor gets.
#pragma once
#include "engine/graphics/bob.h"

// The walking sequence of a heading (whole degrees, clockwise on screen) in 45-degree sectors.
int sector_sequence(int heading);
// The facing a dead actor is spawned with: 0, 2, 4 or 6 (315 counts as east here).
int dead_spawn_sequence(int heading);

// Where an actor of size w x h enters at edge 0..7 of the arena (fixed 640 x 480 numbers).
void edge_position(int edge, int w, int h, int* x, int* y);
// A random heading into the arena from edge 0..7 (one random_next() draw).
int edge_heading(int edge);

// Velocity 2 pixels per frame along the heading.
void set_heading_velocity(BOB_TYP* actor, int heading);
// What every new skeleton-type actor starts with: the sequence of its heading, the heading,
// a full wander timer, health 100, strike ready, no attack pose.
void skeleton_tail(BOB_TYP* skeleton, int heading);

// Appends one hostile skeleton at a random edge. 0 when its sprite cannot be made (the zeroed
// record stays and the next update removes it).
int spawn_edge_skeleton();
// Appends one dead actor and its laser at a random edge. 1, or 0 when a sprite cannot be made.
int spawn_dead_pair();

// Counts every active slot down by the frame's step; a slot that runs out spawns a skeleton, its
// period shrinks by 5 ms (the overshoot is dropped), its second spawn brings a dead pair and its
// fifth switches the next slot on with a dead pair.
void update_spawn_timers();
