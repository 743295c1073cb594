// Small off-screen surfaces with the same pixels share one picture: whatever writes to one of
// them must leave the others as they were, the last one released frees the picture, and the key
// runs kept with a picture must follow the pixels of each surface.
#include <tuple>

#include "platform/core/surface_internal.h"
#include "platform/text.h"
#include "tests/platform/support.h"

namespace {

constexpr int SW = 56, SH = 72;
constexpr uint32_t KEY = 5;
constexpr uint64_t SHEET = 41;  // a name for the bytes of `sheet_rows`

// How two surfaces came to hold the same pixels: written through locks (joined by their
// pixels), or copied from the same place of a named source into blank surfaces.
enum TWINS { BY_UNLOCK, BY_COPY_IN };
// The ways one of them is written afterwards.
enum WRITE { BY_LOCK, BY_FILL, BY_BLIT_INTO, BY_TEXT, BY_COPY_OVER };

// Rows of a sheet cell with key gaps, one byte or two per pixel, SW pixels a row and a pitch
// wider than that (as a sheet's is).
std::vector<uint8_t> sheet_rows(int bpp) {
  const int bytes = bpp / 8, pitch = (SW + 9) * bytes;
  std::vector<uint8_t> rows(static_cast<size_t>(pitch * SH));
  for (int y = 0; y < SH; ++y)
    for (int x = 0; x < SW; ++x) {
      const uint32_t v = (x + y / 4) % 19 < 4 || y % 9 == 0 ? KEY : 10u + (3u * x + 11u * y) % 200u;
      for (int b = 0; b < bytes; ++b) rows[static_cast<size_t>(y * pitch + x * bytes + b)] = uint8_t(v >> (8 * b));
    }
  return rows;
}

std::vector<uint32_t> sheet_values(int bpp) {
  const std::vector<uint8_t> rows = sheet_rows(bpp);
  const int bytes = bpp / 8, pitch = (SW + 9) * bytes;
  std::vector<uint32_t> v;
  for (int y = 0; y < SH; ++y)
    for (int x = 0; x < SW; ++x) {
      uint32_t p = rows[static_cast<size_t>(y * pitch + x * bytes)];
      if (bytes == 2) p |= uint32_t(rows[static_cast<size_t>(y * pitch + x * bytes + 1)]) << 8;
      v.push_back(p);
    }
  return v;
}

class Sharing : public Headless, public ::testing::WithParamInterface<std::tuple<int, TWINS>> {
 protected:
  int bpp() const { return std::get<0>(GetParam()); }
  TWINS twins() const { return std::get<1>(GetParam()); }

  SURFACE_TYP* frame(int caps = DDSCAPS_OFFSCREENPLAIN) {
    SURFACE_TYP* s = plat_surface_create(SW, SH, bpp(), caps);
    EXPECT_NE(s, nullptr);
    plat_surface_set_color_key(s, KEY, KEY);
    return s;
  }

  // A frame holding the sheet's cell the way `how` brings it in.
  SURFACE_TYP* sheet_frame(TWINS how, int caps = DDSCAPS_OFFSCREENPLAIN) {
    SURFACE_TYP* s = frame(caps);
    if (how == BY_UNLOCK) {
      set_pixels(s, sheet_values(bpp()));
    } else {
      const int bytes = bpp() / 8;
      EXPECT_EQ(plat_surface_copy_in(s, rows_.data(), size_t((SW + 9) * bytes), SW * bytes, SH, SHEET), 1);
    }
    return s;
  }

  // The same write on any surface, so a private surface shows what a sharer must come to.
  void write(SURFACE_TYP* s, WRITE how) {
    switch (how) {
      case BY_LOCK: {
        int pitch = 0;
        uint8_t* p = plat_surface_lock(s, &pitch);
        ASSERT_NE(p, nullptr);
        for (int y = 0; y < SH; y += 3) p[y * pitch + (y % SW) * (bpp() / 8)] = 250;
        plat_surface_unlock(s);
        break;
      }
      case BY_FILL: {
        const RECT band = {4, 10, 40, 20};
        ASSERT_EQ(plat_surface_fill(s, &band, 9), 1);
        break;
      }
      case BY_BLIT_INTO: {
        SURFACE_TYP* other = frame(0);
        pattern(other, 77);
        const RECT from = {0, 0, 20, 30}, to = {30, 40, 50, 70};
        ASSERT_EQ(plat_surface_blt(s, &to, other, &from, 0), 1);
        plat_surface_release(other);
        break;
      }
      case BY_TEXT:
        ASSERT_EQ(plat_text_draw(s, 1, 20, "Wg", 255, 255, 255), 1);
        break;
      case BY_COPY_OVER: {
        // A smaller copy from another named source: the rest of the frame must stay.
        const std::vector<uint8_t> other(size_t(SW * SH * 2), 3);
        ASSERT_EQ(plat_surface_copy_in(s, other.data(), size_t(SW * 2), 10 * (bpp() / 8), 12, SHEET + 1), 1);
        break;
      }
    }
  }

  const std::vector<uint8_t> rows_ = sheet_rows(bpp());
};

TEST_P(Sharing, TwinsHoldOnePictureUntilOneIsWrittenAndLastReleaseFreesIt) {
  for (WRITE how : {BY_LOCK, BY_FILL, BY_BLIT_INTO, BY_TEXT, BY_COPY_OVER}) {
    SCOPED_TRACE(how);
    const int start = plat_picture_count();
    SURFACE_TYP* a = sheet_frame(twins());
    SURFACE_TYP* b = sheet_frame(twins());
    EXPECT_EQ(plat_picture_count(), start + 1);
    EXPECT_EQ(raw_pixels(a), sheet_values(bpp()));
    EXPECT_EQ(raw_pixels(b), sheet_values(bpp()));

    SURFACE_TYP* alone = sheet_frame(BY_UNLOCK, 0);  // never shared: the write's reference
    write(alone, how);
    write(a, how);
    EXPECT_EQ(raw_pixels(a), raw_pixels(alone));
    EXPECT_NE(raw_pixels(a), sheet_values(bpp()));
    EXPECT_EQ(raw_pixels(b), sheet_values(bpp()));
    EXPECT_EQ(plat_picture_count(), start + 3);

    // A third frame joins the one still as loaded, not the written one.
    SURFACE_TYP* c = sheet_frame(twins());
    EXPECT_EQ(plat_picture_count(), start + 3);
    EXPECT_EQ(raw_pixels(c), sheet_values(bpp()));
    for (SURFACE_TYP* s : {alone, b, a, c}) plat_surface_release(s);
    EXPECT_EQ(plat_picture_count(), start);
  }
}

TEST_P(Sharing, AFrameWrittenBeforeTheCopyKeepsWhatTheCopyLeavesOut) {
  const int bytes = bpp() / 8;
  const size_t pitch = size_t((SW + 9) * bytes);
  const std::vector<uint32_t> cell = sheet_values(bpp());
  // Half the rows and half the columns of the cell, into a blank frame first.
  SURFACE_TYP* part = frame();
  ASSERT_EQ(plat_surface_copy_in(part, rows_.data(), pitch, SW / 2 * bytes, SH / 2, SHEET), 1);
  std::vector<uint32_t> part_expected(size_t(SW * SH), 0);
  for (int y = 0; y < SH / 2; ++y)
    for (int x = 0; x < SW / 2; ++x) part_expected[size_t(y * SW + x)] = cell[size_t(y * SW + x)];
  EXPECT_EQ(raw_pixels(part), part_expected);
  // The same copy into a painted frame: the paint outside the copy stays.
  SURFACE_TYP* painted = frame();
  pattern(painted, 19);
  std::vector<uint32_t> expected = raw_pixels(painted);
  ASSERT_EQ(plat_surface_copy_in(painted, rows_.data(), pitch, SW / 2 * bytes, SH / 2, SHEET), 1);
  for (int y = 0; y < SH / 2; ++y)
    for (int x = 0; x < SW / 2; ++x) expected[size_t(y * SW + x)] = cell[size_t(y * SW + x)];
  EXPECT_EQ(raw_pixels(painted), expected);
  // And the whole cell is not the half one.
  SURFACE_TYP* loaded = sheet_frame(BY_COPY_IN);
  EXPECT_EQ(raw_pixels(loaded), cell);
  EXPECT_EQ(raw_pixels(part), part_expected);
  for (SURFACE_TYP* s : {loaded, painted, part}) plat_surface_release(s);
}

TEST_P(Sharing, ACopyIsRefusedAsALockWouldBeAndLeavesTheFrameAsItWas) {
  const int bytes = bpp() / 8;
  const size_t pitch = size_t((SW + 9) * bytes);
  SURFACE_TYP* s = frame();
  ASSERT_NE(plat_surface_lock(s, nullptr), nullptr);
  EXPECT_EQ(plat_surface_copy_in(s, rows_.data(), pitch, SW * bytes, SH, SHEET), 0);
  plat_surface_unlock(s);
  plat_fault_set(CALL_SURFACE_LOCK, 0);
  EXPECT_EQ(plat_surface_copy_in(s, rows_.data(), pitch, SW * bytes, SH, SHEET), 0);
  plat_fault_set(CALL_SURFACE_LOCK, -1);
  EXPECT_EQ(plat_surface_copy_in(s, rows_.data(), pitch, SW * bytes, SH + 1, SHEET), 0);
  EXPECT_EQ(plat_surface_copy_in(nullptr, rows_.data(), pitch, SW * bytes, SH, SHEET), 0);
  EXPECT_EQ(raw_pixels(s), std::vector<uint32_t>(size_t(SW * SH), 0));
  plat_surface_release(s);
}

// Keyed draws of a frame onto a patterned surface against the per-pixel reference.
void expect_keyed_draw(SURFACE_TYP* sprite) {
  const int bpp = plat_surface_bpp(sprite);
  SURFACE_TYP* dst = plat_surface_create(SW + 20, SH + 10, bpp, 0);
  pattern(dst, 3);
  const RECT d = {7, 4, 7 + SW, 4 + SH}, s = {0, 0, SW, SH};
  const std::vector<uint32_t> expected = reference_blit(pixels_of(dst), SW + 20, SH + 10, d, raw_pixels(sprite),
                                                        SW, s, {{0, 0, SW + 20, SH + 10}}, true, KEY);
  EXPECT_EQ(plat_surface_blt(dst, &d, sprite, &s, BLT_KEYSRC), 1);
  EXPECT_EQ(pixels_of(dst), expected);
  plat_surface_release(dst);
}

TEST_P(Sharing, KeyRunsMadeFromASharedPictureFollowEachTwinAfterAWrite) {
  for (bool write_the_drawn_one : {false, true}) {
    SCOPED_TRACE(write_the_drawn_one);
    SURFACE_TYP* drawn = sheet_frame(twins());
    SURFACE_TYP* twin = sheet_frame(twins());
    ASSERT_EQ(drawn->picture, twin->picture);
    SURFACE_TYP* scratch = frame(0);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(plat_surface_blt(scratch, nullptr, drawn, nullptr, BLT_KEYSRC), 1);
    ASSERT_EQ(drawn->picture->runs.state, KEY_RUNS_BUILT);  // made once, for both
    // Key pixels become ink and ink becomes key in one of them.
    SURFACE_TYP* written = write_the_drawn_one ? drawn : twin;
    int pitch = 0;
    uint8_t* p = plat_surface_lock(written, &pitch);
    ASSERT_NE(p, nullptr);
    const int bytes = bpp() / 8;
    for (int y = 0; y < SH; ++y)
      for (int x = 0; x < SW; ++x) {
        uint8_t* at = p + y * pitch + x * bytes;
        const bool key = at[0] == KEY && (bytes == 1 || at[1] == 0);
        at[0] = key ? 99 : KEY;
        if (bytes == 2) at[1] = 0;
      }
    plat_surface_unlock(written);
    for (int round = 0; round < 3; ++round) {  // the third draw of each goes through new runs
      expect_keyed_draw(drawn);
      expect_keyed_draw(twin);
    }
    for (SURFACE_TYP* s : {drawn, twin, scratch}) plat_surface_release(s);
  }
}

INSTANTIATE_TEST_SUITE_P(DepthsAndWays, Sharing,
                         ::testing::Combine(::testing::Values(8, 16), ::testing::Values(BY_UNLOCK, BY_COPY_IN)),
                         [](const auto& info) {
                           return std::to_string(std::get<0>(info.param)) +
                                  (std::get<1>(info.param) == BY_UNLOCK ? "ByUnlock" : "ByCopyIn");
                         });

}  // namespace
