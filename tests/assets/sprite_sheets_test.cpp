// The sprite sheets: every cell the game cuts holds a figure on the key colour, in the play-field
// palette, and the laser's ink lies exactly where its hits are tested.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/assets/asset_files.h"

namespace {

struct CELL_REF {
  int cx, cy;
};

// Cells cut by the player's build, the hostile/summoned build and the wound look.
const std::vector<CELL_REF> SKELETON_CELLS = {{0, 0}, {1, 0}, {2, 0}, {4, 0}, {0, 1}};
const std::vector<CELL_REF> WOUND_CELLS = {{0, 0}, {1, 0}, {2, 0}, {4, 0}};
const std::vector<CELL_REF> DEAD_CELLS = {{0, 0}, {1, 0}, {2, 0}, {1, 1}};

std::string skeleton_file(int d) { return "SKELSP" + std::to_string(d) + ".BMP"; }
std::string dead_file(int d) { return "DEDSP" + std::to_string(d) + ".BMP"; }

// Key pixels that no path of key pixels joins to the cell's edge: holes punched into a figure.
// Small ones are ink that came out as the key by mistake.
int smallest_enclosed_key_region(const CELL& cell) {
  int w = cell.width, h = cell.height, smallest = w * h + 1;
  std::vector<int> seen(static_cast<size_t>(w) * h, 0);
  for (int start = 0; start < w * h; ++start) {
    if (cell.pixels[start] != 0 || seen[start]) continue;
    std::vector<int> stack = {start};
    seen[start] = 1;
    int size = 0;
    bool edge = false;
    while (!stack.empty()) {
      int p = stack.back();
      stack.pop_back();
      ++size;
      int x = p % w, y = p / w;
      edge = edge || x == 0 || y == 0 || x == w - 1 || y == h - 1;
      const int step[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (auto& s : step) {
        int nx = x + s[0], ny = y + s[1];
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        int q = ny * w + nx;
        if (cell.pixels[q] == 0 && !seen[q]) {
          seen[q] = 1;
          stack.push_back(q);
        }
      }
    }
    if (!edge && size < smallest) smallest = size;
  }
  return smallest;
}

bool edges_are_key(const CELL& cell) {
  for (int x = 0; x < cell.width; ++x)
    if (cell.at(x, 0) || cell.at(x, cell.height - 1)) return false;
  for (int y = 0; y < cell.height; ++y)
    if (cell.at(0, y) || cell.at(cell.width - 1, y)) return false;
  return true;
}

// Every pixel on the 1-pixel grid lines between and around cells is key.
void expect_grid_lines_are_key(const LOADED_BITMAP& sheet, int cell_w, int cell_h, const std::string& name) {
  int bad = 0;
  for (int y = 0; y < sheet.height(); ++y)
    for (int x = 0; x < sheet.width(); ++x) {
      bool on_line = x % (cell_w + 1) == 0 || y % (cell_h + 1) == 0;
      if (on_line && sheet.at(x, y) != 0) ++bad;
    }
  EXPECT_EQ(bad, 0) << name << ": ink on the cell borders";
}

void expect_figure_cells(const std::string& name, int cell_w, int cell_h, const std::vector<CELL_REF>& cells,
                         int min_ink) {
  LOADED_BITMAP sheet(name);
  ASSERT_TRUE(sheet.ok) << name;
  EXPECT_EQ(sheet.file.info_header.biBitCount, 8) << name;
  EXPECT_EQ(sheet.width() % 4, 0) << name;
  expect_grid_lines_are_key(sheet, cell_w, cell_h, name);
  for (const CELL_REF& c : cells) {
    CELL cell = cut_cell(sheet, c.cx, c.cy, cell_w, cell_h);
    ASSERT_EQ(cell.width, cell_w);
    SCOPED_TRACE(name + " cell (" + std::to_string(c.cx) + "," + std::to_string(c.cy) + ")");
    EXPECT_GE(cell.ink(), min_ink);
    EXPECT_LE(cell.ink(), cell_w * cell_h / 2) << "a figure, not a filled box";
    EXPECT_TRUE(edges_are_key(cell));
    EXPECT_GE(smallest_enclosed_key_region(cell), 6) << "pinholes of key colour inside the figure";
  }
}

TEST(SpriteSheets, SkeletonCellsHoldFiguresOnTheKey) {
  for (int d = 0; d < 8; ++d) expect_figure_cells(skeleton_file(d), 56, 72, SKELETON_CELLS, 300);
  expect_figure_cells("SKELSP8.BMP", 56, 72, WOUND_CELLS, 200);
}

TEST(SpriteSheets, DeadActorCellsHoldFiguresOnTheKey) {
  for (int d = 0; d < 8; d += 2) expect_figure_cells(dead_file(d), 72, 80, DEAD_CELLS, 600);
}

TEST(SpriteSheets, AllSheetsCarryThePlayFieldPalette) {
  LOADED_BITMAP grass("GRASS.BMP");
  ASSERT_TRUE(grass.ok);
  EXPECT_EQ(grass.file.palette[0].red + grass.file.palette[0].green + grass.file.palette[0].blue, 0)
      << "index 0, the sprites' key, is black";
  std::vector<std::string> sheets = {"laser.bmp"};
  for (int d = 0; d <= 8; ++d) sheets.push_back(skeleton_file(d));
  for (int d = 0; d < 8; d += 2) sheets.push_back(dead_file(d));
  for (const std::string& name : sheets) {
    LOADED_BITMAP sheet(name);
    ASSERT_TRUE(sheet.ok) << name;
    EXPECT_EQ(std::memcmp(sheet.file.palette, grass.file.palette, sizeof grass.file.palette), 0) << name;
  }
}

// The frames a player sees change: facings differ, the two steps differ from standing and from
// each other, the strike differs from standing, and the wound look changes frame to frame.
TEST(SpriteSheets, FramesThatShouldDifferDo) {
  std::vector<std::vector<uint8_t>> standing;
  for (int d = 0; d < 8; ++d) {
    LOADED_BITMAP sheet(skeleton_file(d));
    ASSERT_TRUE(sheet.ok);
    CELL stand = cut_cell(sheet, 0, 0, 56, 72), step1 = cut_cell(sheet, 1, 0, 56, 72),
         step2 = cut_cell(sheet, 2, 0, 56, 72), chop = cut_cell(sheet, 4, 0, 56, 72),
         sweep = cut_cell(sheet, 0, 1, 56, 72);
    EXPECT_NE(stand.pixels, step1.pixels) << d;
    EXPECT_NE(stand.pixels, step2.pixels) << d;
    EXPECT_NE(step1.pixels, step2.pixels) << d;
    EXPECT_NE(stand.pixels, chop.pixels) << d;
    EXPECT_NE(stand.pixels, sweep.pixels) << d;
    standing.push_back(stand.pixels);
  }
  EXPECT_EQ(std::set<std::vector<uint8_t>>(standing.begin(), standing.end()).size(), 8u) << "eight distinct facings";
  LOADED_BITMAP wound("SKELSP8.BMP");
  ASSERT_TRUE(wound.ok);
  std::set<std::vector<uint8_t>> looks;
  for (const CELL_REF& c : WOUND_CELLS) looks.insert(cut_cell(wound, c.cx, c.cy, 56, 72).pixels);
  EXPECT_EQ(looks.size(), 4u);
}

// The laser's box is 150 x 150; the hit test takes rows (or columns) 72, 73 and 74 of it as the
// beam: a target is hit when T.y + T.height > L.y + 72 and T.y < L.y + 75.
TEST(SpriteSheets, LaserInkIsExactlyTheHitBand) {
  LOADED_BITMAP sheet("laser.bmp");
  ASSERT_TRUE(sheet.ok);
  expect_grid_lines_are_key(sheet, 150, 150, "laser.bmp");
  auto in_band = [](int offset) { return offset + 1 > 72 && offset < 75; };  // a 1-pixel target there is hit
  for (int frame = 0; frame < 2; ++frame) {
    CELL cell = cut_cell(sheet, frame, 0, 150, 150);
    ASSERT_EQ(cell.width, 150);
    int wrong = 0;
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 150; ++x) {
        int across = frame == 0 ? y : x;  // frame 0 runs horizontally, frame 1 vertically
        bool ink = cell.at(x, y) != 0;
        if (ink != in_band(across)) ++wrong;
      }
    EXPECT_EQ(wrong, 0) << "frame " << frame;
  }
}

// The lance's glowing tip meets the beam: next to where the laser box starts, on its band.
TEST(SpriteSheets, DeadActorsAimAlongTheirBeam) {
  struct AIM {
    int direction, x, y;  // a cell pixel next to the beam's first pixel
  };
  // East: beam rows 22..24 from x 72; west: rows 22..24 up to x 0; north: columns 33..35 above
  // y 0; south: columns 33..35 from y 80.
  const AIM aims[] = {{0, 69, 23}, {4, 2, 23}, {2, 34, 2}, {6, 34, 77}};
  for (const AIM& a : aims) {
    LOADED_BITMAP sheet(dead_file(a.direction));
    ASSERT_TRUE(sheet.ok);
    for (const CELL_REF& c : DEAD_CELLS) {
      CELL cell = cut_cell(sheet, c.cx, c.cy, 72, 80);
      int near = 0;
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) near += cell.at(a.x + dx, a.y + dy) != 0;
      EXPECT_GE(near, 8) << dead_file(a.direction) << " cell (" << c.cx << "," << c.cy << ")";
    }
  }
}

}  // namespace
