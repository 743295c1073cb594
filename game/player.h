// The player: element 0 of skeleton_list. The play pass calls these steps at their places, in
// this order: movement and pose, summon key, timers and the difficulty rule, attack key, drain.
// Keys come in as the 256-byte keyboard state (non-zero: down).
#pragma once
#include <cstdint>

#include "engine/graphics/bob.h"
#include "platform/types.h"

// Appends the player to skeleton_list and builds its sprite (see player_sprite_build). 0 when the
// sprite cannot be made; the zero-filled record then stays as element 0.
int player_create(const PALETTEENTRY* palette);

// Arrow keys: a step of 2 pixels in eight directions (Right beats Left, Up beats Down), kept
// inside the screen one axis at a time; walking, standing and wound poses.
void player_move_and_pose(const uint8_t* key_state);
// The wound look on the player.
void update_wound_look();
// Left Shift: one summoning per press, whatever the player's health.
void player_summon_key(const uint8_t* key_state);
// The player's strike, pose, drain and charge timers grow by the frame's step, then the
// difficulty timer (each reads the step afresh); then the limits of world.h and the strike pose.
void player_and_difficulty_timers();
// Every 10000 ms of play the drain rises by one, up to 11.
void update_difficulty();
// Space down now: a full strike timer and a living player strike (both timers restart at 0).
void player_attack();
// A full drain timer costs drain_amount health.
void player_drain();

// Clears the summons and calls up one ally of each type 0..3 for every full 10000 of the charge;
// the rest of the charge is lost.
void summon_skeletons();
// One ally of `type` (0 right of the player, 1 left, 2 above, 3 below) heading away from it.
// 1, or 0 when its sprite cannot be made.
int spawn_summon(int type);
