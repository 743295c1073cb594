// Sprite records without surfaces: animation stepping, sequences, movement at the clip edges,
// the collision test and the guards against indices out of range.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"

namespace {

class BobRecord : public ::testing::Test {
 protected:
  void SetUp() override {
    bob.width = 56;
    bob.height = 72;
    bob.frame_count = 36;
    bob.attributes = ATTR_VISIBLE | ATTR_SEQUENCED;
  }
  void TearDown() override { bob_destroy(&bob); }

  // The frame shown after each of n calls of bob_animate.
  std::vector<int> frames_over(int calls) {
    std::vector<int> out;
    for (int i = 0; i < calls; ++i) {
      bob_animate(&bob);
      out.push_back(bob.frame);
    }
    return out;
  }

  BOB_TYP bob{};
};

TEST_F(BobRecord, SequenceStepsOnEveryPeriodthCall) {
  const int sequence[4] = {0, 1, 0, 2};
  ASSERT_EQ(bob_add_sequence(&bob, 0, 4, sequence), 1);
  bob_set_anim_period(&bob, 4);
  bob.frame = 5;  // whatever was shown before stays until the first step
  const std::vector<int> want = {5, 5, 5, 1, 1, 1, 1, 0, 0, 0, 0, 2, 2, 2, 2, 0};
  EXPECT_EQ(frames_over(16), want);
  EXPECT_EQ(bob.anim_done, 0);
}

TEST_F(BobRecord, PeriodZeroOrOneStepsEveryCall) {
  const int sequence[3] = {7, 8, 9};
  ASSERT_EQ(bob_add_sequence(&bob, 2, 3, sequence), 1);
  ASSERT_EQ(bob_set_sequence(&bob, 2), 1);
  for (int period : {0, 1}) {
    bob_set_sequence(&bob, 2);
    bob_set_anim_period(&bob, period);
    EXPECT_EQ(frames_over(4), (std::vector<int>{8, 9, 7, 8})) << "period " << period;
  }
}

TEST_F(BobRecord, PlayOnceStopsOnTheLastEntry) {
  const int sequence[3] = {4, 5, 6};
  ASSERT_EQ(bob_add_sequence(&bob, 1, 3, sequence), 1);
  bob.attributes |= ATTR_PLAY_ONCE;
  bob_set_sequence(&bob, 1);
  bob_set_anim_period(&bob, 2);
  std::vector<int> done;
  std::vector<int> frames;
  for (int i = 0; i < 10; ++i) {
    bob_animate(&bob);
    frames.push_back(bob.frame);
    done.push_back(bob.anim_done);
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 5, 5, 6, 6, 6, 6, 6, 6, 6}));
  // The step that meets the end (the 6th call) sets anim_done, and nothing clears it.
  EXPECT_EQ(done, (std::vector<int>{0, 0, 0, 0, 0, 1, 1, 1, 1, 1}));
  EXPECT_EQ(bob.sequence_pos, 2);
}

TEST_F(BobRecord, SetSequenceKeepsTheFrameUntilTheNextStep) {
  const int walk[2] = {1, 2};
  const int strike[3] = {10, 11, 12};
  bob_add_sequence(&bob, 0, 2, walk);
  bob_add_sequence(&bob, 3, 3, strike);
  frames_over(1);
  ASSERT_EQ(bob.frame, 2);
  bob.anim_ticks = 0;
  bob.anim_done = 1;
  ASSERT_EQ(bob_set_sequence(&bob, 3), 1);
  EXPECT_EQ(bob.frame, 2);
  EXPECT_EQ(bob.sequence_pos, 0);
  EXPECT_EQ(bob.anim_done, 1);
  // Entry 1 comes next; entry 0 only when the sequence wraps.
  EXPECT_EQ(frames_over(3), (std::vector<int>{11, 12, 10}));
}

TEST_F(BobRecord, FrameCycleAndOneFrame) {
  bob.attributes = ATTR_FRAME_CYCLE;
  bob.frame_count = 3;
  bob_set_anim_period(&bob, 2);
  EXPECT_EQ(frames_over(7), (std::vector<int>{0, 1, 1, 2, 2, 0, 0}));
  bob.attributes = ATTR_ONE_FRAME | ATTR_FRAME_CYCLE;  // the first bit set decides
  bob.frame = 2;
  EXPECT_EQ(frames_over(3), (std::vector<int>{0, 0, 0}));
}

TEST_F(BobRecord, SequencedWithoutASequenceAnimatesHarmlessly) {
  bob.frame = 3;
  bob.sequence = 4;  // nothing was added there
  EXPECT_EQ(bob_animate(&bob), 1);
  EXPECT_EQ(bob.frame, 3);
  bob.sequence = 99;  // set by hand past the table
  EXPECT_EQ(bob_animate(&bob), 1);
  bob.sequence = -1;
  EXPECT_EQ(bob_animate(&bob), 1);
  EXPECT_EQ(bob.frame, 3);
  ASSERT_EQ(bob_add_sequence(&bob, 0, 0, nullptr), 1);  // an empty sequence
  bob.sequence = 0;
  EXPECT_EQ(bob_animate(&bob), 1);
  EXPECT_EQ(bob.frame, 3);
}

TEST_F(BobRecord, SequenceIndicesOutOfRangeAreRefused) {
  const int frames[2] = {1, 2};
  EXPECT_EQ(bob_add_sequence(&bob, 16, 2, frames), 0);
  EXPECT_EQ(bob_add_sequence(&bob, -1, 2, frames), 0);
  EXPECT_EQ(bob_add_sequence(&bob, 0, -1, frames), 0);
  EXPECT_EQ(bob_add_sequence(&bob, 0, 2, nullptr), 0);
  for (int* sequence : bob.sequences) EXPECT_EQ(sequence, nullptr);
  bob.sequence = 5;
  bob.sequence_pos = 1;
  EXPECT_EQ(bob_set_sequence(&bob, 16), 0);
  EXPECT_EQ(bob_set_sequence(&bob, -1), 0);
  EXPECT_EQ(bob.sequence, 5);
  EXPECT_EQ(bob.sequence_pos, 1);
  EXPECT_EQ(bob_set_sequence(&bob, 15), 1);
}

TEST_F(BobRecord, ReplacingASequenceFreesTheOldAndWrapsAtTheNewEnd) {
  const int longer[5] = {0, 1, 2, 3, 4};
  const int shorter[2] = {7, 8};
  ASSERT_EQ(bob_add_sequence(&bob, 0, 5, longer), 1);
  frames_over(4);
  ASSERT_EQ(bob.sequence_pos, 4);
  // The old array is freed (the leak checker would say otherwise), and the position that was
  // valid for it lies past the new one's end: the next step wraps instead of reading past it.
  ASSERT_EQ(bob_add_sequence(&bob, 0, 2, shorter), 1);
  EXPECT_EQ(bob.sequences[0][0], 7);
  EXPECT_EQ(bob.sequences[0][2], -1);
  EXPECT_EQ(frames_over(3), (std::vector<int>{7, 8, 7}));
}

TEST_F(BobRecord, WrapAtTheClipEdges) {
  clip_min_x = 0, clip_max_x = 639, clip_min_y = 0, clip_max_y = 479;
  bob.attributes = ATTR_WRAP | ATTR_BOUNCE;  // wrap wins
  bob.x = 639;
  bob_set_velocity(&bob, 1, 0);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, -56);
  bob.x = -56;
  bob_set_velocity(&bob, -1, 0);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, 639);
  EXPECT_FLOAT_EQ(bob.vel_x, -1);
  bob.x = 0;
  bob.y = 480;
  bob_set_velocity(&bob, 0, 0.5f);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.y, -72);
  bob.y = -72.5f;
  bob_set_velocity(&bob, 0, -0.25f);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.y, 479);
  // Exactly on the edge is not past it.
  bob.x = 638;
  bob_set_velocity(&bob, 1, 0);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, 639);
}

TEST_F(BobRecord, BounceReversesVelocityWithoutClamping) {
  clip_min_x = 0, clip_max_x = 639, clip_min_y = 0, clip_max_y = 479;
  bob.attributes = ATTR_BOUNCE;
  bob.x = 583;  // 639 - 56 = 583: one more pixel is past the edge
  bob.y = 100;
  bob_set_velocity(&bob, 2, -3);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, 585);
  EXPECT_FLOAT_EQ(bob.vel_x, -2);
  EXPECT_FLOAT_EQ(bob.vel_y, -3);
  bob.y = 1;
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.y, -2);
  EXPECT_FLOAT_EQ(bob.vel_y, 3);
  // Neither bit: the record just moves.
  bob.attributes = 0;
  bob.x = 1000;
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, 998);
  EXPECT_FLOAT_EQ(bob.vel_x, -2);
}

TEST(BobOverlap, ThreeQuarterBoxesFromTheTopLeft) {
  BOB_TYP a{}, b{};
  a.width = b.width = 56;
  a.height = b.height = 72;
  a.y = b.y = 200;
  a.x = 100;
  b.x = 141;
  EXPECT_EQ(bob_overlap(&a, &b), 1);
  EXPECT_EQ(bob_overlap(&b, &a), 1);
  b.x = 142;
  EXPECT_EQ(bob_overlap(&a, &b), 0);
  b.x = 58;
  EXPECT_EQ(bob_overlap(&a, &b), 0);
  b.x = 59;
  EXPECT_EQ(bob_overlap(&a, &b), 1);
  // Vertically the boxes reach 54 = 27 + 27.
  b.x = 100;
  b.y = 253.9f;
  EXPECT_EQ(bob_overlap(&a, &b), 1);
  b.y = 254;
  EXPECT_EQ(bob_overlap(&a, &b), 0);
  // Far-away or broken positions do not overflow anything.
  b.x = 3.0e38f;
  EXPECT_EQ(bob_overlap(&a, &b), 0);
  EXPECT_EQ(bob_overlap(&a, nullptr), 0);
  EXPECT_EQ(bob_overlap(nullptr, &b), 0);
}

TEST(BobSetters, StoreWhatTheySayAndRefuseANullRecord) {
  BOB_TYP bob{};
  EXPECT_EQ(bob_set_position(&bob, -5, 7), 1);
  EXPECT_FLOAT_EQ(bob.x, -5);
  EXPECT_FLOAT_EQ(bob.y, 7);
  EXPECT_EQ(bob_set_velocity(&bob, 1.5f, -2.25f), 1);
  EXPECT_FLOAT_EQ(bob.vel_y, -2.25f);
  EXPECT_EQ(bob_show(&bob), 1);
  EXPECT_EQ(bob.attributes, ATTR_VISIBLE);
  EXPECT_EQ(bob_hide(&bob), 1);
  EXPECT_EQ(bob.attributes, 0);

  const int frames[1] = {0};
  EXPECT_EQ(bob_set_position(nullptr, 0, 0), 0);
  EXPECT_EQ(bob_set_velocity(nullptr, 0, 0), 0);
  EXPECT_EQ(bob_set_anim_period(nullptr, 1), 0);
  EXPECT_EQ(bob_set_sequence(nullptr, 0), 0);
  EXPECT_EQ(bob_hide(nullptr), 0);
  EXPECT_EQ(bob_show(nullptr), 0);
  EXPECT_EQ(bob_animate(nullptr), 0);
  EXPECT_EQ(bob_move(nullptr), 0);
  EXPECT_EQ(bob_add_sequence(nullptr, 0, 1, frames), 0);
  EXPECT_EQ(bob_destroy(nullptr), 0);
  EXPECT_EQ(bob_draw(nullptr, nullptr), 0);
  EXPECT_EQ(bob_draw_scaled(nullptr, 1, 1, nullptr), 0);
  EXPECT_EQ(bob_load_frame(nullptr, nullptr, 0, 0, 0, 0), 0);
  EXPECT_EQ(bob_clone(nullptr, &bob), 0);
  EXPECT_EQ(bob_clone(&bob, nullptr), 0);
}

TEST(BobClone, SharesSequencesAndGameFieldsAndOwnsNothing) {
  BOB_TYP source{};
  const int frames[2] = {3, 4};
  ASSERT_EQ(bob_add_sequence(&source, 0, 2, frames), 1);
  source.health = 90;
  source.moving = true;
  source.spawn_charge = 12;
  source.spare_words[31] = 0xDEADBEEF;
  EXPECT_EQ(bob_clone(&source, &source), 0);

  BOB_TYP clone{};
  ASSERT_EQ(bob_clone(&source, &clone), 1);
  EXPECT_TRUE(clone.attributes & ATTR_CLONE);
  EXPECT_FALSE(source.attributes & ATTR_CLONE);
  EXPECT_EQ(clone.sequences[0], source.sequences[0]);
  EXPECT_EQ(clone.health, 90);
  EXPECT_TRUE(clone.moving);
  EXPECT_EQ(clone.spawn_charge, 12);
  EXPECT_EQ(clone.spare_words[31], 0xDEADBEEFu);
  // A clone cannot replace (and so free) the source's arrays.
  EXPECT_EQ(bob_add_sequence(&clone, 0, 2, frames), 0);

  ASSERT_EQ(bob_destroy(&clone), 1);
  EXPECT_EQ(clone.sequences[0], nullptr);
  // The source's sequence is still there to read.
  EXPECT_EQ(source.sequences[0][1], 4);
  ASSERT_EQ(bob_destroy(&source), 1);
  EXPECT_EQ(source.sequences[0], nullptr);
  EXPECT_EQ(bob_destroy(&source), 1);  // twice is harmless
}

}  // namespace
