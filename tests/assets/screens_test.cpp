// The four full-screen pictures and the start-up palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "engine/graphics/palette.h"
#include "tests/assets/asset_files.h"

namespace {

TEST(Screens, AreFullScreenEightBitPictures) {
  for (const char* name : {"GRASS.BMP", "title.BMP", "controls.BMP", "gameover.BMP"}) {
    LOADED_BITMAP screen(name);
    ASSERT_TRUE(screen.ok) << name;
    EXPECT_EQ(screen.width(), 640) << name;
    EXPECT_EQ(screen.height(), 480) << name;
    EXPECT_EQ(screen.file.info_header.biBitCount, 8) << name;
  }
}

// The controls and game-over pictures are shown with the title's palette, so they are drawn in it;
// the play field has a palette of its own.
TEST(Screens, TitlePaletteServesTheTitleControlsAndGameOverScreens) {
  LOADED_BITMAP title("title.BMP"), controls("controls.BMP"), over("gameover.BMP"), grass("GRASS.BMP");
  ASSERT_TRUE(title.ok && controls.ok && over.ok && grass.ok);
  EXPECT_EQ(std::memcmp(controls.file.palette, title.file.palette, sizeof title.file.palette), 0);
  EXPECT_EQ(std::memcmp(over.file.palette, title.file.palette, sizeof title.file.palette), 0);
  EXPECT_NE(std::memcmp(grass.file.palette, title.file.palette, sizeof title.file.palette), 0);
}

TEST(Screens, StartUpPaletteFileIsTheTitlePalette) {
  PALETTEENTRY loaded[256];
  std::memset(loaded, 0xAB, sizeof loaded);  // any entry the file misses would keep this
  ASSERT_EQ(palette_file_load(data_path("PALDATA2.PAL").c_str(), loaded), 1);
  LOADED_BITMAP title("title.BMP");
  ASSERT_TRUE(title.ok);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(loaded[i].red, title.file.palette[i].red) << i;
    EXPECT_EQ(loaded[i].green, title.file.palette[i].green) << i;
    EXPECT_EQ(loaded[i].blue, title.file.palette[i].blue) << i;
  }
  // The text layout the engine writes: a line break before every entry, none after the last.
  std::vector<uint8_t> text = read_bytes(data_path("PALDATA2.PAL"));
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.front(), '\n');
  EXPECT_NE(text.back(), '\n');
  int lines = 0;
  for (uint8_t c : text) lines += c == '\n';
  EXPECT_EQ(lines, 256);
}

// The arena is textured, not a flat fill: many colours and a real spread of brightness.
TEST(Screens, GrassIsTextured) {
  LOADED_BITMAP grass("GRASS.BMP");
  ASSERT_TRUE(grass.ok);
  std::set<int> colours;
  double sum = 0, sum2 = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      uint8_t i = grass.at(x, y);
      colours.insert(i);
      double l = luminance(grass.file.palette[i]);
      sum += l;
      sum2 += l * l;
    }
  double n = 640.0 * 480.0, mean = sum / n, spread = std::sqrt(sum2 / n - mean * mean);
  EXPECT_GE(colours.size(), 40u);
  EXPECT_GT(spread, 8.0);
  // Mostly green.
  double green = 0, red = 0;
  for (int y = 0; y < 480; y += 4)
    for (int x = 0; x < 640; x += 4) {
      green += grass.file.palette[grass.at(x, y)].green;
      red += grass.file.palette[grass.at(x, y)].red;
    }
  EXPECT_GT(green, red * 1.2);
}

// The heads-up lines are black and "YOU" is pure red: the play-field palette must have both, and
// the corner the lines sit in must be light enough for black text.
TEST(Screens, PlayFieldCarriesTheHeadsUpColours) {
  LOADED_BITMAP grass("GRASS.BMP");
  ASSERT_TRUE(grass.ok);
  bool black = false, red = false;
  for (const PALETTEENTRY& e : grass.file.palette) {
    black = black || (e.red == 0 && e.green == 0 && e.blue == 0);
    red = red || (e.red == 255 && e.green == 0 && e.blue == 0);
  }
  EXPECT_TRUE(black);
  EXPECT_TRUE(red);
  double sum = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 230; ++x) sum += luminance(grass.file.palette[grass.at(x, y)]);
  EXPECT_GT(sum / (40 * 230), 55.0);
}

// Relative luminance (0..1) of a palette entry, for contrast ratios (L1 + 0.05) / (L2 + 0.05).
double relative_luminance(const PALETTEENTRY& e) {
  auto linear = [](int c) {
    double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(e.red) + 0.7152 * linear(e.green) + 0.0722 * linear(e.blue);
}

// Read by brightness, not hue alone: black HUD text on its corner (x 0..199, y 0..35) and the red
// "YOU" over the field below it both keep a clear contrast ratio.
TEST(Screens, HeadsUpTextStandsOutByBrightness) {
  LOADED_BITMAP grass("GRASS.BMP");
  ASSERT_TRUE(grass.ok);
  double corner = 0;
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 200; ++x) corner += relative_luminance(grass.file.palette[grass.at(x, y)]);
  corner /= 36 * 200;
  EXPECT_GE((corner + 0.05) / 0.05, 7.0) << "black text on the HUD corner";
  const double red = 0.2126;
  std::vector<double> ratios;
  for (int y = 60; y < 480; y += 2)
    for (int x = 0; x < 640; x += 2) {
      double field = relative_luminance(grass.file.palette[grass.at(x, y)]);
      ratios.push_back((std::max(red, field) + 0.05) / (std::min(red, field) + 0.05));
    }
  std::sort(ratios.begin(), ratios.end());
  EXPECT_GE(ratios[ratios.size() / 2], 2.5) << "red \"YOU\" on the field, median";
  EXPECT_GE(ratios[ratios.size() / 10], 1.8) << "red \"YOU\" on the field, darkest tenth";
}

double contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// The arena by moonlight: its ground is cooler than it is red (blue over red, where the day's
// grass was yellow-green), while its light levels stay where the figures were drawn for. Each
// sheet's ink (mean luminance) against the field's median, the black HUD lines on their corner
// and the red "YOU" on the field are held at least at the figures the day's arena gave them.
TEST(Screens, TheArenaIsMoonlitAndEveryFigureKeepsItsContrast) {
  LOADED_BITMAP grass("GRASS.BMP");
  ASSERT_TRUE(grass.ok);
  double red = 0, blue = 0;
  std::vector<double> field;
  for (int y = 60; y < 480; y += 2)
    for (int x = 0; x < 640; x += 2) {
      const PALETTEENTRY& e = grass.file.palette[grass.at(x, y)];
      red += e.red;
      blue += e.blue;
      field.push_back(relative_luminance(e));
    }
  EXPECT_GT(blue, red * 1.05) << "moonlit, not daylit";
  std::sort(field.begin(), field.end());
  const double ground = field[field.size() / 2];

  double corner = 0;
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 200; ++x) corner += relative_luminance(grass.file.palette[grass.at(x, y)]);
  EXPECT_GE(contrast(0, corner / (36 * 200)), 8.30) << "black HUD lines on their corner";
  std::vector<double> you;
  for (double l : field) you.push_back(contrast(0.2126, l));
  std::sort(you.begin(), you.end());
  EXPECT_GE(you[you.size() / 2], 3.05) << "red \"YOU\" on the field, median";
  EXPECT_GE(you[you.size() / 10], 2.25) << "red \"YOU\" on the field, darkest tenth";

  const struct {
    const char* sheet;
    double least;
  } figures[] = {{"SKELSP0.BMP", 3.51}, {"SKELSP1.BMP", 3.60}, {"SKELSP2.BMP", 3.77}, {"SKELSP3.BMP", 3.61},
                 {"SKELSP4.BMP", 3.58}, {"SKELSP5.BMP", 3.70}, {"SKELSP6.BMP", 3.69}, {"SKELSP7.BMP", 3.55},
                 {"SKELSP8.BMP", 2.80}, {"DEDSP0.BMP", 1.06},  {"DEDSP2.BMP", 1.12},  {"DEDSP4.BMP", 1.08},
                 {"DEDSP6.BMP", 1.05},  {"laser.bmp", 5.14}};
  for (const auto& f : figures) {
    LOADED_BITMAP sheet(f.sheet);
    ASSERT_TRUE(sheet.ok) << f.sheet;
    double ink = 0;
    int count = 0;
    for (int y = 0; y < sheet.height(); ++y)
      for (int x = 0; x < sheet.width(); ++x)
        if (sheet.at(x, y)) ink += relative_luminance(sheet.file.palette[sheet.at(x, y)]), ++count;
    ASSERT_GT(count, 0) << f.sheet;
    EXPECT_GE(contrast(ink / count, ground), f.least) << f.sheet << " against the field";
  }
}

// The game writes "Final Score: %d" at (240, 435) in RGB(32, 32, 32) with a 16-pixel font over
// the game-over picture: the band it lands on must be light, and the title palette must hold that
// dark grey for the text to be drawn in.
TEST(Screens, GameOverLeavesALightBandForTheFinalScore) {
  LOADED_BITMAP over("gameover.BMP");
  ASSERT_TRUE(over.ok);
  double darkest = 255;
  for (int y = 433; y < 453; ++y)
    for (int x = 236; x < 420; ++x) darkest = std::min(darkest, luminance(over.file.palette[over.at(x, y)]));
  EXPECT_GT(darkest, 140.0) << "the score line in RGB(32, 32, 32) would not stand out";
  bool grey = false;
  for (const PALETTEENTRY& e : over.file.palette) grey = grey || (e.red == 32 && e.green == 32 && e.blue == 32);
  EXPECT_TRUE(grey);
}

// The score line's plaque: dark grey RGB(32, 32, 32) reads at 7:1 or better on every pixel of the
// line's box, long scores included, and the plaque is the size of the line, not a band across
// the screen: along the line's middle row its light face ends within a stud's width of the box.
TEST(Screens, TheFinalScoreSitsOnAPlaqueOfItsOwnSize) {
  LOADED_BITMAP over("gameover.BMP");
  ASSERT_TRUE(over.ok);
  const double grey = relative_luminance(PALETTEENTRY{32, 32, 32, 0});
  double least = 1e9;
  for (int y = 433; y < 453; ++y)
    for (int x = 236; x < 420; ++x) least = std::min(least, contrast(grey, relative_luminance(over.file.palette[over.at(x, y)])));
  EXPECT_GE(least, 7.0) << "the dark grey score on its plaque";
  int first = -1, last = -1;
  for (int x = 0; x < 640; ++x)
    if (luminance(over.file.palette[over.at(x, 443)]) > 140) {
      if (first < 0) first = x;
      last = x;
    }
  EXPECT_GE(first, 236 - 30);
  EXPECT_LE(last, 419 + 30);
}

}  // namespace
