// The pure rules: contact between boxes, bodies and beams; headings, facings and entry points.
#include <algorithm>

#include "game/actor_rules.h"
#include "game/collide.h"
#include "game/spawn.h"
#include "tests/game/game_fixture.h"

namespace {

// A is 56 x 72 at the origin, or 56 x 73, whose half height is 36, not 36.5.
TEST(Contact, BoxesAndBodies) {
  const struct {
    int a_height;
    float bx, by;
    int boxes, bodies;
  } cases[] = {{72, 56, 0, 0, 0},  {72, 0, 72, 0, 0},  {72, 55, 0, 1, 0},  {72, 32, 0, 1, 0},
               {72, 31, 0, 1, 1},  {72, -31, 0, 1, 1}, {72, -32, 0, 1, 0}, {72, 0, 36, 1, 0},
               {72, 0, 35, 1, 1},  {73, 0, 36, 1, 0}};
  for (const auto& c : cases) {
    const BOB_TYP a = bare(0, 0, 56, c.a_height, 1), b = bare(c.bx, c.by, 56, 72, 1);
    EXPECT_EQ(boxes_overlap(&a, &b), c.boxes) << c.bx << "," << c.by;
    EXPECT_EQ(boxes_overlap(&b, &a), c.boxes) << c.bx << "," << c.by;
    EXPECT_EQ(c.boxes && bodies_overlap(&a, &b), c.bodies) << c.bx << "," << c.by;
  }
}

// A dead actor's box is 72 x 80 and its body x + 7 .. x + 62 (60 for summons) by its upper 40
// rows, whatever size its record claims.
TEST(Contact, DeadBoxAndBody) {
  const BOB_TYP a = bare(100, 100, 56, 72, 1);
  const struct {
    float dx, dy;
    int box, body62, body60;
  } cases[] = {{137, 100, 1, 0, 0}, {136, 100, 1, 1, 1}, {50, 100, 1, 0, 0}, {51, 100, 1, 1, 0},
               {53, 100, 1, 1, 1},  {100, 60, 1, 0, 0},  {100, 61, 1, 1, 1}, {100, 135, 1, 1, 1},
               {100, 136, 1, 0, 0}, {155, 171, 1, 0, 0}, {156, 100, 0, 0, 0}, {28, 100, 0, 0, 0},
               {100, 20, 0, 0, 0},  {100, 172, 0, 0, 0}};
  for (const auto& c : cases) {
    const BOB_TYP d = bare(c.dx, c.dy, 0, 0, 1);
    EXPECT_EQ(boxes_overlap_dead(&a, &d), c.box) << c.dx << "," << c.dy;
    EXPECT_EQ(c.box && bodies_overlap_dead(&a, &d, DEAD_BODY_RIGHT), c.body62) << c.dx << "," << c.dy;
    EXPECT_EQ(c.box && bodies_overlap_dead(&a, &d, DEAD_BODY_RIGHT_FOR_SUMMONS), c.body60) << c.dx;
  }
}

// A laser box at the origin: an east or west beam on rows 72..75, a north or south one on
// columns 72..75. A row exactly at the target's bottom misses; a target 5 pixels into either end
// of a horizontal beam is hit as a summon (narrowing 0) and missed as a skeleton (12).
TEST(Contact, Beams) {
  const struct {
    int owner_sequence, narrowing;
    float tx, ty;
    int hits;
  } cases[] = {{0, 12, 50, 0, 0},    {0, 12, 50, 1, 1},    {4, 12, 50, 74, 1},   {0, 12, 50, 75, 0},
               {0, 12, 145, 20, 0},  {0, 0, 145, 20, 1},   {4, 12, -51, 20, 0},  {4, 0, -51, 20, 1},
               {2, 12, 16, 100, 0},  {2, 12, 17, 100, 1},  {6, 0, 74, 100, 1},   {6, 12, 75, 100, 0},
               {2, 12, 17, -72, 0},  {6, 12, 17, 149, 1},  {6, 12, 17, 150, 0}};
  const BOB_TYP laser = bare(0, 0, 150, 150, 0);
  for (const auto& c : cases) {
    const BOB_TYP t = bare(c.tx, c.ty, 56, 72, 1);
    EXPECT_EQ(beam_hits(&laser, &t, c.owner_sequence, c.narrowing), c.hits)
        << "sequence " << c.owner_sequence << " n " << c.narrowing << " at " << c.tx << "," << c.ty;
  }
}

TEST(Headings, SectorsAndWrap) {
  const int sectors[][2] = {{0, 0},   {22, 0},  {23, 7},  {67, 7},  {68, 6},  {112, 6}, {113, 5},
                            {157, 5}, {158, 4}, {202, 4}, {203, 3}, {247, 3}, {248, 2}, {292, 2},
                            {293, 1}, {315, 1}, {337, 1}, {338, 0}, {360, 0}};
  for (const auto& s : sectors) EXPECT_EQ(sector_sequence(s[0]), s[1]) << s[0];
  // At spawning the dead count 315 as east (walking, as north).
  const int dead_sectors[][2] = {{0, 0},   {45, 0},  {46, 6},  {135, 6}, {136, 4},
                                 {225, 4}, {226, 2}, {314, 2}, {315, 0}, {360, 0}};
  for (const auto& s : dead_sectors) EXPECT_EQ(dead_spawn_sequence(s[0]), s[1]) << s[0];
  // 350 + 80, 10 - 90, and 360 itself, which has its own table entry.
  const int wraps[][2] = {{430, 70}, {-80, 280}, {360, 360}, {361, 1}, {-1, 359}, {0, 0}};
  for (const auto& w : wraps) EXPECT_EQ(wrap_heading(w[0]), w[1]) << w[0];
}

TEST(Headings, EntryPoints) {
  const int cases[][5] = {{5, 56, 72, 0, 408}, {0, 56, 72, 584, 204}, {1, 56, 72, 0, 204},
                          {2, 56, 72, 292, 0}, {4, 56, 72, 584, 0},   {6, 56, 72, 0, 0},
                          {7, 56, 72, 584, 408}, {0, 72, 80, 568, 200}, {3, 72, 80, 284, 400}};
  for (const auto& c : cases) {
    int x = -1, y = -1;
    edge_position(c[0], c[1], c[2], &x, &y);
    EXPECT_EQ(x, c[3]) << "edge " << c[0];
    EXPECT_EQ(y, c[4]) << "edge " << c[0];
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
      lo = std::min(lo, h < ranges[edge][0] ? h + 360 : h);
      hi = std::max(hi, h < ranges[edge][0] ? h + 360 : h);
    }
    EXPECT_EQ(lo, ranges[edge][0]) << "edge " << edge;
    EXPECT_EQ(hi, ranges[edge][1]) << "edge " << edge;
  }
}

}  // namespace
