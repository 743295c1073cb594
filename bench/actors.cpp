// The actors' cost per frame: one update_skeletons pass at 50, 200 and 1,000 skeletons (16 dead
// pairs), a full set of updates at the game's busy size (200 skeletons, 4 summons, 16 dead
// pairs), one death's erase at 2,000 skeletons, and one spawn_edge_skeleton (nine sheet reads,
// 36 surfaces). Each is reported against a baseline in the same run: the updates against copying
// the lists they walk (the memory they touch), the erase against one update pass over the same
// 2,000 without deaths, the spawn against reading its nine files with fread. The per-call times set against the
// 30 ms frame are in the table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "bench/ratio_report.h"
#include "engine/graphics/clock.h"
#include "engine/math/trig.h"
#include "game/actor_art.h"
#include "game/actor_list.h"
#include "game/spawn.h"
#include "game/updates.h"
#include "game/world.h"
#include "platform/headless/headless.h"

namespace {

// Actors that never die (so every pass does the same work), spread over the arena.
void add_actor(std::vector<BOB_TYP>* list, int width, int height) {
  BOB_TYP* a = actor_add(list);
  a->width = width;
  a->height = height;
  a->x = static_cast<float>(std::rand() % (640 - width));
  a->y = static_cast<float>(std::rand() % (480 - height));
  a->direction = std::rand() % 360;
  set_heading_velocity(a, a->direction);
  a->health = 1 << 30;
  a->turn_timer = 1500;
  a->attack_timer = 1000;
  a->action_timer = 150;
  a->sequence = sector_sequence(a->direction);
}

void set_up_field(int skeletons, int summons, int dead_pairs) {
  world_reset();
  headless_reset();
  headless_set_tick_step(0);
  build_trig_tables();
  std::srand(1);
  clock_start();
  add_actor(&skeleton_list, 56, 72);  // the player
  skeleton_list[0].attack_timer = 500;
  for (int i = 0; i < skeletons; ++i) add_actor(&skeleton_list, 56, 72);
  for (int i = 0; i < summons; ++i) add_actor(&summon_list, 56, 72);
  for (int i = 0; i < dead_pairs; ++i) {
    const int k = dead_pair_add();
    dead_list.pop_back();
    add_actor(&dead_list, 72, 80);
    laser_list[k].width = laser_list[k].height = 150;
  }
}

template <int N>
void BM_UpdateSkeletons(benchmark::State& state) {
  set_up_field(N, 0, 16);
  for (auto _ : state) update_skeletons();
  world_reset();
}
BENCHMARK_TEMPLATE(BM_UpdateSkeletons, 50)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_UpdateSkeletons, 200)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_UpdateSkeletons, 1000)->Unit(benchmark::kMicrosecond);

template <int N>
void BM_CopyLists(benchmark::State& state) {
  set_up_field(N, 0, 16);
  std::vector<BOB_TYP> copy(skeleton_list.size() + 2 * dead_list.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), skeleton_list.data(), skeleton_list.size() * sizeof(BOB_TYP));
    std::memcpy(copy.data() + skeleton_list.size(), dead_list.data(), dead_list.size() * sizeof(BOB_TYP));
    benchmark::ClobberMemory();
  }
  world_reset();
}
BENCHMARK_TEMPLATE(BM_CopyLists, 50)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_CopyLists, 200)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_CopyLists, 1000)->Unit(benchmark::kMicrosecond);

BENCHMARK_TEMPLATE(BM_UpdateSkeletons, 2000)->Unit(benchmark::kMicrosecond);

// One death at 2,000 actors: the erase from the middle of the list (the average place), every
// record after it moving down one. The record is put back at the end so each pass erases from a
// list of the same length.
void BM_EraseOneOf2000(benchmark::State& state) {
  set_up_field(2000, 0, 16);
  for (auto _ : state) {
    actor_remove(&skeleton_list, static_cast<int>(skeleton_list.size()) / 2);
    add_actor(&skeleton_list, 56, 72);
    benchmark::ClobberMemory();
  }
  world_reset();
}
BENCHMARK(BM_EraseOneOf2000)->Unit(benchmark::kMicrosecond);

void BM_AllUpdates(benchmark::State& state) {
  set_up_field(200, 4, 16);
  for (auto _ : state) {
    update_skeletons();
    update_summons();
    update_dead_actors();
  }
  world_reset();
}
BENCHMARK(BM_AllUpdates)->Unit(benchmark::kMicrosecond);

void BM_AllUpdatesCopy(benchmark::State& state) {
  set_up_field(200, 4, 16);
  std::vector<BOB_TYP> copy(skeleton_list.size() + summon_list.size() + 2 * dead_list.size());
  for (auto _ : state) {
    BOB_TYP* at = copy.data();
    for (const auto* list : {&skeleton_list, &summon_list, &dead_list, &laser_list}) {
      std::memcpy(at, list->data(), list->size() * sizeof(BOB_TYP));
      at += list->size();
    }
    benchmark::ClobberMemory();
  }
  world_reset();
}
BENCHMARK(BM_AllUpdatesCopy)->Unit(benchmark::kMicrosecond);

// A spawn as the game makes it: the player's sprite, cut from the same sheets, stands in the
// field. Without it (the Alone case) nothing else holds the frames, so every spawn makes all 36
// of them again; the game never spawns with no player.
void spawn_and_remove(benchmark::State& state) {
  for (auto _ : state) {
    spawn_edge_skeleton();
    state.PauseTiming();
    actor_remove(&skeleton_list, static_cast<int>(skeleton_list.size()) - 1);
    state.ResumeTiming();
  }
}

void BM_SpawnEdgeSkeleton(benchmark::State& state) {
  if (chdir(ASHFALLOW_DATA_DIR) != 0) state.SkipWithError("no data folder");
  set_up_field(0, 0, 0);
  if (!player_sprite_build(&skeleton_list[0], nullptr)) state.SkipWithError("no player sprite");
  spawn_and_remove(state);
  world_reset();
}
BENCHMARK(BM_SpawnEdgeSkeleton)->Unit(benchmark::kMicrosecond);

void BM_SpawnEdgeSkeletonAlone(benchmark::State& state) {
  if (chdir(ASHFALLOW_DATA_DIR) != 0) state.SkipWithError("no data folder");
  set_up_field(0, 0, 0);
  spawn_and_remove(state);
  world_reset();
}
BENCHMARK(BM_SpawnEdgeSkeletonAlone)->Unit(benchmark::kMicrosecond);

void BM_FreadNineSheets(benchmark::State& state) {
  if (chdir(ASHFALLOW_DATA_DIR) != 0) state.SkipWithError("no data folder");
  std::vector<char> buffer(1 << 20);
  for (auto _ : state) {
    for (int d = 0; d <= 8; ++d) {
      char name[32];
      std::snprintf(name, sizeof name, "SKELSP%d.BMP", d);
      if (FILE* f = std::fopen(name, "rb")) {
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), f));
        std::fclose(f);
      }
    }
  }
}
BENCHMARK(BM_FreadNineSheets)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  const BENCH_PAIR_TYP pairs[] = {
      {"update_skeletons, 50", "BM_UpdateSkeletons<50>", "BM_CopyLists<50>"},
      {"update_skeletons, 200", "BM_UpdateSkeletons<200>", "BM_CopyLists<200>"},
      {"update_skeletons, 1000", "BM_UpdateSkeletons<1000>", "BM_CopyLists<1000>"},
      {"all updates, 200/4/16", "BM_AllUpdates", "BM_AllUpdatesCopy"},
      {"one death's erase vs update, 2000", "BM_EraseOneOf2000", "BM_UpdateSkeletons<2000>"},
      {"spawn_edge_skeleton", "BM_SpawnEdgeSkeleton", "BM_FreadNineSheets"},
      {"spawn_edge_skeleton, no player", "BM_SpawnEdgeSkeletonAlone", "BM_FreadNineSheets"},
  };
  bench_run_with_ratios(&argc, argv, pairs, static_cast<int>(sizeof pairs / sizeof pairs[0]));
}
