// A minute of play from a fixed seed, with the real sprite files, ends the same way every run:
// once with no input, once with a key script through the player's steps in the frame's order.
#include <filesystem>

#include "game/actor_rules.h"
#include "game/player.h"
#include "game/spawn.h"
#include "game/updates.h"
#include "platform/keys.h"
#include "tests/game/game_fixture.h"

namespace {

constexpr int kFrames = 2000;  // 60 s of 30 ms frames

class Determinism : public GameRules {
 protected:
  void SetUp() override {
    GameRules::SetUp();
    std::filesystem::current_path(ASHFALLOW_DATA_DIR);
  }
  void TearDown() override {
    GameRules::TearDown();
    std::filesystem::current_path(old_dir_);
  }
  const std::filesystem::path old_dir_ = std::filesystem::current_path();
};

// A game starts with the player and one dead pair.
void start(unsigned seed) {
  world_reset();
  std::srand(seed);
  ASSERT_EQ(player_create(nullptr), 1);
  ASSERT_EQ(spawn_dead_pair(), 1);
}

// The rest of the frame: the actor updates, the health clamp, and the drawing step's lasers.
// Returns hostile skeletons, summons, dead pairs, score and the player's health.
V finish_frame() {
  update_skeletons();
  update_summons();
  update_dead_actors();
  update_spawn_timers();
  if (player()->health < 0) player()->health = 0;
  for (size_t i = 0; i < dead_list.size(); ++i) {
    if (dead_list[i].health > 0) place_laser(static_cast<int>(i));
  }
  EXPECT_EQ(laser_list.size(), dead_list.size());
  return {count(skeleton_list) - 1, count(summon_list), count(dead_list), score, player()->health};
}

V run_without_input() {
  start(2026);
  player()->attack_timer = 1000;  // Space never pressed: the player never strikes
  V end;
  for (int frame = 0; frame < kFrames; ++frame) end = finish_frame();
  return end;
}

// Space held from the second second on; a walk around the middle, 100 frames each way (right,
// down, left, up); one summoning at frame 900.
V run_script() {
  start(7);
  const int walk[4] = {DIK_RIGHT, DIK_DOWN, DIK_LEFT, DIK_UP};
  uint8_t keys[256] = {};
  V end;
  for (int frame = 0; frame < kFrames; ++frame) {
    for (int k : walk) keys[k] = 0;
    keys[walk[frame / 100 % 4]] = 0x80;
    keys[DIK_LSHIFT] = frame == 900 ? 0x80 : 0;
    player_move_and_pose(keys);
    player_summon_key(keys);
    player_and_difficulty_timers();
    update_difficulty();
    update_actor_poses();
    if (frame >= 33) player_attack();
    player_drain();
    end = finish_frame();
  }
  return end;
}

// Nothing scores while the player does not strike; hits and lasers wear it down to nothing.
TEST_F(Determinism, AMinuteWithoutInput) {
  const V first = run_without_input();
  EXPECT_EQ(run_without_input(), first);
  EXPECT_EQ(first, (V{7, 0, 2, 0, 0}));
}

// Along the way the player kills skeletons and dead actors, absorbs a summon for health and
// falls in the last seconds.
TEST_F(Determinism, AMinuteOfScriptedPlay) {
  const V first = run_script();
  EXPECT_EQ(run_script(), first);
  EXPECT_EQ(first, (V{6, 0, 1, 3250, 0}));
}

}  // namespace
