// A minute of play from a fixed seed, with the real sprite files, ends the same way every run:
// once with no input, once with a key script through the player's steps in the frame's order.
#include "tests/game/game_fixture.h"

#include <unistd.h>

#include <filesystem>

#include "game/actor_rules.h"
#include "game/player.h"
#include "game/spawn.h"
#include "game/updates.h"
#include "platform/keys.h"

namespace {

constexpr int kFrames = 2000;  // 60 s of 30 ms frames

struct END_TYP {
  int skeletons, summons, pairs, score, health;
  bool operator==(const END_TYP&) const = default;
};

std::ostream& operator<<(std::ostream& out, const END_TYP& e) {
  return out << "skeletons " << e.skeletons << ", summons " << e.summons << ", pairs " << e.pairs
             << ", score " << e.score << ", health " << e.health;
}

class Determinism : public GameRules {
 protected:
  void SetUp() override {
    GameRules::SetUp();
    old_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(ASHFALLOW_DATA_DIR);
  }
  void TearDown() override {
    GameRules::TearDown();
    std::filesystem::current_path(old_dir_);
  }
  std::filesystem::path old_dir_;
};

// The start of a game: the player, then the first dead pair.
void start(unsigned seed) {
  world_reset();
  std::srand(seed);
  ASSERT_EQ(player_create(nullptr), 1);
  ASSERT_EQ(spawn_dead_pair(), 1);
}

// The end of a frame: the health clamp, then the drawing step's laser placement.
void end_frame() {
  if (player()->health < 0) player()->health = 0;
  for (size_t i = 0; i < dead_list.size(); ++i) {
    if (dead_list[i].health > 0) place_laser(static_cast<int>(i));
  }
}

void actor_updates() {
  update_skeletons();
  update_summons();
  update_dead_actors();
  update_spawn_timers();
}

END_TYP end_state() {
  return {static_cast<int>(skeleton_list.size()) - 1, static_cast<int>(summon_list.size()),
          static_cast<int>(dead_list.size()), score, player()->health};
}

END_TYP run_without_input() {
  start(2026);
  player()->attack_timer = 1000;  // never pressed, so it never strikes
  for (int frame = 0; frame < kFrames; ++frame) {
    actor_updates();
    end_frame();
  }
  EXPECT_EQ(laser_list.size(), dead_list.size());
  return end_state();
}

// Space held from the second second on; a walk around the middle, 100 frames each way (right,
// down, left, up); one summoning at frame 900.
void script_keys(int frame, uint8_t* keys, bool* space) {
  static const int kWalk[4] = {DIK_RIGHT, DIK_DOWN, DIK_LEFT, DIK_UP};
  for (int k : kWalk) keys[k] = 0;
  keys[kWalk[frame / 100 % 4]] = 0x80;
  keys[DIK_LSHIFT] = frame == 900 ? 0x80 : 0;
  *space = frame >= 33;
}

END_TYP run_script() {
  start(7);
  uint8_t keys[256] = {};
  for (int frame = 0; frame < kFrames; ++frame) {
    bool space = false;
    script_keys(frame, keys, &space);
    player_move_and_pose(keys);
    player_summon_key(keys);
    player_timers();
    update_difficulty();
    update_actor_poses();
    if (space) player_attack();
    player_drain();
    actor_updates();
    end_frame();
  }
  EXPECT_EQ(laser_list.size(), dead_list.size());
  return end_state();
}

TEST_F(Determinism, AMinuteWithoutInput) {
  const END_TYP first = run_without_input();
  EXPECT_EQ(run_without_input(), first);
  // Nothing the player does not strike scores; the hits and lasers wear it down to nothing.
  EXPECT_EQ(first, (END_TYP{7, 0, 2, 0, 0})) << first;
}

// Along the way the player kills skeletons and dead actors, absorbs a summon for health and
// falls in the last seconds.
TEST_F(Determinism, AMinuteOfScriptedPlay) {
  const END_TYP first = run_script();
  EXPECT_EQ(run_script(), first);
  EXPECT_EQ(first, (END_TYP{6, 0, 1, 3250, 0})) << first;
}

}  // namespace
