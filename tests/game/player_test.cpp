// The player's steps: arrows and screen bounds, poses, Space, Left Shift and summoning, the
// timers and the drain.
#include <algorithm>

#include "game/player.h"
#include "game/spawn.h"
#include "platform/keys.h"
#include "tests/game/game_fixture.h"

namespace {

using Player = GameRules;

enum { R = 1, L = 2, U = 4, D = 8 };

void set_arrows(uint8_t* keys, int arrows) {
  keys[DIK_RIGHT] = arrows & R ? 0x80 : 0;
  keys[DIK_LEFT] = arrows & L ? 0x80 : 0;
  keys[DIK_UP] = arrows & U ? 0x80 : 0;
  keys[DIK_DOWN] = arrows & D ? 0x80 : 0;
}

// Right beats Left, Up beats Down; a step off the screen is taken back on its own axis only.
TEST_F(Player, ArrowsStepInsideTheScreen) {
  const int cases[][6] = {{R | L | U, 300, 200, 302, 198, 1}, {U | D, 300, 200, 300, 198, 2},
                          {L, 0, 200, 0, 200, 4},             {R, 584, 200, 584, 200, 0},
                          {L | D, 0, 200, 0, 202, 5},         {U, 300, 0, 300, 0, 2},
                          {D, 300, 408, 300, 408, 6},         {R | U, 584, 0, 584, 0, 1},
                          {0, 300, 200, 300, 200, 3}};
  for (const auto& c : cases) {  // arrows, x, y, x after, y after, sequence after
    world_reset();
    BOB_TYP* p = put_player(c[1], c[2], 100);
    p->sequence = 3;
    uint8_t keys[256] = {};
    set_arrows(keys, c[0]);
    player_move_and_pose(keys);
    EXPECT_EQ((V{int(p->x), int(p->y), p->sequence}), (V{c[3], c[4], c[5]})) << "arrows " << c[0];
  }
}

TEST_F(Player, DeadPlayerStaysPutButStillSummons) {
  BOB_TYP* p = put_player(300, 200, 0);
  p->attack_timer = 1000;
  p->spawn_charge = 10000;
  uint8_t keys[256] = {};
  set_arrows(keys, R);
  keys[DIK_LSHIFT] = 0x80;
  player_move_and_pose(keys);
  player_summon_key(keys);
  player_attack();
  EXPECT_EQ((V{int(p->x), p->moving, p->attack_timer, count(summon_list)}), (V{300, 0, 1000, 1}));
}

// Held down, Space strikes each time the strike timer refills; a new player waits 1000 ms.
TEST_F(Player, SpaceHeldStrikesOncePerSecond) {
  put_player(300, 200, 100)->attack_timer = 0;
  std::vector<int> strikes;
  int strike_frame = -1;
  for (int frame = 1; frame <= 100; ++frame) {
    player_and_difficulty_timers();
    player_attack();
    if (player()->attack_timer == 0) strikes.push_back(frame);
    if (frame == 35) strike_frame = player()->frame;
  }
  EXPECT_EQ(strikes, (std::vector<int>{34, 68}));
  EXPECT_EQ(strike_frame, 3);  // the timers force the strike pose
}

// Each full 10000 of charge calls up the next type around the player (positions truncated toward
// zero), the old summons go and the rest of the charge is lost.
TEST_F(Player, SummoningSpendsTheCharge) {
  const int places[4][2] = {{76, 200}, {-35, 200}, {20, 128}, {20, 272}};
  const int headings[4][2] = {{300, 419}, {120, 239}, {210, 329}, {30, 149}};
  for (const int charge : {25000, 40000, 9999}) {
    world_reset();
    put_player(20.5f, 200.2f, 100)->spawn_charge = charge;
    put_summon(0, 0);
    summon_skeletons();
    ASSERT_EQ((V{count(summon_list), player()->spawn_charge}), (V{charge / 10000, 0}));
    for (size_t t = 0; t < summon_list.size(); ++t) {
      const BOB_TYP& m = summon_list[t];
      EXPECT_EQ((V{int(m.x), int(m.y)}), (V{places[t][0], places[t][1]})) << "type " << t;
      const int h = m.direction < headings[t][0] ? m.direction + 360 : m.direction;
      EXPECT_TRUE(h >= headings[t][0] && h <= headings[t][1]) << "type " << t << ": " << m.direction;
      EXPECT_EQ((V{m.sequence, m.health, m.attack_timer, m.turn_timer}),
                (V{sector_sequence(m.direction), 100, 1000, 1500}));
    }
  }
  // Left Shift held summons once; pressed again with the charge spent, it clears the summons.
  player()->spawn_charge = 20000;
  uint8_t keys[256] = {};
  keys[DIK_LSHIFT] = 0x80;
  player_summon_key(keys);
  player_summon_key(keys);
  EXPECT_EQ(summon_list.size(), 2u);
  keys[DIK_LSHIFT] = 0;
  player_summon_key(keys);
  keys[DIK_LSHIFT] = 0x80;
  player_summon_key(keys);
  EXPECT_TRUE(summon_list.empty());
}

// 2 every 1500 ms at first, 3 once 10000 ms of play have passed, never more than 11.
TEST_F(Player, DrainRisesWithPlay) {
  put_player(300, 200, 1000000);
  std::vector<int> losses, frames;
  for (int frame = 1; frame <= 4000; ++frame) {
    const int before = player()->health;
    player_and_difficulty_timers();
    update_difficulty();
    player_drain();
    if (player()->health == before) continue;
    losses.push_back(before - player()->health);
    frames.push_back(frame);
  }
  ASSERT_GE(losses.size(), 8u);
  // Ticks at frames 50, 100, ..., the seventh (frame 350) after 10 s of play.
  EXPECT_EQ((V{frames[0], frames[6], losses[0], losses[5], losses[6], losses.back()}),
            (V{50, 350, 2, 2, 3, 11}));
  EXPECT_LE(*std::max_element(losses.begin(), losses.end()), 11);
  // Exactly 10000 ms is not yet more than 10000.
  drain_amount = 2;
  difficulty_timer = 9970;
  player_and_difficulty_timers();
  update_difficulty();
  EXPECT_EQ(drain_amount, 2);
}

// At health 50 the walk settles on frame 33, standing shows 32, and a strike while walking 35
// in sequence 0.
TEST_F(Player, WoundedPoses) {
  BOB_TYP* p = put_player(300, 200, 50);
  p->attack_timer = 1000;
  uint8_t keys[256] = {};
  set_arrows(keys, R);
  for (int n = 0; n < 4; ++n) player_move_and_pose(keys);
  EXPECT_EQ((V{p->sequence, p->frame}), (V{8, 33}));
  set_arrows(keys, 0);
  player_move_and_pose(keys);
  EXPECT_EQ(p->frame, 32);
  player_attack();
  set_arrows(keys, R);
  player_move_and_pose(keys);
  EXPECT_EQ((V{p->sequence, p->frame}), (V{0, 35}));
}

}  // namespace
