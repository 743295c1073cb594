// The player's steps: arrows and screen bounds, the wound and strike poses, Space, Left Shift and
// summoning, the timers and the drain.
#include "tests/game/game_fixture.h"

#include "game/player.h"
#include "game/spawn.h"
#include "platform/keys.h"

namespace {

using Player = GameRules;

enum { R = 1, L = 2, U = 4, D = 8 };

void set_arrows(uint8_t* keys, int arrows) {
  keys[DIK_RIGHT] = arrows & R ? 0x80 : 0;
  keys[DIK_LEFT] = arrows & L ? 0x80 : 0;
  keys[DIK_UP] = arrows & U ? 0x80 : 0;
  keys[DIK_DOWN] = arrows & D ? 0x80 : 0;
}

// Right beats Left, Up beats Down; a step off the screen is taken back on its own axis.
TEST_F(Player, ArrowsStepInsideTheScreen) {
  const struct {
    int arrows;
    float x, y, x_after, y_after;
    int sequence;
  } cases[] = {{R | L | U, 300, 200, 302, 198, 1}, {U | D, 300, 200, 300, 198, 2},
               {L, 0, 200, 0, 200, 4},             {R, 584, 200, 584, 200, 0},
               {L | D, 0, 200, 0, 202, 5},         {U, 300, 0, 300, 0, 2},
               {D, 300, 408, 300, 408, 6},         {R | U, 584, 0, 584, 0, 1},
               {0, 300, 200, 300, 200, 3}};
  for (const auto& c : cases) {
    world_reset();
    BOB_TYP* p = put_player(c.x, c.y, 100);
    p->sequence = 3;
    uint8_t keys[256] = {};
    set_arrows(keys, c.arrows);
    player_move_and_pose(keys);
    EXPECT_EQ(p->x, c.x_after) << "arrows " << c.arrows;
    EXPECT_EQ(p->y, c.y_after) << "arrows " << c.arrows;
    EXPECT_EQ(p->sequence, c.sequence) << "arrows " << c.arrows;
    EXPECT_EQ(p->moving, c.arrows != 0);
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
  EXPECT_EQ(player()->x, 300);
  EXPECT_FALSE(player()->moving);
  EXPECT_EQ(player()->sequence, 8);
  EXPECT_EQ(player()->attack_timer, 1000);
  EXPECT_EQ(summon_list.size(), 1u);
}

// Held down, Space strikes each time the strike timer refills, the first after 1000 ms.
TEST_F(Player, SpaceHeldStrikesOncePerSecond) {
  put_player(300, 200, 100)->attack_timer = 0;
  std::vector<int> strikes;
  for (int frame = 1; frame <= 100; ++frame) {
    player_timers();
    player_attack();
    if (player()->attack_timer == 0) strikes.push_back(frame);
  }
  EXPECT_EQ(strikes, (std::vector<int>{34, 68}));
}

// Each full 10000 of charge calls up the next type; the rest of the charge is lost, and a press
// on too little only sends the old summons away. Positions are truncated toward zero.
TEST_F(Player, SummoningSpendsTheCharge) {
  const struct {
    int charge;
    size_t count;
  } cases[] = {{25000, 2}, {40000, 4}, {9999, 0}};
  const int places[4][2] = {{76, 200}, {-35, 200}, {20, 128}, {20, 272}};
  const int headings[4][2] = {{300, 419}, {120, 239}, {210, 329}, {30, 149}};
  for (const auto& c : cases) {
    world_reset();
    put_player(20.5f, 200.2f, 100)->spawn_charge = c.charge;
    put_summon(0, 0);
    summon_skeletons();
    ASSERT_EQ(summon_list.size(), c.count) << c.charge;
    EXPECT_EQ(player()->spawn_charge, 0);
    for (size_t t = 0; t < c.count; ++t) {
      const BOB_TYP& m = summon_list[t];
      EXPECT_EQ(m.x, places[t][0]) << "type " << t;
      EXPECT_EQ(m.y, places[t][1]) << "type " << t;
      const int h = m.direction < headings[t][0] ? m.direction + 360 : m.direction;
      EXPECT_TRUE(h >= headings[t][0] && h <= headings[t][1]) << "type " << t << ": " << m.direction;
      EXPECT_EQ(m.sequence, sector_sequence(m.direction));
      EXPECT_EQ(m.health, 100);
      EXPECT_EQ(m.attack_timer, 1000);
      EXPECT_EQ(m.turn_timer, 1500);
    }
  }
}

TEST_F(Player, LeftShiftSummonsOncePerPress) {
  put_player(300, 200, 100)->spawn_charge = 20000;
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
    player_timers();
    update_difficulty();
    player_drain();
    if (player()->health != before) {
      losses.push_back(before - player()->health);
      frames.push_back(frame);
    }
  }
  ASSERT_GE(losses.size(), 8u);
  EXPECT_EQ(frames[0], 50);
  EXPECT_EQ(losses[0], 2);
  EXPECT_EQ(losses[5], 2);  // frame 300
  EXPECT_EQ(losses[6], 3);  // frame 350, after 10 s of play
  EXPECT_EQ(losses.back(), 11);
  for (int loss : losses) EXPECT_LE(loss, 11);
}

// At health 50 the walk settles on frame 33, standing shows 32, and a strike while walking 35
// in sequence 0.
TEST_F(Player, WoundedPoses) {
  BOB_TYP* p = put_player(300, 200, 50);
  p->attack_timer = 1000;
  uint8_t keys[256] = {};
  set_arrows(keys, R);
  for (int n = 0; n < 4; ++n) player_move_and_pose(keys);
  EXPECT_EQ(p->sequence, 8);
  EXPECT_EQ(p->frame, 33);
  set_arrows(keys, 0);
  player_move_and_pose(keys);
  EXPECT_EQ(p->frame, 32);
  player_attack();
  set_arrows(keys, R);
  player_move_and_pose(keys);
  EXPECT_EQ(p->sequence, 0);
  EXPECT_EQ(p->frame, 35);
}

}  // namespace
