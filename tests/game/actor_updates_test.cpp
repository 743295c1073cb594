// The actor updates on hand-placed actors: removal and score, strikes, lasers, absorption, edges,
// wounds, decay and the spawn slots.
#include <algorithm>

#include "game/actor_rules.h"
#include "game/spawn.h"
#include "game/updates.h"
#include "tests/game/game_fixture.h"

namespace {

using Updates = GameRules;

// A removal scores only while the player strikes and either lives or still has summons (counted
// after the erase). Here a skeleton decays from 10 by 10, or a summon from 15 by 15, to nothing.
TEST_F(Updates, RemovalScoresUnderThePlayersStrike) {
  const int cases[][5] = {{0, 0, 100, 0, 250}, {0, 500, 100, 0, 0}, {0, 0, 0, 0, 0},
                          {0, 0, 0, 1, 250},   {1, 0, 0, 0, 0},     {1, 0, 0, 1, 250}};
  for (const auto& c : cases) {  // a summon dies, strike timer, health, other summons, score
    world_reset();
    put_player(600, 400, c[2])->attack_timer = c[1];
    (c[0] ? put_summon(0, 0, 15) : put_skeleton(0, 0, 10))->damage_timer = 1480;
    for (int n = 0; n < c[3]; ++n) put_summon(200, 0);
    c[0] ? update_summons() : update_skeletons();
    EXPECT_EQ((V{score, count(skeleton_list) + count(summon_list)}), (V{c[4], 1 + c[3]})) << c[0];
  }
}

// Each skeleton struck pays the player half its health less twice the list's length, counted as
// the list shrinks: two at once from 100 give 190 (the second, moved into the first one's slot,
// is still visited); with 26 in the list one costs 2; one already at -20 costs 14.
TEST_F(Updates, PlayersStrikeKillsEveryTouchingSkeleton) {
  const int cases[][5] = {{2, 100, 0, 190, 500}, {1, 100, 24, 98, 250}, {1, -20, 0, 86, 250}};
  for (const auto& c : cases) {  // touching, their health, far, player's health after, score
    world_reset();
    put_player(300, 200, 100)->attack_timer = 0;
    for (int n = 0; n < c[0]; ++n) put_skeleton(300 + 10 * n, 200, c[1]);
    for (int n = 0; n < c[2]; ++n) put_skeleton(0, 0);
    update_skeletons();
    EXPECT_EQ((V{player()->health, score, count(skeleton_list)}), (V{c[3], c[4], 1 + c[2]}));
  }
}

// Any skeletons decaying away in one pass (none, the first, neighbours, the last, every other,
// all): the rest stay in order, each visited exactly once, and each removal scores.
TEST_F(Updates, RemovalsInOnePassKeepTheRestInOrderEachVisitedOnce) {
  const std::vector<V> dying = {{}, {1}, {1, 2}, {8}, {3, 4, 5}, {2, 4, 6, 8}, {1, 2, 3, 4, 5, 6, 7, 8}};
  for (const V& die : dying) {
    world_reset();
    put_player(560, 400, 100)->attack_timer = 0;
    V expected;
    for (int n = 1; n <= 8; ++n) {
      const bool dies = std::find(die.begin(), die.end(), n) != die.end();
      BOB_TYP* s = put_skeleton(60.0f * n, 0, dies ? 10 : 100);
      s->reserved_int = n;
      if (dies) s->damage_timer = 1480;
      if (!dies) expected.push_back(n);
    }
    update_skeletons();
    V kept;
    for (size_t i = 1; i < skeleton_list.size(); ++i) {
      kept.push_back(skeleton_list[i].reserved_int);
      EXPECT_EQ(skeleton_list[i].turn_timer, (1 << 20) - 30) << "skeleton " << kept.back();
    }
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(score, 250 * static_cast<int>(die.size()));
  }
}

// A ready skeleton strikes the living player rather than the dead actor it also touches, and
// both push the player back; a dead player is neither struck nor pushed, and the dead actor
// takes the skeleton's strike.
TEST_F(Updates, SkeletonStrikesPlayerBeforeTheDead) {
  const int cases[][4] = {{100, 85, 296, 100}, {0, 0, 300, 75}};  // health, after, x, dead's
  for (const auto& c : cases) {
    world_reset();
    put_player(300, 200, c[0]);
    step_x = 2;
    put_skeleton(300, 200)->attack_timer = 1000;
    put_dead(300, 200, 0, -1000, -1000);
    update_skeletons();
    update_dead_actors();
    EXPECT_EQ((V{player()->health, int(player()->x), dead_list[0].health}), (V{c[1], c[2], c[3]}));
  }
}

// A skeleton the player's strike has just killed still takes a ready laser's shot, which then
// spares the next skeleton in the same beam.
TEST_F(Updates, StruckSkeletonStillSpendsAReadyLaser) {
  put_player(300, 200, 100)->attack_timer = 0;
  put_skeleton(300, 200);
  put_skeleton(380, 200);
  put_dead(0, 400, 0, 250, 150);
  update_skeletons();
  EXPECT_EQ((V{dead_list[0].attack_timer, count(skeleton_list), skeleton_list.back().health, score}),
            (V{0, 2, 100, 250}));
}

// Body contact pushes a dead actor back by its velocity: a skeleton's reach ends at x + 62, a
// summon's at x + 60.
TEST_F(Updates, DeadPushedBackOnBodyContact) {
  put_player(600, 400, 100);
  put_skeleton(100, 100);
  put_summon(400, 100);
  put_dead(51, 100, 0, -1000, -1000)->vel_x = 1;
  put_dead(351, 100, 0, -1000, -1000)->vel_x = 1;
  update_skeletons();
  update_summons();
  EXPECT_EQ((V{int(dead_list[0].x), int(dead_list[1].x)}), (V{50, 351}));
}

// Skeletons walk while they do not touch the player and stand after being pushed off it; summons
// and the dead always walk; whoever struck in the last 150 ms shows the strike frame.
TEST_F(Updates, ActorPoses) {
  put_player(300, 200, 100);
  put_skeleton(300, 200)->frame = 6;  // pushed back: stands
  put_skeleton(0, 0)->frame = 5;      // walks (no sequence to step, so the frame stays)
  put_skeleton(0, 300)->frame = 5;
  skeleton_list[3].action_timer = 0;
  put_summon(100, 0)->frame = 5;
  put_dead(400, 0, 0, -1000, -1000)->frame = 9;
  dead_list[0].action_timer = 0;
  update_skeletons();
  update_actor_poses();
  EXPECT_EQ((V{skeleton_list[1].frame, skeleton_list[2].frame, skeleton_list[3].frame,
               summon_list[0].frame, dead_list[0].frame}),
            (V{4, 5, 7, 5, 11}));
}

// Clamped, the crossed axis's velocity negated, the facing turned by the kind's table (left
// then top for a corner); sequences the table lacks stay.
TEST_F(Updates, EdgesClampNegateAndTurn) {
  const int cases[][7] = {{0, -1, 100, 0, 100, 2, 2},   {0, -1, 100, 0, 100, 4, 0},
                          {0, 585, 100, 584, 100, 1, 3}, {0, 100, -1, 100, 0, 2, 6},
                          {0, 100, 409, 100, 408, 7, 1}, {0, -1, -1, 0, 0, 3, 7},
                          {0, -1, 100, 0, 100, 8, 8},    {1, -1, 100, 0, 100, 6, 6},
                          {1, 569, 100, 568, 100, 0, 4}, {1, 100, -1, 100, 0, 2, 6},
                          {1, 100, 401, 100, 400, 6, 2}};
  for (const auto& c : cases) {  // dead, x, y, x after, y after, sequence, sequence after
    BOB_TYP a = bare(c[1], c[2], c[0] ? 72 : 56, c[0] ? 80 : 72, 1);
    a.vel_x = 1.5f;
    a.vel_y = -2.5f;
    a.sequence = c[5];
    bounce_off_edges(&a, c[0] ? &DEAD_EDGE_TURNS : &SKELETON_EDGE_TURNS);
    EXPECT_EQ((V{int(a.x), int(a.y), a.sequence}), (V{c[3], c[4], c[6]})) << c[1] << "," << c[2];
    EXPECT_EQ(a.vel_x, c[1] == c[3] ? 1.5f : -1.5f);
    EXPECT_EQ(a.vel_y, c[2] == c[4] ? -2.5f : 2.5f);
  }
}

TEST_F(Updates, WoundLookByHealth) {
  const int cases[][3] = {{61, 3, 2}, {60, 8, 0}, {31, 8, 0}, {30, 8, 1}, {11, 8, 1}, {10, 8, 2}, {-5, 8, 2}};
  for (const auto& c : cases) {
    BOB_TYP a = bare(0, 0, 56, 72, c[0]);
    a.sequence = 3;
    a.sequence_pos = 2;
    apply_wound_look(&a);
    EXPECT_EQ((V{a.sequence, a.sequence_pos}), (V{c[1], c[2]})) << c[0];
  }
}

// The player's strike trades a summon for half its health, capped at 100; nothing is gained when
// that half equals twice the list's length (25 here).
TEST_F(Updates, AbsorbingASummon) {
  const int cases[][3] = {{40, 1, 90}, {95, 1, 100}, {95, 25, 95}};  // health, list, after
  for (const auto& c : cases) {
    world_reset();
    put_player(300, 200, c[0])->attack_timer = 0;
    for (int n = 1; n < c[1]; ++n) put_skeleton(0, 0);
    put_summon(310, 210);
    update_summons();
    EXPECT_EQ((V{player()->health, count(summon_list), score}), (V{c[2], 0, 250})) << c[0];
  }
}

TEST_F(Updates, AbsorbedSummonStillStrikesAndDrawsALaser) {
  put_player(300, 200, 40)->attack_timer = 0;
  put_skeleton(300, 200);
  put_summon(300, 200)->attack_timer = 1000;
  put_dead(0, 400, 0, 351, 150);  // the beam reaches 5 pixels into the summon
  update_summons();
  EXPECT_EQ((V{skeleton_list[1].health, dead_list[0].attack_timer, count(summon_list)}), (V{50, 0, 0}));
}

// A ready summon strikes only the first living skeleton it touches; every touching living
// skeleton that struck this frame hurts it, even a strike aimed at the player.
TEST_F(Updates, SummonFightsSkeletons) {
  put_player(600, 400, 100);
  for (int health : {0, 100, 100}) put_skeleton(400, 0, health)->attack_timer = 0;
  put_summon(400, 0)->attack_timer = 1000;
  update_summons();
  // The first, dead already, neither fights nor harms.
  EXPECT_EQ((V{skeleton_list[1].action_timer, skeleton_list[2].health, skeleton_list[3].health,
               summon_list[0].health}),
            (V{150, 50, 100, 50}));

  world_reset();
  put_player(300, 200, 100);
  put_skeleton(300, 200)->attack_timer = 1000;
  put_summon(300, 200);
  update_skeletons();
  update_summons();
  EXPECT_EQ((V{player()->health, summon_list[0].health}), (V{85, 75}));
}

// A ready laser facing east over a living player costs 25, then rests 1000 ms; it holds its fire
// at a dead player.
TEST_F(Updates, LaserAtThePlayer) {
  for (int health : {100, 0}) {
    world_reset();
    put_player(200, 200, health);
    put_dead(100, 200, 0, 0, 0);
    place_laser(0);
    V after;  // health after frames 1, 34 and 35, and the laser's readiness
    for (int frame = 1; frame <= 35; ++frame) {
      update_dead_actors();
      if (frame == 1 || frame >= 34) after.push_back(player()->health);
    }
    after.push_back(dead_list[0].attack_timer);
    EXPECT_EQ(after, health ? (V{75, 75, 50, 0}) : (V{0, 0, 0, 1000}));
  }
  // The pair made at start-up meets its first update with its laser where it was made, at (0, 0).
  world_reset();
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
    const BOB_TYP& l = laser_list[0];
    EXPECT_EQ((V{int(l.x), int(l.y), l.frame}), (V{c[1], c[2], c[3]})) << "sequence " << c[0];
  }
}

// The player's strike reaches every dead actor it touches, and one it kills still fires before
// its removal; a removed pair leaves each laser with its own actor, and the actor that moves up
// is updated in the same pass.
TEST_F(Updates, PlayerStrikesTheDead) {
  put_player(300, 200, 100)->attack_timer = 0;
  put_dead(300, 200, 0, -1000, -1000);
  put_dead(310, 200, 0, 250, 150)->health = 25;
  put_dead(0, 0, 0, -3000, -1000);
  update_dead_actors();
  ASSERT_EQ((V{count(dead_list), count(laser_list)}), (V{2, 2}));
  EXPECT_EQ((V{dead_list[0].health, player()->health, int(laser_list[1].x), score}),
            (V{75, 75, -3000, 1000}));
  EXPECT_EQ(dead_list[1].turn_timer, (1 << 20) - 30);
}

// Walking, the dead face north at 315 (at spawning it still faced east).
TEST_F(Updates, DeadTurnTo315FacesNorth) {
  std::srand(7);
  const int turn = std::rand() % 90 - 45;
  std::srand(7);
  put_player(600, 400, 100);
  BOB_TYP* d = put_dead(300, 200, 0, -1000, -1000);
  d->direction = 315 - turn;
  d->turn_timer = 10;
  update_dead_actors();
  EXPECT_EQ((V{dead_list[0].direction, dead_list[0].sequence}), (V{315, 2}));
}

// One slot counted out: the overshoot is dropped, the second spawn brings a dead pair, the fifth
// a pair and the next slot (slot 7 has none); periods have no floor.
TEST_F(Updates, SpawnSlots) {
  const int cases[][5] = {{0, 4990, 4985, 0, -1}, {0, 4995, 4990, 1, -1}, {0, 4980, 4975, 1, 5000},
                          {7, 4980, 4975, 0, -1}, {7, 4995, 4990, 1, -1}, {3, 3, -2, 0, -1}};
  for (const auto& c : cases) {  // slot, period, period after, pairs, next slot's period
    world_reset();
    spawn_period[0] = -1;
    spawn_timer[0] = 5000;
    spawn_period[c[0]] = c[1];
    spawn_timer[c[0]] = 0;  // -30 after this frame's step
    update_spawn_timers();
    EXPECT_EQ((V{spawn_period[c[0]], spawn_timer[c[0]], count(skeleton_list), count(dead_list),
                 count(laser_list), spawn_period[(c[0] + 1) % 8]}),
              (V{c[2], c[2], 1, c[3], c[3], c[0] == 7 ? -1 : c[4]}))
        << "slot " << c[0] << " at " << c[1];
  }
  update_spawn_timers();
  update_spawn_timers();
  EXPECT_EQ((V{count(skeleton_list), spawn_period[3]}), (V{3, -12}));
  // The first frame of play: slot 0 alone spawns, one skeleton.
  world_reset();
  update_spawn_timers();
  EXPECT_EQ((V{count(skeleton_list), count(dead_list), count(laser_list)}), (V{1, 0, 0}));
}

}  // namespace
