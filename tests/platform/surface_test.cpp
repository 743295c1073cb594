// Surfaces, palettes and clippers: creation limits, locks, keys, ranges and lifetimes.
#include "tests/platform/support.h"

namespace {

using Surface = Headless;

TEST_F(Surface, CreatesClearedSurfacesOfValidSizesOnly) {
  SURFACE_TYP* s = plat_surface_create(56, 72, 8, DDSCAPS_SYSTEMMEMORY);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(plat_surface_width(s), 56);
  EXPECT_EQ(plat_surface_height(s), 72);
  EXPECT_EQ(plat_surface_bpp(s), 8);
  EXPECT_EQ(plat_surface_caps(s), DDSCAPS_SYSTEMMEMORY);
  EXPECT_EQ(pixels_of(s), std::vector<uint32_t>(56 * 72, 0));
  plat_surface_release(s);
  EXPECT_EQ(plat_surface_create(0, 10, 8, 0), nullptr);
  EXPECT_EQ(plat_surface_create(10, -1, 8, 0), nullptr);
  EXPECT_EQ(plat_surface_create(10, 10, 24, 0), nullptr);
  EXPECT_EQ(plat_surface_create(1 << 20, 1 << 20, 16, 0), nullptr);
  plat_surface_release(nullptr);  // ignored
}

TEST_F(Surface, LockIsExclusiveAndReportsThePitch) {
  SURFACE_TYP* s = plat_surface_create(13, 3, 16, 0);
  int pitch = 0;
  uint8_t* p = plat_surface_lock(s, &pitch);
  ASSERT_NE(p, nullptr);
  EXPECT_GE(pitch, 26);
  EXPECT_EQ(plat_surface_is_locked(s), 1);
  EXPECT_EQ(plat_surface_lock(s, &pitch), nullptr);
  EXPECT_EQ(plat_surface_unlock(s), 1);
  EXPECT_EQ(plat_surface_unlock(s), 0);
  EXPECT_EQ(plat_surface_is_locked(s), 0);
  EXPECT_NE(plat_surface_lock(s, nullptr), nullptr);
  plat_surface_unlock(s);
  EXPECT_EQ(plat_surface_lock(nullptr, &pitch), nullptr);
  EXPECT_EQ(plat_surface_unlock(nullptr), 0);
  plat_surface_release(s);
}

TEST_F(Surface, ColourKeyIsStored) {
  SURFACE_TYP* s = plat_surface_create(4, 4, 8, 0);
  uint32_t low = 1, high = 1;
  EXPECT_EQ(plat_surface_get_color_key(s, &low, &high), 1);
  EXPECT_EQ(low, 0u);
  EXPECT_EQ(plat_surface_set_color_key(s, 7, 9), 1);
  plat_surface_get_color_key(s, &low, &high);
  EXPECT_EQ(low, 7u);
  EXPECT_EQ(high, 9u);
  EXPECT_EQ(plat_surface_set_color_key(nullptr, 1, 1), 0);
  plat_surface_release(s);
}

TEST_F(Surface, PaletteRangesStayInsideTheTable) {
  PALETTEENTRY init[256] = {};
  for (int i = 0; i < 256; ++i) init[i] = {uint8_t(i), uint8_t(255 - i), 7, 0};
  PALETTE_TYP* p = plat_palette_create(init);
  ASSERT_NE(p, nullptr);
  PALETTEENTRY four[4] = {{1, 2, 3, PC_NOCOLLAPSE}, {4, 5, 6, 0}, {7, 8, 9, 0}, {10, 11, 12, 0}};
  EXPECT_EQ(plat_palette_set_entries(p, 252, 4, four), 1);
  EXPECT_EQ(plat_palette_set_entries(p, 253, 4, four), 0);
  EXPECT_EQ(plat_palette_set_entries(p, -1, 2, four), 0);
  EXPECT_EQ(plat_palette_set_entries(p, 0, -3, four), 0);
  EXPECT_EQ(plat_palette_set_entries(p, 256, 0, four), 0);
  EXPECT_EQ(plat_palette_set_entries(nullptr, 0, 1, four), 0);
  PALETTEENTRY all[256];
  EXPECT_EQ(plat_palette_get_entries(p, 0, 256, all), 1);
  EXPECT_EQ(all[251].red, 251);
  EXPECT_EQ(all[252].red, 1);
  EXPECT_EQ(all[252].flags, PC_NOCOLLAPSE);
  EXPECT_EQ(all[255].blue, 12);
  EXPECT_EQ(plat_palette_get_entries(p, 200, 57, all), 0);
  plat_palette_release(p);
}

TEST_F(Surface, AttachedPaletteAndClipperOutliveTheCallersRelease) {
  SURFACE_TYP* s = plat_surface_create(8, 8, 8, 0);
  PALETTEENTRY red[256] = {};
  red[1] = {255, 0, 0, 0};
  PALETTE_TYP* p = plat_palette_create(red);
  CLIPPER_TYP* c = plat_clipper_create();
  const RECT r = {0, 0, 4, 4};
  plat_clipper_set_list(c, &r, 1);
  EXPECT_EQ(plat_surface_set_palette(s, p), 1);
  EXPECT_EQ(plat_surface_set_clipper(s, c), 1);
  plat_palette_release(p);
  plat_clipper_release(c);
  // Still usable through the surface (ASan reports a use after free otherwise).
  PALETTEENTRY e;
  EXPECT_EQ(plat_palette_get_entries(plat_surface_get_palette(s), 1, 1, &e), 1);
  EXPECT_EQ(e.red, 255);
  RECT back;
  EXPECT_EQ(plat_clipper_get_list(plat_surface_get_clipper(s), &back, 1), 1);
  EXPECT_EQ(back.right, 4);
  // Replacing and detaching drop the old references.
  EXPECT_EQ(plat_surface_set_clipper(s, nullptr), 1);
  EXPECT_EQ(plat_surface_get_clipper(s), nullptr);
  plat_surface_release(s);
}

TEST_F(Surface, PalettesAttachOnlyToEightBitSurfaces) {
  SURFACE_TYP* s16 = plat_surface_create(8, 8, 16, 0);
  PALETTE_TYP* p = plat_palette_create(nullptr);
  EXPECT_EQ(plat_surface_set_palette(s16, p), 0);
  EXPECT_EQ(plat_surface_get_palette(s16), nullptr);
  plat_palette_release(p);
  plat_surface_release(s16);
}

TEST_F(Surface, ClipperListIsCopiedAndCounted) {
  CLIPPER_TYP* c = plat_clipper_create();
  RECT rects[3] = {{0, 0, 640, 480}, {700, 10, 720, 30}, {1, 2, 3, 4}};
  EXPECT_EQ(plat_clipper_get_list(c, nullptr, 0), 0);
  EXPECT_EQ(plat_clipper_set_list(c, rects, 3), 1);
  rects[0].right = 1;  // the clipper holds its own copy
  RECT out[2] = {};
  EXPECT_EQ(plat_clipper_get_list(c, out, 2), 3);
  EXPECT_EQ(out[0].right, 640);
  EXPECT_EQ(out[1].left, 700);
  EXPECT_EQ(plat_clipper_set_list(c, nullptr, 2), 0);
  EXPECT_EQ(plat_clipper_set_list(c, rects, -1), 0);
  EXPECT_EQ(plat_clipper_get_list(nullptr, out, 2), -1);
  plat_clipper_release(c);
}

}  // namespace
