// The actor lists: records held by value, added zero-filled and created in place, removed with
// their frames released, cleared whole. The dead and their lasers are added, removed and cleared
// as pairs only, so laser k always belongs to dead actor k.
#pragma once
#include <cstddef>
#include <type_traits>
#include <vector>

#include "engine/graphics/bob.h"

// Records are copied bit for bit when a list grows or closes a gap.
static_assert(std::is_trivially_copyable_v<BOB_TYP>, "actor records must copy bit for bit");

// Score for removing each kind of actor while the player strikes.
constexpr int SCORE_SKELETON = 250;
constexpr int SCORE_SUMMON = 250;
constexpr int SCORE_DEAD = 1000;

// Appends a zero-filled record and returns it (valid until the list next grows).
BOB_TYP* actor_add(std::vector<BOB_TYP>* list);
// Appends a zero-filled dead actor and its laser; their common index.
int dead_pair_add();

// Releases and erases element index; later elements move down in order.
void actor_remove(std::vector<BOB_TYP>* list, int index);
void dead_pair_remove(int index);

// Releases every record and empties the list (both lists of the pairs).
void actor_list_clear(std::vector<BOB_TYP>* list);
void dead_pairs_clear();

// 1 when the player strikes this frame and either lives or has summons: a removal made now
// earns its score. Asked after the removed actor's erase.
int removal_scores();

// The removal at the end of an actor's update: when its health is 0 or less it is released and
// erased, `points` are added under the rule above, and the caller's index steps back so the
// element that moved into the slot is visited next. 1 when it was removed.
int actor_remove_if_no_health(std::vector<BOB_TYP>* list, int* index, int points);
// The same for a dead actor, which goes with its laser, for SCORE_DEAD.
int dead_pair_remove_if_no_health(int* index);

// A pass over a list that removes as it goes, as the loop above with actor_remove_if_no_health
// does, for lists where each visit looks only at the record visited (by whatever index it is
// given) and at records before it: each record is visited once, in order, where it lies; a
// removed record is released at once and its slot closed when the sweep ends, so the pass moves
// the records behind its first removal once instead of once per removal. Nothing may add to the
// list until the sweep ends.
struct ACTOR_SWEEP_TYP {
  std::vector<BOB_TYP>* list;
  size_t next;     // the next record to visit
  size_t removed;  // records removed so far in this pass
};
ACTOR_SWEEP_TYP actor_sweep_begin(std::vector<BOB_TYP>* list, int first);
// Gives the index of the next record; 0 when every record was visited.
int actor_sweep_next(ACTOR_SWEEP_TYP* sweep, int* index);
// The list's length as it would stand with the removals so far erased.
int actor_sweep_count(const ACTOR_SWEEP_TYP* sweep);
// actor_remove_if_no_health for the record just visited.
int actor_sweep_remove_if_no_health(ACTOR_SWEEP_TYP* sweep, int index, int points);
// Closes the gaps: the list holds the records kept, in order.
void actor_sweep_end(ACTOR_SWEEP_TYP* sweep);
