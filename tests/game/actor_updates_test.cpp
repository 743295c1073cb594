// The actor updates on hand-placed actors: removal and score, strikes, lasers, absorption, edges,
// wounds, decay and the spawn slots.
#include "tests/game/game_fixture.h"

#include "game/actor_rules.h"
#include "game/spawn.h"
#include "game/updates.h"

namespace {

using Updates = GameRules;

TEST_F(Updates, DeadAndLaserListsStayPaired) {
  for (int n = 0; n < 3; ++n) spawn_dead_pair();
  EXPECT_EQ(dead_list.size(), 3u);
  EXPECT_EQ(laser_list.size(), 3u);
  dead_pair_remove(1);
  EXPECT_EQ(laser_list.size(), dead_list.size());
  spawn_period[0] = 4995;  // the next spawn of slot 0 brings a pair
  update_spawn_timers();
  EXPECT_EQ(dead_list.size(), 3u);
  EXPECT_EQ(laser_list.size(), 3u);
  dead_pairs_clear();
  EXPECT_TRUE(dead_list.empty() && laser_list.empty());
}

TEST_F(Updates, RemovalMidListUpdatesTheActorThatMovesUp) {
  put_player(600, 400, 100);
  put_skeleton(100, 100);
  put_skeleton(200, 100, 0);
  put_skeleton(300, 100);
  update_skeletons();
  ASSERT_EQ(skeleton_list.size(), 3u);
  EXPECT_EQ(skeleton_list[2].x, 300);
  EXPECT_EQ(skeleton_list[1].attack_timer, 30);
  EXPECT_EQ(skeleton_list[2].attack_timer, 30);
}

// A removal scores only while the player strikes and either lives or still has summons.
struct SCORE_CASE {
  bool summon_dies;
  int attack_timer, player_health, other_summons, score;
};
class RemovalScore : public GameRules, public ::testing::WithParamInterface<SCORE_CASE> {};

TEST_P(RemovalScore, FollowsThePlayersStrike) {
  const SCORE_CASE& c = GetParam();
  put_player(600, 400, c.player_health)->attack_timer = c.attack_timer;
  if (c.summon_dies) {
    put_summon(0, 0, 0);
  } else {
    put_skeleton(0, 0, 10);
    skeleton_list[1].damage_timer = 1480;  // decays to 0 this frame
  }
  for (int n = 0; n < c.other_summons; ++n) put_summon(200, 0);
  c.summon_dies ? update_summons() : update_skeletons();
  EXPECT_EQ(score, c.score);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemovalScore,
                         ::testing::Values(SCORE_CASE{false, 0, 100, 0, 250},
                                           SCORE_CASE{false, 500, 100, 0, 0},
                                           SCORE_CASE{false, 0, 0, 0, 0},
                                           SCORE_CASE{false, 0, 0, 1, 250},
                                           SCORE_CASE{true, 0, 0, 0, 0},
                                           SCORE_CASE{true, 0, 0, 1, 250}));

// Each skeleton struck pays the player half its health less twice the list's length, counted as
// the list shrinks: two at once from 100 give 190; with 26 in the list one costs 2.
TEST_F(Updates, PlayersStrikeKillsEveryTouchingSkeleton) {
  const struct {
    int touching, far, health, score;
  } cases[] = {{2, 0, 190, 500}, {1, 24, 98, 250}};
  for (const auto& c : cases) {
    world_reset();
    put_player(300, 200, 100)->attack_timer = 0;
    for (int n = 0; n < c.touching; ++n) put_skeleton(300 + 10 * n, 200);
    for (int n = 0; n < c.far; ++n) put_skeleton(0, 0);
    update_skeletons();
    EXPECT_EQ(player()->health, c.health);
    EXPECT_EQ(score, c.score);
    EXPECT_EQ(skeleton_list.size(), 1u + c.far);
  }
}

// A ready skeleton strikes the living player first; a dead player is neither struck nor pushed,
// and the dead actor it also touches takes the strike instead.
TEST_F(Updates, SkeletonStrikesPlayerBeforeTheDead) {
  const struct {
    int player_health, player_after, player_x, dead_after;
  } cases[] = {{100, 85, 298, 100}, {0, 0, 300, 75}};
  for (const auto& c : cases) {
    world_reset();
    put_player(300, 200, c.player_health);
    step_x = 2;
    skeleton_list[put_skeleton(300, 200)].attack_timer = 1000;
    put_dead(300, 200, 0, -1000, -1000);
    update_skeletons();
    EXPECT_EQ(player()->health, c.player_after);
    EXPECT_EQ(player()->x, c.player_x);
    EXPECT_EQ(dead_list[0].health, c.dead_after);
    EXPECT_EQ(skeleton_list[1].action_timer, 0);
  }
}

// A skeleton the player's strike has just killed still takes the shot of a ready laser, which
// then misses the next skeleton in the same beam.
TEST_F(Updates, StruckSkeletonStillSpendsAReadyLaser) {
  put_player(300, 200, 100)->attack_timer = 0;
  put_skeleton(300, 200);
  put_skeleton(380, 200);
  put_dead(0, 400, 0, 250, 150);
  update_skeletons();
  EXPECT_EQ(dead_list[0].attack_timer, 0);
  EXPECT_EQ(dead_list[0].action_timer, 0);
  ASSERT_EQ(skeleton_list.size(), 2u);
  EXPECT_EQ(skeleton_list[1].health, 100);
  EXPECT_EQ(score, 250);
}

TEST_F(Updates, EdgesClampNegateAndTurn) {
  const struct {
    bool dead;
    float x, y;
    int sequence;
    float x_after, y_after;
    int sequence_after;
  } cases[] = {
      {false, -1, 100, 2, 0, 100, 2},  {false, -1, 100, 4, 0, 100, 0},   {false, 585, 100, 1, 584, 100, 3},
      {false, 100, -1, 2, 100, 0, 6},  {false, 100, 409, 7, 100, 408, 1}, {false, -1, -1, 3, 0, 0, 7},
      {false, -1, 100, 8, 0, 100, 8},  {true, -1, 100, 6, 0, 100, 6},     {true, 569, 100, 0, 568, 100, 4},
      {true, 100, -1, 2, 100, 0, 6},   {true, 100, 401, 6, 100, 400, 2},
  };
  for (const auto& c : cases) {
    BOB_TYP a{};
    a.x = c.x;
    a.y = c.y;
    a.width = c.dead ? 72 : 56;
    a.height = c.dead ? 80 : 72;
    a.vel_x = 1.5f;
    a.vel_y = -2.5f;
    a.sequence = c.sequence;
    bounce_off_edges(&a, c.dead ? &DEAD_EDGE_TURNS : &SKELETON_EDGE_TURNS);
    EXPECT_EQ(a.x, c.x_after);
    EXPECT_EQ(a.y, c.y_after);
    EXPECT_EQ(a.sequence, c.sequence_after) << c.x << "," << c.y << " sequence " << c.sequence;
    EXPECT_EQ(a.vel_x, c.x == c.x_after ? 1.5f : -1.5f);
    EXPECT_EQ(a.vel_y, c.y == c.y_after ? -2.5f : 2.5f);
  }
}

TEST_F(Updates, WoundLookByHealth) {
  const int cases[][3] = {{61, 3, 2}, {60, 8, 0}, {31, 8, 0}, {30, 8, 1},
                          {11, 8, 1}, {10, 8, 2}, {-5, 8, 2}};
  for (const auto& c : cases) {
    BOB_TYP a{};
    a.health = c[0];
    a.sequence = 3;
    a.sequence_pos = 2;
    apply_wound_look(&a);
    EXPECT_EQ(a.sequence, c[1]) << c[0];
    EXPECT_EQ(a.sequence_pos, c[2]) << c[0];
  }
}

// Skeletons decay by 10 and summons by 15 each 1500 ms; the dead never decay.
TEST_F(Updates, Decay) {
  put_player(600, 400, 100);
  skeleton_list[put_skeleton(0, 0)].damage_timer = 1480;
  summon_list[put_summon(100, 0)].damage_timer = 1480;
  dead_list[put_dead(300, 0, 0, -1000, -1000)].damage_timer = 1480;
  update_skeletons();
  update_summons();
  update_dead_actors();
  EXPECT_EQ(skeleton_list[1].health, 90);
  EXPECT_EQ(summon_list[0].health, 85);
  EXPECT_EQ(dead_list[0].health, 100);
}

// The player's strike trades a summon for half its health, capped at 100, and nothing when that
// half equals twice the list's length.
TEST_F(Updates, AbsorbingASummon) {
  const int cases[][3] = {{40, 1, 90}, {95, 1, 100}, {95, 25, 95}};
  for (const auto& c : cases) {
    world_reset();
    put_player(300, 200, c[0])->attack_timer = 0;
    for (int n = 1; n < c[1]; ++n) put_skeleton(0, 0);
    put_summon(310, 210);
    update_summons();
    EXPECT_EQ(player()->health, c[2]) << c[0] << " with " << c[1];
    EXPECT_TRUE(summon_list.empty());
    EXPECT_EQ(score, 250);
  }
}

TEST_F(Updates, AbsorbedSummonStillStrikesAndDrawsALaser) {
  put_player(300, 200, 40)->attack_timer = 0;
  put_skeleton(300, 200);
  summon_list[put_summon(300, 200)].attack_timer = 1000;
  put_dead(0, 400, 0, 250, 150);
  update_summons();
  EXPECT_EQ(skeleton_list[1].health, 50);
  EXPECT_EQ(dead_list[0].attack_timer, 0);
  EXPECT_TRUE(summon_list.empty());
  EXPECT_EQ(player()->health, 90);
}

// A ready summon strikes only the first living skeleton it touches; every touching living
// skeleton that struck this frame, whatever it struck at, hurts it.
TEST_F(Updates, SummonFightsSkeletons) {
  put_player(600, 400, 100);
  put_skeleton(400, 0, 0);  // already dead: no fight, no harm
  put_skeleton(400, 0);
  put_skeleton(400, 0);
  for (size_t j = 1; j < skeleton_list.size(); ++j) skeleton_list[j].attack_timer = 0;
  summon_list[put_summon(400, 0)].attack_timer = 1000;
  update_summons();
  EXPECT_EQ(skeleton_list[1].action_timer, 150);
  EXPECT_EQ(skeleton_list[2].health, 50);
  EXPECT_EQ(skeleton_list[3].health, 100);
  EXPECT_EQ(skeleton_list[3].action_timer, 0);
  EXPECT_EQ(summon_list[0].health, 50);

  // A strike at the player in the skeletons' pass still hurts the summon touching the skeleton.
  world_reset();
  put_player(300, 200, 100);
  skeleton_list[put_skeleton(300, 200)].attack_timer = 1000;
  put_summon(300, 200);
  update_skeletons();
  update_summons();
  EXPECT_EQ(player()->health, 85);
  EXPECT_EQ(summon_list[0].health, 75);
}

// A ready laser facing east over a living player costs 25, then rests 1000 ms; it holds its fire
// at a dead player.
TEST_F(Updates, LaserAtThePlayer) {
  for (int health : {100, 0}) {
    world_reset();
    put_player(200, 200, health);
    put_dead(100, 200, 0, 0, 0);
    place_laser(0);
    std::vector<int> after;
    for (int frame = 1; frame <= 35; ++frame) {
      update_dead_actors();
      after.push_back(player()->health);
    }
    if (health > 0) {
      EXPECT_EQ(after[0], 75);
      EXPECT_EQ(after[33], 75);
      EXPECT_EQ(after[34], 50);
    } else {
      EXPECT_EQ(after[34], 0);
      EXPECT_EQ(dead_list[0].attack_timer, 1000);
    }
  }
}

// The pair of start-up meets its first update with its laser where it was made, at (0, 0).
TEST_F(Updates, UnplacedLaserFiresFromTheCorner) {
  put_player(50, 20, 100);
  put_dead(568, 200, 0, 0, 0);
  update_dead_actors();
  EXPECT_EQ(player()->health, 75);
}

TEST_F(Updates, LaserPlacementFollowsTheFacing) {
  const int cases[][4] = {{0, 172, 150, 0}, {2, 61, 50, 1}, {4, -50, 150, 0}, {6, 61, 280, 1}, {5, 7, 7, 0}};
  for (const auto& c : cases) {
    world_reset();
    put_dead(100, 200, c[0], 7, 7);
    place_laser(0);
    EXPECT_EQ(laser_list[0].x, c[1]) << "sequence " << c[0];
    EXPECT_EQ(laser_list[0].y, c[2]) << "sequence " << c[0];
    EXPECT_EQ(laser_list[0].frame, c[3]) << "sequence " << c[0];
  }
}

// The player's strike reaches every dead actor it touches; a removed pair leaves each laser
// with its own actor, and the actor that moves up is updated in the same pass.
TEST_F(Updates, PlayerStrikesTheDead) {
  put_player(300, 200, 100)->attack_timer = 0;
  put_dead(300, 200, 0, -1000, -1000);
  put_dead(310, 200, 0, -1000, -1000);
  dead_list[1].health = 25;
  put_dead(0, 0, 0, -3000, -1000);
  update_dead_actors();
  ASSERT_EQ(dead_list.size(), 2u);
  ASSERT_EQ(laser_list.size(), 2u);
  EXPECT_EQ(dead_list[0].health, 75);
  EXPECT_EQ(laser_list[1].x, -3000);
  EXPECT_EQ(dead_list[1].turn_timer, (1 << 20) - 30);
  EXPECT_EQ(score, 1000);
}

// Walking, the dead face north at 315, which at spawning still faced east.
TEST_F(Updates, DeadTurnTo315FacesNorth) {
  std::srand(7);
  const int turn = std::rand() % 90 - 45;
  std::srand(7);
  put_player(600, 400, 100);
  put_dead(300, 200, 0, -1000, -1000);
  dead_list[0].direction = 315 - turn;
  dead_list[0].turn_timer = 10;
  update_dead_actors();
  EXPECT_EQ(dead_list[0].direction, 315);
  EXPECT_EQ(dead_list[0].sequence, 2);
  EXPECT_EQ(dead_list[0].turn_timer, 1500);
}

// One slot counted out: the overshoot is dropped, the second spawn brings a dead pair, the fifth
// a pair and the next slot (but slot 7 has none to switch on).
TEST_F(Updates, SpawnSlots) {
  const struct {
    int slot, period, period_after, pairs;
    bool next_on;
  } cases[] = {{0, 4990, 4985, 0, false}, {0, 4995, 4990, 1, false}, {0, 4980, 4975, 1, true},
               {7, 4980, 4975, 0, false}, {7, 4995, 4990, 1, false}, {3, 3, -2, 0, false}};
  for (const auto& c : cases) {
    world_reset();
    spawn_period[0] = -1;
    spawn_timer[0] = 5000;
    spawn_period[c.slot] = c.period;
    spawn_timer[c.slot] = 0;  // -30 after this frame's step
    update_spawn_timers();
    EXPECT_EQ(spawn_period[c.slot], c.period_after) << "slot " << c.slot << " at " << c.period;
    EXPECT_EQ(spawn_timer[c.slot], c.period_after);
    EXPECT_EQ(skeleton_list.size(), 1u);
    EXPECT_EQ(dead_list.size(), static_cast<size_t>(c.pairs));
    if (c.slot < 7) {
      EXPECT_EQ(spawn_period[c.slot + 1], c.next_on ? 5000 : -1);
    }
  }
  // Periods have no floor: a slot at 0 or below spawns every frame.
  update_spawn_timers();
  update_spawn_timers();
  EXPECT_EQ(skeleton_list.size(), 3u);
  EXPECT_EQ(spawn_period[3], -12);
  // The first frame of play: slot 0 alone spawns one skeleton.
  world_reset();
  update_spawn_timers();
  EXPECT_EQ(skeleton_list.size(), 1u);
  EXPECT_TRUE(dead_list.empty());
  EXPECT_EQ(spawn_period[1], -1);
}

}  // namespace
