#include "game/actor_list.h"

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
