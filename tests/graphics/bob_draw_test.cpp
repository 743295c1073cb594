// Sprite records on the headless display: creation, keyed and clipped drawing, frames cut from
// sprite sheets.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/graphics/bitmap.h"
#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"
#include "platform/faults.h"
#include "tests/graphics/bitmap_files.h"
#include "tests/graphics/bob_surface_helpers.h"
#include "tests/support/display_fixture.h"

namespace {

constexpr int kW = 56, kH = 72;
constexpr uint8_t kBackground = 7;

// A frame with key pixels (0) on every fifth diagonal, the rest distinct non-zero indices.
uint8_t frame_pixel(int x, int y) { return (x + y) % 5 == 0 ? 0 : uint8_t(1 + (x * 3 + y) % 250); }

class BobOnDisplay : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(bob_create(&bob, 0, 0, kW, kH, 36, ATTR_VISIBLE | ATTR_SEQUENCED, DDSCAPS_SYSTEMMEMORY, 0, 8), 1);
    surface_paint8(bob.frame_surfaces[0], frame_pixel);
    clear_back();
  }
  void TearDown() override {
    bob_destroy(&bob);
    plat_fault_clear_all();
    DisplayFixture::TearDown();
  }

  void clear_back() { ASSERT_EQ(plat_surface_fill(back_surface, nullptr, kBackground), 1); }

  // Every screen pixel: the frame's where it lands on screen and is not the key, else untouched.
  void expect_drawn_at(int left, int top) {
    const std::vector<uint8_t> screen = surface_bytes(back_surface);
    int wrong = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const int fx = x - left, fy = y - top;
        uint8_t want = kBackground;
        if (fx >= 0 && fx < kW && fy >= 0 && fy < kH && frame_pixel(fx, fy) != 0) want = frame_pixel(fx, fy);
        if (screen[size_t(y) * 640 + x] != want && ++wrong <= 3)
          ADD_FAILURE() << "at " << left << "," << top << ": pixel " << x << "," << y << " is "
                        << int(screen[size_t(y) * 640 + x]) << ", want " << int(want);
      }
    EXPECT_EQ(wrong, 0);
  }

  BOB_TYP bob{};
};

TEST_F(BobOnDisplay, CreateMakesOneKeyedSurfacePerFrame) {
  EXPECT_EQ(bob.state, 1);
  EXPECT_EQ(bob.frame_count, 36);
  EXPECT_EQ(bob.bits_per_pixel, 8);
  EXPECT_EQ(bob.attributes, ATTR_VISIBLE | ATTR_SEQUENCED);
  for (int i = 0; i < 64; ++i) {
    SURFACE_TYP* surface = bob.frame_surfaces[i];
    if (i >= 36) {
      EXPECT_EQ(surface, nullptr);
      continue;
    }
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(plat_surface_width(surface), kW);
    EXPECT_EQ(plat_surface_height(surface), kH);
    EXPECT_EQ(plat_surface_bpp(surface), 8);
    EXPECT_TRUE(plat_surface_caps(surface) & DDSCAPS_SYSTEMMEMORY);
    uint32_t low = 1, high = 1;
    plat_surface_get_color_key(surface, &low, &high);
    EXPECT_EQ(low, 0u);
    EXPECT_EQ(high, 0u);
  }

  BOB_TYP wide{};
  wide.extra_width = 8;
  ASSERT_EQ(bob_create(&wide, 3, 4, 10, 12, 2, 0, 0, 5, 8), 1);
  EXPECT_EQ(plat_surface_width(wide.frame_surfaces[1]), 18);
  EXPECT_FLOAT_EQ(wide.x, 3);
  EXPECT_FLOAT_EQ(wide.y, 4);
  bob_destroy(&wide);

  BOB_TYP too_many{};
  EXPECT_EQ(bob_create(&too_many, 0, 0, 8, 8, 65, 0, 0, 0, 8), 0);
  EXPECT_EQ(bob_create(&too_many, 0, 0, 8, 8, -1, 0, 0, 0, 8), 0);
  EXPECT_EQ(too_many.state, 0);
  EXPECT_EQ(bob_create(nullptr, 0, 0, 8, 8, 1, 0, 0, 0, 8), 0);
}

TEST_F(BobOnDisplay, CreateSetsTheEngineFieldsAndLeavesTheRest) {
  // A record full of leftovers: creation sets what it owns and touches nothing else.
  BOB_TYP used;
  std::memset(static_cast<void*>(&used), 0x5A, sizeof used);
  for (auto& surface : used.frame_surfaces) surface = nullptr;
  for (auto& sequence : used.sequences) sequence = nullptr;
  used.moving = true;
  used.extra_width = 2;
  ASSERT_EQ(bob_create(&used, -3, 9, 10, 12, 4, ATTR_WRAP, DDSCAPS_SYSTEMMEMORY, 0, 16), 1);
  EXPECT_EQ(used.state, 1);
  EXPECT_EQ(used.anim_done, 0);
  EXPECT_EQ(used.attributes, ATTR_WRAP);
  EXPECT_FLOAT_EQ(used.x, -3);
  EXPECT_FLOAT_EQ(used.y, 9);
  EXPECT_FLOAT_EQ(used.vel_x, 0);
  EXPECT_FLOAT_EQ(used.vel_y, 0);
  EXPECT_EQ(used.width, 10);
  EXPECT_EQ(used.height, 12);
  EXPECT_EQ(used.extra_width, 2);
  EXPECT_EQ(used.bits_per_pixel, 16);
  for (int counter : used.counters) EXPECT_EQ(counter, 0);
  for (uint32_t word : used.spare_words) EXPECT_EQ(word, 0x5A5A5A5Au);
  EXPECT_EQ(used.frame, 0);
  EXPECT_EQ(used.frame_count, 4);
  EXPECT_EQ(used.sequence, 0);
  EXPECT_EQ(used.anim_ticks, 0);
  EXPECT_EQ(used.sequence_pos, 0);
  EXPECT_EQ(used.anim_period, 0);
  for (int* sequence : used.sequences) EXPECT_EQ(sequence, nullptr);
  // The game fields are the game's.
  EXPECT_TRUE(used.moving);
  EXPECT_EQ(used.direction, 0x5A5A5A5A);
  EXPECT_EQ(used.health, 0x5A5A5A5A);
  EXPECT_EQ(used.spawn_charge, 0x5A5A5A5A);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(plat_surface_width(used.frame_surfaces[i]), 12);
  for (int i = 4; i < 64; ++i) EXPECT_EQ(used.frame_surfaces[i], nullptr);
  // The surfaces take the display's depth; the argument is only stored.
  EXPECT_EQ(plat_surface_bpp(used.frame_surfaces[0]), 8);
  bob_destroy(&used);
}

TEST_F(BobOnDisplay, DrawTakesTheFrameSizeNotTheWiderSurface) {
  BOB_TYP wide{};
  wide.extra_width = 4;
  ASSERT_EQ(bob_create(&wide, 0, 0, kW, kH, 1, ATTR_VISIBLE, 0, 0, 8), 1);
  ASSERT_EQ(plat_surface_width(wide.frame_surfaces[0]), kW + 4);
  // The frame's own columns, then 4 columns of another colour that must never show.
  surface_paint8(wide.frame_surfaces[0], [](int x, int y) { return x < kW ? frame_pixel(x, y) : 99; });
  bob_set_position(&wide, 100, 50);
  ASSERT_EQ(bob_draw(&wide, back_surface), 1);
  expect_drawn_at(100, 50);
  bob_destroy(&wide);
}

TEST_F(BobOnDisplay, CreateStopsAtTheFirstSurfaceThatCannotBeMade) {
  BOB_TYP partial{};
  plat_fault_set(CALL_SURFACE_CREATE, 3);
  EXPECT_EQ(bob_create(&partial, 0, 0, 8, 8, 10, ATTR_VISIBLE, 0, 0, 8), 0);
  plat_fault_clear_all();
  EXPECT_NE(partial.frame_surfaces[2], nullptr);
  EXPECT_EQ(partial.frame_surfaces[3], nullptr);
  // The missing frame is refused when drawn instead of being used.
  partial.frame = 5;
  EXPECT_EQ(bob_draw(&partial, back_surface), 0);
  EXPECT_EQ(bob_destroy(&partial), 1);  // releases the three that were made
}

TEST_F(BobOnDisplay, KeyedDrawLeavesTheScreenUnderKeyPixels) {
  bob_set_position(&bob, 100, 50);
  ASSERT_EQ(bob_draw(&bob, back_surface), 1);
  expect_drawn_at(100, 50);
}

TEST_F(BobOnDisplay, ClippedAtEveryScreenEdge) {
  const int spots[][2] = {{-10, 200}, {610, 200}, {300, -30}, {300, 440}, {-20, -20},
                          {620, -5},  {-7, 450},  {630, 470}, {-56, 0},   {640, 480}};
  for (const auto& spot : spots) {
    clear_back();
    bob_set_position(&bob, spot[0], spot[1]);
    EXPECT_EQ(bob_draw(&bob, back_surface), 1) << spot[0] << "," << spot[1];
    expect_drawn_at(spot[0], spot[1]);
  }
}

TEST_F(BobOnDisplay, FractionalPositionsTruncateTowardZero) {
  bob.x = 10.7f;
  bob.y = 20.2f;
  ASSERT_EQ(bob_draw(&bob, back_surface), 1);
  expect_drawn_at(10, 20);
  // At x = -0.5 the left edge truncates to 0 and the right to 55: one column narrower, so the
  // last screen column of the frame stays as it was.
  clear_back();
  bob.x = -0.5f;
  bob.y = 0;
  ASSERT_EQ(bob_draw(&bob, back_surface), 1);
  const std::vector<uint8_t> screen = surface_bytes(back_surface);
  for (int y = 0; y < kH; ++y) EXPECT_EQ(screen[size_t(y) * 640 + 55], kBackground) << y;
  // Positions no screen could show draw nothing and break nothing.
  clear_back();
  bob.x = 3.0e30f;
  EXPECT_EQ(bob_draw(&bob, back_surface), 1);
  bob.x = -3.0e30f;
  EXPECT_EQ(bob_draw_scaled(&bob, 100, 100, back_surface), 1);
  EXPECT_EQ(surface_bytes(back_surface), std::vector<uint8_t>(640 * 480, kBackground));
}

TEST_F(BobOnDisplay, HiddenLockedAndMissingFrames) {
  bob_set_position(&bob, 10, 10);
  bob_hide(&bob);
  EXPECT_EQ(bob_draw(&bob, back_surface), 1);
  bob_show(&bob);
  ASSERT_NE(display_lock_back(), nullptr);
  EXPECT_EQ(bob_draw(&bob, back_surface), 0);
  display_unlock_back();
  for (int frame : {36, 63, 64, -1, 1000}) {
    bob.frame = frame;
    EXPECT_EQ(bob_draw(&bob, back_surface), 0) << frame;
  }
  EXPECT_EQ(surface_bytes(back_surface), std::vector<uint8_t>(640 * 480, kBackground));
  bob.frame = 0;
  EXPECT_EQ(bob_draw(&bob, nullptr), 0);
}

TEST_F(BobOnDisplay, ScaledDrawStretchesTheWholeFrame) {
  bob_set_position(&bob, 200, 100);
  ASSERT_EQ(bob_draw_scaled(&bob, 2 * kW, 2 * kH, back_surface), 1);
  const std::vector<uint8_t> screen = surface_bytes(back_surface);
  for (int y = 0; y < 2 * kH; ++y)
    for (int x = 0; x < 2 * kW; ++x) {
      const uint8_t source = frame_pixel(x / 2, y / 2);
      ASSERT_EQ(screen[size_t(100 + y) * 640 + 200 + x], source ? source : kBackground) << x << "," << y;
    }
  EXPECT_EQ(screen[size_t(100) * 640 + 200 + 2 * kW], kBackground);
  EXPECT_EQ(screen[size_t(100 + 2 * kH) * 640 + 200], kBackground);
}

TEST_F(BobOnDisplay, DestroyingACloneLeavesTheSourceDrawable) {
  BOB_TYP clone{};
  ASSERT_EQ(bob_clone(&bob, &clone), 1);
  ASSERT_EQ(bob_destroy(&clone), 1);
  EXPECT_EQ(clone.frame_surfaces[0], nullptr);
  bob_set_position(&bob, 30, 40);
  ASSERT_EQ(bob_draw(&bob, back_surface), 1);
  expect_drawn_at(30, 40);
}

// A sheet of 3 x 2 cells of 56 x 72 with 1-pixel borders: 172 x 147.
uint32_t sheet_pixel(int x, int y) { return uint32_t(x * 7 + y * 13) & 0xFF; }

class BobFromSheet : public BobOnDisplay {
 protected:
  void SetUp() override {
    BobOnDisplay::SetUp();
    if (HasFatalFailure()) return;
    auto file = bmp_make(172, 147, 8, sheet_pixel);
    ASSERT_EQ(bitmap_load_memory(&sheet, file.data(), file.size()), 1);
  }
  void TearDown() override {
    bitmap_unload_file(&sheet);
    BobOnDisplay::TearDown();
  }
  BMP_FILE_TYP sheet{};
};

TEST_F(BobFromSheet, CellModeCopiesFromTheCellCorner) {
  ASSERT_EQ(bob_load_frame(&bob, &sheet, 5, 2, 1, 0), 1);
  EXPECT_TRUE(bob.attributes & ATTR_LOADED);
  // Cell (2, 1) starts at column 2 x 57 + 1 = 115, row 1 x 73 + 1 = 74.
  const std::vector<uint8_t> frame = surface_bytes(bob.frame_surfaces[5]);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) ASSERT_EQ(frame[size_t(y) * kW + x], sheet_pixel(115 + x, 74 + y)) << x << "," << y;
  // Pixel mode takes the corner as given.
  ASSERT_EQ(bob_load_frame(&bob, &sheet, 6, 116, 75, 1), 1);
  EXPECT_EQ(surface_bytes(bob.frame_surfaces[6])[0], sheet_pixel(116, 75));
}

TEST_F(BobFromSheet, CellsOutsideTheSheetAndBadFramesCopyNothing) {
  const struct {
    int frame, cx, cy, mode;
  } refused[] = {
      {1, 3, 0, 0},     // starts at column 172
      {1, 0, 2, 0},     // starts at row 147
      {1, 117, 0, 1},   // one column too far right
      {1, 0, 76, 1},    // one row too far down
      {1, -1, 0, 1},    // left of the sheet
      {36, 0, 0, 0},    // past frame_count
      {64, 0, 0, 0},    // past the table
      {-1, 0, 0, 0},
  };
  for (const auto& r : refused) {
    EXPECT_EQ(bob_load_frame(&bob, &sheet, r.frame, r.cx, r.cy, r.mode), 0)
        << r.frame << " " << r.cx << "," << r.cy << " mode " << r.mode;
  }
  EXPECT_FALSE(bob.attributes & ATTR_LOADED);
  EXPECT_EQ(surface_bytes(bob.frame_surfaces[1]), std::vector<uint8_t>(kW * kH, 0));
  EXPECT_EQ(bob_load_frame(&bob, nullptr, 1, 0, 0, 0), 0);
  // The last cell that fits loads.
  EXPECT_EQ(bob_load_frame(&bob, &sheet, 1, 116, 75, 1), 1);

  // A 16-bit sheet is not cut into 8-bit frames, nor an 8-bit one into 16-bit frames.
  auto file16 = bmp_make(172, 147, 16, sheet_pixel);
  BMP_FILE_TYP sheet16{};
  ASSERT_EQ(bitmap_load_memory(&sheet16, file16.data(), file16.size()), 1);
  EXPECT_EQ(bob_load_frame(&bob, &sheet16, 2, 0, 0, 0), 0);
  EXPECT_EQ(bob_load_frame16(&bob, &sheet, 2, 0, 0, 0), 0);
  EXPECT_EQ(bob_load_frame16(&bob, &sheet16, 2, 0, 0, 0), 0);  // the frames are 8-bit
  bitmap_unload_file(&sheet16);
}

TEST_F(BobFromSheet, SurfaceLoadCellUsesTheSurfaceSize) {
  // A 5-pixel surface's rows are padded past its width, so the cut must advance by the pitch.
  // Cells of 5 x 3 lie at 6-pixel steps, cells of 4 x 3 at 5-pixel steps, after a border.
  const struct {
    int width, cx, cy, left, top;
  } cases[] = {{5, 1, 1, 7, 5}, {4, 2, 1, 11, 5}};
  for (const auto& c : cases) {
    SURFACE_TYP* cut = display_create_surface(c.width, 3, 0, 0);
    ASSERT_NE(cut, nullptr);
    ASSERT_EQ(surface_load_cell(&sheet, cut, c.cx, c.cy), 1);
    const std::vector<uint8_t> cell = surface_bytes(cut);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < c.width; ++x)
        EXPECT_EQ(cell[size_t(y) * c.width + x], sheet_pixel(c.left + x, c.top + y))
            << c.width << " wide: " << x << "," << y;
    plat_surface_release(cut);
  }
  SURFACE_TYP* surface = display_create_surface(4, 3, 0, 0);
  ASSERT_NE(surface, nullptr);
  // Cell (34, 0) starts at column 171 and would run past the right edge.
  surface_paint8(surface, [](int, int) { return 3; });
  EXPECT_EQ(surface_load_cell(&sheet, surface, 34, 0), 0);
  EXPECT_EQ(surface_load_cell(&sheet, surface, 0, 36), 0);
  EXPECT_EQ(surface_load_cell(&sheet, surface, -1, 0), 0);
  EXPECT_EQ(surface_bytes(surface), std::vector<uint8_t>(12, 3));
  EXPECT_EQ(surface_load_cell(&sheet, surface, 33, 35), 1);
  plat_surface_release(surface);
}

}  // namespace
