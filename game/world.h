// The shared state of play: the four actor lists, the score, the player's last step, the sound
// ids, the spawn slots, the drain and the one bitmap record every sprite file is read into.
// Everything here is process-wide and touched only by the frame's thread.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/bob.h"

constexpr int SPAWN_SLOTS = 8;
constexpr int WOUND_SEQUENCE = 8;

// The arena every actor rule uses: fixed numbers, not the display's size.
constexpr int ARENA_WIDTH = 640;
constexpr int ARENA_HEIGHT = 480;

// Where the actors' timers stop, in ms of game time. A timer that has reached its limit is
// "full": a strike waits for a full attack_timer, the strike pose shows until action_timer is
// full, and a full damage_timer drains the player (or decays an actor) and starts again.
constexpr int STRIKE_READY_MS = 1000;  // attack_timer: a strike, or a dead actor's shot
constexpr int STRIKE_POSE_MS = 150;    // action_timer: the pose after a strike or a shot
constexpr int HEALTH_TICK_MS = 1500;   // damage_timer: one drain of the player, one decay
constexpr int WANDER_TURN_MS = 1500;   // turn_timer restarts here after a wander's turn
constexpr int CHARGE_FULL = 40000;     // the player's spawn_charge: four summons

// Element 0 is the player, then the hostile skeletons in order of arrival.
extern std::vector<BOB_TYP> skeleton_list;
// The player, element 0 of skeleton_list (which must not be empty).
inline BOB_TYP* player() { return &skeleton_list[0]; }
// The player's allies, in order of arrival.
extern std::vector<BOB_TYP> summon_list;
// The laser-firing dead; laser_list[k] is the beam of dead_list[k]. Change the two only through
// the pair calls of game/actor_list.h, which keep them the same length.
extern std::vector<BOB_TYP> dead_list;
extern std::vector<BOB_TYP> laser_list;

extern int score;                 // raised by removals while the player strikes
extern int step_x, step_y;        // the player's step this frame (-2, 0 or 2), taken back on contact
extern int bat_sound_id;          // "bat.WAV": every strike
extern int weapon_sound_id;       // "HWEAPON0.WAV": every laser shot
extern int spawn_period[SPAWN_SLOTS];  // ms between a slot's spawns; -1 while it is off
extern int spawn_timer[SPAWN_SLOTS];   // ms until a slot's next spawn
extern int drain_amount;          // health the player loses per drain tick (2, rising to 11)
extern int difficulty_timer;      // ms toward the next rise of the drain; survives a restart
extern bool summon_latch;         // Left Shift has been down since it last summoned
extern BMP_FILE_TYP work_bitmap;  // holds one sprite or screen file at a time
// Walking sequences 0-7 by facing ({4d, 4d+1, 4d, 4d+2}) and the wound look, row 8.
extern const int skeleton_sequences[9][4];

// The time step of every game timer: the time since this frame's clock started, plus the 30 ms
// frame period. Read afresh at each use, so two timers of one frame may step differently.
int frame_dt();

// Puts the spawn slots back to their values at load (slot 0 spawns at once, the rest are off).
void spawn_slots_reset();

// Every value back to its load value; the four lists are released and emptied. Tests start here.
void world_reset();
