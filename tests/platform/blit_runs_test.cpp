// Keyed blits of a frame drawn again and again copy the runs of its rows that are not the key.
// They must leave exactly what the per-pixel reference leaves at every edge, and a frame whose
// pixels change by any path afterwards must draw its new pixels.
#include "platform/core/surface_internal.h"
#include "platform/display.h"
#include "platform/text.h"
#include "tests/platform/support.h"

namespace {

constexpr int SW = 56, SH = 72, DW = 100, DH = 80;
constexpr uint32_t KEY = 5;

// Rows of runs of 1 to 23 pixels with gaps of 1 to 3, whole key rows, whole opaque rows, and
// rows that start or end on an opaque pixel.
std::vector<uint32_t> sprite_values(uint32_t seed) {
  std::vector<uint32_t> v(SW * SH, KEY);
  for (int y = 0; y < SH; ++y) {
    if (y % 11 == 0) continue;
    int x = y % 4;
    for (int k = 0; x < SW; ++k) {
      const int length = 1 + (k * 7 + y) % 23;
      for (int i = 0; i < length && x < SW; ++i, ++x)
        v[static_cast<size_t>(y * SW + x)] = (seed + 3u * x + 17u * y) % 250u + 6u;
      x += 1 + (k + y) % 3;
    }
    if (y % 13 == 5)
      for (int i = 0; i < SW; ++i) v[static_cast<size_t>(y * SW + i)] = seed % 200u + 6u + i;
  }
  return v;
}

class KeyRuns : public Headless, public ::testing::WithParamInterface<int> {
 protected:
  int bpp() const { return GetParam(); }

  SURFACE_TYP* make_sprite(uint32_t seed) {
    SURFACE_TYP* s = plat_surface_create(SW, SH, bpp(), 0);
    EXPECT_NE(s, nullptr);
    set_pixels(s, sprite_values(seed));
    plat_surface_set_color_key(s, KEY, KEY);
    return s;
  }

  // Draws the frame until its runs are made, onto a surface of its own.
  void warm(SURFACE_TYP* sprite) {
    SURFACE_TYP* scratch = plat_surface_create(SW, SH, plat_surface_bpp(sprite), 0);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(plat_surface_blt(scratch, nullptr, sprite, nullptr, BLT_KEYSRC), 1);
    plat_surface_release(scratch);
    EXPECT_EQ(sprite->picture->runs.state, KEY_RUNS_BUILT);
  }

  // One keyed draw of src_rect onto a fresh patterned surface, against the reference made from
  // the sprite's pixels as they are now.
  void expect_draw(SURFACE_TYP* sprite, RECT d, RECT s, const std::vector<RECT>& clips) {
    SURFACE_TYP* dst = plat_surface_create(DW, DH, plat_surface_bpp(sprite), 0);
    pattern(dst, 3);
    CLIPPER_TYP* clipper = nullptr;
    if (!clips.empty()) {
      clipper = plat_clipper_create();
      plat_clipper_set_list(clipper, clips.data(), static_cast<int>(clips.size()));
      plat_surface_set_clipper(dst, clipper);
    }
    std::vector<RECT> effective = clips;
    if (effective.empty()) effective.push_back({0, 0, DW, DH});
    uint32_t key = 0;
    plat_surface_get_color_key(sprite, &key, nullptr);
    const std::vector<uint32_t> expected =
        reference_blit(pixels_of(dst), DW, DH, d, raw_pixels(sprite), SW, s, effective, true, key);
    EXPECT_EQ(plat_surface_blt(dst, &d, sprite, &s, BLT_KEYSRC), 1);
    EXPECT_EQ(pixels_of(dst), expected)
        << "dst {" << d.left << "," << d.top << "," << d.right << "," << d.bottom << "} src {"
        << s.left << "," << s.top << "," << s.right << "," << s.bottom << "} bpp " << bpp();
    plat_clipper_release(clipper);
    plat_surface_release(dst);
  }
};

TEST_P(KeyRuns, EveryEdgeAndClipListMatchesThePerPixelReference) {
  SURFACE_TYP* sprite = make_sprite(40);
  warm(sprite);
  const RECT whole = {0, 0, SW, SH};
  const RECT places[] = {
      {-20, 10, 36, 82},  {70, 10, 126, 82},  {20, -30, 76, 42}, {20, 40, 76, 112},
      {-40, -50, 16, 22}, {80, 60, 136, 132}, {-56, 0, 0, 72},   {100, 0, 156, 72},
      {22, 4, 78, 76},    {-1, -1, 55, 71},   {44, 8, 100, 80},  {-55, -71, 1, 1},
  };
  const std::vector<RECT> clips = {
      {0, 0, 30, 30}, {50, 20, 90, 60}, {20, 20, 60, 40}, {80, 70, 200, 200}, {40, 40, 10, 10}};
  for (const RECT& d : places) {
    expect_draw(sprite, d, whole, {});
    expect_draw(sprite, d, whole, clips);
  }
  // Parts of the frame: columns cut inside runs and at their ends.
  const RECT parts[] = {{3, 7, 40, 50}, {0, 0, 1, 72}, {55, 0, 56, 72}, {17, 30, 18, 31}, {1, 1, 55, 71}};
  for (const RECT& s : parts) {
    const RECT d = {-2 + s.left, 3, -2 + s.right, 3 + (s.bottom - s.top)};
    expect_draw(sprite, d, s, {});
    expect_draw(sprite, d, s, clips);
  }
  EXPECT_EQ(sprite->picture->runs.state, KEY_RUNS_BUILT);  // every draw above went through the runs
  plat_surface_release(sprite);
}

// The ways a frame's pixels (or what counts as its key) change after its runs were made.
enum WRITE_PATH { BY_LOCK, BY_FILL, BY_BLIT_INTO, BY_TEXT, BY_NEW_KEY };

TEST_P(KeyRuns, AFrameWrittenAfterItsRunsWereMadeDrawsItsNewPixels) {
  const RECT whole = {0, 0, SW, SH};
  const RECT place = {20, 4, 20 + SW, 4 + SH};
  for (WRITE_PATH path : {BY_LOCK, BY_FILL, BY_BLIT_INTO, BY_TEXT, BY_NEW_KEY}) {
    SCOPED_TRACE(path);
    SURFACE_TYP* sprite = make_sprite(40);
    warm(sprite);
    switch (path) {
      case BY_LOCK: {
        // Key pixels become ink and ink becomes key, through memory the lock handed out.
        int pitch = 0;
        uint8_t* p = plat_surface_lock(sprite, &pitch);
        ASSERT_NE(p, nullptr);
        const int bytes = bpp() / 8;
        for (int y = 0; y < SH; ++y)
          for (int x = 0; x < SW; ++x) p[y * pitch + x * bytes] = p[y * pitch + x * bytes] == KEY ? 77 : KEY;
        plat_surface_unlock(sprite);
        break;
      }
      case BY_FILL: {
        const RECT band = {5, 10, 50, 30};
        ASSERT_EQ(plat_surface_fill(sprite, &band, 9), 1);
        const RECT hole = {0, 40, 56, 45};
        ASSERT_EQ(plat_surface_fill(sprite, &hole, KEY), 1);
        break;
      }
      case BY_BLIT_INTO: {
        SURFACE_TYP* other = make_sprite(90);
        const RECT from = {0, 0, 30, 30}, to = {10, 20, 40, 50};
        ASSERT_EQ(plat_surface_blt(sprite, &to, other, &from, 0), 1);
        plat_surface_release(other);
        break;
      }
      case BY_TEXT:
        ASSERT_EQ(plat_text_draw(sprite, 2, 20, "Wg", 255, 255, 255), 1);
        break;
      case BY_NEW_KEY:
        plat_surface_set_color_key(sprite, 77, 77);
        break;
    }
    expect_draw(sprite, place, whole, {});
    warm(sprite);  // and once the runs are made again, the same picture
    expect_draw(sprite, place, whole, {});
    plat_surface_release(sprite);
  }
}

TEST_P(KeyRuns, AFlipLeavesBothSurfacesDrawingTheirNewPixels) {
  ASSERT_EQ(plat_display_set_mode(nullptr, SW, SH, bpp(), 1), 1);
  SURFACE_TYP* primary = plat_display_create_primary(1);
  ASSERT_NE(primary, nullptr);
  SURFACE_TYP* back = plat_display_get_back_buffer(primary);
  set_pixels(primary, sprite_values(40));
  set_pixels(back, sprite_values(120));
  for (SURFACE_TYP* s : {primary, back}) {
    plat_surface_set_color_key(s, KEY, KEY);
    warm(s);
  }
  ASSERT_EQ(plat_display_flip(primary), 1);
  const RECT whole = {0, 0, SW, SH};
  expect_draw(primary, {10, 5, 10 + SW, 5 + SH}, whole, {});
  expect_draw(back, {10, 5, 10 + SW, 5 + SH}, whole, {});
  plat_surface_release(primary);
}

TEST_P(KeyRuns, ABrokenUpFrameIsDrawnPerPixelAndStillExactly) {
  // Every other pixel the key: one run per two pixels is not worth keeping, the spans may be.
  SURFACE_TYP* sprite = plat_surface_create(SW, SH, bpp(), 0);
  std::vector<uint32_t> v(SW * SH);
  for (int i = 0; i < SW * SH; ++i) v[static_cast<size_t>(i)] = (i + i / SW) % 2 ? KEY : 100 + i % 50;
  set_pixels(sprite, v);
  plat_surface_set_color_key(sprite, KEY, KEY);
  SURFACE_TYP* scratch = plat_surface_create(SW, SH, bpp(), 0);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(plat_surface_blt(scratch, nullptr, sprite, nullptr, BLT_KEYSRC), 1);
  const KEY_RUNS_TYP& runs = sprite->picture->runs;
  EXPECT_TRUE(runs.state == KEY_RUNS_TOO_BROKEN || (runs.state == KEY_RUNS_BUILT && runs.by_spans));
  EXPECT_TRUE(runs.list.empty());
  plat_surface_release(scratch);
  expect_draw(sprite, {-3, 9, SW - 3, 9 + SH}, {0, 0, SW, SH}, {});
  plat_surface_release(sprite);
}

TEST_P(KeyRuns, AFrameDrawnOntoItselfReadsItsOldPixels) {
  SURFACE_TYP* sprite = make_sprite(40);
  warm(sprite);
  const std::vector<uint32_t> before = raw_pixels(sprite);
  const RECT from = {0, 0, 40, 50}, to = {10, 12, 50, 62};
  ASSERT_EQ(plat_surface_blt(sprite, &to, sprite, &from, BLT_KEYSRC), 1);
  EXPECT_EQ(raw_pixels(sprite),
            reference_blit(before, SW, SH, to, before, SW, from, {{0, 0, SW, SH}}, true, KEY));
  expect_draw(sprite, {0, 0, SW, SH}, {0, 0, SW, SH}, {});
  plat_surface_release(sprite);
}

INSTANTIATE_TEST_SUITE_P(Depths, KeyRuns, ::testing::Values(8, 16),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "bpp" + std::to_string(info.param);
                         });

}  // namespace
