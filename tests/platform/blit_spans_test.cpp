// Keyed blits of frames drawn again and again, whichever way the frame's rows are kept (runs,
// spans merged 16 bytes at a time, the same blocks in every row, or per pixel): random frames of
// every kind of row, random keys, places, parts and clip lists, each against the per-pixel
// reference, with the widest merge the machine has (blends under a mask register with AVX-512),
// with 32-byte AVX2 blends at most and with 16-byte merges only.
#include <random>
#include <string>

#include "platform/core/blit_rows.h"
#include "platform/core/surface_internal.h"
#include "tests/platform/support.h"

namespace {

// A kind of frame: its size and the runs of its rows (lengths of opaque runs and key gaps, up
// to the given maxima; a row is left all key with the given chance in 100).
struct FRAME_KIND_TYP {
  const char* name;
  int width, height;
  int max_run, max_gap, empty_rows;
};

constexpr FRAME_KIND_TYP KINDS[] = {
    {"figure", 56, 72, 12, 40, 20},        // one short run in most rows, as a skeleton
    {"speckled", 56, 72, 2, 2, 5},         // runs of one or two pixels
    {"every_other", 40, 30, 1, 1, 0},      // the key at every second pixel
    {"wide_rare", 150, 150, 3, 140, 60},   // a few pixels in a wide, mostly empty frame
    {"solid", 72, 80, 500, 1, 0},          // rows without the key
    {"narrow", 5, 40, 2, 2, 10},           // narrower than one 16-byte merge in both depths
    {"eight_wide", 8, 20, 1, 1, 0},        // one merge at 16 bits, half a one at 8
    {"slim", 56, 72, 6, 60, 10},           // one run of up to 6 in a row: a single block
    {"edge_to_edge", 32, 20, 32, 1, 0},   // blocks that meet both edges of the frame
};
constexpr int DW = 120, DH = 100;

struct CASE_TYP {
  FRAME_KIND_TYP kind;
  int bpp;
  int block_limit;  // the widest merge allowed (0: what the machine has)
};

std::vector<uint32_t> frame_values(const FRAME_KIND_TYP& k, uint32_t key, std::mt19937& rng) {
  std::vector<uint32_t> v(static_cast<size_t>(k.width * k.height), key);
  const uint32_t top = 1;  // values stay below 256 so both depths hold them
  for (int y = 0; y < k.height; ++y) {
    if (static_cast<int>(rng() % 100) < k.empty_rows) continue;
    int x = static_cast<int>(rng() % static_cast<uint32_t>(k.max_gap + 1));
    while (x < k.width) {
      const int run = 1 + static_cast<int>(rng() % static_cast<uint32_t>(k.max_run));
      for (int i = 0; i < run && x < k.width; ++i, ++x) {
        uint32_t value = top + rng() % 255;
        if (value == key) value = key + 1;
        v[static_cast<size_t>(y * k.width + x)] = value;
      }
      x += 1 + static_cast<int>(rng() % static_cast<uint32_t>(k.max_gap));
    }
  }
  return v;
}

RECT random_rect(std::mt19937& rng, int w, int h, int slack) {
  const int left = static_cast<int>(rng() % static_cast<uint32_t>(w + 2 * slack)) - slack;
  const int top = static_cast<int>(rng() % static_cast<uint32_t>(h + 2 * slack)) - slack;
  const int width = 1 + static_cast<int>(rng() % static_cast<uint32_t>(w));
  const int height = 1 + static_cast<int>(rng() % static_cast<uint32_t>(h));
  return {left, top, left + width, top + height};
}

class KeyedFrames : public Headless, public ::testing::WithParamInterface<CASE_TYP> {
 protected:
  void SetUp() override {
    Headless::SetUp();
    plat_blocks_limit(GetParam().block_limit);
  }
  void TearDown() override {
    plat_blocks_limit(0);
    Headless::TearDown();
  }
};

TEST_P(KeyedFrames, EveryDrawMatchesThePerPixelReference) {
  const FRAME_KIND_TYP& k = GetParam().kind;
  const int bpp = GetParam().bpp;
  std::mt19937 rng(static_cast<uint32_t>(k.width * 131 + k.max_run * 7 + bpp));
  for (int frame = 0; frame < 6; ++frame) {
    const uint32_t key = rng() % 256;
    SURFACE_TYP* sprite = plat_surface_create(k.width, k.height, bpp, 0);
    ASSERT_NE(sprite, nullptr);
    const std::vector<uint32_t> values = frame_values(k, key, rng);
    set_pixels(sprite, values);
    plat_surface_set_color_key(sprite, key, key);
    for (int draw = 0; draw < 40; ++draw) {
      SURFACE_TYP* dst = plat_surface_create(DW, DH, bpp, 0);
      pattern(dst, static_cast<uint32_t>(draw));
      // Mostly the whole frame at a place that may cut any edge; sometimes a part of it.
      RECT s = {0, 0, k.width, k.height};
      if (draw % 4 == 3) {
        s = random_rect(rng, k.width, k.height, 0);
        s.right = s.right < k.width ? s.right : k.width;
        s.bottom = s.bottom < k.height ? s.bottom : k.height;
      }
      const int x = static_cast<int>(rng() % (DW + k.width)) - k.width;
      const int y = static_cast<int>(rng() % (DH + k.height)) - k.height;
      const RECT d = {x, y, x + (s.right - s.left), y + (s.bottom - s.top)};
      std::vector<RECT> clips;
      if (draw % 3 == 1)
        for (int c = 1 + static_cast<int>(rng() % 3); c > 0; --c) clips.push_back(random_rect(rng, DW, DH, 10));
      CLIPPER_TYP* clipper = nullptr;
      if (!clips.empty()) {
        clipper = plat_clipper_create();
        plat_clipper_set_list(clipper, clips.data(), static_cast<int>(clips.size()));
        plat_surface_set_clipper(dst, clipper);
      }
      std::vector<RECT> shown = clips;
      if (shown.empty()) shown.push_back({0, 0, DW, DH});
      const std::vector<uint32_t> expected =
          reference_blit(pixels_of(dst), DW, DH, d, values, k.width, s, shown, true, key);
      ASSERT_EQ(plat_surface_blt(dst, &d, sprite, &s, BLT_KEYSRC), 1);
      ASSERT_EQ(pixels_of(dst), expected)
          << k.name << " frame " << frame << " draw " << draw << " key " << key << " dst {" << d.left
          << "," << d.top << "," << d.right << "," << d.bottom << "} src {" << s.left << "," << s.top
          << "," << s.right << "," << s.bottom << "} spans " << sprite->picture->runs.by_spans
          << " blocks " << sprite->picture->runs.block_count << "x" << sprite->picture->runs.block_bytes;
      plat_clipper_release(clipper);
      plat_surface_release(dst);
    }
    EXPECT_NE(sprite->picture->runs.state, KEY_RUNS_NONE) << "the frame was never drawn from what it keeps";
    plat_surface_release(sprite);
  }
}

std::vector<CASE_TYP> all_cases() {
  std::vector<CASE_TYP> cases;
  for (const FRAME_KIND_TYP& k : KINDS)
    for (int bpp : {8, 16})
      for (int limit : {0, 32, 16}) cases.push_back({k, bpp, limit});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Kinds, KeyedFrames, ::testing::ValuesIn(all_cases()),
                         [](const ::testing::TestParamInfo<CASE_TYP>& info) {
                           return std::string(info.param.kind.name) + "_bpp" + std::to_string(info.param.bpp) +
                                  (info.param.block_limit ? "_merges_of_" + std::to_string(info.param.block_limit) : "");
                         });

// Where 16-byte merges exist, frames of broken-up rows are drawn by spans and frames of a run or
// two per row by their runs, so the table above reaches both ways; narrow figures are drawn
// whole as blocks, wide solid rows are not.
#if defined(__SSE2__)
TEST_F(Headless, BrokenUpRowsAreMergedAndFewRunsAreCopied) {
  std::mt19937 rng(9);
  for (const FRAME_KIND_TYP& k : {KINDS[1], KINDS[4]}) {
    SURFACE_TYP* sprite = plat_surface_create(k.width, k.height, 8, 0);
    set_pixels(sprite, frame_values(k, 0, rng));
    plat_surface_set_color_key(sprite, 0, 0);
    SURFACE_TYP* dst = plat_surface_create(DW, DH, 8, 0);
    const RECT d = {4, 4, 4 + k.width, 4 + k.height};
    for (int i = 0; i < 3; ++i) ASSERT_EQ(plat_surface_blt(dst, &d, sprite, nullptr, BLT_KEYSRC), 1);
    EXPECT_EQ(sprite->picture->runs.state, KEY_RUNS_BUILT) << k.name;
    EXPECT_EQ(sprite->picture->runs.by_spans, k.max_run == 2 ? 1 : 0) << k.name;
    plat_surface_release(dst);
    plat_surface_release(sprite);
  }
  // Hand-made frames: in each row `run` pixels (split in two by a key pixel in the middle when
  // `split`) at a column that wanders over the row.
  const struct {
    int run, split, limit, bytes, count;
  } blocks[] = {
      {10, 0, 0, plat_block_bytes(), 1},  // one block, as wide as the machine merges
      {10, 0, 16, 16, 1},
      {40, 1, 0, 16, 3},  // two 32-byte blocks would not fit 56 bytes side by side: three of 16
      {40, 0, 0, 0, 0},   // but three blocks cost more than copying a single run
      {55, 1, 0, 0, 0},   // no blocks fit beside each other
  };
  for (const auto& b : blocks) {
    plat_blocks_limit(b.limit);
    std::vector<uint32_t> values(56 * 72, 0);
    for (int y = 0; y < 72; ++y)
      for (int x = 0; x < b.run; ++x)
        if (!b.split || x != b.run / 2) values[static_cast<size_t>(y * 56 + (y * 7) % (57 - b.run) + x)] = 9;
    SURFACE_TYP* sprite = plat_surface_create(56, 72, 8, 0);
    set_pixels(sprite, values);
    plat_surface_set_color_key(sprite, 0, 0);
    SURFACE_TYP* dst = plat_surface_create(DW, DH, 8, 0);
    const RECT d = {4, 4, 60, 76};
    for (int i = 0; i < 2; ++i) ASSERT_EQ(plat_surface_blt(dst, &d, sprite, nullptr, BLT_KEYSRC), 1);
    EXPECT_EQ(sprite->picture->runs.block_bytes, b.bytes) << "run " << b.run << " limit " << b.limit;
    EXPECT_EQ(sprite->picture->runs.block_count, b.count) << "run " << b.run << " limit " << b.limit;
    plat_surface_release(dst);
    plat_surface_release(sprite);
  }
  plat_blocks_limit(0);
}
#endif

}  // namespace
