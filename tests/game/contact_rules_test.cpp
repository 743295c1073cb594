// The pure rules: contact between boxes, bodies and beams; headings, facings and entry points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "game/actor_rules.h"
#include "game/collide.h"
#include "game/spawn.h"

namespace {

BOB_TYP box(float x, float y, int w, int h) {
  BOB_TYP b{};
  b.x = x;
  b.y = y;
  b.width = w;
  b.height = h;
  return b;
}

// A is a 56 x 72 skeleton at the origin (or 56 x 73, whose half height is 36, not 36.5).
struct PAIR_CASE {
  int a_height;
  float bx, by;
  int boxes, bodies;
};
const PAIR_CASE kPairs[] = {
    {72, 56, 0, 0, 0},   // sharing the right edge only: no touch
    {72, 0, 72, 0, 0},   // sharing the bottom edge only
    {72, 55, 0, 1, 0},   // touching, but outside the narrowed body
    {72, 32, 0, 1, 0},   // 44 against 44: still apart
    {72, 31, 0, 1, 1},   // bodies meet
    {72, -31, 0, 1, 1},  // from the left
    {72, -32, 0, 1, 0},
    {72, 0, 36, 1, 0},   // only the upper halves count
    {72, 0, 35, 1, 1},
    {73, 0, 36, 1, 0},   // the half height is truncated
};

TEST(Contact, BoxesAndBodies) {
  for (const PAIR_CASE& c : kPairs) {
    const BOB_TYP a = box(0, 0, 56, c.a_height), b = box(c.bx, c.by, 56, 72);
    EXPECT_EQ(boxes_overlap(&a, &b), c.boxes) << c.bx << "," << c.by;
    EXPECT_EQ(boxes_overlap(&b, &a), c.boxes) << c.bx << "," << c.by;
    if (c.boxes) {
      EXPECT_EQ(bodies_overlap(&a, &b), c.bodies) << c.bx << "," << c.by;
    }
  }
}

// The dead actor's body spans x + 7 .. x + 62 (60 for summons) and its upper 40 rows, whatever
// size its record claims; its box is always 72 x 80.
TEST(Contact, DeadBody) {
  const BOB_TYP a = box(100, 100, 56, 72);
  struct {
    float dx, dy;
    int body62, body60;
  } cases[] = {{137, 100, 0, 0}, {136, 100, 1, 1}, {50, 100, 0, 0},
               {51, 100, 1, 0},  {53, 100, 1, 1},  {100, 60, 0, 0},
               {100, 61, 1, 1},  {100, 135, 1, 1}, {100, 136, 0, 0}};
  for (const auto& c : cases) {
    const BOB_TYP d = box(c.dx, c.dy, 0, 0);
    EXPECT_EQ(bodies_overlap_dead(&a, &d, DEAD_BODY_RIGHT), c.body62) << c.dx << "," << c.dy;
    EXPECT_EQ(bodies_overlap_dead(&a, &d, DEAD_BODY_RIGHT_FOR_SUMMONS), c.body60) << c.dx;
  }
  BOB_TYP d = box(155, 171, 0, 0);
  EXPECT_EQ(boxes_overlap_dead(&a, &d), 1);
  d.x = 156;
  EXPECT_EQ(boxes_overlap_dead(&a, &d), 0);
  d.x = 29;
  d.y = 21;
  EXPECT_EQ(boxes_overlap_dead(&a, &d), 1);
  d.y = 20;
  EXPECT_EQ(boxes_overlap_dead(&a, &d), 0);
}

// A laser box at the origin: a horizontal beam on rows 72..75, a vertical one on columns 72..75.
struct BEAM_CASE {
  int owner_sequence, narrowing;
  float tx, ty;
  int hits;
};
const BEAM_CASE kBeams[] = {
    {0, 12, 50, 0, 0},    // the beam row exactly at the target's bottom edge misses
    {0, 12, 50, 1, 1},    {4, 12, 50, 74, 1},   {0, 12, 50, 75, 0},
    {0, 12, 145, 20, 0},  // 5 pixels into the beam's right end: a skeleton is missed
    {0, 0, 145, 20, 1},   // ... and a summon is hit
    {4, 12, -51, 20, 0},  {4, 0, -51, 20, 1},  // the same at the left end
    {2, 12, 16, 100, 0},  {2, 12, 17, 100, 1}, {6, 0, 74, 100, 1},
    {6, 12, 75, 100, 0},  {2, 12, 17, -72, 0}, {6, 12, 17, 149, 1},
    {6, 12, 17, 150, 0},
};

TEST(Contact, Beams) {
  const BOB_TYP laser = box(0, 0, 150, 150);
  for (const BEAM_CASE& c : kBeams) {
    const BOB_TYP t = box(c.tx, c.ty, 56, 72);
    EXPECT_EQ(beam_hits(&laser, &t, c.owner_sequence, c.narrowing), c.hits)
        << "sequence " << c.owner_sequence << " n " << c.narrowing << " at " << c.tx << "," << c.ty;
  }
}

TEST(Headings, SectorsAndWrap) {
  const int sectors[][2] = {{0, 0},   {22, 0},  {23, 7},  {67, 7},  {68, 6},  {112, 6}, {113, 5},
                            {157, 5}, {158, 4}, {202, 4}, {203, 3}, {247, 3}, {248, 2}, {292, 2},
                            {293, 1}, {315, 1}, {337, 1}, {338, 0}, {360, 0}};
  for (const auto& s : sectors) EXPECT_EQ(sector_sequence(s[0]), s[1]) << s[0];
  // At spawning 315 still faces east; walking, the dead count it as north.
  const int dead_sectors[][2] = {{0, 0},   {45, 0},  {46, 6},  {135, 6}, {136, 4},
                                 {225, 4}, {226, 2}, {314, 2}, {315, 0}, {360, 0}};
  for (const auto& s : dead_sectors) EXPECT_EQ(dead_spawn_sequence(s[0]), s[1]) << s[0];
  // 350 + 80, 10 - 90, and 360 itself, which has its own table entry.
  const int wraps[][2] = {{430, 70}, {-80, 280}, {360, 360}, {361, 1}, {-1, 359}, {0, 0}, {270, 270}};
  for (const auto& w : wraps) EXPECT_EQ(wrap_heading(w[0]), w[1]) << w[0];
}

TEST(Headings, EntryPoints) {
  struct {
    int edge, w, h, x, y;
  } cases[] = {{5, 56, 72, 0, 408},   {0, 56, 72, 584, 204}, {1, 56, 72, 0, 204},
               {2, 56, 72, 292, 0},   {4, 56, 72, 584, 0},   {6, 56, 72, 0, 0},
               {7, 56, 72, 584, 408}, {0, 72, 80, 568, 200}, {3, 72, 80, 284, 400}};
  for (const auto& c : cases) {
    int x = -1, y = -1;
    edge_position(c.edge, c.w, c.h, &x, &y);
    EXPECT_EQ(x, c.x) << "edge " << c.edge;
    EXPECT_EQ(y, c.y) << "edge " << c.edge;
  }
}

// Every edge's headings point into the arena and cover their whole range; edge 1 wraps past 0.
TEST(Headings, EntryHeadingRanges) {
  const int ranges[8][2] = {{120, 239}, {300, 419}, {30, 149}, {210, 329},
                            {120, 149}, {300, 329}, {0, 29},   {210, 239}};
  std::srand(5);
  for (int edge = 0; edge < 8; ++edge) {
    int lo = 1000, hi = -1000;
    for (int n = 0; n < 3000; ++n) {
      const int h = edge_heading(edge);
      ASSERT_TRUE(h >= 0 && h < 360) << h;
      const int unwrapped = h < ranges[edge][0] ? h + 360 : h;
      lo = std::min(lo, unwrapped);
      hi = std::max(hi, unwrapped);
    }
    EXPECT_EQ(lo, ranges[edge][0]) << "edge " << edge;
    EXPECT_EQ(hi, ranges[edge][1]) << "edge " << edge;
  }
}

}  // namespace
