// Blits and fills: clipping at every edge and by several clip rectangles, colour keys,
// stretching, refusals, and never touching memory outside either surface.
#include <random>

#include "tests/platform/support.h"

namespace {

struct BlitCase {
  RECT dst;
  RECT src;
};

class Blit : public Headless {
 protected:
  // Blits src_rect of a patterned 56x72 sprite onto a patterned 100x80 surface and compares
  // the whole destination with the per-pixel reference.
  void check(int bpp, RECT d, RECT s, const std::vector<RECT>& clips, bool keyed) {
    SURFACE_TYP* dst = plat_surface_create(100, 80, bpp, 0);
    SURFACE_TYP* src = plat_surface_create(56, 72, bpp, 0);
    ASSERT_TRUE(dst && src);
    pattern(dst, 3);
    pattern(src, 1000);
    // Punch key pixels into the sprite: a diagonal band and the whole first column.
    std::vector<uint32_t> sp = pixels_of(src);
    const uint32_t key = 5;
    for (int y = 0; y < 72; ++y)
      for (int x = 0; x < 56; ++x)
        if ((x + y) % 5 == 0 || x == 0) sp[static_cast<size_t>(y * 56 + x)] = key;
    set_pixels(src, sp);
    plat_surface_set_color_key(src, key, key);
    CLIPPER_TYP* clipper = nullptr;
    if (!clips.empty()) {
      clipper = plat_clipper_create();
      ASSERT_EQ(plat_clipper_set_list(clipper, clips.data(), static_cast<int>(clips.size())), 1);
      ASSERT_EQ(plat_surface_set_clipper(dst, clipper), 1);
    }
    std::vector<uint32_t> before = pixels_of(dst);
    std::vector<RECT> effective = clips;
    if (effective.empty()) effective.push_back({0, 0, 100, 80});
    std::vector<uint32_t> expected =
        reference_blit(before, 100, 80, d, sp, 56, s, effective, keyed, key);
    EXPECT_EQ(plat_surface_blt(dst, &d, src, &s, keyed ? BLT_KEYSRC : 0), 1);
    EXPECT_EQ(pixels_of(dst), expected)
        << "dst {" << d.left << "," << d.top << "," << d.right << "," << d.bottom << "} src {"
        << s.left << "," << s.top << "," << s.right << "," << s.bottom << "} bpp " << bpp;
    plat_clipper_release(clipper);
    plat_surface_release(dst);
    plat_surface_release(src);
  }
};

const RECT SPRITE = {0, 0, 56, 72};

TEST_F(Blit, UnscaledClipsAtEveryEdgeAndCorner) {
  const RECT places[] = {
      {-20, 10, 36, 82},  {70, 10, 126, 82},   {20, -30, 76, 42},  {20, 40, 76, 112},
      {-40, -50, 16, 22}, {80, 60, 136, 132},  {-56, 0, 0, 72},    {100, 0, 156, 72},
      {22, 4, 78, 76},    {-1, -1, 55, 71},    {44, 8, 100, 80},
  };
  for (int bpp : {8, 16})
    for (const RECT& d : places)
      for (bool keyed : {false, true}) check(bpp, d, SPRITE, {}, keyed);
}

TEST_F(Blit, ClipListOfSeveralRectanglesIsTheirUnion) {
  // Two separate windows, one overlapping the first, one partly off the surface, one inverted.
  const std::vector<RECT> clips = {
      {0, 0, 30, 30}, {50, 20, 90, 60}, {20, 20, 60, 40}, {80, 70, 200, 200}, {40, 40, 10, 10}};
  const RECT places[] = {{10, 5, 66, 77}, {-10, -10, 46, 62}, {40, 30, 96, 102}, {0, 0, 100, 80}};
  for (int bpp : {8, 16})
    for (const RECT& d : places)
      for (bool keyed : {false, true}) check(bpp, d, SPRITE, clips, keyed);
}

TEST_F(Blit, ClippingDoesNotShiftAStretchedSprite) {
  const std::vector<RECT> clips = {{10, 10, 45, 70}, {60, 0, 100, 35}};
  const RECT places[] = {{-30, -20, 90, 100}, {5, 5, 33, 41}, {0, 0, 100, 80}, {-7, 3, 20, 77}};
  for (int bpp : {8, 16})
    for (const RECT& d : places) {
      check(bpp, d, SPRITE, {}, true);
      check(bpp, d, SPRITE, clips, true);
      check(bpp, d, {3, 7, 40, 50}, clips, false);
    }
}

TEST_F(Blit, RandomRectanglesMatchTheReference) {
  std::mt19937 rng(1234);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 150; ++round) {
    RECT s{pick(0, 50), pick(0, 60), 0, 0};
    s.right = pick(s.left + 1, 56);
    s.bottom = pick(s.top + 1, 72);
    RECT d{pick(-120, 120), pick(-100, 100), 0, 0};
    d.right = d.left + pick(1, 160);
    d.bottom = d.top + pick(1, 140);
    std::vector<RECT> clips;
    int n = pick(0, 3);
    for (int i = 0; i < n; ++i) {
      RECT c{pick(-20, 90), pick(-20, 70), 0, 0};
      c.right = c.left + pick(0, 80);
      c.bottom = c.top + pick(0, 80);
      clips.push_back(c);
    }
    check(round % 2 ? 16 : 8, d, s, clips, round % 3 != 0);
  }
}

TEST_F(Blit, HugeCoordinatesStayInsideBothSurfaces) {
  SURFACE_TYP* dst = plat_surface_create(64, 48, 8, 0);
  SURFACE_TYP* src = plat_surface_create(56, 72, 8, 0);
  pattern(src, 9);
  const std::vector<uint32_t> blank = pixels_of(dst);
  const RECT far[] = {{2000000000, 0, 2100000000, 10},
                      {-2147483647 - 1, -2147483647 - 1, -2000000000, -2000000000},
                      {-2147483647 - 1, 0, 2147483647, 48}};
  EXPECT_EQ(plat_surface_blt(dst, &far[0], src, nullptr, 0), 1);
  EXPECT_EQ(plat_surface_blt(dst, &far[1], src, nullptr, 0), 1);
  EXPECT_EQ(pixels_of(dst), blank);
  // A rectangle spanning the whole int range squeezes the sprite into a few source columns;
  // every pixel drawn still comes from the sprite.
  EXPECT_EQ(plat_surface_blt(dst, &far[2], src, nullptr, 0), 1);
  EXPECT_NE(pixels_of(dst), blank);
  plat_surface_release(dst);
  plat_surface_release(src);
}

TEST_F(Blit, KeyPixelsLeaveTheDestinationUnchanged) {
  SURFACE_TYP* dst = plat_surface_create(56, 72, 8, 0);
  SURFACE_TYP* src = plat_surface_create(56, 72, 8, 0);
  pattern(dst, 77);
  std::vector<uint32_t> sprite(56 * 72, 0);  // all key...
  for (int y = 20; y < 30; ++y)
    for (int x = 10; x < 47; ++x) sprite[static_cast<size_t>(y * 56 + x)] = 200;  // ...but a bar
  set_pixels(src, sprite);
  plat_surface_set_color_key(src, 0, 0);
  std::vector<uint32_t> expected = pixels_of(dst);
  for (int y = 20; y < 30; ++y)
    for (int x = 10; x < 47; ++x) expected[static_cast<size_t>(y * 56 + x)] = 200;
  EXPECT_EQ(plat_surface_blt(dst, nullptr, src, nullptr, BLT_KEYSRC | BLT_WAIT), 1);
  EXPECT_EQ(pixels_of(dst), expected);
  // Without the key flag the key colour is copied like any other.
  EXPECT_EQ(plat_surface_blt(dst, nullptr, src, nullptr, 0), 1);
  EXPECT_EQ(pixels_of(dst), sprite);
  plat_surface_release(dst);
  plat_surface_release(src);
}

TEST_F(Blit, StretchDoublesEachPixelAndHalvesExactly) {
  SURFACE_TYP* small = plat_surface_create(2, 2, 8, 0);
  SURFACE_TYP* big = plat_surface_create(4, 4, 8, 0);
  set_pixels(small, {1, 2, 3, 4});
  EXPECT_EQ(plat_surface_blt(big, nullptr, small, nullptr, 0), 1);
  EXPECT_EQ(pixels_of(big), (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
  set_pixels(big, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  EXPECT_EQ(plat_surface_blt(small, nullptr, big, nullptr, 0), 1);
  EXPECT_EQ(pixels_of(small), (std::vector<uint32_t>{1, 3, 9, 11}));
  plat_surface_release(small);
  plat_surface_release(big);
}

TEST_F(Blit, RefusesBadArgumentsAndLockedSurfaces) {
  SURFACE_TYP* dst = plat_surface_create(32, 32, 8, 0);
  SURFACE_TYP* src = plat_surface_create(16, 16, 8, 0);
  SURFACE_TYP* deep = plat_surface_create(16, 16, 16, 0);
  pattern(src, 1);
  const std::vector<uint32_t> blank = pixels_of(dst);
  const RECT inverted = {10, 10, 5, 20}, flat = {0, 0, 0, 10}, outside = {8, 8, 17, 12},
             negative = {-1, 0, 4, 4};
  EXPECT_EQ(plat_surface_blt(nullptr, nullptr, src, nullptr, 0), 0);
  EXPECT_EQ(plat_surface_blt(dst, nullptr, nullptr, nullptr, 0), 0);
  EXPECT_EQ(plat_surface_blt(dst, nullptr, deep, nullptr, 0), 0);
  EXPECT_EQ(plat_surface_blt(dst, &inverted, src, nullptr, 0), 0);
  EXPECT_EQ(plat_surface_blt(dst, &flat, src, nullptr, 0), 0);
  EXPECT_EQ(plat_surface_blt(dst, nullptr, src, &inverted, 0), 0);
  EXPECT_EQ(plat_surface_blt(dst, nullptr, src, &outside, 0), 0);
  EXPECT_EQ(plat_surface_blt(dst, nullptr, src, &negative, 0), 0);
  int pitch;
  ASSERT_NE(plat_surface_lock(src, &pitch), nullptr);
  EXPECT_EQ(plat_surface_blt(dst, nullptr, src, nullptr, 0), 0);
  plat_surface_unlock(src);
  ASSERT_NE(plat_surface_lock(dst, &pitch), nullptr);
  EXPECT_EQ(plat_surface_blt(dst, nullptr, src, nullptr, 0), 0);
  EXPECT_EQ(plat_surface_fill(dst, nullptr, 9), 0);
  plat_surface_unlock(dst);
  EXPECT_EQ(pixels_of(dst), blank);
  // A clipper whose list was never set shows nothing and the blit says so.
  CLIPPER_TYP* clipper = plat_clipper_create();
  plat_surface_set_clipper(dst, clipper);
  EXPECT_EQ(plat_surface_blt(dst, nullptr, src, nullptr, 0), 0);
  EXPECT_EQ(pixels_of(dst), blank);
  plat_clipper_release(clipper);
  plat_surface_release(dst);
  plat_surface_release(src);
  plat_surface_release(deep);
}

TEST_F(Blit, OntoItselfReadsThePixelsAsTheyWere) {
  SURFACE_TYP* s = plat_surface_create(8, 1, 8, 0);
  set_pixels(s, {1, 2, 3, 4, 5, 6, 7, 8});
  const RECT from = {0, 0, 6, 1}, to = {2, 0, 8, 1};
  EXPECT_EQ(plat_surface_blt(s, &to, s, &from, 0), 1);
  EXPECT_EQ(pixels_of(s), (std::vector<uint32_t>{1, 2, 1, 2, 3, 4, 5, 6}));
  plat_surface_release(s);
}

TEST_F(Blit, FillIsCutToTheSurfaceAndTheClipList) {
  for (int bpp : {8, 16}) {
    SURFACE_TYP* s = plat_surface_create(10, 6, bpp, 0);
    const uint32_t color = bpp == 8 ? 0x1234u : 0x12345u;  // only the low bits count
    const uint32_t stored = bpp == 8 ? 0x34u : 0x2345u;
    RECT over = {-5, 4, 3, 100};
    EXPECT_EQ(plat_surface_fill(s, &over, color), 1);
    std::vector<uint32_t> expected(60, 0);
    for (int y = 4; y < 6; ++y)
      for (int x = 0; x < 3; ++x) expected[static_cast<size_t>(y * 10 + x)] = stored;
    EXPECT_EQ(pixels_of(s), expected);

    CLIPPER_TYP* clipper = plat_clipper_create();
    const RECT clips[] = {{1, 0, 3, 2}, {7, 1, 20, 2}};
    plat_clipper_set_list(clipper, clips, 2);
    plat_surface_set_clipper(s, clipper);
    plat_clipper_release(clipper);  // the surface keeps it alive
    EXPECT_EQ(plat_surface_fill(s, nullptr, 1), 1);
    for (int x : {1, 2}) expected[static_cast<size_t>(x)] = 1;
    for (int x : {1, 2, 7, 8, 9}) expected[static_cast<size_t>(10 + x)] = 1;
    EXPECT_EQ(pixels_of(s), expected);
    const RECT inverted = {5, 5, 1, 1};
    EXPECT_EQ(plat_surface_fill(s, &inverted, 3), 0);
    EXPECT_EQ(pixels_of(s), expected);
    plat_surface_release(s);
  }
}

}  // namespace
