#include "game/actor_list.h"

#include <cstddef>
#include <cstring>

#include "game/world.h"

BOB_TYP* actor_add(std::vector<BOB_TYP>* list) {
  BOB_TYP record;
  std::memset(&record, 0, sizeof record);
  list->push_back(record);
  return &list->back();
}

int dead_pair_add() {
  actor_add(&dead_list);
  actor_add(&laser_list);
  return static_cast<int>(dead_list.size()) - 1;
}

void actor_remove(std::vector<BOB_TYP>* list, int index) {
  if (index < 0 || index >= static_cast<int>(list->size())) return;
  bob_destroy(&(*list)[index]);
  list->erase(list->begin() + index);
}

void dead_pair_remove(int index) {
  actor_remove(&dead_list, index);
  actor_remove(&laser_list, index);
}

void actor_list_clear(std::vector<BOB_TYP>* list) {
  for (BOB_TYP& record : *list) bob_destroy(&record);
  list->clear();
}

void dead_pairs_clear() {
  actor_list_clear(&dead_list);
  actor_list_clear(&laser_list);
}

int removal_scores() {
  if (skeleton_list.empty()) return 0;
  const BOB_TYP& player = skeleton_list[0];
  return player.attack_timer == 0 && (player.health > 0 || !summon_list.empty());
}

namespace {
// The score is judged after the erase: the player's strike and health as they stand then.
void step_back_and_score(int* index, int points) {
  --*index;
  if (removal_scores()) score += points;
}
}  // namespace

int actor_remove_if_no_health(std::vector<BOB_TYP>* list, int* index, int points) {
  if ((*list)[*index].health > 0) return 0;
  actor_remove(list, *index);
  step_back_and_score(index, points);
  return 1;
}

int dead_pair_remove_if_no_health(int* index) {
  if (dead_list[*index].health > 0) return 0;
  dead_pair_remove(*index);
  step_back_and_score(index, SCORE_DEAD);
  return 1;
}

namespace {
// Records removed by the sweep under way, in order (one sweep at a time; kept for its capacity).
std::vector<size_t> swept_out;
}  // namespace

ACTOR_SWEEP_TYP actor_sweep_begin(std::vector<BOB_TYP>* list, int first) {
  swept_out.clear();
  return {list, first > 0 ? static_cast<size_t>(first) : 0, 0};
}

int actor_sweep_next(ACTOR_SWEEP_TYP* sweep, int* index) {
  if (sweep->next >= sweep->list->size()) return 0;
  *index = static_cast<int>(sweep->next++);
  return 1;
}

int actor_sweep_count(const ACTOR_SWEEP_TYP* sweep) {
  return static_cast<int>(sweep->list->size() - sweep->removed);
}

int actor_sweep_remove_if_no_health(ACTOR_SWEEP_TYP* sweep, int index, int points) {
  BOB_TYP& record = (*sweep->list)[static_cast<size_t>(index)];
  if (record.health > 0) return 0;
  bob_destroy(&record);
  swept_out.push_back(static_cast<size_t>(index));
  ++sweep->removed;
  if (removal_scores()) score += points;
  return 1;
}

void actor_sweep_end(ACTOR_SWEEP_TYP* sweep) {
  std::vector<BOB_TYP>& list = *sweep->list;
  if (swept_out.empty()) return;
  // Each stretch of kept records between two removals moves up in one copy.
  BOB_TYP* records = list.data();
  size_t to = swept_out[0];
  for (size_t k = 0; k < swept_out.size(); ++k) {
    const size_t from = swept_out[k] + 1;
    const size_t end = k + 1 < swept_out.size() ? swept_out[k + 1] : list.size();
    std::memmove(static_cast<void*>(records + to), records + from, (end - from) * sizeof(BOB_TYP));
    to += end - from;
  }
  list.resize(to);
  swept_out.clear();
  sweep->removed = 0;
}
