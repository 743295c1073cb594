// Text: one ink colour chosen from the palette, a transparent background, cut to the surface.
#include <set>

#include "platform/display.h"
#include "platform/text.h"
#include "tests/platform/support.h"

namespace {

class Text : public Headless {
 protected:
  SURFACE_TYP* s = nullptr;
  PALETTE_TYP* palette = nullptr;
  void SetUp() override {
    Headless::SetUp();
    s = plat_surface_create(120, 40, 8, 0);
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) entries[i] = {uint8_t(i / 2), uint8_t(i / 3), uint8_t(i / 4), 0};
    entries[5] = {255, 0, 0, 0};
    entries[6] = {250, 10, 0, 0};
    entries[7] = {0, 0, 200, 0};
    entries[8] = {0, 0, 200, 0};  // same as 7: ties go to the lower index
    palette = plat_palette_create(entries);
    plat_surface_set_palette(s, palette);
    plat_surface_fill(s, nullptr, 77);
  }
  void TearDown() override {
    plat_palette_release(palette);
    plat_surface_release(s);
    plat_text_set_font_file(nullptr);
    Headless::TearDown();
  }
  std::set<uint32_t> colours() {
    std::vector<uint32_t> p = pixels_of(s);
    return std::set<uint32_t>(p.begin(), p.end());
  }
};

TEST_F(Text, DrawsInTheNearestPaletteEntryOnATransparentBackground) {
  ASSERT_EQ(plat_text_draw(s, 2, 2, "Score 250", 255, 0, 0), 1);
  EXPECT_EQ(colours(), (std::set<uint32_t>{5, 77}));
  plat_surface_fill(s, nullptr, 77);
  ASSERT_EQ(plat_text_draw(s, 2, 2, "HP", 0, 0, 190), 1);
  EXPECT_EQ(colours(), (std::set<uint32_t>{7, 77}));
}

TEST_F(Text, LineIsAboutSixteenPixelsAndInkStaysInItsBox) {
  const int height = plat_text_line_height();
  EXPECT_EQ(height, 16);
  const int width = plat_text_width("Wg|");
  EXPECT_GT(width, 10);
  ASSERT_EQ(plat_text_draw(s, 10, 12, "Wg|", 255, 0, 0), 1);
  std::vector<uint32_t> p = pixels_of(s);
  int ink = 0, top = 1000, bottom = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
      if (p[static_cast<size_t>(y * 120 + x)] != 77) {
        ++ink;
        EXPECT_GE(x, 10);
        EXPECT_LT(x, 10 + width + 2);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  EXPECT_GT(ink, 20);
  EXPECT_GE(top, 12);
  EXPECT_LT(bottom, 12 + height);
  EXPECT_GT(bottom - top, 8);
}

TEST_F(Text, UsesTheDisplayPaletteWhenTheSurfaceHasNone) {
  ASSERT_EQ(plat_display_set_mode(nullptr, 16, 16, 8, 1), 1);
  SURFACE_TYP* primary = plat_display_create_primary(0);
  plat_surface_set_palette(primary, palette);
  SURFACE_TYP* plain = plat_surface_create(40, 20, 8, 0);
  ASSERT_EQ(plat_text_draw(plain, 0, 0, "X", 250, 9, 0), 1);
  std::vector<uint32_t> p = pixels_of(plain);
  std::set<uint32_t> seen(p.begin(), p.end());
  EXPECT_EQ(seen, (std::set<uint32_t>{0, 6}));
  plat_surface_release(plain);
  plat_surface_release(primary);
}

TEST_F(Text, SixteenBitInkIsPackedByThePixelFormat) {
  SURFACE_TYP* deep = plat_surface_create(40, 20, 16, 0);
  ASSERT_EQ(plat_text_draw(deep, 0, 0, "M", 255, 255, 0), 1);
  std::vector<uint32_t> p = pixels_of(deep);
  EXPECT_EQ(std::set<uint32_t>(p.begin(), p.end()), (std::set<uint32_t>{0, 0xFFE0}));
  headless_set_pixel_format(15);
  plat_surface_fill(deep, nullptr, 0);
  ASSERT_EQ(plat_text_draw(deep, 0, 0, "M", 255, 255, 0), 1);
  p = pixels_of(deep);
  EXPECT_EQ(std::set<uint32_t>(p.begin(), p.end()), (std::set<uint32_t>{0, 0x7FE0}));
  plat_surface_release(deep);
}

TEST_F(Text, IsCutAtTheSurfaceEdges) {
  for (auto [x, y] : {std::pair{-6, -7}, std::pair{114, 30}, std::pair{-100000, 5},
                      std::pair{2000000000, 2000000000}, std::pair{-2147483647, 0}})
    EXPECT_EQ(plat_text_draw(s, x, y, "Edge of the arena", 255, 0, 0), 1);
  // Only the first two calls reach the surface; they leave ink near the corners.
  std::vector<uint32_t> p = pixels_of(s);
  EXPECT_TRUE(colours().count(5));
  EXPECT_EQ(p[static_cast<size_t>(20 * 120 + 60)], 77u);
}

TEST_F(Text, RefusalsAndTheEmptyString) {
  EXPECT_EQ(plat_text_draw(s, 0, 0, "", 255, 0, 0), 1);
  EXPECT_EQ(colours(), (std::set<uint32_t>{77}));
  EXPECT_EQ(plat_text_draw(nullptr, 0, 0, "A", 255, 0, 0), 0);
  ASSERT_NE(plat_surface_lock(s, nullptr), nullptr);
  EXPECT_EQ(plat_text_draw(s, 0, 0, "A", 255, 0, 0), 0);
  plat_surface_unlock(s);
  EXPECT_EQ(colours(), (std::set<uint32_t>{77}));
}

TEST_F(Text, MissingFaceFailsWithoutDrawing) {
  plat_text_set_font_file("/nonexistent/font.ttf");
  EXPECT_EQ(plat_text_draw(s, 0, 0, "A", 255, 0, 0), 0);
  EXPECT_EQ(plat_text_width("A"), 0);
  EXPECT_EQ(colours(), (std::set<uint32_t>{77}));
  plat_text_set_font_file(nullptr);
  EXPECT_EQ(plat_text_draw(s, 0, 0, "A", 255, 0, 0), 1);
}

}  // namespace
