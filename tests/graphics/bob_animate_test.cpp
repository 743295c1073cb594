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

  // Nothing in the engine clears anim_done: not a new sequence, nor wrapping once play-once is off.
  const int other[2] = {1, 2};
  ASSERT_EQ(bob_add_sequence(&bob, 3, 2, other), 1);
  bob.attributes &= ~ATTR_PLAY_ONCE;
  bob_set_sequence(&bob, 3);
  bob_set_anim_period(&bob, 1);
  EXPECT_EQ(frames_over(3), (std::vector<int>{2, 1, 2}));
  EXPECT_EQ(bob.anim_done, 1);
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

TEST_F(BobRecord, SetSequenceKeepsTheTickCount) {
  const int walk[3] = {1, 2, 3};
  const int strike[3] = {10, 11, 12};
  bob_add_sequence(&bob, 0, 3, walk);
  bob_add_sequence(&bob, 1, 3, strike);
  bob_set_anim_period(&bob, 3);
  EXPECT_EQ(frames_over(4), (std::vector<int>{0, 0, 2, 2}));
  ASSERT_EQ(bob.anim_ticks, 1);
  // One call has counted toward the next step: the new sequence steps two calls later, not three.
  ASSERT_EQ(bob_set_sequence(&bob, 1), 1);
  EXPECT_EQ(bob.anim_ticks, 1);
  EXPECT_EQ(frames_over(3), (std::vector<int>{2, 11, 11}));
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

TEST_F(BobRecord, FirstAnimationBitDecides) {
  const int sequence[2] = {20, 21};
  ASSERT_EQ(bob_add_sequence(&bob, 0, 2, sequence), 1);
  bob.frame_count = 3;
  // Frame cycling outranks the sequence, and keeping frame 0 outranks both.
  bob.attributes = ATTR_FRAME_CYCLE | ATTR_SEQUENCED | ATTR_PLAY_ONCE;
  EXPECT_EQ(frames_over(4), (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(bob.sequence_pos, 0);
  bob.attributes = ATTR_ONE_FRAME | ATTR_SEQUENCED;
  bob.anim_ticks = 5;
  EXPECT_EQ(frames_over(2), (std::vector<int>{0, 0}));
  EXPECT_EQ(bob.sequence_pos, 0);
  EXPECT_EQ(bob.anim_ticks, 5);  // keeping frame 0 counts nothing
  bob.attributes = ATTR_SEQUENCED;
  EXPECT_EQ(frames_over(2), (std::vector<int>{21, 20}));
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

TEST_F(BobRecord, EdgeTestsAreStrictAndInFloatingPoint) {
  const int saved[4] = {clip_min_x, clip_max_x, clip_min_y, clip_max_y};
  clip_min_x = 0, clip_max_x = 639, clip_min_y = 0, clip_max_y = 479;
  bob.attributes = ATTR_WRAP;
  // Half a pixel past the right edge is past it (no rounding to whole pixels first).
  bob.x = 639;
  bob_set_velocity(&bob, 0.5f, 0);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, -56);
  // Exactly a width left of the edge is still on the screen; a quarter pixel more is not.
  bob.x = -55;
  bob_set_velocity(&bob, -1, 0);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, -56);
  bob_set_velocity(&bob, -0.25f, 0);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, 639);

  // The edges are the clip rectangle's, whatever it is.
  clip_min_x = 100, clip_max_x = 300, clip_min_y = 50, clip_max_y = 250;
  bob.x = 300.25f;
  bob.y = -22.5f;  // past 50 - 72
  bob_set_velocity(&bob, 0, 0);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, 100 - 56);
  EXPECT_FLOAT_EQ(bob.y, 250);
  bob.x = 43.75f;
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.x, 300);

  bob.attributes = ATTR_BOUNCE;
  bob_set_velocity(&bob, 1, -1);
  bob.x = 243;  // lands on 244 = 300 - 56: touching the edge is not past it
  bob.y = 51;   // lands on 50 = clip_min_y
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.vel_x, 1);
  EXPECT_FLOAT_EQ(bob.vel_y, -1);
  bob_set_velocity(&bob, 0.125f, -0.125f);
  bob_move(&bob);
  EXPECT_FLOAT_EQ(bob.vel_x, -0.125f);
  EXPECT_FLOAT_EQ(bob.vel_y, 0.125f);
  clip_min_x = saved[0], clip_max_x = saved[1], clip_min_y = saved[2], clip_max_y = saved[3];
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
  // The reference points are truncated toward zero before they are compared: 41.6 apart as
  // floats, but 121 and 163 (42) as whole pixels.
  b.y = 200;
  a.x = 100.9f;
  b.x = 142.5f;
  EXPECT_EQ(bob_overlap(&a, &b), 0);
  b.x = 142.4f;  // 121 and 163 still (rounding would make the first 122)
  EXPECT_EQ(bob_overlap(&a, &b), 0);
  b.x = 141.9f;  // 162
  EXPECT_EQ(bob_overlap(&a, &b), 1);
  // Toward zero left of the screen too: -30.5 + 21 = -9.5 gives -9 (not -10), 41 from 32.
  a.x = -30.5f;
  b.x = 11.9f;
  EXPECT_EQ(bob_overlap(&a, &b), 1);
  b.x = 12.0f;
  EXPECT_EQ(bob_overlap(&a, &b), 0);
  // Sizes not divisible by 8: a 150 x 150 laser reaches 75 - 18 = 57 each way.
  BOB_TYP laser{};
  laser.width = laser.height = 150;
  laser.x = 100;
  laser.y = 200;
  a.x = 213;  // reference points 234 and 157: 77 apart, less than 57 + 21
  a.y = 200;
  EXPECT_EQ(bob_overlap(&laser, &a), 1);
  a.x += 1;  // 78: not less than 57 + 21
  EXPECT_EQ(bob_overlap(&laser, &a), 0);
  // Far-away or broken positions do not overflow anything.
  a.x = 100;
  a.y = b.y = 200;
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
